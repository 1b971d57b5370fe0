#pragma once
// A statement of a program or function file with the place it was read from.
// Tables of statements are what every compiler stage works on.
#include <QList>
#include <QString>

class TStatementRecord {
public:
    // The fixed record keeps at most this many characters of path and text;
    // longer ones are cut, here and in the statement position file alike.
    static constexpr int MaxPathLength = 255;
    static constexpr int MaxTextLength = 255;

    TStatementRecord() = default;
    TStatementRecord(const QString &filePath, qint32 line, const QString &text);

    const QString &filePath() const { return filePath_; }
    // For a program file: the 0-based line of the statement's ";". For a
    // statement of a function file: its index in that file.
    qint32 line() const { return line_; }
    // The statement without its ";".
    const QString &text() const { return text_; }

    void setFilePath(const QString &filePath);
    void setLine(qint32 line) { line_ = line; }
    void setText(const QString &text);

    bool operator==(const TStatementRecord &o) const = default;

private:
    QString filePath_;
    qint32 line_ = 0;
    QString text_;
};

// Ordered statements. Operations that blank entries take the table by
// reference, so the caller's table is the one changed.
using TArrayStringsTable = QList<TStatementRecord>;
