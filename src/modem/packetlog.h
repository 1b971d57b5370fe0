#pragma once
// The packet log: every sent and received packet and every link failure, one
// time-stamped line each, appended for ever to "Все отправленные и принятые
// пакеты.log" in the folder "Логирование". Any thread may write; each line
// goes out whole under a lock of its own.
#include <QFile>
#include <QString>
#include <mutex>

class PacketLog {
public:
    static QString folderName() { return QStringLiteral("Логирование"); }
    static QString fileName() { return QStringLiteral("Все отправленные и принятые пакеты.log"); }

    // baseDir: where the folder goes (the program's folder normally).
    bool open(const QString &baseDir, QString *error = nullptr);
    bool isOpen() const;
    QString filePath() const { return path_; } // set once by open()
    // "[" + local date (short) and time + "] " + text, CR LF, Windows-1251.
    void write(const QString &text);

private:
    mutable std::mutex mutex_;
    QFile file_;
    QString path_;
};
