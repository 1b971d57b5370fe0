#pragma once
// The configuration file (.cfg): the global links and, per device, its
// links, inputs and timers.
#include "devicerecords.h"

#include <QStringList>

namespace configfile {

QStringList configurationLines(const TGlobalLinksArray &globals, const TDeviceArray &devices);

// Reads the file's lines into globals (appended) and the devices, which come
// initialised from the catalogue (their input counts say how many input
// blocks follow). Returns the message of the first error, or empty. On an
// error the devices hold what was read so far; the caller resets them.
QString read(const QStringList &lines, TGlobalLinksArray &globals, TDeviceArray &devices);

// Number and id texts from each global link's position; devices emptied.
void assignGlobalLinkIds(TGlobalLinksArray &globals);

// A date in the shortest decimal form, with the system's decimal separator.
QString dateText(double days);

} // namespace configfile
