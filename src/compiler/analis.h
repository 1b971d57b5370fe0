#pragma once
// The script compiler. One object serves one compile run; its lexical
// services (inherited from TLexer) keep no state and may be used by anyone.
// Declarations and statement compilation are added to this class by their
// own source files.
#include "lexer.h"
#include "preprocessor.h"
#include "variabletable.h"

#include "project/devicerecords.h"

#include <QHash>
#include <QSet>

class TProject;
class TIRConfig;

// What a compile run shares between its driver and its compiler object.
struct TCompileTables {
    TVariableTable variables;
    TErrorArray errors;
    // Program files as the variable pass read them, by path; preprocessing
    // takes each from here instead of reading the file a second time.
    QHash<QString, TArrayStringsTable> programs;
};

// An operand as a parser answers it: a type code and a value text, or the
// text "no" (not this parser's form), or a text beginning with "error".
struct TOperand {
    int type = 0;
    QString text;

    static TOperand no() { return {0, QStringLiteral("no")}; }
    static TOperand error(const QString &message) { return {-1, QStringLiteral("error") + message}; }
    bool isNo() const { return text == QLatin1String("no"); }
    bool isError() const { return text.startsWith(QLatin1String("error")); }
};

// A statement that cannot be compiled at all (a number that does not
// convert, a token missing where one must be); answered "error" + message.
struct TStatementFailure {
    QString message = QStringLiteral("Неизвестная команда");
};

class TAnalis : public TLexer {
public:
    // For the lexical services alone.
    TAnalis() = default;
    // A compiler object for one compile run over project: the link counter
    // starts at the number of global links. tables holds the run's variables
    // and diagnostics (null: the object keeps its own).
    TAnalis(TProject *project, TCompileTables *tables);

    // Folder of the project's function files; empty means the current
    // directory, which opening a project makes the project folder.
    void SetProjectFolder(const QString &folder) { FProjectFolder = folder; }
    const QString &ProjectFolder() const { return FProjectFolder; }

    // Writes the statement listing (path + "c") and the statement position
    // file (path + "l") of a program file. Ok (0): both written; TooShort
    // (2): fewer than three statements, nothing written; Failed (1): a file
    // could not be read or written, or function expansion ran away.
    // Whenever it is not Ok, no listing of the program is left behind and
    // PreprocessFailure() tells why.
    TPreprocessor::Status PreprocessProgram(const QString &programPath);

    // The statements that replace one function call (see TPreprocessor).
    // labelCounter is the running label number of the program being
    // preprocessed. Empty only when the function file cannot be read.
    TArrayStringsTable ExpandFunctionCall(const QString &callText, int &labelCounter);

    const TPreprocessFailure &PreprocessFailure() const { return FPreprocessFailure; }

    // ---- Declarations (declarations.cpp) ----
    // Link declarations of a program: from its links section, or from the
    // device's configured links. Both read the program's listing.
    TLocalLinksArray ReadLinksSection(const QString &programPath);
    TLocalLinksArray ReadLinksFromConfiguration(const QString &programPath);
    // Chooses the mode (configuration mode stays chosen once chosen) and
    // makes the result the current link table.
    TLocalLinksArray DeclareLinks(const QString &programPath);
    TConstArray ReadConstants(TArrayStringsTable &table);
    TLabelArray ReadLabels(const TArrayStringsTable &table);
    // The configuration-mode choice lives as long as the program.
    static bool ConfigurationMode() { return FConfigurationMode; }
    static void SetConfigurationMode(bool on) { FConfigurationMode = on; }
    int LinkCounter() const { return FLinkCounter; }

    // The program file's statements with the file and line each came from
    // (the listing with the position records laid over it).
    bool ReadCompileTable(const QString &programPath, TArrayStringsTable &table, QString *error);

    // The current program's tables (CompileProgram sets them; tests may).
    void SetLocalLinks(const TLocalLinksArray &links);
    void SetConstants(const TConstArray &consts);
    void SetLabels(const TLabelArray &labels);
    const TLocalLinksArray &LocalLinks() const { return FLocalLinks; }
    const TConstArray &Constants() const { return FConsts; }
    const TLabelArray &Labels() const { return FLabels; }

    // ---- Operands (operands.cpp, arguments.cpp) ----
    QString ValueToHex(const QString &text, int digits);
    TOperand ParseValue(const QString &token, int width);
    TOperand ParseFixedPoint(const TStringArray &tokens, int &index, int width);
    TOperand ParseRemoteVariable(const TStringArray &tokens, int &index, int mode);
    TOperand ParsePort(const TStringArray &tokens, int &index, int width);
    TOperand ParseRemotePort(const TStringArray &tokens, int &index, int mode);
    // The value source of "setvar": (code, value); both empty when none.
    QPair<QString, QString> ParseValueSource(const QString &token);
    bool ParseTypedOperand(const TStringArray &tokens, int &index, QString &text);

    enum ArgumentKind { NumberArgument = 1, InputSetArgument = 2, IRButtonArgument = 4 };
    bool ExpectToken(const QString &text);
    bool ParseArgumentNumber(const QString &token, int limit, int &value);
    bool ParseInputSet(quint16 &mask);
    bool ParseArgument(int kinds);

    TStringArray FTokens;
    int FCursor = 0;
    QString FError;
    QString FArgKind;
    QString FArgValue;

    // ---- Statements (statements.cpp and the statement form files) ----
    struct Statement; // statement.h
    QString CompileStatement(const QString &text);
    static bool HasEndMacro(const TStringArray &tokens);
    static bool CheckStatementEnd(const TStringArray &tokens, int cursor, QString &error);
    static void PadCommand(QString &line);

    // ---- Assembly (programassembly.cpp, configurationlines.cpp) ----
    // Compiles the current device's program file into DeviceLines();
    // diagnostics go to the run's error table. False when the program
    // stopped on an error (then DeviceLines() is empty).
    bool CompileProgram(const QString &programPath);
    const QStringList &DeviceLines() const { return FLines; }
    static int CountCodeLines(const QStringList &lines, int n);
    static bool IsCodeLine(const QString &line);

    void AddError(const QString &kind, qint32 code, const TStatementRecord &at, const QString &text);
    TCompileTables &Tables() { return FTables ? *FTables : FOwnTables; }
    TProject *Project() const { return FProject; }

private:
    QString FProjectFolder;
    TPreprocessFailure FPreprocessFailure;

    // Compilation state.
    TProject *FProject = nullptr;
    TCompileTables FOwnTables;
    TCompileTables *FTables = nullptr; // the run's; null: FOwnTables
    int FLinkCounter = 0;
    int FLastDeviceWithLinks = -2; // -2: not looked at yet
    static inline bool FConfigurationMode = false;
    TLocalLinksArray FLocalLinks;
    TConstArray FConsts;
    TLabelArray FLabels;
    // Look-ups of the current program's tables.
    QHash<QString, int> FLocalLinkIndex; // exact name, first
    QHash<QString, int> FConstExact;     // exact name
    QHash<QString, int> FConstLower;     // lower-cased name, last
    QHash<QString, int> FLabelExact;
    QHash<QString, int> FLabelLower;
    QHash<QString, int> FLabelByPlaceholder;
    QStringList FLines;
    // The program's statements while its links are declared.
    TArrayStringsTable FListing;
    QString FListingPath;
    // Devices by lower-cased alias (first and last) and by UID value.
    QHash<QString, int> FDeviceAlias;
    QHash<QString, int> FDeviceAliasLast;
    QHash<quint32, int> FDeviceUid;
    qsizetype FDeviceAliasCount = -1;
    int FConstDepth = 0;   // constants being resolved, to stop a cycle
    QString FConstRoot;    // the first of them

    // Declarations.
    TLocalLink newLink(const QString &name, const QString &id, int number);
    QString nextLinkId();
    void readLinkList(const TArrayStringsTable &section, TLocalLinksArray &links, TDevice *device);

    // Operands.
    const TDevice *currentDevice() const;
    int deviceByAlias(const QString &alias, bool last) const;
    int deviceByUid(quint32 uid) const;
    void indexDevices();
    void ensureIndexes() const;
    void enterConstant(const QString &name);
    TOperand parseOperandForms(const TStringArray &tokens, int &index, int mode);
    bool lookUpIRButton(const QString &remote, const QString &button, QString &code);

    // Statements.
    QString compileStatement(const QString &text);
    QString compileX10(Statement &s);
    QString compileSetout(Statement &s);
    QString compileSetvar(Statement &s);
    QString compileGoto(Statement &s);
    QString compileMov(Statement &s);
    QString compileRunlink(Statement &s);
    QString compileIf(Statement &s);
    QString compileCalc(Statement &s);
    QString compileIncDec(Statement &s);
    QString compileWait(Statement &s);
    QString compileSetInputAlarm(Statement &s);
    QString compileResetInputAlarm(Statement &s);
    QString compileIremit(Statement &s);
    QString argumentStatement(Statement &s, const QString &code, const QString &arguments);
    QString tailAfterParen(const Statement &s, int index);
    TOperand operandAt(Statement &s, int i, bool single, int &after);

    // Assembly.
    void appendLine(const QString &line, const TStatementRecord &origin = TStatementRecord());
    bool compileLinks(TArrayStringsTable &table, QStringList &kept, const QString &uid);
    bool compileLinkStatement(const TStatementRecord &st, const QString &uid);
    bool resolveLabels();
    bool compileProgram(const QString &programPath);
    bool writeConfigurationLines(const TDevice &d, const QString &uid, const QStringList &kept, TIRConfig *ir);
    bool writeInputLines(const TDevice &d, const QString &cmnd);
    void writeTimerLines(const TDevice &d, const QString &cmnd);
    void appendLinkLines(const QString &link, const QString &cmnd, const QString &head);
    void indexProject();
    int globalLinkExact(const QString &name) const;
    // Project look-ups built once per run.
    QHash<QString, int> FGlobalExact;
    qsizetype FGlobalCount = -1;
    QSet<QString> FInputLinks;                 // links of inputs in use
    QHash<QString, QList<int>> FTimerLinkDevices; // link -> devices whose timers run it
    int FCodeLines = 0; // code lines of FLines
    // The statement each output line came from (empty for configuration
    // lines), for diagnostics found after the statements were compiled.
    QList<TStatementRecord> FLineOrigins;
};
