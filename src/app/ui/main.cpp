// vodiz: the main program.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vodiz"));
    QApplication::setApplicationDisplayName(QStringLiteral("VO-diz"));
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("VO-diz"));
    w.show();
    return app.exec();
}
