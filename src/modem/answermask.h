#pragma once
// Answer masks: which received packet answers the request in flight. A mask
// is compared with the 34-character rendering of the 17-byte record from its
// first character on; "*" matches any digit. The answer mask never compares
// header byte 0 or the length byte.
#include <QString>
#include <cstdint>

namespace answermask {

// "**" + UID as six digits (or "******" for uid < 0 or !byUid) + "**" + mask.
QString answerMask(bool byUid, qint64 uid, const QString &mask);
// Header part ("01" + UID, "01******", or the address-form identifier) +
// the length as two digits + mask.
QString secondMask(bool byUid, qint64 uid, uint16_t sender, uint16_t receiver, int length, const QString &mask);
// Compares mask with rendering for as many characters as the mask has.
bool matches(const QString &mask, const QString &rendering);
// The mask text as used: blanks removed, upper case.
QString normalized(const QString &mask);

} // namespace answermask
