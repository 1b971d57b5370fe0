#pragma once
// Shared by the project tests: the shipped catalogue and project folders
// written line by line.
#include "app/catalogue.h"
#include "app/text1251.h"
#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QTest>

// The sample catalogue built with the programs, owned by the test object
// (the connection must close before the application goes).
inline TDM *openTestCatalogue(QObject *owner) {
    auto *dm = new TDM(owner);
    if (!dm->ConnectCatalogue(QStringLiteral(VODIZ_BIN_DIR "/Database/database_vk.db")))
        qFatal("catalogue: %s", qPrintable(dm->lastError()));
    return dm;
}

inline QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Lines joined by CR LF, in Windows-1251, as the writers write them.
inline QByteArray crlf(const QStringList &lines) {
    QByteArray out;
    for (const QString &l : lines)
        out += cp1251::encodeLossy(l) + "\r\n";
    return out;
}

inline void writeFile(const QString &path, const QStringList &lines) {
    QVERIFY2(textfile::writeLines(path, lines), qPrintable(path));
}

inline QStringList readFile(const QString &path) {
    QStringList lines;
    textfile::readLines(path, lines);
    return lines;
}

// A device block of the project file as the writer lays it out.
inline QStringList deviceLines(int i, const QString &alias, const QString &uid = "000000",
                               const QString &addr = "000000", int catNum = 300) {
    return {QStringLiteral("device(%1);").arg(i), "    alias    = " + alias + ";", "    uid      = " + uid + ";",
            "    UniqAddr = " + addr + ";", QStringLiteral("    cat_num  = %1;").arg(catNum), "    release  = 1;",
            "    SoftVer  = 2;", "    HardVer  = 1;", "end;"};
}
