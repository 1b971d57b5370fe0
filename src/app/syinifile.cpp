#include "syinifile.h"

TSyIniFile::TSyIniFile(const QString &fileName, const QString &rootName, OpenMode mode)
    : TSyDocument(fileName, rootName) {
    open(mode);
}

QStringList TSyIniFile::format() const {
    QStringList out;
    writeNode(Root(), oneLine(Root().Name()), out);
    return out;
}

void TSyIniFile::writeNode(const TSyTreeNode &node, const QString &path, QStringList &out) {
    if (node.ParamCount() > 0) {
        out << QStringLiteral("[%1]").arg(path);
        for (int i = 0; i < node.ParamCount(); ++i)
            out << oneLine(node.ParamName(i)) + QLatin1Char('=') + oneLine(node.ParamValue(i));
        out << QString();
    }
    for (int i = 0; i < node.ChildCount(); ++i) {
        const QString name = oneLine(node.Child(i).Name());
        writeNode(node.Child(i), node.Parent() ? path + QLatin1Char('\\') + name : name, out);
    }
}

QString TSyIniFile::parse(const QStringList &lines) {
    TSyTreeNode *current = nullptr; // nothing before the first header
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QString line = cleanLine(lines[i]);
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            // The last character goes whatever it is: "[Sec] ;x" names "Sec]".
            const QString section = line.mid(1, line.size() - 2);
            current = &Root();
            if (section == Root().Name())
                continue;
            const QStringList pieces = section.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
            if (pieces.size() > MaxDepth)
                return depthError(lineNo);
            for (const QString &piece : pieces) {
                const bool isNew = !current->HasChild(piece);
                current = &current->ChildByName(piece);
                if (isNew)
                    current->SetLine(lineNo);
            }
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
