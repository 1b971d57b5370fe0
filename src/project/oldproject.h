#pragma once
// Project files of the older format and their conversion into a project of
// the current format in another folder.
#include <QString>

// A file of the older format: some line's first word is "groupcount".
bool IsOldProjectFormat(const QString &path);

// The catalogue number of an older type code "0x" + 4 hex digits of type +
// 2 of variant (given without "0x"); 0 when the type is unknown.
int OldTypeCatalogueNumber(const QString &typeDigits);

// Writes the project newPath of the current format from the older project
// oldPath, with the programs and function files. Messages are shown; on a
// failure what was written so far stays.
bool ConvertOldProject(const QString &oldPath, const QString &newPath);

// The steps before a conversion: a folder holding files is emptied of them
// (sub-folders stay) when the user agrees. false: the user declined, or the
// folder is the older project's own (emptying it would destroy that project),
// or a file could not be removed.
bool PrepareConversionFolder(const QString &oldPath, const QString &newPath);
