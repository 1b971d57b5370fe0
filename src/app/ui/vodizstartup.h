#pragma once
// Start-up and end of the windowed program: single instance, settings,
// windows, catalogue checks, the main window's run, settings saved at the end.
#include "app/appsettings.h"
#include "app/catalogue.h"

#include <QString>
#include <functional>
#include <memory>

class QtUserDialogs;
class SingleInstance;
class TMainF;
class TOptionsF;
class TWaitPanelF;
class UserDialogs;

struct StartupConfig {
    QString settingsFile; // empty: the settings file's default place
    QString lockFile;     // empty: the per-user lock of the program
    UserDialogs *dialogs = nullptr; // empty: dialog boxes
    TAppSettings *settings = nullptr; // empty: the program-wide settings
    // Opens the settings window on its database page; true on OK. Empty:
    // the settings window, modally.
    std::function<bool(TOptionsF &)> editDatabase;
};

class TVodizStartup {
public:
    explicit TVodizStartup(StartupConfig config = {});
    ~TVodizStartup();

    // Runs start-up up to the main window. False when the program ends
    // without one (another copy runs, or the catalogue was given up); the
    // user has been told why.
    bool start();
    // Shows the main window and runs until it closes; then saves settings.
    int exec();
    // Saves the settings (also after a start-up that ended early, unless
    // another copy is running). Returns false when they could not be saved.
    bool finish();

    TAppSettings &settings() { return settings_; }
    TDM &dm() { return dm_; }
    TMainF *mainWindow() const { return main_.get(); }
    TOptionsF *optionsWindow() const { return options_.get(); }

private:
    StartupConfig config_;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<QtUserDialogs> qtDialogs_;
    UserDialogs *dialogs_ = nullptr;
    TAppSettings &settings_;
    TDM dm_;
    std::unique_ptr<TMainF> main_;
    std::unique_ptr<TOptionsF> options_;
    std::unique_ptr<TWaitPanelF> wait_;
    bool settingsLoaded_ = false;
};
