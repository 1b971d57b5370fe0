#pragma once
// A file's bytes as they are on disk, for tests that compare exact files.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// A file that cannot be read gives a text no expected content equals.
inline QByteArray readBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

inline void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}
