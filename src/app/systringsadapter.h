#pragma once
// An ordered list of strings kept as "item" parameters of its node.
#include "sypersistent.h"

class TSyStringsAdapter : public TSyPersistent {
    SY_PERSISTENT_CLASS(TSyStringsAdapter)
public:
    QStringList Strings;

protected:
    void WriteCustom(TSyTreeNode &node) const override;
    void ReadCustom(const TSyTreeNode &node, const TSyLoadProblemHandler &onProblem) override;
};
