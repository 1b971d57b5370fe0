#include "mcan.h"

#include "answermask.h"
#include "frame.h"
#include "linkworkers.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

using namespace std::chrono_literals;

namespace {
constexpr int UartTable[] = {921600, 460800, 230400, 115200, 57600, 19200};
constexpr int CanTable[] = {250, 125, 50, 20};
constexpr int CtsLimitMs = 1000;
} // namespace

int TMCan::uartBaud(int index) { return index >= 0 && index < 6 ? UartTable[index] : -1; }
int TMCan::canKbit(int index) { return index >= 0 && index < 4 ? CanTable[index] : -1; }

TMCan::TMCan(const QString &logBaseDir)
    : modem_(noPort()), openedModem_(noPort()), portFactory_(makeSystemSerialPort),
      deviceLister_(systemSerialDevices) {
    const QString base = logBaseDir.isEmpty() ? QCoreApplication::applicationDirPath() : logBaseDir;
    log_.open(base, &logError_);
}

TMCan::~TMCan() {
    std::lock_guard control(controlMutex_);
    stopWorkers();
    MarkClosed();
    closePort();
}

void TMCan::setPortFactory(PortFactory f) {
    std::lock_guard lock(stateMutex_);
    portFactory_ = std::move(f);
}

void TMCan::setDeviceLister(DeviceLister f) {
    std::lock_guard lock(stateMutex_);
    deviceLister_ = std::move(f);
}

void TMCan::setPortPauses(int afterCloseMs, int afterSetupMs) {
    std::lock_guard lock(stateMutex_);
    pauseAfterCloseMs_ = afterCloseMs;
    pauseAfterSetupMs_ = afterSetupMs;
}

void TMCan::setEventPump(std::function<void()> pump) {
    std::lock_guard lock(stateMutex_);
    eventPump_ = std::move(pump);
}

// ---- properties -----------------------------------------------------------

bool TMCan::CTS() const { std::lock_guard l(stateMutex_); return cts_; }
void TMCan::setCTS(bool on) { std::lock_guard l(stateMutex_); cts_ = on; }
uint16_t TMCan::Addr() const { std::lock_guard l(stateMutex_); return addr_; }
void TMCan::setAddr(uint16_t addr) { std::lock_guard l(stateMutex_); addr_ = addr; }
uint32_t TMCan::UID() const { std::lock_guard l(stateMutex_); return uid_; }
void TMCan::setUID(uint32_t uid) { std::lock_guard l(stateMutex_); uid_ = uid; }
bool TMCan::Demo() const { std::lock_guard l(stateMutex_); return demo_; }
QStringList TMCan::Modems() const { std::lock_guard l(stateMutex_); return modems_; }
bool TMCan::ModemFound() const { std::lock_guard l(stateMutex_); return !modems_.isEmpty(); }
QString TMCan::Modem() const { std::lock_guard l(stateMutex_); return modem_; }
void TMCan::setModem(const QString &name) { std::lock_guard l(stateMutex_); modem_ = name; }
QString TMCan::OpenedModem() const { std::lock_guard l(stateMutex_); return openedModem_; }
bool TMCan::PortOpened() const { std::lock_guard l(stateMutex_); return portOpenedLocked(); }
int TMCan::UartSpeed() const { std::lock_guard l(stateMutex_); return uartSpeed_; }
uint8_t TMCan::CanSpeed() const { std::lock_guard l(stateMutex_); return canSpeed_; }
uint8_t TMCan::DetectTime() const { std::lock_guard l(stateMutex_); return detectTime_; }
void TMCan::setDetectTime(uint8_t seconds) { std::lock_guard l(stateMutex_); detectTime_ = seconds; }

void TMCan::setDemo(bool demo) {
    {
        std::lock_guard l(stateMutex_);
        demo_ = demo;
    }
    wake_.notify_all();
}

bool TMCan::portOpenedLocked() const { return openedModem_ != noPort() || demo_; }

QString TMCan::UartSpeedStr() const {
    std::lock_guard l(stateMutex_);
    if (demo_)
        return QStringLiteral("demo");
    const int baud = uartBaud(uartSpeed_);
    return baud < 0 ? QStringLiteral("закрыт") : QString::number(baud);
}

QString TMCan::CanSpeedStr() const {
    std::lock_guard l(stateMutex_);
    const int kbit = canKbit(canSpeed_);
    const QString value = demo_ ? QStringLiteral("demo") : kbit < 0 ? QStringLiteral("???") : QString::number(kbit);
    return QStringLiteral("%1 кб/с").arg(value);
}

// ---- connection ------------------------------------------------------------

void TMCan::WriteLog(const QString &text) { log_.write(text); }

bool TMCan::SearchModems() {
    QStringList found;
    DeviceLister lister;
    bool demo;
    {
        std::lock_guard l(stateMutex_);
        modems_.clear();
        modem_ = noPort();
        lister = deviceLister_;
        demo = demo_;
    }
    if (demo) {
        found << QStringLiteral("COMDEMO");
    } else if (lister) {
        for (const SerialDeviceInfo &d : lister())
            if (d.usbSerial)
                found << d.portName;
    }
    std::lock_guard l(stateMutex_);
    if (found.isEmpty()) {
        markClosedLocked();
        return false;
    }
    for (qsizetype i = 1; i < found.size();) {
        if (found[i] == found[i - 1])
            found.removeAt(i);
        else
            ++i;
    }
    modems_ = found;
    if (portOpenedLocked() && modems_.contains(openedModem_)) {
        modem_ = openedModem_;
        return true;
    }
    modem_ = modems_.first();
    markClosedLocked();
    return true;
}

void TMCan::SelectPort(const QString &name) {
    std::lock_guard l(stateMutex_);
    modems_ = QStringList{name};
    modem_ = name;
}

void TMCan::markClosedLocked() {
    openedModem_ = noPort();
    uartSpeed_ = -1;
}

void TMCan::MarkClosed() {
    {
        std::lock_guard l(stateMutex_);
        markClosedLocked();
    }
    wake_.notify_all();
}

void TMCan::Disconnect() { MarkClosed(); }

void TMCan::pause(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void TMCan::pumpEvents() {
    std::function<void()> pump;
    {
        std::lock_guard l(stateMutex_);
        pump = eventPump_;
    }
    if (pump)
        pump();
}

SerialPort *TMCan::borrowPort(bool wait, const std::atomic<bool> *stop) {
    std::unique_lock l(stateMutex_);
    auto usable = [&] { return openedModem_ != noPort() && !demo_ && port_; };
    if (wait)
        wake_.wait(l, [&] { return (stop && *stop) || usable(); });
    if ((stop && *stop) || !usable())
        return nullptr;
    ++portUsers_;
    return port_.get();
}

void TMCan::returnPort() {
    {
        std::lock_guard l(stateMutex_);
        --portUsers_;
    }
    wake_.notify_all();
}

// Takes the port away from the workers (it is marked closed already),
// wakes a pending read and closes the port once nobody uses it.
void TMCan::closePort() {
    std::unique_ptr<SerialPort> old;
    {
        std::unique_lock l(stateMutex_);
        if (!port_)
            return;
        port_->cancelRead();
        wake_.wait(l, [&] { return portUsers_ == 0; });
        old = std::move(port_);
    }
    old->close();
}

bool TMCan::OpenPort(int speedIndex) {
    std::lock_guard control(controlMutex_);
    MarkClosed();
    QString name;
    PortFactory factory;
    int afterClose, afterSetup;
    {
        std::lock_guard l(stateMutex_);
        if (demo_) {
            openedModem_ = modem_;
            return true;
        }
        name = modem_;
        factory = portFactory_;
        afterClose = pauseAfterCloseMs_;
        afterSetup = pauseAfterSetupMs_;
    }
    bool hadPort;
    {
        std::lock_guard l(stateMutex_);
        hadPort = bool(port_);
    }
    if (hadPort) {
        closePort();
        pause(afterClose);
    }
    std::unique_ptr<SerialPort> port = factory ? factory() : nullptr;
    if (!port || !port->open(name)) {
        WriteLog(QStringLiteral("ErrorOpenPort %1 : %2").arg(name, port ? port->errorString() : QString()));
        return false;
    }
    {
        std::lock_guard l(stateMutex_);
        port_ = std::move(port);
    }
    SetupPort(speedIndex, SerialPort::Parity::None);
    pause(afterSetup);
    {
        std::lock_guard l(stateMutex_);
        openedModem_ = name;
    }
    wake_.notify_all();
    return true;
}

bool TMCan::SetupPort(int speedIndex, SerialPort::Parity parity) {
    std::lock_guard control(controlMutex_);
    // Set-up runs while the port is marked closed or from the connecting
    // thread, so the workers do not hold it; borrow it all the same.
    SerialPort *port;
    {
        std::lock_guard l(stateMutex_);
        port = port_.get();
        if (!port)
            return false;
        ++portUsers_;
    }
    auto step = [&](bool ok) {
        if (!ok)
            WriteLog(QStringLiteral("%1").arg(port->errorString()));
    };
    step(port->clearErrors());
    step(port->setBufferSizes(4096, 4096));
    step(port->setLine(uartBaud(speedIndex), parity));
    step(port->setReadTimeouts(3, 3, 500));
    returnPort();
    return true;
}

bool TMCan::PurgeInput() {
    if (Demo())
        return true;
    SerialPort *port = borrowPort(false, nullptr);
    if (!port)
        return false;
    const bool ok = port->purgeInput();
    returnPort();
    return ok;
}

bool TMCan::InitModem() {
    if (Demo())
        return true;
    PurgeInput();
    setCTS(true);
    ClearAnswers();
    if (!TXU(0, QByteArray(1, char(0xF3)), 1500, QStringLiteral("FF")))
        return false;
    TPacket answer;
    if (!answers_.Get(answer))
        return false;
    const uint32_t uid = PacketUid(answer);
    setUID(uid);
    if (uid <= 100000)
        return true;
    WriteLog(QStringLiteral("Error F3: Ошибка инициализации модема (UID = %1)").arg(hexText(uid, 6)));
    return false;
}

void TMCan::startWorkers() {
    tx_ = std::make_unique<TTXThread>(*this);
    rx_ = std::make_unique<TRXThread>(*this);
}

void TMCan::stopWorkers() {
    tx_.reset();
    rx_.reset();
}

bool TMCan::Connect(int speedIndex) {
    std::lock_guard control(controlMutex_);
    {
        std::lock_guard l(stateMutex_);
        if (modems_.isEmpty()) {
            markClosedLocked();
            return false;
        }
        if (modem_ == openedModem_ && uartSpeed_ == speedIndex)
            return true;
    }
    if (Modem() != OpenedModem() || !tx_) {
        stopWorkers();
        startWorkers();
    }
    auto succeed = [&] {
        std::lock_guard l(stateMutex_);
        uartSpeed_ = speedIndex;
        return true;
    };
    if (!OpenPort(speedIndex))
        return false;
    if (InitModem())
        return succeed();
    bool found = false;
    for (int i = 0; i < 6 && !found; ++i) {
        if (!OpenPort(i))
            return false;
        QByteArray setSpeed(1, char(0xF0));
        setSpeed.append(char(speedIndex));
        found = InitModem() && TXU(0, setSpeed, 100, QStringLiteral("FF F0"));
        if (!found)
            MarkClosed();
    }
    MarkClosed();
    if (found && OpenPort(speedIndex) && InitModem())
        return succeed();
    return false;
}

// ---- packet exchange ---------------------------------------------------------

bool TMCan::TXBytes(bool byAddress, uint32_t uid, uint16_t sender, uint16_t receiver, const QByteArray &data) {
    TPacket p = byAddress ? addressPacket(sender, receiver, data) : uidPacket(uid, data);
    {
        std::lock_guard l(stateMutex_);
        if (!portOpenedLocked())
            return false;
        if (cts_) {
            p.b[TPacket::FlagByte] |= TPacket::NoCtsWait;
            cts_ = false;
        }
    }
    if (!sendQueue_.Put(p))
        return false;
    {
        std::lock_guard l(stateMutex_);
        sendSignalled_ = true;
    }
    wake_.notify_all();
    return true;
}

bool TMCan::TXPacket(bool byAddress, uint32_t uid, uint16_t sender, uint16_t receiver, const QString &text) {
    if (!PortOpened())
        return false;
    bool ok = false;
    const QByteArray data = packetTextBytes(text, &ok);
    if (!ok) {
        WriteLog(QStringLiteral("TXPacket: incorrect command string"));
        return false;
    }
    if (data.size() > 12)
        return false;
    return TXBytes(byAddress, uid, sender, receiver, data);
}

bool TMCan::txRequest(bool byAddress, uint32_t uid, uint16_t sender, uint16_t receiver, const QByteArray &data,
                      int timeoutMs, const QString &mask) {
    if (!PortOpened())
        return false;
    const QString m = mask.isEmpty() ? QStringLiteral("FF ") + hexText(data.isEmpty() ? 0u : uint8_t(data[0]), 2) : mask;
    if (byAddress)
        SetAnswerMask(false, -1, m);
    else
        SetAnswerMask(true, uid == 0 ? -1 : qint64(uid), m);
    if (data.size() < 1 || data.size() > TPacket::MaxData) {
        WriteLog(QStringLiteral("Error in TMCanLib.TXU - incorrect Packet length"));
        return false;
    }
    if (!TXBytes(byAddress, uid, sender, receiver, data)) {
        WriteLog(QStringLiteral("ERROR: (%1)PacketSendingError. Packet = %2")
                     .arg(byAddress ? QStringLiteral("TXA") : QStringLiteral("TXU"), hexWithBlanks(data)));
        return false;
    }
    if (m == QLatin1String("-") || Demo())
        return true;
    if (WaitAnswer(timeoutMs))
        return true;
    WriteLog(QStringLiteral("WARNING: Ответ по МАСКЕ не получен. Пакет = %1").arg(hexWithBlanks(data)));
    return false;
}

bool TMCan::TXU(uint32_t uid, const QByteArray &data, int timeoutMs, const QString &mask) {
    return txRequest(false, uid, 0, 0, data, timeoutMs, mask);
}

bool TMCan::TXA(uint16_t sender, uint16_t receiver, const QByteArray &data, int timeoutMs, const QString &mask) {
    return txRequest(true, 0, sender, receiver, data, timeoutMs, mask);
}

void TMCan::SetAnswerMask(bool byUid, qint64 uid, const QString &mask) {
    std::lock_guard l(answerMutex_);
    mask_ = answermask::answerMask(byUid, uid, mask);
    armed_ = true;
    answerSignalled_ = false;
}

void TMCan::SetSecondMask(bool byUid, qint64 uid, uint16_t sender, uint16_t receiver, int length,
                          const QString &mask) {
    std::lock_guard l(answerMutex_);
    secondMask_ = answermask::secondMask(byUid, uid, sender, receiver, length, mask);
    armed_ = true;
    answerSignalled_ = false;
}

QString TMCan::answerMask() const { std::lock_guard l(answerMutex_); return mask_; }
QString TMCan::secondMask() const { std::lock_guard l(answerMutex_); return secondMask_; }

bool TMCan::WaitAnswer(int ms) {
    std::unique_lock l(answerMutex_);
    const bool came = answerCv_.wait_for(l, std::chrono::milliseconds(qMax(ms, 0)), [&] { return answerSignalled_; });
    answerSignalled_ = false; // auto-reset
    armed_ = true;
    return came;
}

bool TMCan::matchLocked(const TPacket &p) {
    if (mask_.isEmpty() && secondMask_.isEmpty())
        return false;
    const QString rendering = packetRendering(p);
    for (const QString *m : {&mask_, &secondMask_}) {
        if (!m->isEmpty() && answermask::matches(*m, rendering)) {
            lastAnswer_ = p;
            return true;
        }
    }
    return false;
}

bool TMCan::MatchAnswer(const TPacket &p) {
    std::lock_guard l(answerMutex_);
    return matchLocked(p);
}

TPacket TMCan::GetLastAnswer() const {
    std::lock_guard l(answerMutex_);
    return lastAnswer_;
}

void TMCan::ClearAnswers() { answers_.Clear(); }

void TMCan::PushMonitor(TPacket p, MonitorKind kind) {
    p.b[TPacket::FlagByte] = kind;
    monitor_.Put(p);
}

// Runs on the sending worker.
bool TMCan::sendFrame(TPacket p) {
    if (p.length() > TPacket::MaxData)
        return false;
    const QByteArray wire = frame::encode(p);
    const bool demo = Demo();
    const bool skipCts = p.b[TPacket::FlagByte] & TPacket::NoCtsWait;
    p.b[TPacket::FlagByte] &= uint8_t(~TPacket::NoCtsWait);
    auto notSent = [&] {
        PushMonitor(p, MonitorNotSent);
        WriteLog(QStringLiteral("ERROR: Ошибка отправки пакета в сеть. Пакет = %1").arg(hexWithBlanks(wire)));
        return false;
    };
    if (!skipCts && !demo) {
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            SerialPort *port = borrowPort(false, nullptr);
            if (!port)
                return false; // the connection closed meanwhile
            const SerialPort::Cts cts = port->cts();
            returnPort();
            if (cts != SerialPort::Cts::Off)
                break;
            if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(CtsLimitMs))
                return notSent();
            std::this_thread::sleep_for(1ms);
        }
    }
    if (!demo) {
        SerialPort *port = borrowPort(false, nullptr);
        if (!port)
            return false;
        const bool written = port->write(wire);
        returnPort();
        if (!written)
            return notSent();
    }
    PushMonitor(p, MonitorSent);
    WriteLog(QStringLiteral("<<     ") + hexWithBlanks(wire));
    return true;
}

// Runs on the receiving worker.
void TMCan::deliver(const TPacket &p) {
    PushMonitor(p, MonitorReceived);
    std::lock_guard l(answerMutex_);
    if (armed_ && matchLocked(p)) {
        armed_ = false;
        answers_.Put(p);
        answerSignalled_ = true;
        answerCv_.notify_all();
    }
    const QByteArray bytes(reinterpret_cast<const char *>(p.b.data()), TPacket::DataStart + p.length() + 1);
    WriteLog(QStringLiteral("   >>  55 ") + hexWithBlanks(bytes));
}
