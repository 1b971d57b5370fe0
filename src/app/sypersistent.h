#pragma once
// Persistent objects: a class lists the values it keeps in a small property
// table, and the framework saves and loads them through a TSyTreeNode by
// walking that table (inherited properties first, then the class's own).
//
// Declaring a class:
//
//   class TRemote : public TSyPersistent {
//       SY_PERSISTENT_CLASS(TRemote)
//   public:
//       int SysDBType = 0;
//       int RemoteID = 0;
//       TButtonList ButtonList;
//   };
//
//   SY_DEFINE_CLASS(TRemote, TSyPersistent,
//       syInteger("SysDBType", &TRemote::SysDBType),
//       syInteger("RemoteID", &TRemote::RemoteID),
//       syObject("ButtonList", &TRemote::ButtonList))
//
// A key with rules uses a getter and a setter instead of a field:
//   syInteger("UartSpeed", &TAppSettings::UartSpeed, &TAppSettings::SetUartSpeed)
// A sub-object that may be absent is a std::unique_ptr member declared with
// syObjectPtr. Lists of objects derive from TSyCollectionOf<T> (sycollection.h);
// their item classes must be registered by name at start-up
// (RegisterPersistentClass<TRemote>("Remote"), syregistry.h).
#include "syexception.h"
#include "sytreenode.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <type_traits>

class TSyPersistent;
struct TSyClassInfo;

enum class TSyPropKind { Integer, Colour, Text, Bool, Enum, Object };

struct TSyProperty {
    QString name;
    TSyPropKind kind = TSyPropKind::Integer;
    QStringList enumNames; // Enum: the names of the ordinals 0, 1, ...
    // Value kinds: read and write the value (set receives it already
    // converted to the kind: int, QString or bool).
    std::function<QVariant(const TSyPersistent &)> get;
    std::function<void(TSyPersistent &, const QVariant &)> set;
    // Object kind: the declared class, the object held (or null) and, for
    // properties that may hold nothing, a way to replace it (null otherwise).
    const TSyClassInfo &(*objectClass)() = nullptr;
    std::function<TSyPersistent *(const TSyPersistent &)> object;
    std::function<void(TSyPersistent &, std::unique_ptr<TSyPersistent>)> replace;

    bool isObject() const { return kind == TSyPropKind::Object; }
};

// What a class reference is: its name, its base, how to create one with no
// arguments (null for an abstract class) and its own properties.
struct TSyClassInfo {
    QString name;
    const TSyClassInfo *base;
    std::function<TSyPersistent *()> create;
    QList<TSyProperty> ownProperties;

    bool inheritsFrom(const TSyClassInfo &other) const;
    // Inherited properties first, in declaration order.
    QList<const TSyProperty *> properties() const;
    const TSyProperty *findProperty(const QString &name) const; // case-insensitive
};

// Receives a problem found while loading (an unconvertible value, a child
// naming no property, an unknown item class) with the line it came from.
// Without one the problem is thrown and ends the load.
using TSyLoadProblemHandler = std::function<void(const ESyException &problem, int line)>;

class TSyPersistent {
public:
    TSyPersistent() = default;
    virtual ~TSyPersistent() = default;
    TSyPersistent(const TSyPersistent &) = delete;
    TSyPersistent &operator=(const TSyPersistent &) = delete;

    static const TSyClassInfo &staticClassInfo();
    virtual const TSyClassInfo &classInfo() const { return staticClassInfo(); }
    QString ClassName() const { return classInfo().name; }

    void SaveToNode(TSyTreeNode &node) const;
    void LoadFromNode(const TSyTreeNode &node, const TSyLoadProblemHandler &onProblem = {});
    // Copies source, which must be of exactly this class (ESyConvertError).
    void Assign(const TSyPersistent *source);
    bool IsEqual(const TSyPersistent *other) const;

protected:
    // Hooks at the end of a save and of a load.
    virtual void WriteCustom(TSyTreeNode &node) const { Q_UNUSED(node); }
    virtual void ReadCustom(const TSyTreeNode &node, const TSyLoadProblemHandler &onProblem) {
        Q_UNUSED(node);
        Q_UNUSED(onProblem);
    }
    // Runs one step of a load: a problem it throws goes to onProblem (and
    // the load goes on), or, without a handler, ends the load.
    static void loadStep(const TSyLoadProblemHandler &onProblem, int line, const std::function<void()> &step);

private:
    // keepEmpty: keep the nodes of empty sub-objects (for copies).
    void saveTo(TSyTreeNode &node, bool keepEmpty) const;
    void loadChild(const TSyTreeNode &child, const TSyLoadProblemHandler &onProblem);
    void loadParam(const TParamRec &param);
};

// Converts a parameter value to what a property of the given kind holds;
// throws ESyConvertError naming the property and the text.
QVariant syConvertValue(const TSyProperty &property, const QVariant &value);

// Byte image of a tree, used to compare objects; never stored.
QByteArray syNodeBytes(const TSyTreeNode &node);

#define SY_PERSISTENT_CLASS(Cls)                                                                   \
public:                                                                                            \
    static const TSyClassInfo &staticClassInfo();                                                  \
    const TSyClassInfo &classInfo() const override { return staticClassInfo(); }                   \
                                                                                                   \
private:

#define SY_DEFINE_CLASS(Cls, Base, ...)                                                            \
    const TSyClassInfo &Cls::staticClassInfo() {                                                   \
        static const TSyClassInfo info{QStringLiteral(#Cls), &Base::staticClassInfo(),             \
                                       syFactory<Cls>(), {__VA_ARGS__}};                           \
        return info;                                                                               \
    }

template <class T> std::function<TSyPersistent *()> syFactory() {
    if constexpr (std::is_abstract_v<T>)
        return {};
    else
        return [] { return static_cast<TSyPersistent *>(new T); };
}

// ---- Property declarations ------------------------------------------------

namespace sydetail {

template <class T, class V>
TSyProperty field(const char *name, TSyPropKind kind, V T::*member) {
    TSyProperty p;
    p.name = QString::fromLatin1(name);
    p.kind = kind;
    p.get = [member](const TSyPersistent &o) { return QVariant::fromValue(static_cast<const T &>(o).*member); };
    p.set = [member](TSyPersistent &o, const QVariant &v) { static_cast<T &>(o).*member = v.value<V>(); };
    return p;
}

template <class T, class V, class S>
TSyProperty accessors(const char *name, TSyPropKind kind, V (T::*getter)() const, void (T::*setter)(S)) {
    TSyProperty p;
    p.name = QString::fromLatin1(name);
    p.kind = kind;
    p.get = [getter](const TSyPersistent &o) { return QVariant::fromValue((static_cast<const T &>(o).*getter)()); };
    p.set = [setter](TSyPersistent &o, const QVariant &v) {
        (static_cast<T &>(o).*setter)(v.value<std::decay_t<S>>());
    };
    return p;
}

} // namespace sydetail

template <class T> TSyProperty syInteger(const char *name, int T::*member) {
    return sydetail::field(name, TSyPropKind::Integer, member);
}
template <class T> TSyProperty syInteger(const char *name, int (T::*getter)() const, void (T::*setter)(int)) {
    return sydetail::accessors(name, TSyPropKind::Integer, getter, setter);
}
// Colours are integers in the file (an RGB value as the old program stored it).
template <class T> TSyProperty syColour(const char *name, int T::*member) {
    return sydetail::field(name, TSyPropKind::Colour, member);
}
template <class T> TSyProperty syText(const char *name, QString T::*member) {
    return sydetail::field(name, TSyPropKind::Text, member);
}
template <class T>
TSyProperty syText(const char *name, QString (T::*getter)() const, void (T::*setter)(const QString &)) {
    return sydetail::accessors(name, TSyPropKind::Text, getter, setter);
}
template <class T> TSyProperty syBool(const char *name, bool T::*member) {
    return sydetail::field(name, TSyPropKind::Bool, member);
}

// An enumeration kept as its ordinal number.
template <class T, class E> TSyProperty syEnum(const char *name, E T::*member, const QStringList &names) {
    static_assert(std::is_enum_v<E>);
    TSyProperty p;
    p.name = QString::fromLatin1(name);
    p.kind = TSyPropKind::Enum;
    p.enumNames = names;
    p.get = [member](const TSyPersistent &o) { return QVariant(int(static_cast<const T &>(o).*member)); };
    p.set = [member](TSyPersistent &o, const QVariant &v) { static_cast<T &>(o).*member = E(v.toInt()); };
    return p;
}

// A sub-object held by value: it always exists, so a file cannot take it away.
template <class T, class C> TSyProperty syObject(const char *name, C T::*member) {
    static_assert(std::is_base_of_v<TSyPersistent, C>);
    TSyProperty p;
    p.name = QString::fromLatin1(name);
    p.kind = TSyPropKind::Object;
    p.objectClass = &C::staticClassInfo;
    p.object = [member](const TSyPersistent &o) {
        return const_cast<TSyPersistent *>(static_cast<const TSyPersistent *>(&(static_cast<const T &>(o).*member)));
    };
    return p;
}

// A sub-object that may be absent (null).
template <class T, class C> TSyProperty syObjectPtr(const char *name, std::unique_ptr<C> T::*member) {
    static_assert(std::is_base_of_v<TSyPersistent, C>);
    TSyProperty p;
    p.name = QString::fromLatin1(name);
    p.kind = TSyPropKind::Object;
    p.objectClass = &C::staticClassInfo;
    p.object = [member](const TSyPersistent &o) {
        return static_cast<TSyPersistent *>((static_cast<const T &>(o).*member).get());
    };
    p.replace = [member](TSyPersistent &o, std::unique_ptr<TSyPersistent> value) {
        (static_cast<T &>(o).*member).reset(static_cast<C *>(value.release()));
    };
    return p;
}
