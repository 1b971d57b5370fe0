#pragma once
// The settings window "Настройки": pages Проект, База данных, Редактор,
// Автодетект, Системные, Отладочные. The modem connection and the main
// window are reached through hooks, so the window also works at start-up,
// before either exists.
#include "app/ui/form1.h"

#include <functional>
#include <optional>

class TAppSettings;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;

struct OptionsHooks {
    // The modem connection's detection time, when a connection exists.
    std::function<std::optional<int>()> detectTime = [] { return std::optional<int>(); };
    std::function<void(int)> setDetectTime = [](int) {};
    std::function<void(bool)> setDemo = [](bool) {};
    std::function<bool()> mainWindowVisible = [] { return false; };
    // Runs after the editor width or the resize option were applied.
    std::function<void()> relayout = [] {};
    // Chooses a folder (SelectFolder); tests replace it.
    std::function<bool(const QString &title, QString &path)> selectFolder;
};

class TOptionsF : public TForm1 {
    Q_OBJECT
public:
    enum Page { ProjectPage, DatabasePage, EditorPage, DetectPage, SystemPage, DebugPage };

    TOptionsF(TAppSettings &settings, OptionsHooks hooks = {}, QWidget *owner = nullptr);

    // Shows the window modally on a page; true when closed with OK.
    bool execOnPage(Page page);

    // The database folder typed or chosen (tests).
    QLineEdit *databaseEdit() const { return EDatabase; }
    void apply();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillFromSettings();
    void showSystemPage();
    void chooseFolder();

    TAppSettings &settings_;
    OptionsHooks hooks_;
    QTabWidget *pages_;
    QCheckBox *CBShowWarnings, *CBBackup, *CBLoadLast, *CBResize;
    QLineEdit *EDatabase;
    QComboBox *CBEditorWidth, *CBDetectTime;
    QRadioButton *RBWorking, *RBDebug, *RBNetWorking, *RBNetDemo;
};
