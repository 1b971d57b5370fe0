#include "waitpanelf.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TWaitPanelF::TWaitPanelF(QWidget *owner)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool), owner_(owner),
      label_(new QLabel(this)), bar_(new QProgressBar(this)) {
    setFixedSize(400, 50);
    label_->setAlignment(Qt::AlignCenter);
    bar_->setRange(0, 100);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(label_);
    layout->addWidget(bar_);
}

void TWaitPanelF::shown(const QString &text) {
    label_->setText(text);
    if (owner_) {
        const QRect client = owner_->geometry();
        move(client.left() + (client.width() - 400) / 2, client.top() + (client.height() - 100) / 2);
    }
    show();
    QApplication::processEvents();
}

bool TWaitPanelF::moved(int position) {
    // A job whose shares overshoot a little stays at the end of the bar.
    bar_->setValue(qBound(bar_->minimum(), position, bar_->maximum()));
    QApplication::processEvents();
    return true;
}

void TWaitPanelF::hidden() {
    hide();
    QApplication::processEvents();
}
