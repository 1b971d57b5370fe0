#include "programtemplate.h"

#include "lexis.h"

namespace programtemplate {

QString banner() { return QStringLiteral("//") + QString(67, QLatin1Char('*')); }

QString moduleLine(const QString &alias) { return QStringLiteral("module ") + alias; }

QStringList programSkeleton(const QString &alias) {
    const QString rule = QStringLiteral("//----------------------------------------------------");
    const QString e;
    return {
        banner(), moduleLine(alias), banner(), QStringLiteral("Program;"), e,
        QStringLiteral("// Раздел описания линков"), QStringLiteral("links;"), e, e, QStringLiteral("end;"), e,
        QStringLiteral("// Раздел описания констант"), QStringLiteral("const;"), e, e, QStringLiteral("end;"), e,
        QStringLiteral("// Раздел описания переменных"), QStringLiteral("var;"), e, e, QStringLiteral("end;"), e,
        rule, QStringLiteral("//        РАЗДЕЛ ОПИСАНИЯ ЛИНКОВ ПРОГРАММЫ"), rule, e,
        QStringLiteral("// Линк Reset (выполняется при перезагрузке устройства)"), QStringLiteral("Reset;"), e, e,
        QStringLiteral("end;"), e, e, e, QStringLiteral("Endprogram;"),
    };
}

QString functionHeader(const QString &name) { return QStringLiteral("function ") + name + QStringLiteral("( );"); }

bool replaceModuleLine(QStringList &lines, const QString &alias) {
    for (QString &line : lines) {
        if (lexis::normalizeText(line, true).startsWith(QLatin1String("module"), Qt::CaseInsensitive)) {
            line = moduleLine(alias);
            return true;
        }
    }
    return false;
}

namespace {

QString prepared(const QString &line) { return lexis::prepareSourceLine(lexis::normalizeText(line.toLower())); }

// The name of the link whose header is this prepared line, or empty.
template <typename Links> QString headerOf(const QString &line, const Links &links) {
    for (const auto &l : links)
        if (line.compare(l.name.toLower() + QLatin1Char(';'), Qt::CaseInsensitive) == 0)
            return l.name;
    return QString();
}

} // namespace

QStringList runlinkCallers(const QString &alias, const QStringList &programLines, const QString &link,
                           const TGlobalLinksArray &globals, const TLocalLinksArray &deviceLinks) {
    QStringList found;
    const QString wanted = link.toLower();
    QStringList lines;
    for (const QString &l : programLines)
        lines << prepared(l);
    for (int j = 0; j < lines.size(); ++j) {
        if (!lines[j].contains(QLatin1String("runlink")) || !lines[j].contains(wanted))
            continue;
        // The nearest link header above the call, unless an "end;" comes first.
        for (int k = j - 1; k >= 0; --k) {
            bool added = false;
            for (const QString &name : {headerOf(lines[k], globals), headerOf(lines[k], deviceLinks)}) {
                if (!name.isEmpty()) {
                    found << alias + QLatin1Char('=') + name;
                    added = true;
                }
            }
            if (added || lines[k].contains(QLatin1String("end;")))
                break;
        }
    }
    return found;
}

} // namespace programtemplate
