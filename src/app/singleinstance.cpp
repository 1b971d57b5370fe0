#include "singleinstance.h"

#include <QDir>

QString SingleInstance::defaultLockPath() {
    // One lock per user: other users may run their own copy.
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("user");
    return QDir::tempPath() + QStringLiteral("/vodiz-") + user + QStringLiteral(".lock");
}

SingleInstance::SingleInstance(const QString &lockPath)
    : lock_(std::make_unique<QLockFile>(lockPath.isEmpty() ? defaultLockPath() : lockPath)) {
    lock_->setStaleLockTime(0); // only a dead owner makes the lock stale
    first_ = lock_->tryLock(10);
}
