#include "startupflow.h"

bool RunCatalogueStartup(const CatalogueStartupHooks &hooks, UserDialogs &dialogs) {
    if (!hooks.databaseFileExists()) {
        dialogs.showMessage(startupmsg::kNoDatabase);
        if (!hooks.editDatabaseSettings()) {
            dialogs.showMessage(startupmsg::kEnded);
            return false;
        }
    }
    for (;;) {
        if (hooks.connectCatalogue())
            return true;
        const int answer = dialogs.askUser(QStringLiteral("дн"), startupmsg::kConnectFailed, QString(),
                                           UserDialogs::QuestionIcon);
        if (answer != 0) {
            dialogs.showMessage(startupmsg::kEndedNoDot);
            return false;
        }
        if (!hooks.editDatabaseSettings()) {
            dialogs.showMessage(startupmsg::kConnectCancelled);
            return false;
        }
        hooks.processEvents();
    }
}
