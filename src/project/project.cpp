#include "project.h"

#include "aliasname.h"
#include "configfile.h"
#include "projectfile.h"
#include "projectpaths.h"

#include "app/askuser.h"
#include "app/text1251.h"
#include "app/textfile.h"

#include <QDir>
#include <QFileInfo>

TProject::TProject(TDM *catalogue) : catalogue_(catalogue), file_(newProjectFileName()) {}

TProject::~TProject() = default;

QString TProject::configurationFile() const { return projectpaths::withExtension(file_, QStringLiteral(".cfg")); }

QString TProject::baseName() const { return projectpaths::withExtension(QFileInfo(file_).fileName(), QString()); }

QString TProject::programPath(const QString &alias) const { return projectpaths::inFolder(folder_, alias + ".pd"); }

void TProject::setFilesFrom(const QString &path) {
    file_ = QFileInfo(path).absoluteFilePath();
    folder_ = QFileInfo(file_).absolutePath();
    outputFile_ = projectpaths::withExtension(file_, QStringLiteral(".lf"));
    errorFile_ = projectpaths::withExtension(file_, QStringLiteral(".err"));
}

bool TProject::failOpen(const QString &message) {
    lastError_ = message;
    devices_.clear();
    globalLinks_.clear();
    userDialogs().askUser(QStringLiteral("o"), message, QStringLiteral("Ошибка открытия проекта"),
                          UserDialogs::ErrorIcon);
    return false;
}

bool TProject::OpenProject(const QString &path) {
    lastError_.clear();
    globalLinks_.clear();
    compiledLinks_.clear();
    setFilesFrom(path);
    QStringList lines;
    QString error;
    if (!textfile::readLines(file_, lines, &error))
        return failOpen(error);

    projectfile::Content content;
    const QString message = projectfile::read(lines, content, [](const QString &warning) {
        userDialogs().askUser(QStringLiteral("o"), warning, QString(), UserDialogs::WarningIcon);
    });
    if (!message.isEmpty())
        return failOpen(message);

    devices_ = content.devices;
    speed_ = content.speed;
    for (TDevice &d : devices_) {
        d.programFileMade = true;
        InitDeviceConfiguration(d);
    }
    for (const TDevice &d : devices_)
        if (!QFileInfo::exists(programPath(d.alias)))
            return failOpen(QStringLiteral("Отсутствует файл устройства \"") + d.alias + QLatin1Char('"'));

    ReadConfiguration();
    if (irConfig_)
        irConfig_->LoadFromFile(file_);
    current_ = -1;
    saved_ = true;
    return true;
}

// Everything that would make a written file unreadable or a text unstorable
// is refused before the first file is touched.
bool TProject::checkBeforeSave() {
    for (int i = 0; i < devices_.size(); ++i) {
        QString problem = aliasProblem(devices_[i].alias);
        for (int j = 0; j < i && problem.isEmpty(); ++j)
            if (devices_[j].alias.compare(devices_[i].alias, Qt::CaseInsensitive) == 0)
                problem = QStringLiteral("В проекте два устройства с названием ") + devices_[i].alias;
        if (!problem.isEmpty()) {
            userDialogs().showMessage(QStringLiteral("Проект не сохранён: ") + problem);
            return false;
        }
    }
    const QString configText = configfile::configurationLines(globalLinks_, devices_).join(QStringLiteral("\r\n"));
    const qsizetype bad = cp1251::firstUnencodable(configText);
    if (bad >= 0) {
        userDialogs().showMessage(QStringLiteral("Проект не сохранён: ") +
                                  cp1251::unencodableMessage(configText, bad, configurationFile()));
        return false;
    }
    return true;
}

bool TProject::SaveProject() {
    if (!checkBeforeSave())
        return false;
    // Programs before the project file: a project file must never name a
    // device whose program could not be written, or it would not open again.
    setFilesFrom(file_);
    for (TDevice &d : devices_)
        if (!d.programFileMade && !WriteProgramSkeleton(d))
            return false;
    // The configuration next: blocks of devices the old project file does
    // not list are ignored when it is read, so a project file that then
    // fails to be written still finds its configuration.
    if (!WriteConfiguration())
        return false;
    QString error;
    if (!textfile::writeLines(file_, projectfile::projectLines(devices_, speed_), &error)) {
        userDialogs().showMessage(QStringLiteral("Проект не сохранён: ") + error);
        return false;
    }
    saved_ = true;
    return true;
}

bool TProject::SaveProjectAs(const QString &path) {
    if (!checkBeforeSave() || !copyPerProjectFiles(path))
        return false;
    const QString newFolder = QFileInfo(path).absolutePath();
    // A program that did not come along is written anew as a skeleton.
    for (TDevice &d : devices_)
        d.programFileMade = QFileInfo::exists(projectpaths::inFolder(newFolder, d.alias + ".pd"));
    file_ = path;
    return SaveProject();
}

namespace {

bool copyReplacing(const QString &from, const QString &to) {
    QString error;
    if (!projectpaths::copyFile(from, to, &error)) {
        userDialogs().showMessage(QStringLiteral("Проект не сохранён: ") + error);
        return false;
    }
    return true;
}

} // namespace

bool TProject::copyPerProjectFiles(const QString &newPath) {
    const QString newFolder = QFileInfo(newPath).absolutePath();
    const QString newIr = projectpaths::withExtension(QFileInfo(newPath).absoluteFilePath(), QStringLiteral(".ir"));
    const QString oldIr = projectpaths::withExtension(file_, QStringLiteral(".ir"));
    const bool wasSaved = !folder_.isEmpty();
    if (!projectpaths::sameFile(oldIr, newIr)) {
        if (!projectpaths::confirmOverwrite(newIr))
            return false;
        if (wasSaved && QFileInfo::exists(oldIr) && !copyReplacing(oldIr, newIr))
            return false;
    }
    // In the same folder the programs and functions are already in place.
    if (!wasSaved || projectpaths::sameFile(folder_, newFolder))
        return true;
    QStringList names;
    for (const TDevice &d : devices_)
        if (QFileInfo::exists(programPath(d.alias)))
            names << d.alias + ".pd";
    names << QDir(folder_).entryList({QStringLiteral("*.pf")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        const QString target = projectpaths::inFolder(newFolder, name);
        if (!projectpaths::confirmOverwrite(target) || !copyReplacing(projectpaths::inFolder(folder_, name), target))
            return false;
    }
    return true;
}

void TProject::setNetworkSpeed(quint8 speed) {
    speed_ = speed;
    saved_ = false;
}

TDevice *TProject::currentDeviceRecord() {
    return current_ >= 0 && current_ < devices_.size() ? &devices_[current_] : nullptr;
}
