#include "variabletable.h"

#include "compilertext.h"

#include "project/lexis.h"

namespace {
QString uidKey(quint32 uid) { return QString::number(uid, 16); }

quint32 uidValue(const QString &text) {
    quint64 v = 0;
    return lexis::readHex(text, &v) ? quint32(v) : 0xFFFFFFFFu;
}
} // namespace

void TVariableTable::clear() {
    items_.clear();
    own_.clear();
    byAlias_.clear();
    byUid_.clear();
    names_.clear();
    byDevice_.clear();
}

void TVariableTable::append(const TVars &v) {
    const int index = int(items_.size());
    items_.append(v);
    own_.insert(key(v.fullAlias, v.name), index);
    const QString lowerName = v.name.toLower();
    compilertext::insertFirst(byAlias_, key(v.fullAlias.toLower(), lowerName), index);
    compilertext::insertFirst(byUid_, key(uidKey(uidValue(v.uid)), lowerName), index);
    names_.insert(v.name, index);
    byDevice_[v.fullAlias].append(index);
}

const TVars *TVariableTable::Own(const QString &fullAlias, const QString &name) const {
    const auto it = own_.constFind(key(fullAlias, name));
    return it == own_.constEnd() ? nullptr : &items_[*it];
}

const TVars *TVariableTable::ByAlias(const QString &alias, const QString &name) const {
    const auto it = byAlias_.constFind(key(alias.toLower(), name.toLower()));
    return it == byAlias_.constEnd() ? nullptr : &items_[*it];
}

const TVars *TVariableTable::ByUid(quint32 uid, const QString &name) const {
    const auto it = byUid_.constFind(key(uidKey(uid), name.toLower()));
    return it == byUid_.constEnd() ? nullptr : &items_[*it];
}
