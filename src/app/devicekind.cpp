#include "devicekind.h"

#include <array>

namespace {

struct KindRange {
    int first, last; // catalogue numbers, inclusive
    int kind;
    const char16_t *prefix;
    int picture;
};

// Kind 7 is not used by any device family.
constexpr std::array<KindRange, 10> kRanges{{
    {100, 149, KindDimmer8, u"dim8_", 3},
    {150, 199, KindDimmer4, u"dim4_", 3},
    {300, 399, KindRelay8, u"rel8_", 4},
    {400, 499, KindRelay4, u"rel4_", 4},
    {500, 549, KindInput16, u"inp16_", 1},
    {550, 599, KindInput6, u"inp6_", 5},
    {1010, 1099, KindX10, u"x10_can_", 2},
    {1500, 1599, KindGsm, u"GSM_", NoPicture},
    {2000, 2499, KindClock, u"RTC_", 0},
    {5000, 5000, KindIrTransceiver, u"IR_", NoPicture},
}};

constexpr KindRange kOther{0, -1, KindUnknown, u"Устройство_", NoPicture};

const KindRange &rangeOf(int catNum) {
    for (const KindRange &r : kRanges)
        if (catNum >= r.first && catNum <= r.last)
            return r;
    return kOther;
}

} // namespace

int DeviceKind(int catNum) { return rangeOf(catNum).kind; }

QString AliasPrefix(int catNum) { return QString::fromUtf16(rangeOf(catNum).prefix); }

int PictureIndex(int catNum) { return rangeOf(catNum).picture; }
