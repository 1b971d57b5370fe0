#include "systringsadapter.h"

SY_DEFINE_CLASS(TSyStringsAdapter, TSyPersistent)

namespace {
const QString itemName = QStringLiteral("item");
}

void TSyStringsAdapter::WriteCustom(TSyTreeNode &node) const {
    for (const QString &s : Strings)
        node.AddParam(itemName, s);
}

void TSyStringsAdapter::ReadCustom(const TSyTreeNode &node, const TSyLoadProblemHandler &onProblem) {
    Q_UNUSED(onProblem);
    Strings.clear();
    // Exact name: "Item" or "ITEM" lines are not list entries.
    for (int i = 0; i < node.ParamCount(); ++i)
        if (node.ParamName(i) == itemName)
            Strings << syValueText(node.ParamValue(i));
}
