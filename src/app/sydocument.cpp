#include "sydocument.h"

#include "textfile.h"

#include <QDir>
#include <QFileInfo>

TSyDocument::TSyDocument(QString fileName, const QString &rootName)
    : fileName_(std::move(fileName)), root_(rootName) {}

void TSyDocument::open(OpenMode mode) {
    if (mode != ReadExisting || !QFileInfo::exists(fileName_))
        return;
    QStringList lines;
    if (!textfile::readLines(fileName_, lines, &loadError_))
        return;
    loadError_ = parse(lines);
}

bool TSyDocument::save(QString *error) const {
    if (!loadError_.isEmpty()) {
        if (error)
            *error = loadError_;
        return false;
    }
    return textfile::writeLines(fileName_, format(), error);
}

QString TSyDocument::trimBlanks(const QString &text) {
    // Blanks and every control character, as the old reader trimmed; a
    // non-breaking space is text and stays.
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

QString TSyDocument::cleanLine(const QString &line) {
    const QString trimmed = trimBlanks(line);
    const qsizetype semicolon = trimmed.indexOf(QLatin1Char(';'));
    return semicolon < 0 ? trimmed : trimmed.left(semicolon);
}

void TSyDocument::splitAssignment(const QString &line, QString &name, QString &value) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    name = eq < 0 ? QString() : trimBlanks(line.left(eq));
    value = eq < 0 ? QString() : trimBlanks(line.mid(eq + 1));
}

QString TSyDocument::oneLine(const QString &text) {
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

QString TSyDocument::depthError(int lineNo) const {
    return QStringLiteral("Файл %1, строка %2: вложенность больше %3 уровней, файл не прочитан до конца.")
        .arg(QDir::toNativeSeparators(fileName_))
        .arg(lineNo)
        .arg(MaxDepth);
}
