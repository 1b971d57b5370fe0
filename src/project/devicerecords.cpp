#include "devicerecords.h"

#include "lexis.h"

TLocalLink resetLink() {
    TLocalLink link;
    link.name = QStringLiteral("Reset");
    link.numberText = QStringLiteral("0x0001");
    return link;
}

namespace {
quint32 hexValue(const QString &text) {
    quint64 v = 0;
    return lexis::readHex(text, &v) && v <= 0xFFFFFFFFu ? quint32(v) : 0;
}
} // namespace

quint32 TDevice::uidValue() const { return hexValue(uid); }
quint32 TDevice::addressValue() const { return hexValue(UniqAddr); }
