#pragma once
// Base of the program's dialog windows: owned by whichever window is active
// when the dialog is created, so it stays in front of the window that
// opened it.
#include <QDialog>

class TForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TForm1(QWidget *owner = nullptr);
};

// Proportional placement of a control in its parent's client area (see
// PlaceCoordinate for how each value is read). Nothing happens without a parent.
void PlaceControl(QWidget *control, int left, int top, int height, int width);
