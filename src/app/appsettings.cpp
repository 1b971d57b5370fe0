#include "appsettings.h"

#include "syinifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMultiMap>
#include <QStandardPaths>

SY_DEFINE_CLASS(TLastProjects, TSyStringsAdapter)

SY_DEFINE_CLASS(TAdminSettings, TSyPersistent,
    syInteger("SystemMode", &TAdminSettings::SystemMode),
    syInteger("SystemPRMode", &TAdminSettings::SystemPRMode, &TAdminSettings::SetSystemPRMode))

SY_DEFINE_CLASS(TInterfaceSettings, TSyPersistent,
    syInteger("WindowStatus", &TInterfaceSettings::WindowStatus),
    syInteger("WindowLeft", &TInterfaceSettings::WindowLeft),
    syInteger("WindowTop", &TInterfaceSettings::WindowTop),
    syInteger("WindowWidth", &TInterfaceSettings::WindowWidth),
    syInteger("WindowHeight", &TInterfaceSettings::WindowHeight),
    syInteger("SystemResizeForm", &TInterfaceSettings::SystemResizeForm))

SY_DEFINE_CLASS(TAppSettings, TSyPersistent,
    syObject("uids", &TAppSettings::uids),
    syObject("LastPrs", &TAppSettings::LastPrs),
    syColour("GridColor1", &TAppSettings::GridColor1),
    syColour("GridColor2", &TAppSettings::GridColor2),
    syColour("GridColor3", &TAppSettings::GridColor3),
    syColour("GridColor4", &TAppSettings::GridColor4),
    syText("DatabaseDir", &TAppSettings::DatabaseDir, &TAppSettings::SetDatabaseDir),
    syText("LastProject", &TAppSettings::LastProject),
    syInteger("SystemLoadLastProject", &TAppSettings::SystemLoadLastProject),
    syInteger("UartSpeed", &TAppSettings::UartSpeed, &TAppSettings::SetUartSpeed),
    syInteger("AutoDetectTime", &TAppSettings::AutoDetectTime, &TAppSettings::SetAutoDetectTime),
    syObject("AdminSettings", &TAppSettings::AdminSettings),
    syObject("InterfaceSettings", &TAppSettings::InterfaceSettings),
    syInteger("SystemCompilerShowWarning", &TAppSettings::SystemCompilerShowWarning),
    syInteger("CurrentMode", &TAppSettings::CurrentMode, &TAppSettings::SetCurrentMode))

// ---- Recent files -----------------------------------------------------------

namespace {

qsizetype indexOfPath(const QStringList &list, const QString &path) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i].compare(path, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

void TLastProjects::AddRecent(const QString &path) {
    if (path.isEmpty())
        return;
    const qsizetype i = indexOfPath(Strings, path);
    if (i >= 0) {
        Strings.move(i, 0);
        return;
    }
    if (Strings.size() > MaxCount - 1)
        Strings.removeLast();
    Strings.prepend(path);
}

void TLastProjects::RemoveRecent(const QString &path) {
    if (path.isEmpty() || Strings.isEmpty())
        return;
    const qsizetype i = indexOfPath(Strings, path);
    if (i >= 0)
        Strings.removeAt(i);
    else if (Strings.size() > MaxCount - 1)
        Strings.removeLast(); // makes room for the project being opened
}

void TInterfaceSettings::StorePlacement(int status, int left, int top, int width, int height) {
    WindowStatus = status;
    if (status != 0)
        return;
    WindowLeft = left;
    WindowTop = top;
    WindowWidth = width;
    WindowHeight = height;
}

TAppSettings &appSettings() {
    static TAppSettings settings;
    return settings;
}

// ---- Keys with rules --------------------------------------------------------

int TAdminSettings::SystemPRMode() const {
    if (quint32(FSystemPRMode) > 1)
        FSystemPRMode = 0;
    return FSystemPRMode;
}

void TAppSettings::SetUartSpeed(int index) { FUartSpeed = quint32(index) > 5 ? 3 : index; }

void TAppSettings::SetAutoDetectTime(int seconds) { FAutoDetectTime = seconds == 0 ? 2 : seconds; }

void TAppSettings::SetCurrentMode(int mode) { FCurrentMode = (mode == 1 || mode == 2) ? mode : 1; }

QString TAppSettings::ProgramDir() const {
    if (!FProgramDir.isEmpty())
        return FProgramDir;
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

QString TAppSettings::DatabaseDir() const {
    const QString program = ProgramDir();
    QString dir = FDatabaseDir;
    // Values saved by the old Windows program use "\" between folders.
    auto slashes = [](QString s) { return s.replace(QLatin1Char('\\'), QLatin1Char('/')); };
    if (dir.isEmpty())
        dir = program + QStringLiteral("/Database");
    else if (dir.startsWith(QLatin1String("..")))
        dir = program + QLatin1Char('/') + slashes(dir);
    else if (dir.startsWith(QLatin1Char('\\')))
        dir = program + slashes(dir);
    FDatabaseDir = dir;
    return dir;
}

QString TAppSettings::DatabaseFile() const {
    return DatabaseDir() + QLatin1Char('/') + QLatin1String(DatabaseFileName);
}

// ---- File -------------------------------------------------------------------

TSettingsLocation settingsFileLocation(const QString &programDir) {
    const QFileInfo dir(programDir);
    if (dir.isDir() && dir.isWritable())
        return {QDir(programDir).filePath(QLatin1String(TAppSettings::FileBaseName)), true};
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return {QDir(config).filePath(QLatin1String(TAppSettings::FileBaseName)), false};
}

namespace {

// The configuration folder may not exist on a first run.
bool saveDocument(const TSyDocument &doc, QString *error) {
    QDir().mkpath(QFileInfo(doc.FileName()).absolutePath());
    return doc.save(error);
}

QString problemText(const QString &file, int line, const ESyException &problem) {
    const QString where = QStringLiteral("Файл настроек %1, строка %2: ").arg(QDir::toNativeSeparators(file)).arg(line);
    const auto *convert = dynamic_cast<const ESyConvertError *>(&problem);
    if (convert && !convert->property().isEmpty())
        return where + QStringLiteral("значение \"%1\" не подходит для ключа %2, ключ оставлен без изменений.")
                           .arg(convert->value(), convert->property());
    return where + problem.message();
}

} // namespace

bool TAppSettings::LoadSettings(const QString &fileName, bool writeBack, QStringList *messages) {
    FFileName = fileName.isEmpty() ? settingsFileLocation(ProgramDir()).path : fileName;
    QStringList problems;
    const TSyIniFile doc(FFileName, QLatin1String(RootName));
    FReadError = doc.LoadError();
    if (!FReadError.isEmpty())
        problems << FReadError;
    // Even a partly read file is applied: what was read is better than nothing.
    QMultiMap<int, QString> byLine; // sections are applied before the root's keys
    LoadFromNode(doc.Root(), [&](const ESyException &problem, int line) {
        byLine.insert(line, problemText(FFileName, line, problem));
    });
    problems << byLine.values();
    QString error;
    const bool written = !writeBack || !doc.LoadError().isEmpty() || saveDocument(doc, &error);
    if (!written)
        problems << error;
    if (messages)
        *messages << problems;
    return doc.LoadError().isEmpty() && written;
}

bool TAppSettings::SaveSettings(QString *error) {
    if (!FReadError.isEmpty()) {
        if (error)
            *error = FReadError;
        return false;
    }
    if (FFileName.isEmpty())
        FFileName = settingsFileLocation(ProgramDir()).path;
    TSyIniFile doc(FFileName, QLatin1String(RootName), TSyDocument::Replace);
    SaveToNode(doc.Root());
    return saveDocument(doc, error);
}
