#pragma once
// The wait panel window: borderless, on top, a caption over a progress bar,
// centred over the window that started the job.
#include "app/waitpanel.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;

class TWaitPanelF : public QWidget, public TWaitPanel {
    Q_OBJECT
public:
    explicit TWaitPanelF(QWidget *owner = nullptr);
    void setOwner(QWidget *owner) { owner_ = owner; }

protected:
    void shown(const QString &text) override;
    bool moved(int position) override;
    void hidden() override;

private:
    QPointer<QWidget> owner_;
    QLabel *label_;
    QProgressBar *bar_;
};
