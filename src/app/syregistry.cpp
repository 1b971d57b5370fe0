#include "syregistry.h"

#include <QMutexLocker>

TSySystemRegistry &TSySystemRegistry::instance() {
    static TSySystemRegistry registry;
    return registry;
}

void TSySystemRegistry::RegisterPersistentClass(const TSyClassInfo &cls, const QString &name) {
    QMutexLocker lock(&mutex_);
    entries_.append({name.isEmpty() ? cls.name : name, &cls});
}

const TSyClassInfo *TSySystemRegistry::FindClass(const QString &name) const {
    QMutexLocker lock(&mutex_);
    for (const Entry &e : entries_)
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return e.cls;
    return nullptr;
}

QString TSySystemRegistry::RegisteredName(const TSyClassInfo &cls) const {
    QMutexLocker lock(&mutex_);
    for (const Entry &e : entries_)
        if (e.cls == &cls)
            return e.name;
    return {};
}
