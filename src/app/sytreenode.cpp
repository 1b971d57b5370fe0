#include "sytreenode.h"

namespace {

[[noreturn]] void nodeNotFound(const QString &what) {
    throw ESyException(QStringLiteral("Node \"%1\" is not found").arg(what));
}

[[noreturn]] void paramNotFound(const QString &name) {
    throw ESyException(QStringLiteral("Parameter \"%1\" is not found").arg(name));
}

[[noreturn]] void badIndex(int index) {
    throw ESyException(QStringLiteral("List index out of bounds (%1)").arg(index));
}

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

QString syValueText(const QVariant &value) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

TSyTreeNode::TSyTreeNode(QString name, TSyTreeNode *parent) : name_(std::move(name)), parent_(parent) {}

TSyTreeNode::~TSyTreeNode() {
    // Free deep chains from the bottom up so that a deeply nested tree
    // cannot exhaust the stack through nested destructors.
    while (!children_.empty()) {
        std::unique_ptr<TSyTreeNode> child = std::move(children_.back());
        children_.pop_back();
        while (!child->children_.empty()) {
            children_.push_back(std::move(child->children_.back()));
            child->children_.pop_back();
        }
    }
}

TSyTreeNode &TSyTreeNode::Child(int index) const {
    if (index < 0 || index >= ChildCount())
        badIndex(index);
    return *children_[size_t(index)];
}

TSyTreeNode &TSyTreeNode::AddChild(const QString &name) {
    children_.push_back(std::make_unique<TSyTreeNode>(name, this));
    return *children_.back();
}

TSyTreeNode &TSyTreeNode::ChildByName(const QString &name) {
    const int i = IndexOfChild(name);
    return i >= 0 ? *children_[size_t(i)] : AddChild(name);
}

int TSyTreeNode::IndexOfChild(const QString &name) const {
    for (size_t i = 0; i < children_.size(); ++i)
        if (sameName(children_[i]->name_, name))
            return int(i);
    return -1;
}

void TSyTreeNode::DeleteChild(int index) {
    if (index < 0 || index >= ChildCount())
        badIndex(index);
    children_.erase(children_.begin() + index);
}

void TSyTreeNode::DeleteChild(const QString &name) {
    const int i = IndexOfChild(name);
    if (i < 0)
        nodeNotFound(name);
    DeleteChild(i);
}

void TSyTreeNode::DeleteChild(const TSyTreeNode *node) {
    for (size_t i = 0; i < children_.size(); ++i)
        if (children_[i].get() == node)
            return DeleteChild(int(i));
    nodeNotFound(QStringLiteral("$") + QString::number(quintptr(node), 16).toUpper());
}

const TParamRec &TSyTreeNode::Param(int index) const {
    if (index < 0 || index >= ParamCount())
        badIndex(index);
    return params_[index];
}

void TSyTreeNode::SetParamValue(int index, const QVariant &value) {
    Param(index);
    if (!value.isValid())
        params_.removeAt(index);
    else
        params_[index].value = value;
}

void TSyTreeNode::AddParam(const QString &name, const QVariant &value, int line) {
    if (value.isValid())
        params_.append({name, value, line});
}

void TSyTreeNode::SetParam(const QString &name, const QVariant &value) {
    const int i = IndexOfParam(name);
    if (i >= 0)
        SetParamValue(i, value);
    else
        AddParam(name, value);
}

QVariant TSyTreeNode::ParamByName(const QString &name) const {
    const int i = IndexOfParam(name);
    if (i < 0)
        paramNotFound(name);
    return params_[i].value;
}

int TSyTreeNode::IndexOfParam(const QString &name) const {
    for (int i = 0; i < params_.size(); ++i)
        if (sameName(params_[i].name, name))
            return i;
    return -1;
}

void TSyTreeNode::DeleteParam(int index) {
    Param(index);
    params_.removeAt(index);
}

void TSyTreeNode::DeleteParam(const QString &name) {
    const int i = IndexOfParam(name);
    if (i < 0)
        paramNotFound(name);
    params_.removeAt(i);
}

void TSyTreeNode::Clear() {
    ClearChildren();
    ClearParams();
}

void TSyTreeNode::Assign(const TSyTreeNode &other) {
    if (&other == this)
        return;
    for (const TSyTreeNode *up = other.parent_; up; up = up->parent_)
        if (up == this) { // other would be freed by Clear(): copy it first
            TSyTreeNode copy;
            copy.Assign(other);
            return Assign(copy);
        }
    Clear();
    params_ = other.params_;
    for (const auto &child : other.children_)
        AddChild(child->name_).Assign(*child);
}
