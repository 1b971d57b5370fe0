#include "compilerrecords.h"


namespace compilerrecords {

void AddError(TErrorArray &errors, const QString &kind, qint32 code, const TStatementRecord &at,
              const QString &text) {
    // The whole file name: the 20-character cut belongs to the position file.
    QString file = at.filePath();
    const qsizetype slash = qMax(file.lastIndexOf(u'/'), file.lastIndexOf(u'\\'));
    file = file.mid(slash + 1);
    errors.append({kind, code, file, at.line(), text});
}

QString ErrorFileLine(const TErrorTable &error) {
    return QLatin1Char('[') + error.kind + QStringLiteral("] ") + error.file + QLatin1Char('(') +
           QString::number(error.line) + QStringLiteral("): ") + error.text;
}

bool IsErrorLine(const QString &line) { return line.size() > 1 && line[1].toLower() == u'e'; }
bool IsWarningLine(const QString &line) { return line.size() > 1 && line[1].toLower() == u'w'; }

} // namespace compilerrecords
