// vodiz-cli convert: a project of the older format into a new folder.
#include "project/oldproject.h"
#include "projectcli.h"

#include <QFileInfo>

namespace {

const QString kUsage = QStringLiteral("convert OLD.lpr NEW.lpr [--yes]");

int run(const QStringList &args) {
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("yes"), QStringLiteral("Empty a target folder that holds files")});
    if (!cliParse(parser, kUsage, args))
        return CliBadInput;
    const QStringList words = parser.positionalArguments();
    if (words.size() != 2) {
        cliErr(QStringLiteral("usage: vodiz-cli ") + kUsage);
        return CliBadInput;
    }
    if (!IsOldProjectFormat(words[0])) {
        cliErr(QStringLiteral("Файл %1 не является проектом старого формата").arg(words[0]));
        return CliBadInput;
    }
    ProjectCliDialogs dialogs(parser.isSet(QStringLiteral("yes")));
    ScopedUserDialogs scope(dialogs);
    if (!PrepareConversionFolder(words[0], words[1]))
        return CliJobFailed;
    return ConvertOldProject(words[0], words[1]) ? CliOk : CliBadInput;
}

CliRegistration reg({QStringLiteral("convert"), QStringLiteral("convert a project of the older format"), run});

} // namespace
