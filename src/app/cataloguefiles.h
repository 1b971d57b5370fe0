#pragma once
// Description, photo and connection diagram of a device type: files named
// by the catalogue number with five digits, in the "Database" folder beside
// the program (Database/catalog_desc/00100.txt and so on).
#include <QString>

QString catalogueFilesDir(const QString &programDir);
QString catalogueDescriptionPath(const QString &programDir, int catNum);
QString cataloguePhotoPath(const QString &programDir, int catNum);
QString catalogueDiagramPath(const QString &programDir, int catNum);

// Placeholder shown when a type has no description.
inline QString noDescriptionText() { return QStringLiteral("Описание отсутствует"); }

// The description text (Windows-1251 file), or the placeholder when the file
// is missing or cannot be read.
QString catalogueDescription(const QString &programDir, int catNum);
