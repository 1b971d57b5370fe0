#pragma once
// The catalogue checks of start-up: the database file must exist and the
// catalogue must connect; the user may pick another database or give up.
// Windows supply the hooks; tests script them.
#include "askuser.h"

#include <functional>

struct CatalogueStartupHooks {
    std::function<bool()> databaseFileExists;
    std::function<bool()> connectCatalogue;
    // Opens the settings window modally on its database page; false when the
    // user closed it with Cancel.
    std::function<bool()> editDatabaseSettings;
    std::function<void()> processEvents = [] {};
};

// Returns true when the catalogue is connected and start-up goes on; false
// when the program must end (the user has been told).
bool RunCatalogueStartup(const CatalogueStartupHooks &hooks, UserDialogs &dialogs);

namespace startupmsg {
inline const QString kAlreadyRunning = QStringLiteral("Приложение уже запущено!");
inline const QString kNoDatabase =
    QStringLiteral("Отсутствует или неверно указан путь к базе данных!\n\rВыберите базу данных!");
inline const QString kEnded = QStringLiteral("Программа завершена.");
inline const QString kConnectFailed = QStringLiteral("Ошибка подключения к базе!\n\rВыбрать другую базу?");
inline const QString kEndedNoDot = QStringLiteral("Программа завершена");
inline const QString kConnectCancelled =
    QStringLiteral("Подключение к базе данных отменено! Программа завершена.");
} // namespace startupmsg
