#include "irremote.h"

#include "app/catalogue.h"
#include "project/project.h"

SY_DEFINE_CLASS(TRButton, TSyPersistent,
    syInteger("SysDBType", &TRButton::SysDBType),
    syInteger("RemoteID", &TRButton::RemoteID),
    syText("ButtonName", &TRButton::ButtonName),
    syText("ButtonPrimech", &TRButton::ButtonPrimech),
    syText("Link", &TRButton::Link),
    syInteger("GL", &TRButton::GL))

SY_DEFINE_CLASS(TButtonList, TSyCollection)

SY_DEFINE_CLASS(TRemote, TSyPersistent,
    syInteger("SysDBType", &TRemote::SysDBType),
    syInteger("RemoteID", &TRemote::RemoteID),
    syObject("ButtonList", &TRemote::ButtonList))

SY_DEFINE_CLASS(TRemoteList, TSyCollection)

void TIRContext::markModified() const {
    if (project)
        project->markModified();
}

bool isLinkName(const QString &link) { return !link.isEmpty() && link != noLinkMarker(); }

QString TRemote::RemoteName() const {
    const auto row = context_ && context_->catalogue ? context_->catalogue->RemoteById(RemoteID) : std::nullopt;
    return row ? row->IRName : remoteNotFoundText();
}

TRButton *TRemote::FindButton(const QString &name) const {
    for (int i = 0; i < ButtonList.Count(); ++i)
        if (ButtonList.Item(i)->ButtonName.compare(name, Qt::CaseInsensitive) == 0)
            return ButtonList.Item(i);
    return nullptr;
}

TRButton *TRemote::AddButton(const QString &name, int remoteID, int sysDBType) {
    auto button = std::make_unique<TRButton>();
    button->ButtonName = name;
    button->RemoteID = remoteID;
    button->SysDBType = sysDBType;
    TRButton *added = button.get();
    ButtonList.Add(std::move(button));
    if (context_)
        context_->markModified();
    return added;
}

bool TRemote::RemoveButton(const TRButton *button) {
    const int index = ButtonList.IndexOf(button);
    if (index < 0)
        return false;
    ButtonList.Delete(index);
    return true;
}
