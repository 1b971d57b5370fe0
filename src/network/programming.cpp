#include "programming.h"

#include "app/askuser.h"
#include "app/textfile.h"
#include "modem/mcan.h"

#include <QDir>
#include <QSet>
#include <QThread>

namespace {

bool hexUid(const QString &text, quint32 &uid) {
    bool ok = false;
    uid = text.toUInt(&ok, 16);
    return ok;
}

} // namespace

TProgramming::TProgramming(TMCan &can) : can_(can) {}

QString TProgramming::errorsMessage(int errors) {
    return QStringLiteral("Внимание! Устройство(а) запрограммированы с %1 ошибками!").arg(errors);
}

QString TProgramming::badCommandMessage(const QString &packet) {
    return QStringLiteral("Ошибка в команде \"%1\": ожидаются пары шестнадцатеричных цифр. "
                          "Программирование не начато.")
        .arg(packet);
}

QString TProgramming::logFileName(const QTime &time) {
    return QStringLiteral("Лог программирования ") + time.toString(QStringLiteral("HH_mm_ss")) +
           QStringLiteral(".log");
}

TProgrammingResult TProgramming::Run(const TProgCommandList &rows, const QStringList &tickedUids) {
    TProgrammingResult r;
    QSet<quint32> ticked;
    for (const QString &text : tickedUids) {
        quint32 uid = 0;
        if (hexUid(text, uid))
            ticked.insert(uid);
    }
    auto selected = [&](const TProgCommand &row, quint32 &uid) { return hexUid(row.uid, uid) && ticked.contains(uid); };

    // A packet that is not hexadecimal is refused before anything is sent,
    // so no device is left half programmed by a broken output file.
    for (const TProgCommand &row : rows) {
        quint32 uid = 0;
        QByteArray bytes;
        if (selected(row, uid) && !programcommands::packetBytes(row.packet, bytes)) {
            r.outcome = TProgrammingResult::BadCommand;
            r.badPacket = row.packet;
            return r;
        }
    }

    can_.ClearAnswers();
    r.log << startLine();
    if (listener_) {
        listener_->started(int(rows.size()));
        listener_->logLine(startLine(), false);
    }
    quint32 previous = 0;
    for (int i = 0; i < rows.size(); ++i) {
        quint32 uid = 0;
        if (selected(rows[i], uid)) {
            // A device needs a moment between its last packet and the first
            // packet for the next device.
            if (r.sent == 0 || uid != previous) {
                if (pause_)
                    pause_(DeviceChangePauseMs);
                else
                    QThread::msleep(DeviceChangePauseMs);
            }
            previous = uid;
            ++r.sent;
            QString line;
            const bool ok = sendRow(rows[i], line);
            if (!ok)
                ++r.errors;
            r.log << line;
            if (listener_)
                listener_->logLine(line, !ok);
        }
        if (listener_)
            listener_->progress(i + 1);
        if (stop_) {
            r.outcome = TProgrammingResult::Stopped;
            return r;
        }
    }
    if (listener_)
        listener_->progress(0);
    if (r.sent == 0)
        r.outcome = TProgrammingResult::NothingSelected;
    return r;
}

bool TProgramming::sendRow(const TProgCommand &row, QString &line) {
    const QTime now = clock_ ? clock_() : QTime::currentTime();
    line = now.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" - Команда: ") + row.packet;
    QByteArray bytes;
    programcommands::packetBytes(row.packet, bytes);
    quint32 uid = 0;
    hexUid(row.uid, uid);
    const bool ok = demo_ || can_.TXU(uid, bytes, timeoutMs_, QString());
    if (ok) {
        line += QStringLiteral(" - OK");
        return true;
    }
    can_.WriteLog(QStringLiteral("Ошибка записи команды - ") + row.packet);
    line += QStringLiteral(" - Ошибка!");
    return false;
}

QString TProgramming::Finish(const TProgrammingResult &result, const QString &logDir, const QTime &now) {
    UserDialogs &dialogs = userDialogs();
    switch (result.outcome) {
    case TProgrammingResult::BadCommand:
        dialogs.showMessage(badCommandMessage(result.badPacket));
        return QString();
    case TProgrammingResult::Stopped:
        dialogs.showMessage(stoppedMessage());
        return QString();
    case TProgrammingResult::NothingSelected:
        dialogs.askUser(QStringLiteral("o"), nothingSelectedMessage(), nothingSelectedTitle(),
                        UserDialogs::InformationIcon);
        return QString();
    case TProgrammingResult::Completed:
        break;
    }
    dialogs.showMessage(result.errors ? errorsMessage(result.errors) : successMessage());
    const QString path = QDir(logDir).filePath(logFileName(now));
    QString error;
    if (!textfile::writeLines(path, result.log, &error)) {
        dialogs.showMessage(QStringLiteral("Не удалось сохранить лог программирования: ") + error);
        return QString();
    }
    return path;
}
