#include "qtuserdialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon boxIcon(int icon) {
    switch (icon) {
    case UserDialogs::WarningIcon: return QMessageBox::Warning;
    case UserDialogs::QuestionIcon: return QMessageBox::Question;
    case UserDialogs::ErrorIcon: return QMessageBox::Critical;
    case UserDialogs::InformationIcon: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

int QtUserDialogs::askUser(const QString &buttons, const QString &text, const QString &title, int icon) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    box.setText(text);
    box.setIcon(boxIcon(icon));
    QList<QAbstractButton *> added;
    for (const QString &caption : askUserButtonCaptions(buttons))
        added << box.addButton(caption, QMessageBox::ActionRole);
    if (!added.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(added.first()));
        box.setEscapeButton(added.last()); // Esc and the close box answer the last button
    }
    QApplication::beep();
    box.exec();
    const int index = int(added.indexOf(box.clickedButton()));
    QApplication::processEvents();
    return index < 0 ? int(added.size()) - 1 : index;
}

void QtUserDialogs::showMessage(const QString &text) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(applicationTitle());
    box.setText(text);
    box.addButton(QMessageBox::Ok);
    box.exec();
}
