#pragma once
// Elapsed-time meter of long jobs with its log file "log/sqlTime.txt" in the
// current folder. When the log cannot be opened the meter still measures.
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <functional>

class TSQLTime {
public:
    // Opens (appending) "log/sqlTime.txt" under folder (the current folder
    // when empty), creating "log" when missing.
    explicit TSQLTime(const QString &folder = QString());

    void StartTime();
    // Adds the time since the start to the total; logs a line when label is
    // not empty; restarts when asked. Returns the elapsed milliseconds.
    qint64 SaveTime(const QString &label, bool restart);
    // Elapsed time as "mm:ss.zzz".
    qint64 GetTime(bool restart, QString &text);

    QString logPath() const { return logPath_; }
    qint64 total() const { return total_; }
    // Receives "%0.3f мс" texts, like a status-bar panel.
    void setStatusPanel(std::function<void(const QString &)> panel) { panel_ = std::move(panel); }

    // Clock in milliseconds; tests replace it.
    std::function<qint64()> clock;

private:
    qint64 start_ = 0;
    qint64 total_ = 0;
    QString logPath_;
    QFile log_;
    std::function<void(const QString &)> panel_;
};

// Formats milliseconds as a time of day pattern "nn:ss.zzz".
QString formatElapsed(qint64 ms);
