#pragma once
// The packets a programming run sends one device, in order, from its rows.
#include "network/programcommands.h"

#include <QStringList>

inline QStringList packetsFor(const TProgCommandList &rows, const QString &uid) {
    QStringList out;
    for (const TProgCommand &r : rows)
        if (r.uid == uid)
            out << r.packet;
    return out;
}
