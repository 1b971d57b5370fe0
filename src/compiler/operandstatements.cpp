// Statements built from operands: setvar, goto, mov, runlink, if, calc,
// inc and dec.
#include "statement.h"

#include "project/project.h"

using compilertext::hex;
using compilertext::sq;

namespace {

// After a multi-token operand the parsers stand past the token that
// follows it; statements read that token themselves.
int tokenAfter(int parserIndex) { return parserIndex - 1; }

bool isVariableType(int type) { return type == 2 || type == 3 || type == 6 || type == 7; }

} // namespace

// An operand of width 5 at index i: the single token there when single
// holds, else a multi-token form. after: the index of the token after it.
TOperand TAnalis::operandAt(Statement &s, int i, bool single, int &after) {
    if (single) {
        after = i + 1;
        return ParseValue(s.at(i), 5);
    }
    int at = i;
    const TOperand op = parseOperandForms(s.t, at, 5);
    after = tokenAfter(at);
    return op;
}

namespace {

struct Operand5 {
    TOperand op;
    int after = 0;
};

} // namespace

QString TAnalis::tailAfterParen(const Statement &s, int j) {
    const int rest = s.size() - j;
    if (rest <= 0 || (rest >= 2 && s.is(j, ",") && s.isWord(j + 1, "endmacro")))
        return QString();
    if (rest == 1)
        return QStringLiteral("errorТребуется \";\", а найдено \"") + s.t[j] + QLatin1Char('"');
    return QStringLiteral("errorТребуется \",endmacro\" или \";\", а найдено \"") + s.t[j] + QLatin1Char('"');
}

QString TAnalis::compileSetvar(Statement &s) {
    const bool shape = s.is(1, "(") && s.is(3, ",") && s.is(5, ")") &&
                       (s.size() == 6 || (s.size() == 8 && s.isWord(7, "endmacro")));
    if (!shape)
        return QString();
    const QPair<QString, QString> source = ParseValueSource(s.t[4]);
    // A source that is neither a number, a constant nor an event value
    // would shift the fields and still look like a command.
    if (source.first.isEmpty())
        return QStringLiteral("errorНеверный источник значения команды setvar - ") + sq(s.t[4]);
    const QString code = s.size() == 8 ? QStringLiteral("0702") : QStringLiteral("0602");
    return s.line(withZeros(code + source.first + ValueToHex(s.t[2], 2) + source.second, 20));
}

QString TAnalis::compileGoto(Statement &s) {
    const bool shape = s.is(1, "(") && s.is(3, ")") && (s.size() == 4 || (s.size() == 6 && s.isWord(5, "endmacro")));
    if (!shape)
        return QString();
    const QString code = s.size() == 6 ? QStringLiteral("0705") : QStringLiteral("0605");
    return s.line(withZeros(code + ValueToHex(s.t[2], 4), 24));
}

QString TAnalis::compileMov(Statement &s) {
    if (!s.is(1, "("))
        return QStringLiteral("errorТребуется '(', а найдено ") + sq(s.at(1));
    if (s.at(2) == QLatin1String(","))
        return QStringLiteral("errorТребуется первый параметр, а найдено','");
    Operand5 dst;
    dst.op = operandAt(s, 2, s.is(3, ","), dst.after);
    if (dst.op.isError())
        return dst.op.text;
    if (dst.op.isNo())
        return QStringLiteral("errorНеверный параметр №1");
    if (s.is(3, ",") && (dst.op.type == 0 || dst.op.type == 1))
        return QStringLiteral("errorНедопустимый параметр -") + s.t[2];
    const int i = dst.after + 1;
    if (s.at(i) == QLatin1String(","))
        return QStringLiteral("errorТребуется второй параметр, а найдено','");
    Operand5 src;
    src.op = operandAt(s, i, s.is(i + 1, ")") || s.is(i + 1, ","), src.after);
    if (src.op.isError())
        return src.op.text;
    if (src.op.isNo())
        return QStringLiteral("errorНеверный параметр №2");
    QString cmd = QStringLiteral("0609");
    const int j = src.after + 1;
    if (s.has(j) && !s.is(src.after, ")"))
        return QStringLiteral("errorТребуется ')', а найдено \"") + s.t[src.after] + QLatin1Char('"');
    if (s.size() - j == 2 && s.is(j, ",") && s.isWord(j + 1, "endmacro"))
        cmd[1] = u'7';
    return s.line(withZeros(cmd + hex(dst.op.type, 2) + dst.op.text + hex(src.op.type, 2) + src.op.text, 4));
}

namespace {

// "0x0802" -> "0802".
QString linkIdDigits(const QString &idText) { return hex(compilertext::linkTextValue(idText), 4); }

} // namespace

QString TAnalis::compileRunlink(Statement &s) {
    if (!s.is(1, "("))
        return QStringLiteral("errorТребуется \"(\", а найдено \"") + s.at(1) + QLatin1Char('"');
    const QString code = s.endsWithEndMacro() ? QStringLiteral("070B") : QStringLiteral("060B");
    int i = 2;
    if (!s.is(3, ",")) {
        if (deviceByAlias(s.at(2), false) < 0)
            return QStringLiteral("errorТребуется alias устройства, а найдено \"") + s.t[2] + QLatin1Char('"');
        if (!s.is(3, "."))
            return QStringLiteral("errorТребуется \".\", а найдено \"") + s.at(3) + QLatin1Char('"');
        i = 4;
    }
    const QString &name = s.at(i);
    QString id;
    const int global = FProject ? globalLinkExact(name) : -1;
    if (global >= 0)
        id = FProject->globalLinks()[global].idText;
    if (id.isEmpty()) {
        const auto local = FLocalLinkIndex.constFind(name);
        if (local != FLocalLinkIndex.constEnd())
            id = FLocalLinks[*local].idText;
    }
    if (id.isEmpty())
        return QStringLiteral("errorВ команде RunLink требуется линк, а найдено \"") + name + QLatin1Char('"');
    if (!s.is(i + 1, ","))
        return QStringLiteral("errorТребуется \",\", а найдено \"") + s.at(i + 1) + QLatin1Char('"');
    Operand5 operand;
    operand.op = operandAt(s, i + 2, s.is(i + 3, ")"), operand.after);
    if (operand.op.isError())
        return operand.op.text;
    if (operand.op.isNo())
        return QStringLiteral("errorНеверный второй операнд команды");
    if (!s.has(operand.after))
        return QStringLiteral("errorТребуется \")\"");
    if (!s.is(operand.after, ")"))
        return QStringLiteral("errorТребуется \")\", а найдено \"") + s.t[operand.after] + QLatin1Char('"');
    const QString tail = tailAfterParen(s, operand.after + 1);
    if (!tail.isEmpty())
        return tail;
    return s.line(
        withZeros(code + linkIdDigits(id) + QStringLiteral("00") + hex(operand.op.type, 2) + operand.op.text, 10));
}

namespace {

struct Comparison {
    const char *text;
    const char *code;
};
constexpr Comparison kPairs[] = {{">=", "05"}, {"<=", "06"}, {"<>", "04"}};
constexpr Comparison kSingles[] = {{"<", "01"}, {">", "02"}, {"=", "03"}};

} // namespace

QString TAnalis::compileIf(Statement &s) {
    const QString code = s.endsWithEndMacro() ? QStringLiteral("03") : QStringLiteral("02");
    Operand5 op1;
    op1.op = operandAt(s, 2, s.has(3) && compilertext::BeginsWithOperator(s.t[3]), op1.after);
    if (op1.op.isError())
        return op1.op.text;
    if (op1.op.isNo())
        return QStringLiteral("errorНеверный первый параметр команды if");
    int i = op1.after;
    if (!s.has(i) || !compilertext::BeginsWithOperator(s.t[i]))
        return QStringLiteral("errorОтсутствует оператор условия");
    QString comparison;
    if (s.has(i + 1) && compilertext::BeginsWithOperator(s.t[i + 1])) {
        const QString pair = s.t[i] + s.t[i + 1];
        for (const Comparison &c : kPairs)
            if (pair == QLatin1String(c.text))
                comparison = QLatin1String(c.code);
        i += 2;
    } else {
        for (const Comparison &c : kSingles)
            if (s.t[i] == QLatin1String(c.text))
                comparison = QLatin1String(c.code);
        i += 1;
    }
    Operand5 op2;
    op2.op = operandAt(s, i, s.is(i + 1, ","), op2.after);
    if (op2.op.isError())
        return op2.op.text;
    if (op2.op.isNo())
        return QStringLiteral("errorНеверный второй параметр команды if");
    const int g = op2.after + 1;
    if (!s.isWord(g, "goto") || !s.is(g + 1, "(") || !s.has(g + 2) || !s.is(g + 3, ")"))
        return QStringLiteral("errorНеверный аргументы команды goto");
    return s.line(code + hex(op1.op.type, 2) + op1.op.text + comparison + hex(op2.op.type, 2) + op2.op.text +
                  ValueToHex(s.t[g + 2], 4));
}

namespace {

constexpr Comparison kCalcOperators[] = {{"+", "1"}, {"-", "2"}, {"*", "3"}, {"/", "4"}};

} // namespace

QString TAnalis::compileCalc(Statement &s) {
    const QString code = s.endsWithEndMacro() ? QStringLiteral("070A") : QStringLiteral("060A");
    Operand5 dst;
    if (!s.is(3, ",")) {
        int at = 2;
        dst.op = ParseRemoteVariable(s.t, at, 5);
        if (dst.op.isError())
            return dst.op.text;
        if (dst.op.isNo())
            return QStringLiteral("errorНеверный первый операнд команды calc");
        dst.after = tokenAfter(at);
    } else {
        dst.op = ParseValue(s.t[2], 5);
        if (dst.op.isError() || !isVariableType(dst.op.type))
            return QStringLiteral("errorПервый операнд команды Calc - локальная или глобальная переменная");
        dst.after = 3;
    }
    if (!s.is(dst.after, ","))
        return QStringLiteral("errorТребуется \",\", а найдено \"") + s.at(dst.after) + QLatin1Char('"');
    const int i = dst.after + 1;
    Operand5 src;
    src.op = operandAt(s, i, s.is(i + 1, ","), src.after);
    if (src.op.isError())
        return src.op.text;
    if (src.op.isNo())
        return QStringLiteral("errorНеверный второй операнд команды calc");
    const int o = src.after + 1;
    QString op;
    for (const Comparison &c : kCalcOperators)
        if (s.is(o, c.text))
            op = QLatin1String(c.code);
    if (op.isEmpty())
        return QStringLiteral("errorОтсутствует или неверный оператор команды Calc");
    if (!s.has(o + 1))
        return QStringLiteral("errorТребуется \")\"");
    if (!s.is(o + 1, ")"))
        return QStringLiteral("errorТребуется \")\", а найдено \"") + s.t[o + 1] + QLatin1Char('"');
    const QString tail = tailAfterParen(s, o + 2);
    if (!tail.isEmpty())
        return tail;
    return s.line(withZeros(code + hex(dst.op.type, 2) + dst.op.text + QLatin1Char('0') + op + hex(src.op.type, 2) +
                                src.op.text,
                            2));
}

QString TAnalis::compileIncDec(Statement &s) {
    const QString code = s.endsWithEndMacro() ? QStringLiteral("070A") : QStringLiteral("060A");
    Operand5 var;
    if (!s.is(3, ")")) {
        int at = 2;
        var.op = ParseRemoteVariable(s.t, at, 5);
        if (var.op.isError())
            return var.op.text;
        if (var.op.isNo())
            return QStringLiteral("errorНеверный операнд команды");
        var.after = tokenAfter(at);
    } else {
        var.op = ParseValue(s.at(2), 5);
        if (var.op.isError() || !isVariableType(var.op.type))
            return QStringLiteral("errorОперанд команды локальная или глобальная переменная");
        var.after = 3;
    }
    if (!s.has(var.after))
        return QStringLiteral("errorОтсутствует \")\" в команде Calc");
    if (!s.is(var.after, ")"))
        return QStringLiteral("errorТребуется \")\", а найдено \"") + s.t[var.after] + QLatin1Char('"');
    const QString tail = tailAfterParen(s, var.after + 1);
    if (!tail.isEmpty())
        return tail;
    const QString op = s.t[0] == QLatin1String("inc") ? QStringLiteral("05") : QStringLiteral("06");
    return s.line(withZeros(code + hex(var.op.type, 2) + var.op.text + op, 14));
}
