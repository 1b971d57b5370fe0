#pragma once
// Text files of the system: Windows-1251, lines ended by CR LF. Reading
// accepts CR, LF or CR LF. Writing is all or nothing: the new text goes to a
// temporary file beside the target, which replaces the old file only after
// the whole text was written, so a failed save never leaves a broken file.
#include <QString>
#include <QStringList>
#include <functional>

namespace textfile {

// Splits text into lines as a line-oriented reader sees it: a final line
// without an end still counts, an end at the very end adds no empty line.
QStringList splitLines(const QString &text);

bool readText(const QString &path, QString &text, QString *error = nullptr);
bool readLines(const QString &path, QStringList &lines, QString *error = nullptr);

// Each line is written followed by CR LF. Text that Windows-1251 cannot hold
// is refused before anything is written.
bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);
// Writes text as it stands (line ends already in it).
bool writeText(const QString &path, const QString &text, QString *error = nullptr);
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Tests: when set, a write whose target path the hook accepts fails as a
// full disk would, after the temporary file was started.
void setWriteFailureHook(std::function<bool(const QString &path)> hook);

} // namespace textfile
