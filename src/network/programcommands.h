#pragma once
// The command list of device programming: the compiler's output file cut
// into the packets the devices receive, one row per packet, in file order.
#include <QList>
#include <QString>

struct TProgCommand {
    QString uid;    // the six characters that begin the output line
    QString packet; // hexadecimal digits without blanks, at most 16
    bool operator==(const TProgCommand &o) const { return uid == o.uid && packet == o.packet; }
};
using TProgCommandList = QList<TProgCommand>;

namespace programcommands {

QString lineLengthMessage(); // "Ошибка в длине строки файла!"

// The packets of one output line (it must be longer than 6 characters):
// a "CMND" line is one packet; a code line is cut into 81, 82 and 80 packets.
TProgCommandList cutLine(const QString &line);

// Reads the output file. On a line of 6 characters or fewer, or a file that
// cannot be read, rows holds what was read before and error says why.
struct Reading {
    TProgCommandList rows;
    QString error;
};
Reading readOutputFile(const QString &path);

// The data bytes of a packet text; false when it is not an even run of
// hexadecimal digits (sending it would change what the device receives).
bool packetBytes(const QString &packet, QByteArray &bytes);

} // namespace programcommands
