#include "form1.h"

#include "app/layoututils.h"

#include <QApplication>

TForm1::TForm1(QWidget *owner) : QDialog(owner ? owner : QApplication::activeWindow()) {}

void PlaceControl(QWidget *control, int left, int top, int height, int width) {
    QWidget *parent = control ? control->parentWidget() : nullptr;
    if (!parent)
        return;
    const QRect client = parent->contentsRect();
    const QRect g = control->geometry();
    control->setGeometry(PlaceCoordinate(left, client.width(), g.x()), PlaceCoordinate(top, client.height(), g.y()),
                         PlaceCoordinate(width, client.width(), g.width()),
                         PlaceCoordinate(height, client.height(), g.height()));
}
