#pragma once
// The records a project is made of: devices with their inputs, timers and
// links, and the project-wide global links. Plain values: copying a device
// copies its texts and lists.
#include <QList>
#include <QString>
#include <QStringList>

// The text a link field holds when no link is chosen.
inline QString noLinkMarker() { return QStringLiteral("Отсутствует"); }

// A project-wide link. Its number and id texts are derived from its position
// each time the configuration is read.
struct TGlobalLink {
    QString name;
    QString description;
    QString numberText;     // "0x" + 1-based position, 4 hex digits
    QString idText;         // "0x" + 0x800 + 0-based position, 4 hex digits
    QString fifthText;      // kept for the compiler's declarations
    QStringList devices;    // devices that use the link, filled by the compiler
};
using TGlobalLinksArray = QList<TGlobalLink>;

// A link of one device. The last three texts are the compiler's.
struct TLocalLink {
    QString name;
    QString description;
    QString numberText;
    QString idText;
    QString codeAddressText;
};
using TLocalLinksArray = QList<TLocalLink>;

// Every device's first link, run when the device restarts.
TLocalLink resetLink();

// Settings of one input.
struct TInConfig {
    quint8 nmbr = 1;
    qint32 tip = 4;
    quint8 reset = 1;
    quint8 gl = 0;
    quint8 invert = 1;
    QString name; // inputs of the X10 device only
    QString link;
    quint8 stepup = 70;
    quint8 stepdown = 30;
    quint8 stepevents = 15;

    bool operator==(const TInConfig &) const = default;
};
using TInConfigArray = QList<TInConfig>;

// Settings of one timer; the meaning of the values belongs to the timer tool.
struct TTimerConfig {
    quint8 nmbr = 1;
    qint32 tip = 4;
    quint8 reset = 1;
    quint8 gl = 0;
    quint8 invert = 1;
    qint32 uptip = 0;
    qint32 uptime = 0;
    qint32 downtip = 0;
    qint32 downtime = 0;
    quint8 week = 255; // one bit per day; 255 = every day
    QString name;
    QString link;
    quint8 timertip = 0;
    quint8 singlerun = 0;
    double yrdateon = 0;  // days since 30 December 1899
    double yrdateoff = 0;
    quint8 holiday = 0;
    qint32 rand1 = 0;
    qint32 rand2 = 0;

    bool operator==(const TTimerConfig &) const = default;
};
using TTimerConfigArray = QList<TTimerConfig>;

// One device of the project. Its alias is unique in the project without
// regard to letter case and names its program file (alias + ".pd").
struct TDevice {
    QString uid;       // hexadecimal digits without prefix, 0..FFFFFF
    QString UniqAddr;  // hexadecimal digits, 0..3FFF
    qint32 cat_num = 0;
    qint32 release = 0;
    QString alias;
    quint8 HardVer = 0;
    quint8 SoftVer = 0;
    quint8 inputCount = 0;  // catalogue "ins"
    quint8 outputCount = 0; // catalogue "outs"
    quint8 timerCount = 0;
    TInConfigArray inputs;
    TTimerConfigArray timers;
    TLocalLinksArray links; // entry 0 is always "Reset"
    bool programFileMade = false;

    // UID and unique address as numbers (0 when the text is not hexadecimal).
    quint32 uidValue() const;
    quint32 addressValue() const;
};
using TDeviceArray = QList<TDevice>;
