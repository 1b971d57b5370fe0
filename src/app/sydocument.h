#pragma once
// A text file that holds one tree of nodes. The file is read when the
// document is made (when it exists) and written by save(): the whole tree,
// normalised, replacing the file only once all of it is written.
#include "sytreenode.h"

#include <QStringList>

class TSyDocument {
public:
    // ReadExisting: load the file when it exists. Replace: start empty (for
    // a document whose tree is about to be rebuilt from an object).
    enum OpenMode { ReadExisting, Replace };

    virtual ~TSyDocument() = default;
    TSyDocument(const TSyDocument &) = delete;
    TSyDocument &operator=(const TSyDocument &) = delete;

    const QString &FileName() const { return fileName_; }
    TSyTreeNode &Root() { return root_; }
    const TSyTreeNode &Root() const { return root_; }

    // Set when the file existed but could not be read (or was too deeply
    // nested to hold a tree); the root holds what was read before.
    const QString &LoadError() const { return loadError_; }

    // Writes the tree. Refused after a failed load, so that an unreadable
    // file is never replaced by an empty or partial one.
    bool save(QString *error = nullptr) const;

    // The lines save() writes.
    virtual QStringList format() const = 0;

    // Deepest nesting a reader accepts; real files nest a handful of levels.
    static constexpr int MaxDepth = 1000;

protected:
    TSyDocument(QString fileName, const QString &rootName);
    // Called by the concrete constructors (the parser is theirs).
    void open(OpenMode mode);
    // Fills the root from the lines; returns an error text, empty when fine.
    virtual QString parse(const QStringList &lines) = 0;

    // Trims blanks and control characters, then cuts a ";" comment.
    static QString cleanLine(const QString &line);
    static QString trimBlanks(const QString &text);
    // "name = value" at the first "=": both sides trimmed; no "=": both empty.
    static void splitAssignment(const QString &line, QString &name, QString &value);
    QString depthError(int lineNo) const;
    // A name or value as one line of the file: a line break inside it would
    // split the entry and shift everything after it, so it becomes a blank.
    static QString oneLine(const QString &text);
    static QString oneLine(const QVariant &value) { return oneLine(syValueText(value)); }

private:
    QString fileName_;
    TSyTreeNode root_;
    QString loadError_;
};
