#pragma once
// The one open project: its devices, global links and files. Operations
// report success as a Boolean and show their own messages through
// userDialogs(); questions (overwrite a file?) go the same way.
//
// The project does not change the current directory: every file is named
// by the project folder. A window that wants relative names to resolve in
// the project folder sets the current directory itself after opening.
#include "devicerecords.h"
#include "irconfigslot.h"

#include <QString>
#include <QStringList>
#include <memory>

class TDM;
class TGridModel;

class TProject {
public:
    // A new project: no devices, file "project1.lpr", no folder, unsaved.
    // The catalogue may be null (every catalogue number is then unknown).
    explicit TProject(TDM *catalogue = nullptr);
    ~TProject();
    TProject(const TProject &) = delete;
    TProject &operator=(const TProject &) = delete;

    static QString newProjectFileName() { return QStringLiteral("project1.lpr"); }

    // Files. The folder is empty until the project was read or saved.
    QString projectFolder() const { return folder_; }
    QString projectFile() const { return file_; }
    // The save command sets the file chosen for a never-saved project.
    void setProjectFile(const QString &path) { file_ = path; }
    QString outputFile() const { return outputFile_; }
    QString errorFile() const { return errorFile_; }
    QString configurationFile() const;
    QString baseName() const;
    QString programPath(const QString &alias) const;

    // Reading and writing (project file, programs, configuration).
    bool OpenProject(const QString &path);
    // The message the last failed OpenProject showed.
    QString lastError() const { return lastError_; }
    bool SaveProject();
    bool SaveProjectAs(const QString &path);

    // The device list.
    bool AddDevice(const QString &alias, quint32 uid, quint8 hardVer, quint8 softVer, qint32 release, qint32 catNum,
                   quint32 uniqAddr);
    bool DeleteDevice(const QString &alias);
    bool RenameDevice(const QString &oldAlias, const QString &newAlias);
    bool SetModuleLine(const QString &alias);
    void ShowDevicesInGrid(TGridModel &grid) const;

    const TDeviceArray &devices() const { return devices_; }
    TDevice &device(int index) { return devices_[index]; }
    int deviceCount() const { return int(devices_.size()); }
    int deviceIndex(const QString &alias) const; // letter case ignored; -1 when none

    // Lookups. The modem's own UID and address are given by the caller
    // (-1: no modem).
    QString DeviceNameByUid(quint32 uid, qint64 modemUid = -1) const;
    QString DeviceNameByAddress(quint32 address, qint64 modemAddress = -1) const;
    QString LinkAddress(const QString &linkName) const;
    QString CatalogueText(int deviceIndex, const QString &column) const;
    // The input type of the current device's input named by inputCaption
    // (its number from the sixth character on), from the grid's "conf".
    QString InputTypeName(const TGridModel &grid, const QString &inputCaption) const;
    static QString InputTypeName(const QString &conf, int input);

    // Configuration.
    bool ReadConfiguration();
    bool WriteConfiguration();
    void ResetConfiguration();
    void InitDeviceConfiguration(TDevice &d) const;
    void DefaultInputs(TDevice &d) const;
    QString AddTimer();
    bool DeleteTimer(const QString &name);
    bool TimerIsConfigured(int index) const;

    TGlobalLinksArray &globalLinks() { return globalLinks_; }
    const TGlobalLinksArray &globalLinks() const { return globalLinks_; }
    TLocalLinksArray &compiledLinks() { return compiledLinks_; }

    int currentDevice() const { return current_; }
    void setCurrentDevice(int index) { current_ = index; }
    TDevice *currentDeviceRecord();
    QString editedFile() const { return editedFile_; }
    void setEditedFile(const QString &path) { editedFile_ = path; }
    quint8 networkSpeed() const { return speed_; }
    void setNetworkSpeed(quint8 speed);

    bool saved() const { return saved_; }
    void setSaved(bool saved) { saved_ = saved; }
    void markModified() { saved_ = false; }

    // Programs and functions.
    bool WriteProgramSkeleton(TDevice &d);
    QStringList RunlinkCallers(const QString &linkName) const;
    // The editor's text goes to the function file being edited, or else
    // (when there is text) to the current device's program.
    bool SaveEditorText(const QStringList &lines);
    // Creates (or empties) the function file chosenPath + ".pf" with its
    // header; a ".pf" already typed is not doubled. *name gets the function
    // name.
    static bool NewFunctionFile(const QString &chosenPath, QString *name = nullptr);

    // The IR configuration list, filled in by the compiler subsystem.
    TIRConfigListSlot *irConfig() const { return irConfig_.get(); }
    void setIRConfig(std::unique_ptr<TIRConfigListSlot> list) { irConfig_ = std::move(list); }

private:
    bool failOpen(const QString &message);
    void setFilesFrom(const QString &path);
    bool checkBeforeSave();
    bool copyPerProjectFiles(const QString &newPath);
    bool renameProgram(TDevice &d, const QString &oldAlias);

    TDM *catalogue_;
    QString folder_;
    QString file_;
    QString outputFile_;
    QString errorFile_;
    QString lastError_;
    TGlobalLinksArray globalLinks_;
    TLocalLinksArray compiledLinks_;
    TDeviceArray devices_;
    int current_ = -1;
    QString editedFile_;
    quint8 speed_ = 0;
    bool saved_ = false;
    std::unique_ptr<TIRConfigListSlot> irConfig_;
};
