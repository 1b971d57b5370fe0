#include "mainf.h"

#include "app/appsettings.h"

#include <QCloseEvent>
#include <QLabel>

TMainF::TMainF(TAppSettings &settings, QWidget *parent) : QMainWindow(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("VO-diz"));
    setMinimumSize(600, 500);
    setCentralWidget(new QLabel);
}

void TMainF::showEvent(QShowEvent *event) {
    if (!placed_) {
        placed_ = true;
        restorePlacement();
    }
    QMainWindow::showEvent(event);
}

void TMainF::closeEvent(QCloseEvent *event) {
    storePlacement();
    QMainWindow::closeEvent(event);
}

void TMainF::restorePlacement() {
    const TInterfaceSettings &s = settings_.InterfaceSettings;
    // A first run stores zeros: the window opens at the corner in its minimum size.
    setGeometry(s.WindowLeft, s.WindowTop, qMax(s.WindowWidth, minimumWidth()), qMax(s.WindowHeight, minimumHeight()));
    if (s.WindowStatus == 2)
        setWindowState(windowState() | Qt::WindowMaximized);
    else if (s.WindowStatus == 1)
        setWindowState(windowState() | Qt::WindowMinimized);
}

void TMainF::storePlacement() {
    const int status = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    const QRect g = geometry();
    settings_.InterfaceSettings.StorePlacement(status, g.left(), g.top(), g.width(), g.height());
}
