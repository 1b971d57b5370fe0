// vodiz: the windowed program.
#include "app/ui/mainf.h"
#include "app/ui/vodizstartup.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vodiz"));

    // --screenshot FILE: start, draw the main window into FILE and end
    // (used where there is no display).
    const QStringList args = app.arguments();
    const qsizetype shot = args.indexOf(QStringLiteral("--screenshot"));
    const QString screenshot = shot > 0 ? args.value(shot + 1) : QString();

    TVodizStartup startup;
    if (!startup.start()) {
        startup.finish();
        return 0;
    }
    if (!screenshot.isEmpty())
        QTimer::singleShot(200, [&] {
            startup.mainWindow()->grab().save(screenshot);
            startup.mainWindow()->close();
        });
    return startup.exec();
}
