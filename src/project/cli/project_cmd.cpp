// vodiz-cli project: show a project, create one, and add, rename or delete
// its devices. Every change is saved as the windows save it, so the files
// on disk are the same.
#include "project/aliasname.h"
#include "project/lexis.h"
#include "project/project.h"
#include "project/projectfile.h"
#include "projectcli.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kUsage = QStringLiteral(
    "project show PROJECT.lpr [--tsv]\n"
    "       vodiz-cli project new PROJECT.lpr [--yes]\n"
    "       vodiz-cli project add-device PROJECT.lpr ALIAS CATNUM [--uid HEX] [--addr HEX] [--yes]\n"
    "       vodiz-cli project rename-device PROJECT.lpr OLD NEW [--yes]\n"
    "       vodiz-cli project delete-device PROJECT.lpr ALIAS [--yes]");

struct Invocation {
    QStringList words; // positional arguments after the subcommand
    bool yes = false;
    bool tsv = false;
    QString uid, addr;
};

void printDevices(const TProject &p, bool tsv) {
    QList<QStringList> rows;
    for (const TDevice &d : p.devices())
        rows.append({d.alias, projectfile::hex6(d.uidValue()), projectfile::hex6(d.addressValue()),
                     QString::number(d.cat_num), QString::number(d.release), QString::number(d.SoftVer),
                     QString::number(d.HardVer), QString::number(d.inputCount), QString::number(d.outputCount),
                     QString::number(d.timerCount)});
    cliPrintTable({"alias", "UID", "UniqAddr", "cat_num", "release", "SoftVer", "HardVer", "inputs", "outputs",
                   "timers"},
                  rows, tsv);
    cliOut(QString());
    rows.clear();
    for (const TGlobalLink &g : p.globalLinks())
        rows.append({g.name, g.numberText, g.idText, g.description});
    cliPrintTable({"link", "number", "id", "description"}, rows, tsv);
}

// A hexadecimal option value not above max.
bool hexOption(const QString &text, quint64 max, quint32 *value) {
    quint64 v = 0;
    if (text.isEmpty()) {
        *value = 0;
        return true;
    }
    if (!lexis::readHex(text, &v) || v > max)
        return false;
    *value = quint32(v);
    return true;
}

int save(TProject &p) { return p.SaveProject() ? CliOk : CliJobFailed; }

int createProject(const Invocation &in) {
    const QString path = QFileInfo(in.words[0]).absoluteFilePath();
    if (QFileInfo::exists(path)) {
        const QString text = QStringLiteral("Внимание! Файл ") + QDir::toNativeSeparators(path) +
                             QStringLiteral(" существует! \n\rВы хотите перезаписать его?");
        if (userDialogs().askUser(QStringLiteral("дн"), text) != 0)
            return CliJobFailed;
    }
    TProject p;
    p.setProjectFile(path);
    return save(p);
}

int changeProject(const QString &sub, const Invocation &in, TProject &p) {
    if (sub == QLatin1String("show")) {
        printDevices(p, in.tsv);
        return CliOk;
    }
    if (sub == QLatin1String("add-device")) {
        quint32 uid = 0, addr = 0;
        bool catOk = false;
        const int catNum = in.words[2].toInt(&catOk);
        if (!catOk || !lexis::isDecimal(in.words[2]) || !hexOption(in.uid, 0xFFFFFF, &uid) ||
            !hexOption(in.addr, 0x3FFF, &addr)) {
            cliErr(QStringLiteral("vodiz-cli: CATNUM is a decimal number, --uid a hexadecimal UID up to FFFFFF, "
                                  "--addr a hexadecimal address up to 3FFF"));
            return CliBadInput;
        }
        if (!p.AddDevice(in.words[1], uid, 0, 0, 0, catNum, addr))
            return CliBadInput;
        return save(p);
    }
    const QString alias = in.words[1];
    if (p.deviceIndex(alias) < 0) {
        cliErr(QStringLiteral("Устройство %1 не найдено в проекте").arg(alias));
        return CliBadInput;
    }
    if (sub == QLatin1String("rename-device")) {
        const QString problem = aliasProblem(in.words[2]);
        if (!problem.isEmpty()) {
            cliErr(problem);
            return CliBadInput;
        }
        if (!p.RenameDevice(alias, in.words[2]))
            return CliJobFailed;
        return save(p);
    }
    if (!p.DeleteDevice(alias))
        return CliJobFailed;
    return save(p);
}

int run(const QStringList &args) {
    static const QMap<QString, int> wordCount{
        {"show", 1}, {"new", 1}, {"add-device", 3}, {"rename-device", 3}, {"delete-device", 2}};
    const QString sub = args.value(0);
    QCommandLineParser parser;
    parser.addOption({"tsv", "Tab-separated columns"});
    parser.addOption({"yes", "Answer Да to the questions (overwrite files)"});
    parser.addOption({"uid", "UID of the new device (hexadecimal)", "HEX"});
    parser.addOption({"addr", "Unique address of the new device (hexadecimal)", "HEX"});
    if (!wordCount.contains(sub)) {
        cliErr(QStringLiteral("usage: vodiz-cli ") + kUsage);
        return CliBadInput;
    }
    if (!cliParse(parser, kUsage, args.mid(1)))
        return CliBadInput;
    Invocation in{parser.positionalArguments(), parser.isSet("yes"), parser.isSet("tsv"), parser.value("uid"),
                  parser.value("addr")};
    if (in.words.size() != wordCount[sub]) {
        cliErr(QStringLiteral("usage: vodiz-cli ") + kUsage);
        return CliBadInput;
    }
    ProjectCliDialogs dialogs(in.yes);
    ScopedUserDialogs scope(dialogs);
    if (sub == QLatin1String("new"))
        return createProject(in);
    const std::unique_ptr<TDM> dm = openCliCatalogue();
    if (!dm)
        return CliBadInput;
    TProject p(dm.get());
    if (!p.OpenProject(in.words[0]))
        return CliBadInput;
    return changeProject(sub, in, p);
}

CliRegistration reg({QStringLiteral("project"),
                     QStringLiteral("show a project; create one; add, rename or delete its devices"), run});

} // namespace
