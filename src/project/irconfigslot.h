#pragma once
// The project's IR configuration list is built by the compiler subsystem,
// which sits above the project; the project holds it through this interface
// and calls it where it reads, saves and deletes devices.
#include <QString>

class TIRConfigListSlot {
public:
    virtual ~TIRConfigListSlot() = default;
    // projectPath is the .lpr file; the list's file is beside it with ".ir".
    virtual bool LoadFromFile(const QString &projectPath) = 0;
    virtual bool SaveToFile(const QString &projectPath) = 0;
    virtual void DeleteConfig(const QString &name) = 0;
    // A renamed device keeps its remotes.
    virtual void RenameConfig(const QString &oldName, const QString &newName) = 0;
};
