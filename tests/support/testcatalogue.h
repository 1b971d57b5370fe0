#pragma once
// Builds a catalogue database for a test: the program's schema file and the
// test's own rows, so tests do not depend on the shipped sample content.
#include <QString>
#include <QStringList>

// Statements of an SQL script: "--" comments removed, split at ';'.
// Good for the schema and test content (no ';' or "--" inside strings).
QStringList sqlStatements(const QString &script);

// Creates path from the schema file (none when empty) and then runs the
// statements.
// Returns false with *error when anything fails.
bool buildTestCatalogue(const QString &path, const QString &schemaFile, const QStringList &statements,
                        QString *error = nullptr);
