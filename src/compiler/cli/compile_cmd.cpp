// vodiz-cli compile: compiles a project as the main window's compile command
// does, writing the output (".lf") and error (".err") files beside it, and
// prints every diagnostic with a summary line.
#include "compiler/compiledriver.h"
#include "compiler/irconfiglist.h"

#include "project/cli/projectcli.h"
#include "project/project.h"

namespace {

const QString kUsage = QStringLiteral("compile PROJECT.lpr [--no-warnings]");

int run(const QStringList &args) {
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("no-warnings"), QStringLiteral("Do not print warnings (the error file keeps them)")});
    if (!cliParse(parser, kUsage, args))
        return CliBadInput;
    if (parser.positionalArguments().size() != 1) {
        cliErr(QStringLiteral("usage: vodiz-cli ") + kUsage);
        return CliBadInput;
    }
    ProjectCliDialogs dialogs(false);
    ScopedUserDialogs scope(dialogs);
    const std::unique_ptr<TDM> dm = openCliCatalogue();
    if (!dm)
        return CliBadInput;
    RegisterIRClasses();
    TProject project(dm.get());
    project.setIRConfig(std::make_unique<TIRConfigList>(dm.get(), &project));
    if (!project.OpenProject(parser.positionalArguments().first()))
        return CliBadInput;

    TCompileDriver driver(project);
    if (driver.CompileProject() < 0)
        return CliJobFailed; // the file failure was printed
    const bool hideWarnings = parser.isSet(QStringLiteral("no-warnings"));
    int errors = 0, warnings = 0;
    for (const QString &line : driver.ErrorLines()) {
        const bool warning = compilerrecords::IsWarningLine(line);
        warning ? ++warnings : ++errors;
        if (!warning || !hideWarnings)
            cliOut(line);
    }
    cliOut(QStringLiteral("%1 errors, %2 warnings").arg(errors).arg(warnings));
    return errors == 0 ? CliOk : CliJobFailed;
}

CliRegistration reg({QStringLiteral("compile"), QStringLiteral("compile a project into its .lf and .err files"), run});

} // namespace
