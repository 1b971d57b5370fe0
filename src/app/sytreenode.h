#pragma once
// A tree of named nodes carrying ordered, named parameters: the middle layer
// between persistent objects and their text files. Names are looked up
// without regard to letter case, the first match wins; duplicates are kept.
#include "syexception.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

// One parameter. The value is text, integer or Boolean; an invalid QVariant
// is "unassigned" and never stored. line: where a reader found it (0: not
// read from a file), so that load problems can point at the line.
struct TParamRec {
    QString name;
    QVariant value;
    int line = 0;
};

// The text form of a parameter value as both file forms write it.
QString syValueText(const QVariant &value);

class TSyTreeNode {
public:
    explicit TSyTreeNode(QString name = {}, TSyTreeNode *parent = nullptr);
    ~TSyTreeNode();
    TSyTreeNode(const TSyTreeNode &) = delete;
    TSyTreeNode &operator=(const TSyTreeNode &) = delete;

    const QString &Name() const { return name_; }
    void SetName(const QString &name) { name_ = name; }
    TSyTreeNode *Parent() const { return parent_; }
    // Line of the file where the node began (0: not read from a file).
    int Line() const { return line_; }
    void SetLine(int line) { line_ = line; }

    int ChildCount() const { return int(children_.size()); }
    TSyTreeNode &Child(int index) const;
    TSyTreeNode &AddChild(const QString &name);
    TSyTreeNode &ChildByName(const QString &name);
    bool HasChild(const QString &name) const { return IndexOfChild(name) >= 0; }
    int IndexOfChild(const QString &name) const;
    void DeleteChild(int index);
    void DeleteChild(const QString &name);
    void DeleteChild(const TSyTreeNode *node);
    void ClearChildren() { children_.clear(); }

    int ParamCount() const { return int(params_.size()); }
    const TParamRec &Param(int index) const;
    QString ParamName(int index) const { return Param(index).name; }
    QVariant ParamValue(int index) const { return Param(index).value; }
    void SetParamValue(int index, const QVariant &value);
    void AddParam(const QString &name, const QVariant &value, int line = 0);
    void SetParam(const QString &name, const QVariant &value);
    QVariant ParamByName(const QString &name) const;
    bool HasParam(const QString &name) const { return IndexOfParam(name) >= 0; }
    int IndexOfParam(const QString &name) const;
    void DeleteParam(int index);
    void DeleteParam(const QString &name);
    void ClearParams() { params_.clear(); }

    void Clear();
    // Replaces this node's parameters and children by copies of other's.
    void Assign(const TSyTreeNode &other);

private:
    QString name_;
    TSyTreeNode *parent_;
    int line_ = 0;
    std::vector<std::unique_ptr<TSyTreeNode>> children_;
    QList<TParamRec> params_;
};
