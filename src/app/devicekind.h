#pragma once
// Classification of devices by catalogue number: the kind many parts of the
// program switch on, the alias prefix new devices of the kind get, and the
// picture index of the project grid.
#include <QString>

// Kinds that code tests for by name; the others are plain numbers 1..6.
enum DeviceKindCode {
    KindUnknown = 0,
    KindDimmer8 = 1,
    KindDimmer4 = 2,
    KindRelay8 = 3,
    KindRelay4 = 4,
    KindInput16 = 5,
    KindInput6 = 6,
    KindX10 = 8,
    KindGsm = 9,
    KindClock = 10,
    KindIrTransceiver = 11,
};

// Picture index meaning "no picture".
inline constexpr int NoPicture = 100;

int DeviceKind(int catNum);
QString AliasPrefix(int catNum);
int PictureIndex(int catNum);
