#include "aliasname.h"

#include "lexis.h"

#include "app/text1251.h"

#include <QRegularExpression>

QString aliasProblem(const QString &alias) { return fileWordProblem(alias, QStringLiteral("Название устройства")); }

QString fileWordProblem(const QString &name, const QString &what) {
    if (name.isEmpty())
        return what + QStringLiteral(" не может быть пустым");
    for (QChar c : name) {
        const bool bad = c.unicode() < 32 || c.unicode() == 127 || lexis::isDelimiter(c) || lexis::isOperator(c) ||
                         c == QLatin1Char('\\') || c == QLatin1Char('|') || c == QLatin1Char('?');
        if (bad) {
            const QString shown = c.unicode() <= 32 ? QStringLiteral("код %1").arg(c.unicode()) : QString(c);
            return QStringLiteral("%1 \"%2\" содержит недопустимый символ (%3)").arg(what, name, shown);
        }
    }
    if (cp1251::firstUnencodable(name) >= 0)
        return QStringLiteral("%1 \"%2\" содержит символ, которого нет в кодировке Windows-1251")
            .arg(what, name);
    static const QRegularExpression reserved(QStringLiteral("^(con|prn|aux|nul|com[1-9]|lpt[1-9])$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (reserved.match(name).hasMatch())
        return QStringLiteral("%1 \"%2\" зарезервировано системой и не может быть именем файла")
            .arg(what, name);
    return QString();
}
