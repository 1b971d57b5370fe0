#pragma once
// Default configurations of a device and its timer list operations.
#include "devicerecords.h"

#include "app/cataloguerows.h"

#include <optional>

namespace deviceconfig {

// The X10 bridge keeps named inputs instead of the step parameters.
inline constexpr int X10CatalogueNumber = 1010;
bool isX10(const TDevice &d);
bool isClock(const TDevice &d);

// Inputs as new: the X10 device's three named inputs, or input-count
// plain ones.
void DefaultInputs(TDevice &d);

// From the catalogue row (none: the type is not in the catalogue and every
// count is 0): counts, default inputs, the clock's three timers, the link
// "Reset".
void InitDeviceConfiguration(TDevice &d, const std::optional<DeviceTypeRow> &row);

// The defaults given when the configuration file is missing or unreadable.
void ResetConfiguration(TDevice &d);

// Appends a timer named "Таймер_" + the smallest free number and returns
// its name.
QString AddTimer(TDevice &d);
// Removes the first timer of that name (without regard to letter case);
// false when there is none.
bool DeleteTimer(TDevice &d, const QString &name);
// Whether the timer differs from the state AddTimer gives it.
bool TimerIsConfigured(const TTimerConfig &t);

} // namespace deviceconfig
