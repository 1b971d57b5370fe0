#pragma once
// TProgramming: sends the command list into the devices. Every row whose UID
// belongs to a ticked device goes out with TXU, in list order, and must be
// acknowledged; a change of device is preceded by a pause. The job reports
// its progress and log lines through a listener, so a window, the command-
// line tool and the tests drive the same code. Run may be called off the
// user-interface thread; RequestStop may be called from any thread.
#include "programcommands.h"

#include <QStringList>
#include <QTime>
#include <atomic>
#include <functional>

class TMCan;

class TProgrammingListener {
public:
    virtual ~TProgrammingListener() = default;
    virtual void started(int rowCount) { (void)rowCount; }
    // position: rows done, 0 after the run.
    virtual void progress(int position) { (void)position; }
    virtual void logLine(const QString &line, bool failed) { (void)line; (void)failed; }
};

struct TProgrammingResult {
    enum Outcome { Completed, NothingSelected, Stopped, BadCommand };
    Outcome outcome = Completed;
    int sent = 0;   // selected rows handled
    int errors = 0; // of them not acknowledged
    QStringList log;
    QString badPacket; // BadCommand: the packet text that is not hexadecimal

    bool allAcknowledged() const { return outcome == Completed && errors == 0; }
};

class TProgramming {
public:
    static constexpr int AnswerTimeoutMs = 5000;
    static constexpr int DeviceChangePauseMs = 300;

    explicit TProgramming(TMCan &can);

    // The demo setting: nothing is sent and every row is reported " - OK".
    void setDemo(bool demo) { demo_ = demo; }
    void setListener(TProgrammingListener *listener) { listener_ = listener; }
    // The pause on a change of device (tests and the benchmark replace it).
    void setPause(std::function<void(int ms)> pause) { pause_ = std::move(pause); }
    void setAnswerTimeout(int ms) { timeoutMs_ = ms; }
    // The clock of the log lines.
    void setClock(std::function<QTime()> clock) { clock_ = std::move(clock); }

    // tickedUids: UID texts of the ticked devices (hexadecimal).
    TProgrammingResult Run(const TProgCommandList &rows, const QStringList &tickedUids);
    // The run ends after the packet in progress.
    void RequestStop() { stop_ = true; }

    // What the user is told after a run and, for a finished run, the
    // programming log saved in logDir. On the user-interface thread.
    // Returns the path of the saved log (empty when none was saved).
    static QString Finish(const TProgrammingResult &result, const QString &logDir, const QTime &now);

    static QString startLine() { return QStringLiteral("Старт программирования устройств"); }
    static QString stoppedMessage() { return QStringLiteral("Программирование устройств остановлено!"); }
    static QString nothingSelectedMessage() {
        return QStringLiteral("Не выбрано ни одного устройства для программирования!");
    }
    static QString nothingSelectedTitle() { return QStringLiteral("Программирование устройств"); }
    static QString successMessage() { return QStringLiteral("Устройство(а) успешно запрограммированы!"); }
    static QString errorsMessage(int errors);
    static QString badCommandMessage(const QString &packet);
    static QString logFileName(const QTime &time);

private:
    bool sendRow(const TProgCommand &row, QString &line);

    TMCan &can_;
    TProgrammingListener *listener_ = nullptr;
    std::function<void(int)> pause_;
    std::function<QTime()> clock_;
    int timeoutMs_ = AnswerTimeoutMs;
    bool demo_ = false;
    std::atomic<bool> stop_{false};
};
