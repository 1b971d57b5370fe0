#pragma once
// The project file (.lpr): its exact text and its reader. The reader stops at
// the first error and returns its message; duplicate UIDs and addresses are
// only warnings and reading goes on.
#include "devicerecords.h"

#include <QStringList>
#include <functional>

namespace projectfile {

// Hexadecimal as the project writes UIDs and addresses: at least six
// upper-case digits.
QString hex6(quint32 value);

QStringList projectLines(const TDeviceArray &devices, quint8 speed);

// The nine lines of one device block, numbered index (from 1).
// Values are given as they are to be written.
QStringList deviceBlock(int index, const QString &alias, const QString &uid, const QString &addr, int catNum,
                        int release, const QString &softVer, const QString &hardVer);

struct Content {
    TDeviceArray devices; // identity fields only; the configuration is the project's
    quint8 speed = 0;
};

// Returns the message of the first error, or an empty text when the whole
// file was read. warn receives each warning.
QString read(const QStringList &lines, Content &out, const std::function<void(const QString &)> &warn);

} // namespace projectfile
