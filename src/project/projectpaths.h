#pragma once
// File names of a project folder and the file steps its operations share.
#include <QString>

namespace projectpaths {

// path with its extension (from the last "." of the file name) replaced by
// ext, which includes its dot; an empty ext removes the extension.
QString withExtension(const QString &path, const QString &ext);

// name inside folder.
QString inFolder(const QString &folder, const QString &name);

// Both paths name the same existing file or folder.
bool sameFile(const QString &a, const QString &b);

// Copies from to to, replacing to only once the whole copy is written.
bool copyFile(const QString &from, const QString &to, QString *error);

// When target exists, asks whether to overwrite it (Да/Нет); true when it
// does not exist or the user agreed.
bool confirmOverwrite(const QString &target);

// Removes a file that may be missing; false when it exists and stays.
bool removeFile(const QString &path);

} // namespace projectpaths
