#pragma once
// The program's settings: one object for the whole run, read from the
// settings file at start and written back at the end, in the ini form with
// the root section "AppSettings". Every number is 0, every text and list
// empty until loaded; the code that uses a key decides what 0 means.
#include "systringsadapter.h"

// Recent files, most recent first, at most four; paths compare without
// regard to letter case.
class TLastProjects : public TSyStringsAdapter {
    SY_PERSISTENT_CLASS(TLastProjects)
public:
    static constexpr int MaxCount = 4;
    void AddRecent(const QString &path);
    void RemoveRecent(const QString &path);
};

class TAdminSettings : public TSyPersistent {
    SY_PERSISTENT_CLASS(TAdminSettings)
public:
    int SystemMode = 0; // 1: the CAN network is emulated (demo)

    // 0 working, 1 debug; reading turns anything else into 0 and keeps it.
    int SystemPRMode() const;
    void SetSystemPRMode(int mode) { FSystemPRMode = mode; }

    bool demoMode() const { return SystemMode == 1; }
    void setDemoMode(bool on) { SystemMode = on ? 1 : 0; }

private:
    mutable int FSystemPRMode = 0;
};

// The main window's placement at the last close.
class TInterfaceSettings : public TSyPersistent {
    SY_PERSISTENT_CLASS(TInterfaceSettings)
public:
    int WindowStatus = 0; // 0 normal, 1 minimised, 2 maximised
    int WindowLeft = 0;
    int WindowTop = 0;
    int WindowWidth = 0;
    int WindowHeight = 0;
    int SystemResizeForm = 0;

    void setResizeForm(bool on) { SystemResizeForm = on ? 1 : 0; }

    // At a close: the state always; the placement only from the normal
    // state, so that a maximised window is restored to its last normal size.
    void StorePlacement(int status, int left, int top, int width, int height);
};

// Where the settings file lives: beside the program when its folder can be
// written, otherwise in the user's configuration folder.
struct TSettingsLocation {
    QString path;
    bool besideProgram = true;
};
TSettingsLocation settingsFileLocation(const QString &programDir);

class TAppSettings : public TSyPersistent {
    SY_PERSISTENT_CLASS(TAppSettings)
public:
    static constexpr const char *RootName = "AppSettings";
    static constexpr const char *FileBaseName = "vodiz.ini";
    static constexpr const char *DatabaseFileName = "database_vk.db";

    TSyStringsAdapter uids; // kept in the file, not otherwise used
    TLastProjects LastPrs;
    int GridColor1 = 0; // in the project, not on the network
    int GridColor2 = 0; // in the project and on the network
    int GridColor3 = 0; // on the network, not in the project
    int GridColor4 = 0; // neither
    QString LastProject;
    int SystemLoadLastProject = 0;
    TAdminSettings AdminSettings;
    TInterfaceSettings InterfaceSettings;
    int SystemCompilerShowWarning = 0;

    // Folder of the catalogue database. Reading resolves the stored value
    // against the program folder and keeps the result, so that the resolved
    // form is what gets saved.
    QString DatabaseDir() const;
    void SetDatabaseDir(const QString &dir) { FDatabaseDir = dir; }
    QString DatabaseFile() const;

    // Index 0..5 of the modem's serial speed; anything else becomes 3.
    int UartSpeed() const { return FUartSpeed; }
    void SetUartSpeed(int index);
    // Seconds of a network auto-detection; 0 becomes 2.
    int AutoDetectTime() const { return FAutoDetectTime; }
    void SetAutoDetectTime(int seconds);
    // 1 project management, 2 development environment; anything else is 1.
    int CurrentMode() const { return FCurrentMode; }
    void SetCurrentMode(int mode);

    bool loadLastProject() const { return SystemLoadLastProject != 0; }
    void setLoadLastProject(bool on) { SystemLoadLastProject = on ? 1 : 0; }
    bool compilerShowWarning() const { return SystemCompilerShowWarning != 0; }
    void setCompilerShowWarning(bool on) { SystemCompilerShowWarning = on ? 1 : 0; }

    // The folder relative database paths are resolved against; by default
    // the folder of the running program.
    QString ProgramDir() const;
    void SetProgramDir(const QString &dir) { FProgramDir = dir; }

    // The file loaded from, and saved to.
    const QString &FileName() const { return FFileName; }

    // Loads fileName (empty: settingsFileLocation() of the program folder).
    // A missing file leaves every key as it is. A value that cannot be
    // converted leaves its key unchanged and adds a message naming the
    // file, line, key and value; loading goes on. writeBack rewrites the
    // file normalised, as the program does at start; the command-line tool
    // passes false and never touches the file. Returns false (with the
    // reason in messages) when the file could not be read or written.
    bool LoadSettings(const QString &fileName, bool writeBack, QStringList *messages = nullptr);
    // Writes every key to FileName() (when nothing was loaded, to the default
    // place); false with the reason in error. Refused when the last load
    // could not read that file, so that settings the user may still repair
    // are not replaced by defaults.
    bool SaveSettings(QString *error = nullptr);

private:
    mutable QString FDatabaseDir;
    int FUartSpeed = 0;
    int FAutoDetectTime = 0;
    int FCurrentMode = 0;
    QString FProgramDir;
    QString FFileName;
    QString FReadError; // the file was there but could not be read
};

// The program-wide settings, reached directly by every window; start-up
// loads them and saves them at the end.
TAppSettings &appSettings();
