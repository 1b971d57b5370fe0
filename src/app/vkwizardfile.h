#pragma once
// The object form: "object <name> " opens a node, "end" closes it, and
// "name = value" lines in between are its parameters; nested nodes are
// indented by three blanks a level.
#include "sydocument.h"

class TVKWizardFile : public TSyDocument {
public:
    TVKWizardFile(const QString &fileName, const QString &rootName, OpenMode mode = ReadExisting);
    QStringList format() const override;

protected:
    QString parse(const QStringList &lines) override;

private:
    static void writeNode(const TSyTreeNode &node, int indent, QStringList &out);
};
