#pragma once
// Device program skeletons, function file headers, the program's "module"
// line and the search for runlink calls.
#include "devicerecords.h"

#include <QStringList>

namespace programtemplate {

// "//" and 67 asterisks, above and below the module line.
QString banner();
QString moduleLine(const QString &alias);

// The 36 lines of a new device's program.
QStringList programSkeleton(const QString &alias);

// The one line of a new function file.
QString functionHeader(const QString &name);

// Replaces the first line that begins with "module" (blanks ignored) by the
// module line of alias; false when the program has none.
bool replaceModuleLine(QStringList &lines, const QString &alias);

// Where one program calls link with "runlink": alias + "=" + the name of the
// link whose body holds each call, in line order. A call outside every
// link body adds nothing.
QStringList runlinkCallers(const QString &alias, const QStringList &programLines, const QString &link,
                           const TGlobalLinksArray &globals, const TLocalLinksArray &deviceLinks);

} // namespace programtemplate
