#include "layoututils.h"

#include <cmath>

QStringList SplitText(const QString &text, const QString &delimiter) {
    if (delimiter.isEmpty())
        return {text};
    return text.split(delimiter);
}

int PlaceCoordinate(int value, int parentExtent, int current) {
    if (value == 2000 || value >= 5000)
        return current;
    if (value >= 1)
        return int(std::lround(double(parentExtent) * value / 100.0));
    return -value;
}
