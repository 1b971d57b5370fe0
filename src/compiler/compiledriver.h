#pragma once
// The compile run of a whole project: the variables of every device, then
// each device's program in project order, the command lists into the
// project's output file (".lf") and the diagnostics into its error file
// (".err"). Both files are written whole at the end of the run, so a run
// that fails leaves no half-written file.
#include "analis.h"

class TProject;

class TCompileDriver {
public:
    explicit TCompileDriver(TProject &project) : project_(project) {}

    // Rebuilds the variable table from the var sections of all programs;
    // empties the error table first. False when it produced diagnostics.
    bool ReadProjectVariables();

    // Compiles the project and writes both files. Answers the number of
    // diagnostics (errors and warnings), or -1 when a file could not be
    // written (FailureMessage() says why; it was shown to the user).
    int CompileProject();

    // Appends the error table to the error file's lines.
    void WriteErrors();

    // What the last run wrote.
    const QStringList &OutputLines() const { return outputLines_; }
    const QStringList &ErrorLines() const { return errorLines_; }
    QString FailureMessage() const { return failure_; }

    // The run's tables; the variables stay valid after the run.
    const TCompileTables &Tables() const { return tables_; }

private:
    void readDeviceVariables(const TDevice &d);
    bool writeFiles();

    TProject &project_;
    TCompileTables tables_;
    QStringList outputLines_;
    QStringList errorLines_;
    QString failure_;
};

// Compiles the open project as the main window's compile command does.
int CompileProject(TProject &project);
