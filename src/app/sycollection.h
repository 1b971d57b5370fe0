#pragma once
// An owning, ordered list of persistent objects. In a file each item is a
// child node named by the registry name of its class.
#include "sypersistent.h"

#include <memory>
#include <vector>

class TSyCollection : public TSyPersistent {
    SY_PERSISTENT_CLASS(TSyCollection)
public:
    // Appends an item (which must derive from ItemClass()); returns its index.
    int Add(std::unique_ptr<TSyPersistent> item);
    TSyPersistent *Item(int index) const;
    int Count() const { return int(items_.size()); }
    void Delete(int index);
    int IndexOf(const TSyPersistent *item) const;
    void Clear() { items_.clear(); }
    void SetCapacity(int capacity) { items_.reserve(size_t(std::max(capacity, 0))); }

    // The class every item derives from. A file that names another class
    // for an item is refused, so typed lists can trust their items.
    virtual const TSyClassInfo &ItemClass() const { return TSyPersistent::staticClassInfo(); }

protected:
    void WriteCustom(TSyTreeNode &node) const override;
    void ReadCustom(const TSyTreeNode &node, const TSyLoadProblemHandler &onProblem) override;

private:
    std::vector<std::unique_ptr<TSyPersistent>> items_;
};

// A collection of T: declare a list class as
//   class TRemoteList : public TSyCollectionOf<TRemote> { SY_PERSISTENT_CLASS(TRemoteList) };
//   SY_DEFINE_CLASS(TRemoteList, TSyCollection)
template <class T> class TSyCollectionOf : public TSyCollection {
public:
    template <class U> int Add(std::unique_ptr<U> item) {
        static_assert(std::is_base_of_v<T, U>, "item of another class");
        return TSyCollection::Add(std::unique_ptr<TSyPersistent>(std::move(item)));
    }
    T *Item(int index) const { return static_cast<T *>(TSyCollection::Item(index)); }
    const TSyClassInfo &ItemClass() const override { return T::staticClassInfo(); }
};
