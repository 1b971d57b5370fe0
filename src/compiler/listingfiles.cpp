#include "listingfiles.h"

#include "compilerlib.h"

#include "app/text1251.h"
#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace listingfiles {
namespace {

void putString(QByteArray &record, int offset, int capacity, const QString &text) {
    // Paths may hold characters the code page lacks; they become "?" here,
    // the field only names the file in diagnostics.
    const QByteArray bytes = cp1251::encodeLossy(text.left(capacity));
    record[offset] = char(bytes.size());
    std::copy(bytes.begin(), bytes.end(), record.begin() + offset + 1);
}

QString getString(const QByteArray &record, int offset, int capacity) {
    // A damaged length byte must not read into the next field.
    const int length = qMin(int(uchar(record[offset])), capacity);
    return cp1251::decode(record.mid(offset + 1, length));
}

void putLine(QByteArray &record, int offset, qint32 line) {
    qToLittleEndian<qint32>(line, record.data() + offset);
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
    putString(record, PathOffset, TStatementRecord::MaxPathLength, statement.filePath());
    putLine(record, LineOffset, statement.line());
    putString(record, TextOffset, TStatementRecord::MaxTextLength, statement.text());
    putString(record, ShortNameOffset, ShortNameLength, ShortFileName(statement.filePath()));
    putLine(record, LineCopyOffset, statement.line());
    return record;
}

TStatementRecord StatementFromRecord(const QByteArray &record) {
    Q_ASSERT(record.size() >= RecordSize);
    return TStatementRecord(getString(record, PathOffset, TStatementRecord::MaxPathLength),
                            qFromLittleEndian<qint32>(record.constData() + LineOffset),
                            getString(record, TextOffset, TStatementRecord::MaxTextLength));
}

bool WriteListing(const QString &path, const TArrayStringsTable &table, QString *error) {
    QStringList lines;
    lines.reserve(table.size());
    for (const TStatementRecord &st : table)
        lines.append(LowerAscii(st.text()) + u';');
    return textfile::writeLines(path, lines, error);
}

bool WritePositionFile(const QString &path, const TArrayStringsTable &table, QString *error) {
    QByteArray bytes;
    bytes.reserve(qsizetype(table.size()) * RecordSize);
    for (TStatementRecord st : table) {
        st.setText(LowerAscii(st.text()));
        bytes += PositionRecord(st);
    }
    return textfile::writeBytes(path, bytes, error);
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

} // namespace listingfiles
