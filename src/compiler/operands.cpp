// Operands: numbers, constants, variables and ports of this and of other
// devices, event parameters and X10 function names.
#include "analis.h"
#include "compilertext.h"

#include "project/project.h"

#include <cmath>

using compilertext::hex;
using compilertext::IntegerText;

namespace {

const QString kZeros12 = QStringLiteral("000000000000");
const QString kZeros10 = QStringLiteral("0000000000");

struct NamedCode {
    const char *name;
    int code;
};

// Event parameters (exact names) and their operand types.
constexpr NamedCode kEventParameters[] = {
    {"param", 16}, {"x10_house", 12}, {"x10_device", 17}, {"an_code", 17},
    {"x10_code", 18}, {"an_level", 18}, {"endcycle", 13}, {"error", 10},
};

// X10 functions: twice the standard's function number plus one.
constexpr NamedCode kX10Functions[] = {
    {"X10_All_Units_Off", 1},   {"X10_All_Lights_On", 3},  {"X10_On", 5},
    {"X10_Off", 7},             {"X10_Dim", 9},            {"X10_Bright", 11},
    {"X10_All_lights_off", 13}, {"X10_Extended_code", 15}, {"X10_Hail_Request", 17},
    {"X10_Hail_Acknowledge", 19}, {"X10_Pre_Set_Dim0", 21}, {"X10_Pre_Set_Dim1", 23},
    {"X10_Extended_Data", 25},  {"X10_Status_on", 27},     {"X10_Status_off", 29},
    {"X10_Status_Request", 31},
};

// Port keywords of this device and their types; a port of another device
// has its own type (none: not addressable on another device).
struct PortKind {
    const char *keyword;
    int ownType;
    int remoteType;
};
constexpr PortKind kPorts[] = {
    {"in", 5, 9}, {"input", 5, 9}, {"out", 4, 8}, {"statusend", 11, -1}, {"timer", 20, 19},
};

const PortKind *portKind(const QString &word) {
    for (const PortKind &p : kPorts)
        if (word.compare(QLatin1String(p.keyword), Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

bool is(const TStringArray &t, int i, const char *text) { return i >= 0 && i < t.size() && t[i] == QLatin1String(text); }

// "," or ")" or an operator: what may follow an operand.
bool endsOperand(const TStringArray &t, int i) {
    return i >= 0 && i < t.size() && (t[i] == QLatin1String(",") || t[i] == QLatin1String(")") ||
                                      compilertext::BeginsWithOperator(t[i]));
}

TOperand ranged(qint64 v, const QString &token, int width) {
    if (v < 256)
        return {0, hex(v, 2 * width)};
    if (v <= 65535)
        return {1, hex(v, 2 * width)};
    return TOperand::error(QStringLiteral(" параметр ") + token + QStringLiteral(" превышает допустимое значение"));
}

// A UID written in a fardev reference: an integer text of at most six
// hexadecimal digits.
std::optional<quint32> uidOf(const QString &token) {
    const std::optional<qint32> v = IntegerText(token);
    if (!v || *v < 0 || *v > 0xFFFFFF)
        return std::nullopt;
    return quint32(*v);
}

quint32 hexValueOrFail(const QString &text, bool &ok) { return text.toUInt(&ok, 16); }

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

} // namespace

const TDevice *TAnalis::currentDevice() const {
    return FProject ? FProject->currentDeviceRecord() : nullptr;
}

int TAnalis::deviceByAlias(const QString &alias, bool last) const {
    if (!FProject)
        return -1;
    ensureIndexes();
    const auto &index = last ? FDeviceAliasLast : FDeviceAlias;
    const auto it = index.constFind(alias.toLower());
    return it == index.constEnd() ? -1 : *it;
}

int TAnalis::deviceByUid(quint32 uid) const {
    if (!FProject)
        return -1;
    ensureIndexes();
    return FDeviceUid.value(uid, -1);
}

// The project's devices and links do not change their number during a run;
// a changed number (tests, a later run) rebuilds the indexes.
void TAnalis::ensureIndexes() const {
    if (FDeviceAliasCount != FProject->devices().size() || FGlobalCount != FProject->globalLinks().size())
        const_cast<TAnalis *>(this)->indexProject();
}

void TAnalis::indexDevices() {
    FDeviceAlias.clear();
    FDeviceAliasLast.clear();
    FDeviceUid.clear();
    const TDeviceArray &devices = FProject->devices();
    for (int i = 0; i < devices.size(); ++i) {
        const QString key = devices[i].alias.toLower();
        compilertext::insertFirst(FDeviceAlias, key, i);
        FDeviceAliasLast.insert(key, i);
        compilertext::insertFirst(FDeviceUid, devices[i].uidValue(), i);
    }
    FDeviceAliasCount = int(devices.size());
}

// Constants may name constants; a chain longer than the table is a cycle.
void TAnalis::enterConstant(const QString &name) {
    if (FConstDepth == 0)
        FConstRoot = name;
    if (++FConstDepth > FConsts.size() + 1) {
        FConstDepth = 0;
        throw TStatementFailure{QStringLiteral("Циклическое определение константы ") + FConstRoot};
    }
}

QString TAnalis::ValueToHex(const QString &text, int digits) {
    QString result = kZeros12;
    if (text.isEmpty())
        return result;
    if (!IsAsciiDigit(text[0])) {
        const auto c = FConstLower.constFind(text.toLower());
        if (c != FConstLower.constEnd()) {
            enterConstant(text);
            result = ValueToHex(FConsts[*c].value, digits);
            --FConstDepth;
        }
        if (digits == 4) {
            const auto l = FLabelLower.constFind(text.toLower());
            if (l != FLabelLower.constEnd())
                result = FLabels[*l].placeholder;
        }
        return result;
    }
    const bool prefixed = IsHexLiteral(text) || text.startsWith(QLatin1String("0x"));
    const QString digitsText = prefixed ? text.mid(2) : text;
    for (QChar ch : digitsText)
        if (!isHexDigit(ch))
            return QStringLiteral("Error");
    return hex(compilertext::IntegerTextOrFail(text), digits);
}

TOperand TAnalis::ParseValue(const QString &token, int width) {
    if (!token.isEmpty() && IsDigitString(token))
        return ranged(compilertext::IntegerTextOrFail(token), token, width);
    if (token.size() > 1 && token[0] == u'-' && IsDigitString(token.mid(1))) {
        const qint32 n = compilertext::IntegerTextOrFail(token.mid(1));
        if (n <= 100)
            return {0, hex(256 - n, 2 * width)};
        return TOperand::error(QStringLiteral(" параметр ") + token + QStringLiteral(" превышает допустимое значение"));
    }
    if (IsHexLiteral(token))
        return ranged(compilertext::IntegerTextOrFail(token), token, width);
    const auto c = FConstExact.constFind(token);
    if (c != FConstExact.constEnd()) {
        enterConstant(token);
        const TOperand value = ParseValue(FConsts[*c].value, width);
        --FConstDepth;
        return value;
    }
    if (const TDevice *d = currentDevice())
        if (const TVars *v = Tables().variables.Own(d->alias, token))
            return {v->size == TVars::Word ? 3 : 2, hex(v->address, 2 * width)};
    for (const NamedCode &p : kEventParameters)
        if (token == QLatin1String(p.name))
            return {p.code, kZeros10};
    for (const NamedCode &f : kX10Functions)
        if (token.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return {0, hex(f.code, 10)};
    return TOperand::error(QStringLiteral(" Найден неизвестный идентификатор - ") + token);
}

TOperand TAnalis::ParseFixedPoint(const TStringArray &tokens, int &index, int width) {
    const int i = index;
    if (i + 2 >= tokens.size() || !IsDigitString(tokens[i]) || tokens[i + 1] != QLatin1String(".") ||
        !IsDigitString(tokens[i + 2]) || tokens[i].isEmpty() || tokens[i + 2].isEmpty())
        return TOperand::no();
    const double x = QString(tokens[i] + QLatin1Char('.') + tokens[i + 2]).toDouble();
    const double q = std::nearbyint(x * 4); // halves to even
    if (q >= 65536)
        return TOperand::error(QStringLiteral(" параметр ") + QString::number(q, 'f', 0) +
                               QStringLiteral(" превышает допустимое значение"));
    index += 4;
    return {q < 256 ? 0 : 1, hex(qint64(q), 2 * width)};
}

namespace {

// The value of a reference to another device: mode 3 packs address and
// item into six digits, mode 5 writes them apart.
QString remoteValue(quint32 uniqAddr, quint32 item, int mode) {
    if (mode == 3)
        return hex(qint64(uniqAddr) * 1024 + item, 6);
    return hex(uniqAddr, 4) + hex(item, 6);
}

} // namespace

TOperand TAnalis::ParseRemoteVariable(const TStringArray &tokens, int &index, int mode) {
    const int i = index;
    const TVars *found = nullptr;
    if (is(tokens, i + 1, ".") && endsOperand(tokens, i + 3)) {
        found = Tables().variables.ByAlias(tokens[i], tokens[i + 2]);
        if (!found)
            return TOperand::error(QStringLiteral(" Найден неизвестный идентификатор - ") + tokens[i] + QLatin1Char('.') +
                                   tokens[i + 2]);
        index += 4;
    } else {
        const bool form = i >= 0 && i < tokens.size() && tokens[i].compare(QLatin1String("fardev"), Qt::CaseInsensitive) == 0 &&
                          is(tokens, i + 1, "(") && is(tokens, i + 3, ")") && is(tokens, i + 4, ".") &&
                          endsOperand(tokens, i + 6);
        if (!form)
            return TOperand::no();
        const std::optional<quint32> uid = uidOf(tokens[i + 2]);
        found = uid ? Tables().variables.ByUid(*uid, tokens[i + 5]) : nullptr;
        if (!found)
            return TOperand::error(QStringLiteral(" Найден неизвестный идентификатор или UID устройства - ") +
                                   tokens.mid(i, 6).join(QString()));
        index += 7;
    }
    bool ok = false;
    const quint32 u = hexValueOrFail(found->uniqAddr, ok);
    if (!ok)
        throw TStatementFailure();
    return {found->size == TVars::Word ? 7 : 6, remoteValue(u, found->address, mode)};
}

TOperand TAnalis::ParsePort(const TStringArray &tokens, int &index, int width) {
    const int i = index;
    const PortKind *kind = i >= 0 && i < tokens.size() ? portKind(tokens[i]) : nullptr;
    if (!kind || !is(tokens, i + 1, "[") || i + 2 >= tokens.size() || !is(tokens, i + 3, "]"))
        return TOperand::no();
    const QString &number = tokens[i + 2];
    const std::optional<qint32> n = IntegerText(number);
    if (!n)
        return TOperand::error(QStringLiteral(" Неверный номер Входа/Выхода - ") + number);
    if (*n < 0 || *n > 15)
        return TOperand::error(QStringLiteral(" Значение номера Входа/Выхода превышает допустимое значение - ") + number);
    index += 5;
    return {kind->ownType, hex(*n, 2 * width)};
}

TOperand TAnalis::ParseRemotePort(const TStringArray &tokens, int &index, int mode) {
    const int i = index;
    if (i < 0 || i >= tokens.size())
        return TOperand::no();
    int device = -1;
    int portAt = 0, advance = 0;
    if (is(tokens, i + 1, ".") && endsOperand(tokens, i + 6)) {
        device = deviceByAlias(tokens[i], true);
        if (device < 0)
            return TOperand::error(QStringLiteral(" Найден неизвестный alias устройства - ") + tokens[i]);
        portAt = i + 2;
        advance = 7;
    } else {
        if (tokens[i].compare(QLatin1String("fardev"), Qt::CaseInsensitive) != 0 || !is(tokens, i + 1, "(") ||
            !is(tokens, i + 3, ")") || i + 5 >= tokens.size())
            return TOperand::no();
        const std::optional<quint32> uid = uidOf(tokens[i + 2]);
        device = uid ? deviceByUid(*uid) : -1;
        if (device < 0)
            return TOperand::error(QStringLiteral(" Найден неизвестный UID устройства - ") + tokens[i + 2]);
        portAt = i + 5;
        advance = 10;
    }
    int at = portAt;
    const TOperand port = ParsePort(tokens, at, 3);
    if (port.isNo() || port.isError())
        return port;
    const PortKind *kind = portKind(tokens[portAt]);
    if (kind->remoteType < 0)
        return TOperand::error(QStringLiteral(" Порт ") + tokens[portAt] +
                               QStringLiteral(" другого устройства недоступен"));
    bool ok = false;
    const quint32 u = hexValueOrFail(FProject->devices()[device].UniqAddr, ok);
    if (!ok)
        return TOperand::no();
    index += advance;
    return {kind->remoteType, remoteValue(u, compilertext::IntegerTextOrFail(tokens[portAt + 2]), mode)};
}

QPair<QString, QString> TAnalis::ParseValueSource(const QString &token) {
    if (token.compare(QLatin1String("EndCycle"), Qt::CaseInsensitive) == 0)
        return {QStringLiteral("07"), QStringLiteral("0000")};
    if (token.compare(QLatin1String("Param"), Qt::CaseInsensitive) == 0)
        return {QStringLiteral("05"), QStringLiteral("0000")};
    if (!token.isEmpty() && IsAsciiDigit(token[0]))
        return {QStringLiteral("06"), ValueToHex(token, 4)};
    const auto c = FConstLower.constFind(token.toLower());
    if (c != FConstLower.constEnd())
        return {QStringLiteral("06"), ValueToHex(FConsts[*c].value, 4)};
    return {};
}

// The multi-token operand forms, in the order every statement tries them.
// Statements pass mode 3 with ports of width 3 and mode 5 with width 5.
TOperand TAnalis::parseOperandForms(const TStringArray &tokens, int &index, int mode) {
    TOperand r = ParseRemoteVariable(tokens, index, mode);
    if (!r.isNo())
        return r;
    r = ParsePort(tokens, index, mode);
    if (!r.isNo())
        return r;
    return ParseRemotePort(tokens, index, mode);
}

bool TAnalis::ParseTypedOperand(const TStringArray &tokens, int &index, QString &text) {
    if (index < 0 || index >= tokens.size()) {
        text = QStringLiteral("no");
        return false;
    }
    const TOperand value = ParseValue(tokens[index], 5);
    if (!value.isError()) {
        text = hex(value.type, 2) + value.text;
        ++index;
        return true;
    }
    const TOperand r = parseOperandForms(tokens, index, 5);
    text = r.isNo() || r.isError() ? r.text : hex(r.type, 2) + r.text;
    return !r.isNo() && !r.isError();
}
