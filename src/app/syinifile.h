#pragma once
// The ini form: one "[path]" section per node that has parameters, the path
// being the node's names below the root joined by "\", then "name=value"
// lines and an empty line.
#include "sydocument.h"

class TSyIniFile : public TSyDocument {
public:
    TSyIniFile(const QString &fileName, const QString &rootName, OpenMode mode = ReadExisting);
    QStringList format() const override;

protected:
    QString parse(const QStringList &lines) override;

private:
    static void writeNode(const TSyTreeNode &node, const QString &path, QStringList &out);
};
