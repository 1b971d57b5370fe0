// vodiz-cli preprocess: the statements of a device program as the compiler
// sees them, with the file and line each came from. Leaves the statement
// listing and position files beside the program, as a compile run does.
#include "compiler/analis.h"
#include "compiler/listingfiles.h"

#include "app/cli/clicommand.h"

#include <QFileInfo>

namespace {

const QString kUsage = QStringLiteral("preprocess PROGRAM.pd [--functions DIR] [--tsv]");

QString where(const TStatementRecord &st) {
    return QStringLiteral("%1(%2)").arg(listingfiles::ShortFileName(st.filePath())).arg(st.line());
}

int run(const QStringList &args) {
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("functions"), QStringLiteral("Folder of the function files (default: the program's)"),
                      QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("tsv"), QStringLiteral("Tab-separated columns")});
    if (!cliParse(parser, kUsage, args))
        return CliBadInput;
    if (parser.positionalArguments().size() != 1) {
        cliErr(QStringLiteral("usage: vodiz-cli ") + kUsage);
        return CliBadInput;
    }
    const QString program = parser.positionalArguments().first();
    if (!QFileInfo(program).isFile()) {
        cliErr(QStringLiteral("vodiz-cli: no program file %1").arg(program));
        return CliBadInput;
    }
    TAnalis analis;
    analis.SetProjectFolder(parser.isSet(QStringLiteral("functions")) ? parser.value(QStringLiteral("functions"))
                                                                      : QFileInfo(program).absolutePath());
    if (analis.PreprocessProgram(program) != TPreprocessor::Ok) {
        const TPreprocessFailure &failure = analis.PreprocessFailure();
        cliErr(failure.at.filePath().isEmpty() ? failure.message : where(failure.at) + QStringLiteral(": ") + failure.message);
        return CliJobFailed;
    }
    TArrayStringsTable table;
    QString error;
    if (!listingfiles::ReadPreprocessedProgram(program, table, &error)) {
        cliErr(error);
        return CliJobFailed;
    }
    QList<QStringList> rows;
    for (const TStatementRecord &st : table)
        rows.append({listingfiles::ShortFileName(st.filePath()), QString::number(st.line()), st.text()});
    cliPrintTable({QStringLiteral("file"), QStringLiteral("line"), QStringLiteral("statement")}, rows,
                  parser.isSet(QStringLiteral("tsv")));
    return CliOk;
}

CliRegistration reg({QStringLiteral("preprocess"), QStringLiteral("show a device program's statements after preprocessing"), run});

} // namespace
