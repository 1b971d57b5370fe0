// Arguments of the newer statements, read with the cursor over FTokens:
// numbers, sets of inputs and IR buttons.
#include "analis.h"
#include "compilertext.h"
#include "irconfiglist.h"

#include "project/project.h"

using compilertext::hex;

namespace {
const QString kEndToken = QStringLiteral(";"); // shown when the statement ended
}

bool TAnalis::ExpectToken(const QString &text) {
    if (FCursor >= 0 && FCursor < FTokens.size() && FTokens[FCursor] == text) {
        ++FCursor;
        return true;
    }
    const QString found = FCursor >= 0 && FCursor < FTokens.size() ? FTokens[FCursor] : kEndToken;
    FError = QStringLiteral("errorТребуется \"") + text + QStringLiteral("\", а найдено \"") + found + QLatin1Char('"');
    return false;
}

bool TAnalis::ParseArgumentNumber(const QString &token, int limit, int &value) {
    FError.clear();
    std::optional<qint32> v = compilertext::IntegerText(token);
    if (v && *v == -1)
        v.reset();
    if (!v && IsHexLiteral(token))
        v = compilertext::IntegerTextOrFail(QStringLiteral("$") + token.mid(2));
    if (!v) {
        const auto c = FConstExact.constFind(token);
        if (c != FConstExact.constEnd())
            v = compilertext::IntegerTextOrFail(FConsts[*c].value);
    }
    if (!v)
        return false;
    value = *v;
    if (value > limit)
        FError = QStringLiteral("errorНеверное значение аргумента - \"") + token + QLatin1Char('"');
    ++FCursor;
    return true;
}

bool TAnalis::ParseInputSet(quint16 &mask) {
    mask = 0;
    if (!ExpectToken(QStringLiteral("[")))
        return false;
    const auto token = [this](int at) { return at < FTokens.size() ? FTokens[at] : kEndToken; };
    const auto number = [&](int &n) {
        const QString t = token(FCursor);
        if (!ParseArgumentNumber(t, 15, n)) {
            FError = QStringLiteral("errorТребуется номер входа, а найдено \"") + t + QLatin1Char('"');
            return false;
        }
        return FError.isEmpty();
    };
    int separators = 0;
    const auto separator = [&] {
        if (++separators >= 16) {
            FError = QStringLiteral("errorСлишком большой список номеров входов");
            return false;
        }
        ++FCursor;
        return true;
    };
    for (;;) {
        int a = 0;
        if (!number(a))
            return false;
        const QString next = token(FCursor);
        if (next == QLatin1String("]")) {
            mask |= quint16(1u << a);
            ++FCursor;
            return true;
        }
        if (next == QLatin1String(",")) {
            mask |= quint16(1u << a);
            if (!separator())
                return false;
            continue;
        }
        if (next == QLatin1String(".") && token(FCursor + 1) == QLatin1String(".")) {
            FCursor += 2;
            int b = 0;
            if (!number(b))
                return false;
            if (b <= a) {
                FError = QStringLiteral("errorНеверно задано множество: \"%1..%2\"").arg(a).arg(b);
                return false;
            }
            for (int n = a; n <= b; ++n)
                mask |= quint16(1u << n);
            const QString after = token(FCursor);
            if (after == QLatin1String("]")) {
                ++FCursor;
                return true;
            }
            if (after == QLatin1String(",") && !separator())
                return false;
            continue; // anything else is read as the next element
        }
        FError = QStringLiteral("errorТребуется \",\" или \"]\", а найдено \"") + next + QLatin1Char('"');
        return false;
    }
}

bool TAnalis::lookUpIRButton(const QString &remote, const QString &button, QString &code) {
    const TDevice *d = currentDevice();
    TIRConfigList *list = FProject ? IRConfigListOf(*FProject) : nullptr;
    TIRConfig *config = d && list ? list->ConfigByName(d->alias) : nullptr;
    if (!config)
        throw TStatementFailure(); // a device without IR configuration
    return config->LookUpButtonCode(remote, button, code);
}

bool TAnalis::ParseArgument(int kinds) {
    FError.clear();
    if (FCursor < 0 || FCursor >= FTokens.size()) {
        FError = QStringLiteral("errorТребуется аргумент, а найдено \";\"");
        return false;
    }
    const QString token = FTokens[FCursor];
    int number = 0;
    if ((kinds & NumberArgument) && ParseArgumentNumber(token, 50, number)) {
        FArgKind = QStringLiteral("00");
        FArgValue = hex(number, 10);
        return FError.isEmpty();
    }
    if (kinds & InputSetArgument) {
        quint16 mask = 0;
        if (!ParseInputSet(mask))
            return false;
        FArgKind = QStringLiteral("16");
        FArgValue = hex(mask, 10);
        return FError.isEmpty();
    }
    if ((kinds & IRButtonArgument) && FCursor + 2 < FTokens.size() && FTokens[FCursor + 1] == QLatin1String(".")) {
        const QString &button = FTokens[FCursor + 2];
        QString code;
        if (!lookUpIRButton(token, button, code)) {
            FError = QStringLiteral("errorКнопка не найдена - \"") + token + QLatin1Char('.') + button + QLatin1Char('"');
            return false;
        }
        FArgKind = QStringLiteral("01");
        FArgValue = code;
        FCursor += 4;
        return true;
    }
    FError = QStringLiteral("errorНеверный аргумент - \"") + token + QLatin1Char('"');
    return false;
}
