#include "sqltime.h"

#include "text1251.h"

#include <QDir>

TSQLTime::TSQLTime(const QString &folder) {
    static const QElapsedTimer processClock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    clock = [] { return processClock.elapsed(); };
    const QDir base(folder.isEmpty() ? QDir::currentPath() : folder);
    base.mkdir(QStringLiteral("log"));
    log_.setFileName(base.filePath(QStringLiteral("log/sqlTime.txt")));
    if (log_.open(QIODevice::WriteOnly | QIODevice::Append))
        logPath_ = log_.fileName();
    StartTime();
}

void TSQLTime::StartTime() {
    start_ = clock();
    total_ = 0;
}

qint64 TSQLTime::SaveTime(const QString &label, bool restart) {
    const qint64 elapsed = clock() - start_;
    total_ += elapsed;
    if (!label.isEmpty() && !logPath_.isEmpty()) {
        const QString line = QString::asprintf("%s - %6lld мс (Всего - %6lld мс)", qUtf8Printable(label),
                                               (long long)elapsed, (long long)total_);
        log_.write(cp1251::encodeLossy(line) + "\r\n");
        log_.flush();
    }
    if (panel_)
        panel_(QString::asprintf("%0.3f мс", double(elapsed) / 1000.0));
    if (restart) {
        const qint64 total = total_;
        StartTime();
        total_ = total; // a restart starts a new lap, the sum goes on
    }
    return elapsed;
}

qint64 TSQLTime::GetTime(bool restart, QString &text) {
    const qint64 elapsed = SaveTime(QString(), restart);
    text = formatElapsed(elapsed);
    return elapsed;
}

QString formatElapsed(qint64 ms) {
    const qint64 minutes = (ms / 60000) % 60;
    return QString::asprintf("%02lld:%02lld.%03lld", (long long)minutes, (long long)(ms / 1000 % 60),
                             (long long)(ms % 1000));
}
