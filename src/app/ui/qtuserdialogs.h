#pragma once
// Questions and messages as modal dialogs of the windowed program.
#include "app/askuser.h"

class QWidget;

class QtUserDialogs : public UserDialogs {
public:
    int askUser(const QString &buttons, const QString &text, const QString &title, int icon) override;
    void showMessage(const QString &text) override;
};
