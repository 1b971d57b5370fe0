// The settings window: what it stores, when, and what it tells the user.
#include "app/appsettings.h"
#include "app/askuser.h"
#include "app/editorwidth.h"
#include "app/ui/optionsf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {
template <class T> T *byText(QWidget &w, const QString &text) {
    for (T *c : w.findChildren<T *>())
        if (c->text() == text)
            return c;
    return nullptr;
}
} // namespace

class TstOptionsF : public QObject {
    Q_OBJECT
private slots:
    void changedDatabaseTellsAboutRestartOnlyWhileTheMainWindowIsVisible() {
        for (bool mainVisible : {false, true}) {
            TAppSettings settings;
            settings.SetProgramDir(QStringLiteral("/opt/vodiz"));
            ScriptedDialogs dialogs;
            ScopedUserDialogs scope(dialogs);
            OptionsHooks hooks;
            hooks.mainWindowVisible = [&] { return mainVisible; };
            TOptionsF w(settings, hooks);
            w.show();
            QCOMPARE(w.databaseEdit()->text(), QStringLiteral("/opt/vodiz/Database"));
            w.databaseEdit()->setText(QStringLiteral("/srv/catalogue"));
            byText<QPushButton>(w, QStringLiteral("Применить"))->click();
            byText<QPushButton>(w, QStringLiteral("Применить"))->click();
            QCOMPARE(settings.DatabaseDir(), QStringLiteral("/srv/catalogue"));
            QCOMPARE(dialogs.messages.size(), mainVisible ? 1 : 0);
        }
    }

    void demoModeTakesEffectEvenWhenCancelled() {
        TAppSettings settings;
        bool demo = false;
        OptionsHooks hooks;
        hooks.setDemo = [&](bool on) { demo = on; };
        TOptionsF w(settings, hooks);
        QTimer::singleShot(0, [&] {
            byText<QRadioButton>(w, QStringLiteral("Демо"))->click();
            byText<QCheckBox>(w, QStringLiteral("Показывать Warnings при компиляции"))->click();
            byText<QPushButton>(w, QStringLiteral("Отмена"))->click();
        });
        QVERIFY(!w.execOnPage(TOptionsF::SystemPage));
        QVERIFY(demo);
        QCOMPARE(settings.AdminSettings.SystemMode, 1);
        QVERIFY(!settings.compilerShowWarning()); // Cancel stores nothing else
    }

    void okStoresTheOptionsAndDetectionTime() {
        TAppSettings settings;
        int detect = 5;
        OptionsHooks hooks;
        hooks.detectTime = [&] { return std::optional<int>(detect); };
        hooks.setDetectTime = [&](int s) { detect = s; };
        TOptionsF w(settings, hooks);
        QString shown;
        QTimer::singleShot(0, [&] {
            auto *width = w.findChild<QComboBox *>(QStringLiteral("CBEditorWidth"));
            auto *time = w.findChild<QComboBox *>(QStringLiteral("CBDetectTime"));
            shown = time->currentText();
            width->setCurrentText(QStringLiteral("30"));
            time->setCurrentText(QStringLiteral("2"));
            byText<QCheckBox>(w, QStringLiteral("Загружать последний проект при запуске"))->click();
            byText<QPushButton>(w, QStringLiteral("OK"))->click();
        });
        QVERIFY(w.execOnPage(TOptionsF::ProjectPage));
        QCOMPARE(shown, QStringLiteral("5")); // the connection's value
        QCOMPARE(detect, 2);
        QCOMPARE(editorWidthPercent(), 30);
        QVERIFY(settings.loadLastProject());
        QCOMPARE(settings.InterfaceSettings.SystemResizeForm, 1);
    }

    void detectionTimeOutOfTheListPreselectsThree() {
        TAppSettings settings;
        OptionsHooks hooks;
        hooks.detectTime = [] { return std::optional<int>(9); };
        TOptionsF w(settings, hooks);
        w.show();
        QCOMPARE(w.findChild<QComboBox *>(QStringLiteral("CBDetectTime"))->currentText(), QStringLiteral("3"));
    }
};

QTEST_MAIN(TstOptionsF)
#include "tst_optionsf.moc"
