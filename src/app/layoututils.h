#pragma once
// Small text and layout routines shared by many windows.
#include <QString>
#include <QStringList>

// Pieces of text between occurrences of delimiter; the last piece (possibly
// empty) is always added: "" gives one empty piece, "a," gives "a" and "".
QStringList SplitText(const QString &text, const QString &delimiter);

// One coordinate of the proportional layout: 2000 keeps the current value,
// 1 to 4999 is a percentage of the parent's extent (rounded to the nearest
// pixel), 0 or less is an absolute pixel value equal to its magnitude.
// Values of 5000 and above are not defined by the layout tables and keep
// the current value.
int PlaceCoordinate(int value, int parentExtent, int current);
