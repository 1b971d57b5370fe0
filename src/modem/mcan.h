#pragma once
// TMCan: the one connection to the CAN modem. It finds candidate ports,
// opens one, identifies the modem and finds the UART speed it runs at, and
// exchanges packets with the bus through a sending and a receiving worker.
// Failures are not shown to the user but written to the packet log; callers
// decide what to tell.
//
// Threads: any thread may send (TXBytes, TXPacket, TXU, TXA); only one request
// with an awaited answer may be outstanding in the whole program. Connect,
// OpenPort and the destructor are serialised among themselves.
#include "packet.h"
#include "packetlog.h"
#include "scanentry.h"
#include "serialport.h"
#include "tfifo.h"

#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class TTXThread;
class TRXThread;

class TMCan {
public:
    static QString noPort() { return QStringLiteral("не найден"); }
    static constexpr int QueueSize = 2048;
    static int uartBaud(int index); // -1 outside the table
    static int canKbit(int index);  // -1 outside the table

    // logBaseDir: folder that receives "Логирование"; empty: beside the program.
    explicit TMCan(const QString &logBaseDir = QString());
    ~TMCan();
    TMCan(const TMCan &) = delete;
    TMCan &operator=(const TMCan &) = delete;

    // Platform hooks (tests and the simulator replace them).
    using PortFactory = std::function<std::unique_ptr<SerialPort>()>;
    using DeviceLister = std::function<QList<SerialDeviceInfo>()>;
    void setPortFactory(PortFactory f);
    void setDeviceLister(DeviceLister f);
    // Pauses after closing a port and after setting one up; the modem's
    // USB driver needs them, the loopback does not.
    void setPortPauses(int afterCloseMs, int afterSetupMs);
    // Lets the user interface breathe during long network procedures.
    void setEventPump(std::function<void()> pump);

    bool logOpened() const { return log_.isOpen(); }
    QString logError() const { return logError_; }
    QString logPath() const { return log_.filePath(); }

    // Properties.
    bool CTS() const;
    void setCTS(bool on);
    uint16_t Addr() const;
    void setAddr(uint16_t addr);
    uint32_t UID() const;
    void setUID(uint32_t uid);
    bool Demo() const;
    void setDemo(bool demo);
    QStringList Modems() const;
    bool ModemFound() const;
    QString Modem() const;
    void setModem(const QString &name);
    QString OpenedModem() const;
    bool PortOpened() const;
    int UartSpeed() const;
    QString UartSpeedStr() const;
    uint8_t CanSpeed() const;
    QString CanSpeedStr() const;
    uint8_t DetectTime() const;
    void setDetectTime(uint8_t seconds);

    // Connection.
    void WriteLog(const QString &text);
    bool SearchModems();
    // A port named by the user (also one that enumeration does not list,
    // such as a pseudo-terminal): the only candidate, and selected.
    void SelectPort(const QString &name);
    bool OpenPort(int speedIndex);
    bool SetupPort(int speedIndex, SerialPort::Parity parity);
    bool PurgeInput();
    void MarkClosed();
    void Disconnect();
    bool InitModem();
    bool Connect(int speedIndex);

    // Packet exchange.
    bool TXBytes(bool byAddress, uint32_t uid, uint16_t sender, uint16_t receiver, const QByteArray &data);
    bool TXPacket(bool byAddress, uint32_t uid, uint16_t sender, uint16_t receiver, const QString &text);
    bool TXU(uint32_t uid, const QByteArray &data, int timeoutMs, const QString &mask);
    bool TXA(uint16_t sender, uint16_t receiver, const QByteArray &data, int timeoutMs, const QString &mask);
    void SetAnswerMask(bool byUid, qint64 uid, const QString &mask);
    void SetSecondMask(bool byUid, qint64 uid, uint16_t sender, uint16_t receiver, int length, const QString &mask);
    bool WaitAnswer(int ms);
    bool MatchAnswer(const TPacket &p);
    TPacket GetLastAnswer() const;
    void ClearAnswers();
    bool TakeAnswer(TPacket &p) { return answers_.Get(p); }
    bool TakeMonitor(TPacket &p) { return monitor_.Get(p); }
    void PushMonitor(TPacket p, MonitorKind kind);
    QString answerMask() const;
    QString secondMask() const;

    // Network procedures.
    bool SetModemCanSpeed(int index);
    bool SetNetworkCanSpeed(int index);
    bool ScanNetwork(int mode);
    TDevInfoFromCanArray ScanList() const;

private:
    friend class TTXThread;
    friend class TRXThread;

    bool portOpenedLocked() const;
    void markClosedLocked();
    bool txRequest(bool byAddress, uint32_t uid, uint16_t sender, uint16_t receiver, const QByteArray &data,
                   int timeoutMs, const QString &mask);
    void startWorkers();
    void stopWorkers();
    void closePort();
    void pause(int ms);
    void pumpEvents();

    // The workers borrow the port for one call at a time; closing waits
    // until every borrower has given it back.
    SerialPort *borrowPort(bool wait, const std::atomic<bool> *stop);
    void returnPort();
    bool sendFrame(TPacket p);
    void deliver(const TPacket &p);
    bool matchLocked(const TPacket &p);

    PacketLog log_;
    QString logError_;
    TFIFO sendQueue_{QueueSize}, answers_{QueueSize}, monitor_{QueueSize};

    // Connection state, guarded by stateMutex_; wake_ tells the workers
    // about a queued packet, an opened or closed port, or a stop.
    mutable std::mutex stateMutex_;
    std::condition_variable wake_;
    bool cts_ = false, demo_ = false, sendSignalled_ = true;
    uint16_t addr_ = 0;
    uint32_t uid_ = 0;
    QStringList modems_;
    QString modem_, openedModem_;
    int uartSpeed_ = -1;
    uint8_t canSpeed_ = 255, detectTime_ = 2;
    std::unique_ptr<SerialPort> port_;
    int portUsers_ = 0;
    PortFactory portFactory_;
    DeviceLister deviceLister_;
    int pauseAfterCloseMs_ = 300, pauseAfterSetupMs_ = 400;
    std::function<void()> eventPump_;

    // Answer matching, guarded by answerMutex_.
    mutable std::mutex answerMutex_;
    std::condition_variable answerCv_;
    bool answerSignalled_ = false, armed_ = false;
    QString mask_, secondMask_;
    TPacket lastAnswer_;

    mutable std::mutex scanMutex_;
    TDevInfoFromCanArray scanList_;

    // Connect, OpenPort, worker replacement and destruction, one at a time.
    std::recursive_mutex controlMutex_;
    std::unique_ptr<TTXThread> tx_;
    std::unique_ptr<TRXThread> rx_;
};
