#pragma once
// Remotes and buttons of an IR configuration. The catalogue holds the
// remotes and their codes; a configuration keeps only the remote ids, the
// button names and what the user added to a button (note, link).
#include "app/sycollection.h"

class TDM;
class TProject;
class TIRListData;

// What the objects of one configuration list reach outside themselves. The
// list owns it; configurations and remotes point at it (null for objects
// that belong to no list, which then find nothing in the catalogue).
struct TIRContext {
    const TDM *catalogue = nullptr;
    TProject *project = nullptr;
    TIRListData *listData = nullptr;

    void markModified() const;
};

// A link name that names a link: neither empty nor the no-link marker.
bool isLinkName(const QString &link);

class TRButton : public TSyPersistent {
    SY_PERSISTENT_CLASS(TRButton)
public:
    static constexpr quint8 NoSlot = 255;

    // Stored.
    int SysDBType = 0;
    int RemoteID = 0;
    QString ButtonName; // the catalogue "BName"
    QString ButtonPrimech;
    QString Link;
    int GL = 0;

    // Working state of the compiler, set by preparing the button list.
    quint8 ProtocolSlot = NoSlot;
    quint8 SignalSlot = NoSlot;
    bool HasLink = false;
    bool AddedByCompiler = false;
    quint8 PID = 255;
    quint8 Addr = 255;
    quint8 Code = 255;
    quint8 Flags = 0;
    QString Signal; // hexadecimal pairs from the catalogue

    bool IsProtocol() const { return ProtocolSlot != NoSlot; }
    bool IsSignal() const { return SignalSlot != NoSlot; }
};

class TButtonList : public TSyCollectionOf<TRButton> {
    SY_PERSISTENT_CLASS(TButtonList)
};

class TRemote : public TSyPersistent {
    SY_PERSISTENT_CLASS(TRemote)
public:
    int SysDBType = 0;
    int RemoteID = 0; // the catalogue "IRID"
    TButtonList ButtonList;

    // The catalogue "IRName", or "Не найден!!!" when the remote is gone.
    QString RemoteName() const;
    // First button of that name, letter case ignored; null when none.
    TRButton *FindButton(const QString &name) const;
    TRButton *AddButton(const QString &name, int remoteID, int sysDBType);
    // Removes the button (when it is one of this remote's); true when removed.
    bool RemoveButton(const TRButton *button);

    void Attach(const TIRContext *context) { context_ = context; }
    const TIRContext *Context() const { return context_; }

private:
    const TIRContext *context_ = nullptr;
};

class TRemoteList : public TSyCollectionOf<TRemote> {
    SY_PERSISTENT_CLASS(TRemoteList)
};

inline QString remoteNotFoundText() { return QStringLiteral("Не найден!!!"); }
