#pragma once
// Refuses a second running copy of the program: the first copy holds a lock
// file for the whole run; a copy that cannot take it within a moment knows
// that another one runs. A lock left by a crashed copy is taken over.
#include <QLockFile>
#include <QString>
#include <memory>

class SingleInstance {
public:
    // lockPath: empty means the per-user lock of the windowed program.
    explicit SingleInstance(const QString &lockPath = QString());
    bool isFirst() const { return first_; }
    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> lock_;
    bool first_ = false;
};
