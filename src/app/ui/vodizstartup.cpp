#include "vodizstartup.h"

#include "app/singleinstance.h"
#include "app/startupflow.h"
#include "app/ui/mainf.h"
#include "app/ui/optionsf.h"
#include "app/ui/qtuserdialogs.h"
#include "app/ui/waitpanelf.h"

#include <QApplication>
#include <QFile>

TVodizStartup::TVodizStartup(StartupConfig config)
    : config_(std::move(config)), settings_(config_.settings ? *config_.settings : appSettings()) {}

TVodizStartup::~TVodizStartup() {
    setWaitPanel(nullptr);
    if (qtDialogs_ && &userDialogs() == qtDialogs_.get())
        setUserDialogs(nullptr);
}

bool TVodizStartup::start() {
    if (!config_.dialogs) {
        qtDialogs_ = std::make_unique<QtUserDialogs>();
        config_.dialogs = qtDialogs_.get();
    }
    dialogs_ = config_.dialogs;
    setUserDialogs(dialogs_);

    instance_ = std::make_unique<SingleInstance>(config_.lockFile);
    if (!instance_->isFirst()) {
        dialogs_->showMessage(startupmsg::kAlreadyRunning);
        return false;
    }

    QStringList problems;
    settings_.LoadSettings(config_.settingsFile, true, &problems);
    settingsLoaded_ = true;
    if (!problems.isEmpty())
        dialogs_->showMessage(problems.join(QLatin1Char('\n')));
    QApplication::setApplicationDisplayName(applicationTitle());

    main_ = std::make_unique<TMainF>(settings_);
    options_ = std::make_unique<TOptionsF>(settings_, OptionsHooks{}, main_.get());
    wait_ = std::make_unique<TWaitPanelF>(main_.get());
    setWaitPanel(wait_.get());

    CatalogueStartupHooks hooks;
    hooks.databaseFileExists = [this] { return QFile::exists(settings_.DatabaseFile()); };
    hooks.connectCatalogue = [this] { return dm_.ConnectCatalogue(settings_.DatabaseFile()); };
    hooks.editDatabaseSettings = [this] {
        return config_.editDatabase ? config_.editDatabase(*options_) : options_->execOnPage(TOptionsF::DatabasePage);
    };
    hooks.processEvents = [] { QApplication::processEvents(); };
    return RunCatalogueStartup(hooks, *dialogs_);
}

int TVodizStartup::exec() {
    main_->show();
    const int code = QApplication::exec();
    finish();
    return code;
}

bool TVodizStartup::finish() {
    if (!settingsLoaded_)
        return true;
    QString error;
    if (settings_.SaveSettings(&error))
        return true;
    dialogs_->showMessage(error);
    return false;
}
