#include "deviceselection.h"

#include "app/textfile.h"

#include <QFile>
#include <QFileInfo>

namespace deviceselection {

QString fileName() { return QStringLiteral("dev.ini"); }

QString pathFor(const QString &outputFile) {
    return QFileInfo(outputFile).absolutePath() + QLatin1Char('/') + fileName();
}

QList<bool> read(const QString &path, int deviceCount) {
    const QList<bool> all(deviceCount, true);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return all;
    const QByteArray bytes = f.read(deviceCount);
    if (bytes.size() < deviceCount)
        return all;
    QList<bool> ticks;
    for (char b : bytes) {
        if (b != 0 && b != 1)
            return all;
        ticks << (b == 1);
    }
    return ticks;
}

bool write(const QString &path, const QList<bool> &ticks, QString *error) {
    QByteArray bytes;
    for (bool t : ticks)
        bytes.append(char(t ? 1 : 0));
    return textfile::writeBytes(path, bytes, error);
}

} // namespace deviceselection
