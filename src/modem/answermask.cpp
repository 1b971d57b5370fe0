#include "answermask.h"

#include "packet.h"

namespace answermask {

QString normalized(const QString &mask) {
    QString m = mask;
    m.remove(QLatin1Char(' '));
    return m.toUpper();
}

QString answerMask(bool byUid, qint64 uid, const QString &mask) {
    const QString who = byUid && uid >= 0 ? hexText(qulonglong(uid) & 0xFFFFFF, 6) : QStringLiteral("******");
    return QStringLiteral("**") + who + QStringLiteral("**") + normalized(mask);
}

QString secondMask(bool byUid, qint64 uid, uint16_t sender, uint16_t receiver, int length, const QString &mask) {
    QString head;
    if (byUid)
        head = QStringLiteral("01") + (uid >= 0 ? hexText(qulonglong(uid) & 0xFFFFFF, 6) : QStringLiteral("******"));
    else
        head = hexText(addressId(sender, receiver), 8);
    return head + hexText(uint(length) & 0xFF, 2) + normalized(mask);
}

bool matches(const QString &mask, const QString &rendering) {
    if (mask.size() > rendering.size())
        return false;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar m = mask[i];
        if (m != QLatin1Char('*') && m.toUpper() != rendering[i].toUpper())
            return false;
    }
    return true;
}

} // namespace answermask
