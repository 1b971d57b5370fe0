#include "packetlog.h"

#include "app/text1251.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>

bool PacketLog::open(const QString &baseDir, QString *error) {
    std::lock_guard lock(mutex_);
    QDir dir(baseDir);
    dir.mkpath(folderName()); // a failure shows up when the file cannot be opened
    path_ = dir.filePath(folderName() + QLatin1Char('/') + fileName());
    file_.setFileName(path_);
    if (file_.open(QIODevice::WriteOnly | QIODevice::Append))
        return true;
    if (error)
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file_.fileName()), file_.errorString());
    return false;
}

bool PacketLog::isOpen() const {
    std::lock_guard lock(mutex_);
    return file_.isOpen();
}

void PacketLog::write(const QString &text) {
    // The clock is read under the lock too: the C library's time-zone set-up
    // behind local time is not safe to run from several threads at once.
    std::lock_guard lock(mutex_);
    if (!file_.isOpen())
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const QString line = QLatin1Char('[') + QLocale::system().toString(now.date(), QLocale::ShortFormat) +
                         QLatin1Char(' ') + now.time().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("] ") + text;
    file_.write(cp1251::encodeLossy(line) + "\r\n");
    file_.flush(); // a crash must not lose the traffic that led to it
}
