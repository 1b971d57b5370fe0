#pragma once
// The ticks of the programming window's device list, kept between uses in
// "dev.ini" beside the compiler's output: one byte per device row in list
// order, 1 ticked and 0 not, nothing else.
#include <QList>
#include <QString>

namespace deviceselection {

QString fileName(); // "dev.ini"
// The selection file of an output file (same folder).
QString pathFor(const QString &outputFile);

// One tick per device. A missing, short or unreadable file, or a byte that
// is neither 0 nor 1, ticks every device.
QList<bool> read(const QString &path, int deviceCount);
bool write(const QString &path, const QList<bool> &ticks, QString *error = nullptr);

} // namespace deviceselection
