#pragma once
// Builders of single device commands. Each returns false and sends nothing
// when there is no connection object. The result is true when the packet was
// queued, or for requests with an awaited answer, when the answer came.
#include <QByteArray>
#include <QString>
#include <cstdint>

class TMCan;

namespace Commands {

// A2 00 hh ll FF FF ("FF A2", 2000 ms), then 70 whatever the first result.
bool SetUniqueAddress(TMCan *can, uint32_t uid, uint16_t address);
// 03 00 c2 c1 c0 ("FF 03", 2000 ms), then 70.
bool SetCatalogueNumber(TMCan *can, uint32_t uid, uint32_t number);
bool AskInputByAddress(TMCan *can, uint16_t address, uint8_t input);
bool RequestTemperature(TMCan *can, uint32_t uid);
bool RequestAdc(TMCan *can, uint32_t uid, uint8_t input);
bool ReadErrorBuffer(TMCan *can, uint32_t uid);
bool ClearErrorBuffer(TMCan *can, uint32_t uid);
bool SetErrorSending(TMCan *can, uint32_t uid, bool allow);
bool RebootCountersCommand(TMCan *can, uint32_t uid, bool read);
bool SetDimmerOutput(TMCan *can, uint16_t address, uint8_t output, uint8_t level, uint16_t time);
bool SetRelayOutput(TMCan *can, uint16_t address, uint8_t output, uint8_t state, uint16_t extra);
bool AskOutput(TMCan *can, uint16_t address, uint8_t output);
// TXU with mask "FF" + first byte, 1000 ms; the answer is taken off the queue.
bool SendAcknowledged(TMCan *can, uint32_t uid, const QByteArray &data);
// B7 v + the text (at most 11 characters of hex digits, "*" and "#") padded
// with "f" to 12 and packed two per byte. A bad character or a longer text
// sends nothing; error then says why.
bool SendUssd(TMCan *can, uint32_t uid, uint8_t v, const QString &text, QString *error = nullptr);
// The 8 bytes SendUssd sends; false with error for a bad text.
bool ussdPacket(uint8_t v, const QString &text, QByteArray &out, QString *error = nullptr);

} // namespace Commands
