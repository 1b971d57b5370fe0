#pragma once
// Small persistent classes for the persistence tests: a list of
// configurations with remotes (as the IR configuration file holds them) and
// a class with one property of every kind.
#include "app/sycollection.h"
#include "app/systringsadapter.h"

class TSampleRemote : public TSyPersistent {
    SY_PERSISTENT_CLASS(TSampleRemote)
public:
    int SysDBType = 0;
    int RemoteID = 0;
};

// Inherits SysDBType and RemoteID and adds one key of its own.
class TSampleLabelledRemote : public TSampleRemote {
    SY_PERSISTENT_CLASS(TSampleLabelledRemote)
public:
    QString Label;
};

class TSampleRemoteList : public TSyCollectionOf<TSampleRemote> {
    SY_PERSISTENT_CLASS(TSampleRemoteList)
};

class TSampleConfig : public TSyPersistent {
    SY_PERSISTENT_CLASS(TSampleConfig)
public:
    QString IRName;
    TSampleRemoteList RemoteList;
};

class TSampleConfigList : public TSyCollectionOf<TSampleConfig> {
    SY_PERSISTENT_CLASS(TSampleConfigList)
};

enum class TSampleShape { Round, Square, Oval };

class TSampleAll : public TSyPersistent {
    SY_PERSISTENT_CLASS(TSampleAll)
public:
    int Number = 0;
    int Colour = 0;
    QString Text;
    bool Flag = false;
    TSampleShape Shape = TSampleShape::Round;
    TSyStringsAdapter Lines;
    std::unique_ptr<TSampleRemote> Optional; // may be absent
};

// A class nobody registers.
class TSampleUnregistered : public TSampleRemote {
    SY_PERSISTENT_CLASS(TSampleUnregistered)
};

// Registers the samples: "Remote", "LabelledRemote", "IRConfig", "RemoteList"
// and "All". Safe to call more than once.
void registerPersistSamples();

// Builds the configuration list of the object-form example: "Kitchen" with
// one remote (type 0, id 3).
void fillKitchenExample(TSampleConfigList &list);
