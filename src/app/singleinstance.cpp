#include "singleinstance.h"

#include <QDir>
#include <QStandardPaths>

QString SingleInstance::defaultLockPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/vodiz.lock");
}

SingleInstance::SingleInstance(const QString &lockPath)
    : lock_(std::make_unique<QLockFile>(lockPath.isEmpty() ? defaultLockPath() : lockPath)) {
    lock_->setStaleLockTime(0); // only a dead owner makes the lock stale
    first_ = lock_->tryLock(10);
}
