#include "listingfiles.h"

#include "compilerlib.h"
#include "lexer.h"

#include "app/text1251.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace listingfiles {
namespace {

// record points at RecordSize zeroed bytes.
void putString(char *record, int offset, int capacity, QStringView text) {
    text = text.left(capacity);
    record[offset] = char(text.size());
    char *out = record + offset + 1;
    for (QChar c : text) {
        // Paths may hold characters the code page lacks; they become "?",
        // the field only names the file in diagnostics.
        *out++ = c.unicode() < 0x80 ? char(c.unicode()) : cp1251::encodeLossy(QString(c)).at(0);
    }
}

QString getString(const QByteArray &record, int offset, int capacity) {
    // A damaged length byte must not read into the next field.
    const int length = qMin(int(uchar(record[offset])), capacity);
    return cp1251::decode(record.mid(offset + 1, length));
}

void putLine(char *record, int offset, qint32 line) { qToLittleEndian<qint32>(line, record + offset); }

void writeRecord(char *record, const TStatementRecord &statement, const QString &text, const QString &shortName) {
    putString(record, PathOffset, TStatementRecord::MaxPathLength, statement.filePath());
    putLine(record, LineOffset, statement.line());
    putString(record, TextOffset, TStatementRecord::MaxTextLength, text);
    putString(record, ShortNameOffset, ShortNameLength, shortName);
    putLine(record, LineCopyOffset, statement.line());
}

// The intermediate files live for one compile run only. They are written
// straight, without the disk sync of the text-file writer (one sync per file
// would take most of the time of a whole building's compile run), and a
// file whose write fails is removed, so none is left half-written.
bool writeScratchFile(const QString &path, const QByteArray &bytes, QString *error) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush()) {
        f.close();
        if (f.error() == QFileDevice::NoError)
            return true;
    }
    if (error)
        *error = QStringLiteral("Не удалось записать файл %1: %2").arg(QDir::toNativeSeparators(path), f.errorString());
    f.close();
    QFile::remove(path);
    return false;
}

} // namespace

QString ListingPath(const QString &programPath) { return programPath + u'c'; }
QString PositionPath(const QString &programPath) { return programPath + u'l'; }

QString ShortFileName(const QString &path) {
    const qsizetype slash = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1).left(ShortNameLength);
}

QByteArray PositionRecord(const TStatementRecord &statement) {
    QByteArray record(RecordSize, '\0');
    writeRecord(record.data(), statement, statement.text(), ShortFileName(statement.filePath()));
    return record;
}

TStatementRecord StatementFromRecord(const QByteArray &record) {
    Q_ASSERT(record.size() >= RecordSize);
    return TStatementRecord(getString(record, PathOffset, TStatementRecord::MaxPathLength),
                            qFromLittleEndian<qint32>(record.constData() + LineOffset),
                            getString(record, TextOffset, TStatementRecord::MaxTextLength));
}

bool WriteListing(const QString &path, const TArrayStringsTable &table, QString *error) {
    QString text;
    for (const TStatementRecord &st : table) {
        text += LowerAscii(st.text());
        text += QLatin1String(";\r\n");
    }
    QByteArray bytes;
    qsizetype bad = -1;
    if (!cp1251::encode(text, bytes, &bad)) {
        if (error)
            *error = cp1251::unencodableMessage(text, bad, QDir::toNativeSeparators(path));
        return false;
    }
    return writeScratchFile(path, bytes, error);
}

bool WritePositionFile(const QString &path, const TArrayStringsTable &table, QString *error) {
    QByteArray bytes(qsizetype(table.size()) * RecordSize, '\0');
    char *record = bytes.data();
    QString source, shortName; // statements come in runs from one file
    for (const TStatementRecord &st : table) {
        if (st.filePath() != source) {
            source = st.filePath();
            shortName = ShortFileName(source);
        }
        writeRecord(record, st, LowerAscii(st.text()), shortName);
        record += RecordSize;
    }
    return writeScratchFile(path, bytes, error);
}

bool ReadPositionFile(const QString &path, TArrayStringsTable &table, QString *error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Не удалось открыть файл %1: %2").arg(QDir::toNativeSeparators(path), f.errorString());
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (bytes.size() % RecordSize != 0) {
        if (error)
            *error = QStringLiteral("Файл %1 повреждён: его размер не кратен %2 байтам")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(RecordSize);
        return false;
    }
    TArrayStringsTable read;
    read.reserve(bytes.size() / RecordSize);
    for (qsizetype at = 0; at < bytes.size(); at += RecordSize)
        read.append(StatementFromRecord(bytes.mid(at, RecordSize)));
    table = read;
    return true;
}

bool ReadPreprocessedProgram(const QString &programPath, TArrayStringsTable &table, QString *error) {
    TArrayStringsTable listed, positions;
    if (!TLexer::ReadStatementTable(ListingPath(programPath), listed, error) ||
        !ReadPositionFile(PositionPath(programPath), positions, error))
        return false;
    if (listed.size() != positions.size()) {
        if (error)
            *error = QStringLiteral("Файлы %1 и %2 не согласованы: %3 и %4 операторов")
                         .arg(QDir::toNativeSeparators(ListingPath(programPath)),
                              QDir::toNativeSeparators(PositionPath(programPath)))
                         .arg(listed.size())
                         .arg(positions.size());
        return false;
    }
    for (qsizetype i = 0; i < listed.size(); ++i) {
        listed[i].setFilePath(positions[i].filePath());
        listed[i].setLine(positions[i].line());
    }
    table = listed;
    return true;
}

} // namespace listingfiles
