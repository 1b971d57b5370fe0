#include "persistsamples.h"

#include "app/syregistry.h"

SY_DEFINE_CLASS(TSampleRemote, TSyPersistent,
    syInteger("SysDBType", &TSampleRemote::SysDBType),
    syInteger("RemoteID", &TSampleRemote::RemoteID))

SY_DEFINE_CLASS(TSampleLabelledRemote, TSampleRemote,
    syText("Label", &TSampleLabelledRemote::Label))

SY_DEFINE_CLASS(TSampleRemoteList, TSyCollection)

SY_DEFINE_CLASS(TSampleConfig, TSyPersistent,
    syText("IRName", &TSampleConfig::IRName),
    syObject("RemoteList", &TSampleConfig::RemoteList))

SY_DEFINE_CLASS(TSampleConfigList, TSyCollection)

SY_DEFINE_CLASS(TSampleAll, TSyPersistent,
    syInteger("Number", &TSampleAll::Number),
    syColour("Colour", &TSampleAll::Colour),
    syText("Text", &TSampleAll::Text),
    syBool("Flag", &TSampleAll::Flag),
    syEnum("Shape", &TSampleAll::Shape, {"Round", "Square", "Oval"}),
    syObject("Lines", &TSampleAll::Lines),
    syObjectPtr("Optional", &TSampleAll::Optional))

SY_DEFINE_CLASS(TSampleUnregistered, TSampleRemote)

void registerPersistSamples() {
    static const bool once = [] {
        RegisterPersistentClass<TSampleRemote>(QStringLiteral("Remote"));
        RegisterPersistentClass<TSampleLabelledRemote>(QStringLiteral("LabelledRemote"));
        RegisterPersistentClass<TSampleConfig>(QStringLiteral("IRConfig"));
        RegisterPersistentClass<TSampleRemoteList>(QStringLiteral("RemoteList"));
        RegisterPersistentClass<TSampleAll>(QStringLiteral("All"));
        return true;
    }();
    Q_UNUSED(once);
}

void fillKitchenExample(TSampleConfigList &list) {
    auto config = std::make_unique<TSampleConfig>();
    config->IRName = QStringLiteral("Kitchen");
    auto remote = std::make_unique<TSampleRemote>();
    remote->RemoteID = 3;
    config->RemoteList.Add(std::move(remote));
    list.Add(std::move(config));
}
