#include "programmingf.h"

#include "app/askuser.h"
#include "modem/mcan.h"
#include "network/deviceselection.h"
#include "project/project.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

// Carries the job's reports from its thread to the window's.
class ProgrammingFListener : public TProgrammingListener {
public:
    explicit ProgrammingFListener(TProgrammingF *window) : w_(window) {}
    void started(int rowCount) override {
        QMetaObject::invokeMethod(w_, [w = w_, rowCount] { w->PBar->setRange(0, qMax(rowCount, 1)); },
                                  Qt::QueuedConnection);
    }
    void progress(int position) override {
        QMetaObject::invokeMethod(w_, [w = w_, position] { w->PBar->setValue(position); }, Qt::QueuedConnection);
    }
    void logLine(const QString &line, bool failed) override {
        QMetaObject::invokeMethod(w_, [w = w_, line, failed] { w->addLogLine(line, failed); },
                                  Qt::QueuedConnection);
    }

private:
    TProgrammingF *w_;
};

namespace {

QTableWidget *grid(const QStringList &titles) {
    auto *g = new QTableWidget(0, int(titles.size()));
    g->setHorizontalHeaderLabels(titles);
    g->verticalHeader()->hide();
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

QTableWidgetItem *cell(const QString &text) { return new QTableWidgetItem(text); }

QPushButton *button(const QString &name, const QString &caption) {
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    return b;
}

} // namespace

TProgrammingF::TProgrammingF(TProject &project, TMCan &can, QWidget *owner)
    : TForm1(owner), project_(project), can_(can), listener_(std::make_unique<ProgrammingFListener>(this)) {
    setWindowTitle(QStringLiteral("Программирование устройств проекта"));
    setModal(true);
    resize(760, 560);

    GCommands = grid({QStringLiteral("UID"), QStringLiteral("Команда")});
    GDevices = grid({QString(), QStringLiteral("№"), QStringLiteral("Устройство"), QStringLiteral("UID")});
    LLog = new QListWidget;
    PBar = new QProgressBar;
    PBar->setRange(0, 1);
    PBar->setValue(0);
    ButStart = button(QStringLiteral("ButStart"), QStringLiteral("Программировать"));
    BStop = button(QStringLiteral("BStop"), QStringLiteral("Остановить"));
    b1 = button(QStringLiteral("b1"), QStringLiteral("Выделить все"));
    b2 = button(QStringLiteral("b2"), QStringLiteral("Удалить все"));
    ButCancel = button(QStringLiteral("ButCancel"), QStringLiteral("Закрыть"));

    auto *devices = new QVBoxLayout;
    devices->addWidget(GDevices);
    auto *tickButtons = new QHBoxLayout;
    tickButtons->addWidget(b1);
    tickButtons->addWidget(b2);
    devices->addLayout(tickButtons);
    auto *lists = new QHBoxLayout;
    lists->addWidget(GCommands, 1);
    lists->addLayout(devices, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ButStart);
    buttons->addWidget(BStop);
    buttons->addStretch();
    buttons->addWidget(ButCancel);
    auto *all = new QVBoxLayout(this);
    all->addLayout(lists, 3);
    all->addWidget(PBar);
    all->addWidget(LLog, 2);
    all->addLayout(buttons);

    connect(ButStart, &QPushButton::clicked, this, &TProgrammingF::start);
    connect(BStop, &QPushButton::clicked, this, &TProgrammingF::stop);
    connect(b1, &QPushButton::clicked, this, &TProgrammingF::tickAllOrNone);
    connect(b2, &QPushButton::clicked, this, &TProgrammingF::tickAllOrNone);
    connect(ButCancel, &QPushButton::clicked, this, &TProgrammingF::closeWithSelection);
}

TProgrammingF::~TProgrammingF() {
    // The job borrows the window's lists and the connection: let it end.
    if (thread_) {
        job_->RequestStop();
        thread_->wait();
        delete thread_;
    }
}

void TProgrammingF::showEvent(QShowEvent *event) {
    TForm1::showEvent(event);
    // Restoring from the task bar is not a new use: the ticks stay as set.
    if (!event->spontaneous() && !running())
        fillLists();
}

void TProgrammingF::fillLists() {
    devicesListed_ = false;
    GDevices->setRowCount(0);
    fillCommands();
    if (devicesListed_)
        fillDevices();
}

void TProgrammingF::fillCommands() {
    const programcommands::Reading r = programcommands::readOutputFile(project_.outputFile());
    rows_ = r.rows;
    GCommands->setRowCount(int(rows_.size()));
    for (int i = 0; i < rows_.size(); ++i) {
        GCommands->setItem(i, 0, cell(rows_[i].uid));
        GCommands->setItem(i, 1, cell(rows_[i].packet));
    }
    if (!r.error.isEmpty()) {
        userDialogs().showMessage(r.error);
        return;
    }
    devicesListed_ = true;
}

void TProgrammingF::fillDevices() {
    const TDeviceArray &devices = project_.devices();
    const QList<bool> ticks =
        deviceselection::read(deviceselection::pathFor(project_.outputFile()), int(devices.size()));
    GDevices->setRowCount(int(devices.size()));
    for (int i = 0; i < devices.size(); ++i) {
        auto *tick = new QTableWidgetItem;
        tick->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        GDevices->setItem(i, 0, tick);
        GDevices->setItem(i, 1, cell(QString::number(i + 1)));
        GDevices->setItem(i, 2, cell(devices[i].alias));
        GDevices->setItem(i, 3, cell(devices[i].uid));
        setTick(i, ticks.value(i, true));
    }
}

QList<bool> TProgrammingF::ticks() const {
    QList<bool> out;
    for (int i = 0; i < GDevices->rowCount(); ++i)
        out << (GDevices->item(i, 0)->checkState() == Qt::Checked);
    return out;
}

void TProgrammingF::setTick(int row, bool ticked) {
    if (QTableWidgetItem *item = GDevices->item(row, 0))
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void TProgrammingF::start() {
    if (running())
        return;
    QStringList uids;
    const QList<bool> t = ticks();
    for (int i = 0; i < t.size(); ++i)
        if (t[i])
            uids << GDevices->item(i, 3)->text();
    // A fresh job per run: a stop asked for before its thread gets going
    // still ends this run and no later one.
    job_ = std::make_unique<TProgramming>(can_);
    job_->setDemo(can_.Demo());
    job_->setListener(listener_.get());
    if (pause_)
        job_->setPause(pause_);
    job_->setAnswerTimeout(timeoutMs_);
    LLog->clear();
    PBar->setRange(0, qMax(int(rows_.size()), 1));
    PBar->setValue(0);
    setIdle(false);
    thread_ = QThread::create([this, rows = rows_, uids] { result_ = job_->Run(rows, uids); });
    connect(thread_, &QThread::finished, this, &TProgrammingF::runFinished);
    thread_->start();
}

void TProgrammingF::stop() {
    if (job_ && running())
        job_->RequestStop();
}

void TProgrammingF::runFinished() {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    TProgramming::Finish(result_, QDir::currentPath(), QTime::currentTime());
    setIdle(true);
}

void TProgrammingF::setIdle(bool idle) {
    for (QWidget *w : {static_cast<QWidget *>(ButStart), static_cast<QWidget *>(b1), static_cast<QWidget *>(b2),
                       static_cast<QWidget *>(ButCancel), static_cast<QWidget *>(GDevices)})
        w->setEnabled(idle);
}

void TProgrammingF::addLogLine(const QString &line, bool failed) {
    auto *item = new QListWidgetItem(line, LLog);
    if (failed)
        item->setForeground(Qt::red);
    LLog->scrollToItem(item);
}

void TProgrammingF::tickAllOrNone() {
    auto *b = qobject_cast<QPushButton *>(sender());
    const bool all = b && b->text() == QStringLiteral("Выделить все");
    for (int i = 0; i < GDevices->rowCount(); ++i)
        setTick(i, all);
}

void TProgrammingF::closeWithSelection() {
    if (running())
        return;
    // Without the device list (the output could not be read) the ticks on
    // disk are kept as they are.
    QString error;
    if (devicesListed_ &&
        !deviceselection::write(deviceselection::pathFor(project_.outputFile()), ticks(), &error))
        userDialogs().showMessage(QStringLiteral("Не удалось сохранить выбор устройств: ") + error);
    accept();
}

void TProgrammingF::closeEvent(QCloseEvent *event) {
    if (running()) {
        event->ignore();
        return;
    }
    TForm1::closeEvent(event);
}

void TProgrammingF::reject() {
    if (!running())
        TForm1::reject();
}
