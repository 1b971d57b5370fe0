#pragma once
// Windows-1251, the single-byte Cyrillic code page of every text file the
// system reads and writes. Conversion happens only at the file boundary.
#include <QByteArray>
#include <QString>

namespace cp1251 {

// Every byte maps to one character (0x98, unassigned, maps to U+0098 so that
// any file read can be written back unchanged).
QString decode(const QByteArray &bytes);

// Index of the first character that has no Windows-1251 byte, or -1.
qsizetype firstUnencodable(const QString &text);

// Encodes text; returns false (and leaves out untouched) when a character
// cannot be represented, with its index in *badIndex.
bool encode(const QString &text, QByteArray &out, qsizetype *badIndex = nullptr);
// The same into out, which has room for text.size() bytes; nothing is
// promised about out when a character cannot be represented.
bool encodeInto(QStringView text, char *out, qsizetype *badIndex = nullptr);

// Encodes text known to be representable (programmer's promise); characters
// that are not become '?'. Use encode() for anything a user typed.
QByteArray encodeLossy(const QString &text);

// Message for a character that cannot be stored: names it and its place.
// text begins on line firstLine of its file.
QString unencodableMessage(const QString &text, qsizetype index, const QString &where, qsizetype firstLine = 1);

} // namespace cp1251
