#include "compilertext.h"

#include "analis.h"

namespace compilertext {

QString hex(qint64 value, int digits) {
    // Called for every field of every command: no format parsing.
    if (value < 0)
        value &= 0xFFFFFFFFLL;
    quint64 v = quint64(value);
    char16_t buffer[32];
    int n = 0;
    do {
        buffer[n++] = u"0123456789ABCDEF"[v & 0xF];
        v >>= 4;
    } while (v);
    while (n < digits && n < 32)
        buffer[n++] = u'0';
    QString out(n, Qt::Uninitialized);
    QChar *d = out.data();
    for (int i = 0; i < n; ++i)
        d[i] = QChar(buffer[n - 1 - i]);
    return out;
}

QString linkText(int value) { return QStringLiteral("0x") + hex(value, 4); }

int linkTextValue(const QString &text) {
    if (!text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return -1;
    bool ok = false;
    const uint v = text.mid(2).toUInt(&ok, 16);
    return ok && v <= 0x7FFFFFFF ? int(v) : -1;
}

namespace {
QString quoted(const QString &token, QChar quote) {
    QString inner = token;
    inner.replace(quote, QString(2, quote));
    return quote + inner + quote;
}

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int v = 99;
    if (u >= '0' && u <= '9')
        v = u - '0';
    else if (u >= 'a' && u <= 'f')
        v = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        v = u - 'A' + 10;
    return v < base ? v : -1;
}
} // namespace

QString sq(const QString &token) { return quoted(token, u'\''); }
QString dq(const QString &token) { return quoted(token, u'"'); }

std::optional<qint32> IntegerText(const QString &text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i < n && (text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return std::nullopt;
    qint64 value = 0;
    for (; i < n; ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0)
            return std::nullopt;
        value = value * base + d;
        if (value > 0x80000000LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 0x7FFFFFFFLL || value < -0x80000000LL)
        return std::nullopt;
    return qint32(value);
}

qint32 IntegerTextOrFail(const QString &text) {
    const std::optional<qint32> v = IntegerText(text);
    if (!v)
        throw TStatementFailure();
    return *v;
}

bool BeginsWithOperator(const QString &token) { return !token.isEmpty() && IsOperatorChar(token[0]); }

} // namespace compilertext
