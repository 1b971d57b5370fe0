#include "statementtable.h"

TStatementRecord::TStatementRecord(const QString &filePath, qint32 line, const QString &text) : line_(line) {
    setFilePath(filePath);
    setText(text);
}

void TStatementRecord::setFilePath(const QString &filePath) {
    filePath_ = filePath.size() > MaxPathLength ? filePath.left(MaxPathLength) : filePath;
}

void TStatementRecord::setText(const QString &text) {
    text_ = text.size() > MaxTextLength ? text.left(MaxTextLength) : text;
}
