#include "sycollection.h"

#include "syregistry.h"

SY_DEFINE_CLASS(TSyCollection, TSyPersistent)

namespace {

[[noreturn]] void classNotFound(const QString &name) {
    throw ESyException(QStringLiteral("Class %1 not found").arg(name));
}

} // namespace

int TSyCollection::Add(std::unique_ptr<TSyPersistent> item) {
    if (!item || !item->classInfo().inheritsFrom(ItemClass()))
        throw ESyConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                                  .arg(item ? item->ClassName() : QStringLiteral("nil"), ItemClass().name));
    items_.push_back(std::move(item));
    return Count() - 1;
}

TSyPersistent *TSyCollection::Item(int index) const {
    if (index < 0 || index >= Count())
        throw ESyException(QStringLiteral("List index out of bounds (%1)").arg(index));
    return items_[size_t(index)].get();
}

void TSyCollection::Delete(int index) {
    Item(index);
    items_.erase(items_.begin() + index);
}

int TSyCollection::IndexOf(const TSyPersistent *item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item)
            return int(i);
    return -1;
}

void TSyCollection::WriteCustom(TSyTreeNode &node) const {
    for (const auto &item : items_) {
        const QString name = TSySystemRegistry::instance().RegisteredName(item->classInfo());
        if (name.isEmpty())
            classNotFound(item->ClassName());
        item->SaveToNode(node.AddChild(name));
    }
}

void TSyCollection::ReadCustom(const TSyTreeNode &node, const TSyLoadProblemHandler &onProblem) {
    Clear();
    SetCapacity(node.ChildCount());
    for (int i = 0; i < node.ChildCount(); ++i) {
        const TSyTreeNode &child = node.Child(i);
        loadStep(onProblem, child.Line(), [&] {
            const TSyClassInfo *cls = TSySystemRegistry::instance().FindClass(child.Name());
            if (!cls || !cls->create || !cls->inheritsFrom(ItemClass()))
                classNotFound(child.Name());
            std::unique_ptr<TSyPersistent> item(cls->create());
            TSyPersistent *loaded = item.get();
            Add(std::move(item));
            loaded->LoadFromNode(child, onProblem);
        });
    }
}
