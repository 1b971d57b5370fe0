// The project's side of the device configuration: the file and the timer
// list of the current device.
#include "project.h"

#include "configfile.h"
#include "deviceconfig.h"

#include "app/askuser.h"
#include "app/catalogue.h"
#include "app/textfile.h"

#include <QFileInfo>

void TProject::InitDeviceConfiguration(TDevice &d) const {
    deviceconfig::InitDeviceConfiguration(d, catalogue_ ? catalogue_->DeviceByCatNum(d.cat_num) : std::nullopt);
}

void TProject::DefaultInputs(TDevice &d) const { deviceconfig::DefaultInputs(d); }

void TProject::ResetConfiguration() {
    for (TDevice &d : devices_)
        deviceconfig::ResetConfiguration(d);
}

// An unreadable file stays on disk for the user to look at; the defaults
// are in memory and replace it at the next save.
bool TProject::ReadConfiguration() {
    bool ok = true;
    const QString path = configurationFile();
    if (!QFileInfo::exists(path)) {
        ResetConfiguration();
        WriteConfiguration();
    } else {
        QStringList lines;
        QString message;
        if (!textfile::readLines(path, lines, &message))
            message = QStringLiteral("Ошибка чтения файла конфигурации");
        else
            message = configfile::read(lines, globalLinks_, devices_);
        if (!message.isEmpty()) {
            userDialogs().showMessage(message);
            ResetConfiguration();
            ok = false;
        }
    }
    // Links read before a failure keep their ids too.
    configfile::assignGlobalLinkIds(globalLinks_);
    return ok;
}

bool TProject::WriteConfiguration() {
    if (folder_.isEmpty())
        return true;
    QString error;
    if (!textfile::writeLines(configurationFile(), configfile::configurationLines(globalLinks_, devices_), &error)) {
        userDialogs().showMessage(QStringLiteral("Конфигурация не сохранена: ") + error);
        return false;
    }
    return true;
}

QString TProject::AddTimer() {
    TDevice *d = currentDeviceRecord();
    if (!d)
        return QString();
    saved_ = false;
    return deviceconfig::AddTimer(*d);
}

bool TProject::DeleteTimer(const QString &name) {
    TDevice *d = currentDeviceRecord();
    if (!d || !deviceconfig::DeleteTimer(*d, name))
        return false;
    saved_ = false;
    return true;
}

bool TProject::TimerIsConfigured(int index) const {
    if (current_ < 0 || current_ >= devices_.size())
        return false;
    const TDevice &d = devices_[current_];
    return index >= 0 && index < d.timers.size() && deviceconfig::TimerIsConfigured(d.timers[index]);
}
