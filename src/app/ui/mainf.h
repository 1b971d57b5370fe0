#pragma once
// The main window frame. For now it holds only its placement, restored from
// the settings when first shown and stored back when it closes.
#include <QMainWindow>

class TAppSettings;

class TMainF : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainF(TAppSettings &settings, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void restorePlacement();
    void storePlacement();

    TAppSettings &settings_;
    bool placed_ = false;
};
