#include "vkwizardfile.h"

namespace {

const QString objectWord = QStringLiteral("object");
const QString endWord = QStringLiteral("end");

} // namespace

TVKWizardFile::TVKWizardFile(const QString &fileName, const QString &rootName, OpenMode mode)
    : TSyDocument(fileName, rootName) {
    open(mode);
}

QStringList TVKWizardFile::format() const {
    QStringList out;
    writeNode(Root(), 0, out);
    return out;
}

void TVKWizardFile::writeNode(const TSyTreeNode &node, int indent, QStringList &out) {
    const QString pad(indent, QLatin1Char(' '));
    out << pad + objectWord + QLatin1Char(' ') + oneLine(node.Name()) + QLatin1Char(' ');
    const QString inner(indent + 3, QLatin1Char(' '));
    for (int i = 0; i < node.ParamCount(); ++i)
        out << inner + oneLine(node.ParamName(i)) + QStringLiteral(" = ") + oneLine(node.ParamValue(i));
    for (int i = 0; i < node.ChildCount(); ++i)
        writeNode(node.Child(i), indent + 3, out);
    out << pad + endWord;
}

QString TVKWizardFile::parse(const QStringList &lines) {
    TSyTreeNode *current = nullptr; // outside every object
    int depth = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QString line = cleanLine(lines[i]);
        if (line == endWord) {
            // An "end" with nothing open is ignored.
            if (current) {
                current = current->Parent();
                --depth;
            }
            continue;
        }
        if (line.isEmpty())
            continue;
        if (line.startsWith(objectWord)) {
            // Any "object" line outside every object re-opens the root,
            // whatever name it gives.
            if (!current) {
                current = &Root();
                depth = 0;
                if (current->Line() == 0)
                    current->SetLine(lineNo);
                continue;
            }
            if (++depth > MaxDepth)
                return depthError(lineNo);
            current = &current->AddChild(trimBlanks(line.mid(objectWord.size())));
            current->SetLine(lineNo);
            continue;
        }
        if (!current)
            continue;
        QString name, value;
        splitAssignment(line, name, value);
        current->AddParam(name, value, lineNo);
    }
    return {};
}
