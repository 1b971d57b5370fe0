#pragma once
// The window "Программирование устройств проекта": the packets of the
// compiler's output, the project's devices with tick boxes, a progress bar
// and the running log. The programming job runs on a thread of its own so
// the window answers (and the stop button works) while a device is awaited.
#include "app/ui/form1.h"
#include "network/programming.h"

#include <memory>

class TMCan;
class TProject;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;

class TProgrammingF : public TForm1 {
    Q_OBJECT
public:
    TProgrammingF(TProject &project, TMCan &can, QWidget *owner = nullptr);
    ~TProgrammingF() override;

    bool running() const { return thread_ != nullptr; }
    // Tests shorten the waits.
    void setPause(std::function<void(int)> pause) { pause_ = std::move(pause); }
    void setAnswerTimeout(int ms) { timeoutMs_ = ms; }

    QTableWidget *commandGrid() const { return GCommands; }
    QTableWidget *deviceGrid() const { return GDevices; }
    QListWidget *logList() const { return LLog; }
    QProgressBar *progressBar() const { return PBar; }
    const TProgCommandList &commands() const { return rows_; }
    QList<bool> ticks() const;
    void setTick(int row, bool ticked);
    // Esc and the close box: refused while the job runs.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    friend class ProgrammingFListener;
    void fillLists();
    void fillCommands();
    void fillDevices();
    void start();
    void stop();
    void tickAllOrNone();
    void closeWithSelection();
    void runFinished();
    void setIdle(bool idle);
    void addLogLine(const QString &line, bool failed);

    TProject &project_;
    TMCan &can_;
    TProgCommandList rows_;
    bool devicesListed_ = false;
    std::function<void(int)> pause_;
    int timeoutMs_ = TProgramming::AnswerTimeoutMs;

    std::unique_ptr<TProgramming> job_;
    std::unique_ptr<class ProgrammingFListener> listener_;
    QThread *thread_ = nullptr;
    TProgrammingResult result_;

    QTableWidget *GCommands, *GDevices;
    QListWidget *LLog;
    QProgressBar *PBar;
    QPushButton *ButStart, *BStop, *b1, *b2, *ButCancel;
};
