// Statements that drive outputs: X10 commands and setout / changeout.
#include "statement.h"

#include "project/project.h"

using compilertext::dq;
using compilertext::hex;
using compilertext::sq;

namespace {

const QString kX10Hint = QStringLiteral(". Требуется x10_<A..P><1..16>");

struct X10Function {
    const char *name;
    const char *group; // digits 2-3
    const char *code;  // digits 10-11
};
constexpr X10Function kX10Functions[] = {
    {"on", "11", "05"},           {"off", "11", "07"},           {"dim", "11", "09"},
    {"bright", "11", "0B"},       {"all_units_off", "07", "01"}, {"all_lights_on", "07", "03"},
    {"all_lights_off", "07", "0D"},
};

QString x10InputError(const QString &token) {
    return QStringLiteral("errorНеверный вход устройства X10 - ") + dq(token) + kX10Hint;
}

} // namespace

QString TAnalis::compileX10(Statement &s) {
    QString cmd = QStringLiteral("06110000000000000000000000000000");
    const QString &input = s.at(s.pos);
    const QChar house = input.size() > 4 ? input[4].toLower() : QChar();
    if (house < u'a' || house > u'p')
        return x10InputError(input);
    cmd[8] = hex(house.unicode() - 'a', 1)[0];
    const QString unitText = input.mid(5);
    if (!unitText.isEmpty()) {
        const std::optional<qint32> unit = compilertext::IntegerText(QStringLiteral("0") + unitText);
        if (!unit || *unit > 16 || *unit < 0)
            return x10InputError(input);
        cmd[9] = *unit == 0 ? QChar(u'f') : hex(*unit - 1, 1)[0];
    }
    if (!s.is(s.pos + 1, "."))
        return QStringLiteral("errorТребуется \".\", а найдено - ") + dq(s.at(s.pos + 1)) + kX10Hint;
    const QString &name = s.at(s.pos + 2);
    const X10Function *function = nullptr;
    for (const X10Function &f : kX10Functions)
        if (name == QLatin1String(f.name))
            function = &f;
    if (!function)
        return QStringLiteral("errorНеверная команда устройства X10 - ") + dq(name);
    if (unitText.isEmpty() && !name.startsWith(QLatin1String("all")))
        return x10InputError(input);
    cmd.replace(2, 2, QLatin1String(function->group));
    cmd.replace(10, 2, QLatin1String(function->code));
    int i = s.pos + 3;
    if ((name == QLatin1String("dim") || name == QLatin1String("bright")) && s.is(i, "(")) {
        const QString &countText = s.at(i + 1);
        const std::optional<qint32> count = compilertext::IntegerText(countText);
        if (!count || *count < 0)
            return QStringLiteral("errorТребуется число, а найдено - ") + dq(countText);
        if (*count > 255)
            return QStringLiteral("errorКоличество повторений превышает 256");
        if (!s.is(i + 2, ")"))
            return QStringLiteral("errorТребуется \")\", а найдено - ") + dq(s.at(i + 2));
        cmd.replace(12, 2, hex(*count, 2));
        i += 3;
    }
    if (s.has(i)) {
        if (s.t[i] != QLatin1String(","))
            return QStringLiteral("errorТребуется \",\" или \";\", а найдено - ") + dq(s.t[i]);
        if (!s.has(i + 1))
            return QStringLiteral("errorТребуется \"endmacro\", а найдено \";\"");
        if (!s.isWord(i + 1, "endmacro"))
            return QStringLiteral("errorТребуется \"endmacro\", а найдено - ") + dq(s.t[i + 1]);
        if (s.has(i + 2))
            return QStringLiteral("errorТребуется \";\", а найдено - ") + dq(s.t[i + 2]);
        cmd[1] = u'7';
    }
    if (s.target >= 0)
        cmd.replace(4, 4, hex(FProject->devices()[s.target].UniqAddr.toUInt(nullptr, 16), 4));
    return s.line(cmd);
}

// ---- setout and changeout --------------------------------------------------

namespace {

struct SetoutParameter {
    const char *name;     // in "Требуется параметр ..."
    const char *invalid;  // when no operand form applies
};
constexpr SetoutParameter kSetoutParameters[] = {
    {"Nchannel", "errorНеверный параметр №1 - NChannel"},
    {"Level", "errorНеверный параметр №2 - Level"},
    {"Delay", "errorНеверный параметр №3 - Delay"},
    {"Tonlevel", "errorНеверный параметр №4 - Tonlevel"},
};

// Types 0, 2 and 6 are written as 1, 3 and 7 in the type nibbles.
int typeNibble(int nibble) { return nibble == 0 ? 1 : nibble == 2 ? 3 : nibble == 6 ? 7 : nibble; }

QString typeByte(int high, int low) {
    const int v = (high * 16 + low) & 0xFF;
    return hex(typeNibble(v >> 4) * 16 + typeNibble(v & 0xF), 2);
}

} // namespace

QString TAnalis::compileSetout(Statement &s) {
    const bool changeout = s.isWord(s.pos, "changeout");
    if (!s.is(s.pos + 1, "("))
        return QStringLiteral("errorТребуется '(', а найдено ") + sq(s.at(s.pos + 1));
    int i = s.pos + 2;
    int types[4] = {0, 0, 0, 0};
    QString values[4];
    for (int p = 0; p < 4; ++p) {
        const SetoutParameter &param = kSetoutParameters[p];
        if (s.at(i) == QLatin1String(","))
            return QStringLiteral("errorТребуется параметр ") + QLatin1String(param.name) + QStringLiteral(", а найдено','");
        QString single = s.t[i];
        int next = i + 1; // the token after the parameter
        bool isSingle = s.is(next, ",") || (p == 3 && s.is(next, ")"));
        if (p == 1 && single == QLatin1String("-")) {
            isSingle = true;
            if (changeout) { // a negative level; setout leaves "-" to be rejected
                single += s.at(i + 1);
                next = i + 2;
            }
        }
        TOperand op;
        if (isSingle) {
            op = ParseValue(single, 3);
            if (op.isError())
                return op.text;
            i = next + 1;
        } else if (s.target >= 0 && p == 0) {
            return QStringLiteral("errorНеверный параметр №1 (Nchannel) для удаленной команды Alias.setout");
        } else {
            int at = i;
            op = p == 3 ? ParseFixedPoint(s.t, at, 3) : TOperand::no();
            if (op.isNo())
                op = p == 0 ? ParseRemoteVariable(s.t, at, 3) : parseOperandForms(s.t, at, 3);
            if (op.isError())
                return op.text;
            if (op.isNo())
                return QString::fromUtf8(param.invalid);
            if (op.type == 4 && p == 2)
                return QStringLiteral("errorOut[] не допустим для операнда Delay");
            if (op.type == 8 && p == 2)
                return QStringLiteral("errorOut[] не допустим для операнда Delay");
            if (op.type == 4 && p == 3)
                return QStringLiteral("errorOut[] не допустим для операнда Tonlevel");
            if (op.type == 8 && p == 3)
                return QStringLiteral("errorOut[] не допустим для операнда TonLevel");
            i = at;
        }
        // Types above 15 do not fit the four-bit type fields.
        if (op.type > 15)
            return QStringLiteral("errorПараметр №%1 не допустим для команды ").arg(p + 1) + s.t[s.pos];
        types[p] = op.type;
        values[p] = op.text;
    }
    if (s.target >= 0) {
        if (types[0] != 0)
            return QStringLiteral("errorНеверный параметр №1 (Nchannel) для удаленной команды Alias.setout");
        const uint channel = values[0].toUInt(nullptr, 16);
        if (channel > 16)
            return QStringLiteral("errorЗначение параметра №1 (Nchannel) для удаленной команды Alias.setout превышает значение 16");
        const uint u = FProject->devices()[s.target].UniqAddr.toUInt(nullptr, 16);
        values[0] = hex(qint64(u) * 1024 + channel, 6);
        types[0] = 13;
    }
    QString cmd = (changeout ? QStringLiteral("0604") : QStringLiteral("0608")) + typeByte(types[0], types[1]) +
                  typeByte(types[2], types[3]) + values[0] + values[1] + values[2] + values[3];
    // i is past P4 and the token after it.
    const int rest = s.size() - i;
    if (rest > 0 && s.t[i - 1] != QLatin1String(")"))
        return QStringLiteral("errorТребуется ')', а найдено ") + sq(s.t[i - 1]);
    if (rest == 2 && s.is(i, ",") && s.isWord(i + 1, "endmacro")) {
        cmd[1] = u'7';
    } else if (rest >= 5) {
        if (!s.is(i, ",") || !s.isWord(i + 1, "goto") || !s.is(i + 2, "(") || !s.is(i + 4, ")"))
            return QStringLiteral("errorНеверный аргументы команды goto");
        const QString label = ValueToHex(s.t[i + 3], 4).left(4);
        if (cmd.size() >= 32)
            cmd.replace(28, 4, label);
        else
            cmd += label;
    }
    return s.line(cmd);
}
