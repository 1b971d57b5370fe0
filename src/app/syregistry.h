#pragma once
// The program-wide registry of persistent classes: collections name their
// items by it in files and re-create them from those names.
#include "sypersistent.h"

#include <QList>
#include <QMutex>

class TSySystemRegistry {
public:
    static TSySystemRegistry &instance();

    // An empty name registers the class under its own name.
    void RegisterPersistentClass(const TSyClassInfo &cls, const QString &name = {});
    // Case-insensitive; null when nothing is registered under the name.
    const TSyClassInfo *FindClass(const QString &name) const;
    // The name of the class's first registration; empty when it has none.
    QString RegisteredName(const TSyClassInfo &cls) const;

private:
    struct Entry {
        QString name;
        const TSyClassInfo *cls;
    };
    mutable QMutex mutex_;
    QList<Entry> entries_;
};

template <class T> void RegisterPersistentClass(const QString &name = {}) {
    TSySystemRegistry::instance().RegisterPersistentClass(T::staticClassInfo(), name);
}
