#include "detectcatalogue.h"

#include "app/catalogue.h"

std::optional<QString> TDMDetectCatalogue::deviceName(int catNum) const {
    if (const std::optional<DeviceTypeRow> row = dm_.DeviceByCatNum(catNum))
        return row->name;
    return std::nullopt;
}
