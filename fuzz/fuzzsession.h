#pragma once
// What the fuzz targets share: the application object, questions answered
// without a person, a scratch folder, and files written byte for byte.
#include "app/askuser.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

class FuzzSession {
    QCoreApplication app_;

public:
    FuzzSession(int &argc, char **argv) : app_(argc, argv), scope_(dialogs) {
        if (!folder.isValid())
            std::abort();
    }

    // Forgets what the last input asked and was told.
    void reset() {
        dialogs.questions.clear();
        dialogs.messages.clear();
    }

    ScriptedDialogs dialogs; // every question answered with its last button
    QTemporaryDir folder;

private:
    ScopedUserDialogs scope_;
};

inline void writeRaw(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::abort();
}
