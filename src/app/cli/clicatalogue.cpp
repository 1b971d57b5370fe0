#include "clicatalogue.h"

#include "app/appsettings.h"
#include "app/catalogue.h"
#include "clicommand.h"

#include <QDir>

QString cliCataloguePath() {
    if (!cliGlobals().cataloguePath.isEmpty())
        return cliGlobals().cataloguePath;
    TAppSettings settings;
    settings.SetProgramDir(cliGlobals().programDir);
    QStringList problems;
    settings.LoadSettings(settingsFileLocation(cliGlobals().programDir).path, false, &problems);
    return settings.DatabaseFile();
}

bool cliConnectCatalogue(TDM &dm) {
    const QString path = cliCataloguePath();
    if (dm.ConnectCatalogue(path))
        return true;
    cliErr(QStringLiteral("vodiz-cli: cannot use the catalogue %1: %2").arg(QDir::toNativeSeparators(path), dm.lastError()));
    return false;
}
