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

QString getString(const char *record, int offset, int capacity) {
    // A damaged length byte must not read into the next field.
    const int length = qMin(int(uchar(record[offset])), capacity);
    return cp1251::decode(QByteArray::fromRawData(record + offset + 1, length));
}

// Records are read and written this many at a time: a building's position
// files run to tens of megabytes, which are never held whole.
constexpr qsizetype ChunkRecords = 256;

// Calls take(record) for every record of the file at path.
template <typename Take> bool readRecords(const QString &path, Take take, QString *error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Не удалось открыть файл %1: %2").arg(QDir::toNativeSeparators(path), f.errorString());
        return false;
    }
    if (f.size() % RecordSize != 0) {
        if (error)
            *error = QStringLiteral("Файл %1 повреждён: его размер не кратен %2 байтам")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(RecordSize);
        return false;
    }
    QByteArray chunk(ChunkRecords * RecordSize, Qt::Uninitialized);
    for (;;) {
        const qint64 got = f.read(chunk.data(), chunk.size());
        if (got < 0 || got % RecordSize != 0) {
            if (error)
                *error = QStringLiteral("Не удалось прочитать файл %1: %2")
                             .arg(QDir::toNativeSeparators(path), f.errorString());
            return false;
        }
        if (got == 0)
            return true;
        for (qint64 at = 0; at < got; at += RecordSize)
            take(chunk.constData() + at);
    }
}

// Statements come in runs from one file: a path decoded once serves the run.
class PathCache {
public:
    const QString &path(const char *record) {
        const int length = qMin(int(uchar(record[PathOffset])), TStatementRecord::MaxPathLength);
        const QByteArrayView raw(record + PathOffset + 1, length);
        if (raw != QByteArrayView(raw_)) {
            raw_ = raw.toByteArray();
            path_ = cp1251::decode(raw_);
        }
        return path_;
    }

private:
    QByteArray raw_;
    QString path_;
};

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
class ScratchFile {
public:
    explicit ScratchFile(const QString &path) : file_(path) { ok_ = file_.open(QIODevice::WriteOnly | QIODevice::Truncate); }

    void write(const char *data, qsizetype size) { ok_ = ok_ && file_.write(data, size) == size; }

    bool finish(QString *error) {
        if (ok_ && file_.flush()) {
            file_.close();
            if (file_.error() == QFileDevice::NoError)
                return true;
        }
        if (error)
            *error = QStringLiteral("Не удалось записать файл %1: %2")
                         .arg(QDir::toNativeSeparators(file_.fileName()), file_.errorString());
        file_.close();
        file_.remove();
        return false;
    }

private:
    QFile file_;
    bool ok_ = false;
};

} // namespace

QString ListingPath(const QString &programPath) { return programPath + u'c'; }
QString PositionPath(const QString &programPath) { return programPath + u'l'; }

QString RecordedPath(const QString &path) {
    return cp1251::decode(cp1251::encodeLossy(path.left(TStatementRecord::MaxPathLength)));
}

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
    return TStatementRecord(getString(record.constData(), PathOffset, TStatementRecord::MaxPathLength),
                            qFromLittleEndian<qint32>(record.constData() + LineOffset),
                            getString(record.constData(), TextOffset, TStatementRecord::MaxTextLength));
}

bool WriteListing(const QString &path, const TArrayStringsTable &table, QString *error) {
    qsizetype size = 0;
    for (const TStatementRecord &st : table)
        size += st.text().size() + 3;
    QByteArray bytes(size, Qt::Uninitialized);
    char *out = bytes.data();
    for (qsizetype n = 0; n < table.size(); ++n) {
        const QString text = LowerAscii(table[n].text());
        qsizetype bad = -1;
        if (!cp1251::encodeInto(text, out, &bad)) {
            if (error)
                *error = cp1251::unencodableMessage(text, bad, QDir::toNativeSeparators(path), n + 1);
            return false;
        }
        out += text.size();
        *out++ = ';';
        *out++ = '\r';
        *out++ = '\n';
    }
    ScratchFile file(path);
    file.write(bytes.constData(), bytes.size());
    return file.finish(error);
}

bool WritePositionFile(const QString &path, const TArrayStringsTable &table, QString *error) {
    ScratchFile file(path);
    QByteArray chunk;
    QString source, shortName; // statements come in runs from one file
    for (qsizetype first = 0; first < table.size(); first += ChunkRecords) {
        const qsizetype count = qMin(ChunkRecords, table.size() - first);
        chunk.fill('\0', count * RecordSize);
        char *record = chunk.data();
        for (qsizetype i = first; i < first + count; ++i, record += RecordSize) {
            const TStatementRecord &st = table[i];
            if (st.filePath() != source) {
                source = st.filePath();
                shortName = ShortFileName(source);
            }
            writeRecord(record, st, LowerAscii(st.text()), shortName);
        }
        file.write(chunk.constData(), chunk.size());
    }
    return file.finish(error);
}

bool ReadPositionFile(const QString &path, TArrayStringsTable &table, QString *error) {
    TArrayStringsTable read;
    PathCache paths;
    const bool ok = readRecords(
        path,
        [&](const char *record) {
            read.append(TStatementRecord(paths.path(record), qFromLittleEndian<qint32>(record + LineOffset),
                                         getString(record, TextOffset, TStatementRecord::MaxTextLength)));
        },
        error);
    if (ok)
        table = read;
    return ok;
}

bool ReadPreprocessedProgram(const QString &programPath, TArrayStringsTable &table, QString *error) {
    TArrayStringsTable listed;
    if (!TLexer::ReadStatementTable(ListingPath(programPath), listed, error))
        return false;
    // Only the places are taken from the position records; the texts are
    // the listing's.
    qsizetype count = 0;
    PathCache paths;
    if (!readRecords(
            PositionPath(programPath),
            [&](const char *record) {
                if (count < listed.size()) {
                    listed[count].setFilePath(paths.path(record));
                    listed[count].setLine(qFromLittleEndian<qint32>(record + LineOffset));
                }
                ++count;
            },
            error))
        return false;
    if (listed.size() != count) {
        if (error)
            *error = QStringLiteral("Файлы %1 и %2 не согласованы: %3 и %4 операторов")
                         .arg(QDir::toNativeSeparators(ListingPath(programPath)),
                              QDir::toNativeSeparators(PositionPath(programPath)))
                         .arg(listed.size())
                         .arg(count);
        return false;
    }
    table = listed;
    return true;
}

} // namespace listingfiles
