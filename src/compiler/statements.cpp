// Statement compilation: the prologue shared by every statement, the table
// of statement words and the argument statements (wait, SetInputAlarm,
// ResetInputAlarm, iremit).
#include "statement.h"

#include "project/project.h"

using compilertext::dq;
using compilertext::hex;

namespace {

using Form = QString (TAnalis::*)(TAnalis::Statement &);

struct FormEntry {
    const char *word;
    bool needsParen; // recognised only with "(" as the second token
};

} // namespace

bool TAnalis::HasEndMacro(const TStringArray &tokens) {
    return std::any_of(tokens.cbegin(), tokens.cend(), [](const QString &t) {
        return t.compare(QLatin1String("endmacro"), Qt::CaseInsensitive) == 0;
    });
}

bool TAnalis::CheckStatementEnd(const TStringArray &tokens, int cursor, QString &error) {
    const int n = int(tokens.size());
    if (cursor >= n)
        return true;
    if (tokens[cursor] != QLatin1String(",")) {
        error = QStringLiteral("errorТребуется \",\" или \";\", а найдено \"") + tokens[cursor] + QLatin1Char('"');
        return false;
    }
    if (cursor + 1 >= n) {
        error = QStringLiteral("errorТребуется \"EndMacro\", а найдено \";\"");
        return false;
    }
    if (tokens[cursor + 1].compare(QLatin1String("endmacro"), Qt::CaseInsensitive) != 0) {
        error = QStringLiteral("errorТребуется \"EndMacro\", а найдено \"") + tokens[cursor + 1] + QLatin1Char('"');
        return false;
    }
    if (cursor + 2 < n) {
        error = QStringLiteral("errorТребуется \";\", а найдено \"") + tokens[cursor + 2] + QLatin1Char('"');
        return false;
    }
    return true;
}

void TAnalis::PadCommand(QString &line) {
    if (line.size() < 37)
        line += QString(37 - line.size(), u'0');
}

QString TAnalis::CompileStatement(const QString &text) {
    FConstDepth = 0;
    try {
        return compileStatement(text);
    } catch (const TStatementFailure &failure) {
        return QStringLiteral("error") + failure.message;
    }
}

QString TAnalis::compileStatement(const QString &text) {
    Statement s;
    s.t = SplitTokens(text);
    if (s.size() >= 2 && s.t[1] == QLatin1String(":")) {
        const auto label = FLabelExact.constFind(s.t[0]);
        if (label != FLabelExact.constEnd()) {
            s.prefix = FLabels[*label].placeholder;
            s.t.remove(0, 2);
        }
    }
    FTokens = s.t;
    if (s.t.isEmpty())
        throw TStatementFailure();
    if (s.is(1, ".")) {
        const int device = deviceByAlias(s.t[0], false);
        if (device >= 0) {
            s.target = device;
            s.pos = 2;
        }
    }
    if (s.at(s.pos).startsWith(QLatin1String("x10_"), Qt::CaseInsensitive))
        return compileX10(s);
    if (s.size() > 1 && s.target < 0 && s.t[1] == QLatin1String("."))
        return QStringLiteral("errorНеизвестный идентификатор ") + dq(s.t[0]);
    if (s.isWord(s.pos, "setout") || s.isWord(s.pos, "changeout"))
        return compileSetout(s);

    static const struct {
        FormEntry entry;
        Form form;
    } forms[] = {
        {{"setvar", false}, &TAnalis::compileSetvar},
        {{"wait", false}, &TAnalis::compileWait},
        {{"SetInputAlarm", false}, &TAnalis::compileSetInputAlarm},
        {{"ResetInputAlarm", false}, &TAnalis::compileResetInputAlarm},
        {{"iremit", false}, &TAnalis::compileIremit},
        {{"runlink", false}, &TAnalis::compileRunlink},
        {{"mov", false}, &TAnalis::compileMov},
        {{"goto", false}, &TAnalis::compileGoto},
        {{"if", true}, &TAnalis::compileIf},
        {{"calc", true}, &TAnalis::compileCalc},
        {{"inc", true}, &TAnalis::compileIncDec},
        {{"dec", true}, &TAnalis::compileIncDec},
    };
    for (const auto &f : forms)
        if (s.isWord(0, f.entry.word) && (!f.entry.needsParen || s.is(1, "(")))
            return (this->*f.form)(s);
    throw TStatementFailure();
}

// ---- Argument statements -------------------------------------------------

QString TAnalis::argumentStatement(Statement &s, const QString &code, const QString &arguments) {
    QString error;
    if (!CheckStatementEnd(FTokens, FCursor, error))
        return error;
    QString line = s.line(code + arguments);
    PadCommand(line);
    return line;
}

QString TAnalis::compileWait(Statement &s) {
    FCursor = 1;
    if (!ExpectToken(QStringLiteral("(")))
        return FError;
    QString operand;
    if (!ParseTypedOperand(FTokens, FCursor, operand))
        return QStringLiteral("errorНеверный операнд команды wait");
    if (FCursor < FTokens.size() && FTokens[FCursor] == QLatin1String(")"))
        ++FCursor;
    return argumentStatement(s, HasEndMacro(FTokens) ? QStringLiteral("0B") : QStringLiteral("0A"), operand);
}

QString TAnalis::compileSetInputAlarm(Statement &s) {
    FCursor = 1;
    if (!ExpectToken(QStringLiteral("(")) || !ParseArgument(NumberArgument))
        return FError;
    const int number = FArgValue.toInt(nullptr, 16);
    if (!ExpectToken(QStringLiteral(",")) || !ParseArgument(InputSetArgument))
        return FError;
    const uint mask = FArgValue.toUInt(nullptr, 16);
    if (!ExpectToken(QStringLiteral(")")))
        return FError;
    return argumentStatement(s, HasEndMacro(FTokens) ? QStringLiteral("0D") : QStringLiteral("0C"),
                             hex(mask & 0xFF, 2) + hex(mask >> 8, 2) + hex(number & 0xFF, 2));
}

QString TAnalis::compileResetInputAlarm(Statement &s) {
    FCursor = 1;
    return argumentStatement(s, HasEndMacro(FTokens) ? QStringLiteral("0F") : QStringLiteral("0E"), QString());
}

QString TAnalis::compileIremit(Statement &s) {
    FCursor = 1;
    if (!ExpectToken(QStringLiteral("(")) || !ParseArgument(IRButtonArgument))
        return FError;
    const QString button = FArgValue;
    if (!ParseArgument(NumberArgument))
        return FError;
    const QString number = FArgValue;
    if (!ExpectToken(QStringLiteral(")")))
        return FError;
    return argumentStatement(s, HasEndMacro(FTokens) ? QStringLiteral("0712") : QStringLiteral("0612"),
                             QStringLiteral("00") + number + QStringLiteral("01") + button);
}
