#include "sypersistent.h"

#include <QDataStream>
#include <QIODevice>

namespace {

const QString assignedMark = QStringLiteral("#Assigned");

QString kindName(TSyPropKind kind) {
    switch (kind) {
    case TSyPropKind::Integer: return QStringLiteral("Integer");
    case TSyPropKind::Colour: return QStringLiteral("Colour");
    case TSyPropKind::Text: return QStringLiteral("String");
    case TSyPropKind::Bool: return QStringLiteral("Boolean");
    case TSyPropKind::Enum: return QStringLiteral("Enumeration");
    case TSyPropKind::Object: return QStringLiteral("Object");
    }
    return {};
}

// Decimal with an optional sign, or hexadecimal after "$" or "0x" (read as
// a 32-bit pattern, as colours were written by hand in old files).
bool parseInt(const QString &text, int &out) {
    const QString t = text.trimmed();
    bool ok = false;
    if (t.startsWith(QLatin1Char('$')) || t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = t.mid(t.startsWith(QLatin1Char('$')) ? 1 : 2);
        const qulonglong v = digits.size() <= 8 ? digits.toULongLong(&ok, 16) : 0;
        out = int(quint32(v));
        return ok && !digits.startsWith(QLatin1Char('+')) && !digits.startsWith(QLatin1Char('-'));
    }
    const qlonglong v = t.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    out = int(v);
    return true;
}

bool parseBool(const QString &text, bool &out) {
    const QString t = text.trimmed();
    int n = 0;
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        out = true;
    else if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        out = false;
    else if (parseInt(t, n))
        out = n != 0;
    else
        return false;
    return true;
}

bool parseEnum(const TSyProperty &p, const QVariant &value, int &out) {
    if (value.typeId() == QMetaType::Int)
        out = value.toInt();
    else if (!parseInt(syValueText(value), out)) {
        const QString name = syValueText(value).trimmed();
        for (out = 0; out < p.enumNames.size(); ++out)
            if (p.enumNames[out].compare(name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }
    return out >= 0 && out < p.enumNames.size();
}

void writeNode(QDataStream &out, const TSyTreeNode &node) {
    out << node.Name() << qint32(node.ParamCount());
    for (int i = 0; i < node.ParamCount(); ++i)
        out << node.ParamName(i) << node.ParamValue(i);
    out << qint32(node.ChildCount());
    for (int i = 0; i < node.ChildCount(); ++i)
        writeNode(out, node.Child(i));
}

} // namespace

// ---- Class information ------------------------------------------------------

bool TSyClassInfo::inheritsFrom(const TSyClassInfo &other) const {
    for (const TSyClassInfo *c = this; c; c = c->base)
        if (c == &other)
            return true;
    return false;
}

QList<const TSyProperty *> TSyClassInfo::properties() const {
    QList<const TSyProperty *> all = base ? base->properties() : QList<const TSyProperty *>{};
    for (const TSyProperty &p : ownProperties)
        all << &p;
    return all;
}

const TSyProperty *TSyClassInfo::findProperty(const QString &name) const {
    // The most derived declaration wins, as an override would.
    for (const TSyClassInfo *c = this; c; c = c->base)
        for (const TSyProperty &p : c->ownProperties)
            if (p.name.compare(name, Qt::CaseInsensitive) == 0)
                return &p;
    return nullptr;
}

// ---- Conversion ---------------------------------------------------------------

QVariant syConvertValue(const TSyProperty &property, const QVariant &value) {
    const QString text = syValueText(value);
    auto fail = [&]() -> QVariant {
        throw ESyConvertError(QStringLiteral("Cannot convert \"%1\" to %2 for property %3")
                                  .arg(text, kindName(property.kind), property.name),
                              property.name, text);
    };
    int n = 0;
    bool b = false;
    switch (property.kind) {
    case TSyPropKind::Integer:
    case TSyPropKind::Colour:
        if (value.typeId() == QMetaType::Int)
            return value;
        if (value.typeId() == QMetaType::Bool)
            return int(value.toBool());
        return parseInt(text, n) ? QVariant(n) : fail();
    case TSyPropKind::Text:
        return text;
    case TSyPropKind::Bool:
        if (value.typeId() == QMetaType::Bool)
            return value;
        return parseBool(text, b) ? QVariant(b) : fail();
    case TSyPropKind::Enum:
        return parseEnum(property, value, n) ? QVariant(n) : fail();
    case TSyPropKind::Object:
        break;
    }
    return fail();
}

QByteArray syNodeBytes(const TSyTreeNode &node) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    writeNode(out, node);
    return bytes;
}

// ---- TSyPersistent --------------------------------------------------------------

const TSyClassInfo &TSyPersistent::staticClassInfo() {
    static const TSyClassInfo info{QStringLiteral("TSyPersistent"), nullptr, {}, {}};
    return info;
}

void TSyPersistent::SaveToNode(TSyTreeNode &node) const { saveTo(node, false); }

void TSyPersistent::saveTo(TSyTreeNode &node, bool keepEmpty) const {
    node.Clear();
    for (const TSyProperty *p : classInfo().properties()) {
        if (!p->isObject()) {
            node.SetParam(p->name, p->get(*this));
            continue;
        }
        TSyTreeNode &child = node.AddChild(p->name);
        const TSyPersistent *sub = p->object(*this);
        if (!sub) {
            child.AddParam(assignedMark, false);
            continue;
        }
        sub->saveTo(child, keepEmpty);
        if (!keepEmpty && child.ParamCount() == 0 && child.ChildCount() == 0)
            node.DeleteChild(&child);
    }
    WriteCustom(node);
}

void TSyPersistent::LoadFromNode(const TSyTreeNode &node, const TSyLoadProblemHandler &onProblem) {
    for (int i = 0; i < node.ChildCount(); ++i) {
        const TSyTreeNode &child = node.Child(i);
        loadStep(onProblem, child.Line(), [&] { loadChild(child, onProblem); });
    }
    for (int i = 0; i < node.ParamCount(); ++i) {
        const TParamRec &param = node.Param(i);
        loadStep(onProblem, param.line, [&] { loadParam(param); });
    }
    ReadCustom(node, onProblem);
}

void TSyPersistent::loadStep(const TSyLoadProblemHandler &onProblem, int line, const std::function<void()> &step) {
    if (!onProblem)
        return step();
    try {
        step();
    } catch (const ESyException &e) {
        onProblem(e, line);
    }
}

void TSyPersistent::loadChild(const TSyTreeNode &child, const TSyLoadProblemHandler &onProblem) {
    const TSyProperty *p = classInfo().findProperty(child.Name());
    const bool markedEmpty = child.HasParam(assignedMark);
    if (!markedEmpty && !(p && p->isObject()))
        return;
    if (markedEmpty) {
        if (!p)
            throw ESyException(QStringLiteral("Property %1 does not exist").arg(child.Name()));
        // A value key cannot hold "nothing", and a sub-object held by value
        // always exists: the mark is ignored for both.
        if (p->isObject() && p->replace)
            p->replace(*this, nullptr);
        return;
    }
    if (!p->object(*this)) {
        const TSyClassInfo &declared = p->objectClass();
        if (!declared.create || !p->replace)
            return;
        p->replace(*this, std::unique_ptr<TSyPersistent>(declared.create()));
    }
    p->object(*this)->LoadFromNode(child, onProblem);
}

void TSyPersistent::loadParam(const TParamRec &param) {
    const TSyProperty *p = classInfo().findProperty(param.name);
    if (p && !p->isObject())
        p->set(*this, syConvertValue(*p, param.value));
}

void TSyPersistent::Assign(const TSyPersistent *source) {
    if (!source || &source->classInfo() != &classInfo())
        throw ESyConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                                  .arg(source ? source->ClassName() : QStringLiteral("nil"), ClassName()));
    if (source == this)
        return;
    // Empty sub-objects are kept in the copy's tree so that an empty list in
    // the source empties the target's list too.
    TSyTreeNode temp(ClassName());
    source->saveTo(temp, true);
    LoadFromNode(temp);
}

bool TSyPersistent::IsEqual(const TSyPersistent *other) const {
    if (!other || &other->classInfo() != &classInfo())
        return false;
    TSyTreeNode mine(ClassName()), theirs(ClassName());
    saveTo(mine, true);
    other->saveTo(theirs, true);
    return syNodeBytes(mine) == syNodeBytes(theirs);
}
