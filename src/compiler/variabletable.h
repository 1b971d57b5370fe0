#pragma once
// The project-wide variable declarations with the indexes every operand
// look-up uses, so that a look-up costs the same in a project of ten devices
// as in one of a thousand.
#include "compilerrecords.h"

#include <QHash>

class TVariableTable {
public:
    void clear();
    void append(const TVars &v);

    const TVarsArray &items() const { return items_; }
    qsizetype size() const { return items_.size(); }

    // A variable of the device whose full alias is exactly fullAlias, named
    // exactly name; null when none.
    const TVars *Own(const QString &fullAlias, const QString &name) const;
    // By device alias and name, letter case ignored; the first declared.
    const TVars *ByAlias(const QString &alias, const QString &name) const;
    // By the device's UID value and name (letter case ignored).
    const TVars *ByUid(quint32 uid, const QString &name) const;
    // Whether any device declares a variable of exactly this name.
    bool HasName(const QString &name) const { return names_.contains(name); }
    // Indexes of the variables of one device (full alias, exact), in order.
    QList<int> OfDevice(const QString &fullAlias) const { return byDevice_.value(fullAlias); }

private:
    static QString key(const QString &a, const QString &b) { return a + QChar(1) + b; }

    TVarsArray items_;
    QHash<QString, int> own_;
    QHash<QString, int> byAlias_;
    QHash<QString, int> byUid_;
    QHash<QString, int> names_;
    QHash<QString, QList<int>> byDevice_;
};
