#include "cataloguerows.h"

#include <QSqlRecord>
#include <QVariant>

namespace {
// NULL reads as 0 or empty text, as a missing lookup value should.
int intOf(const QSqlRecord &r, const char *field) { return r.value(QLatin1String(field)).toInt(); }
QString textOf(const QSqlRecord &r, const char *field) { return r.value(QLatin1String(field)).toString(); }
} // namespace

DeviceTypeRow DeviceTypeRow::fromRecord(const QSqlRecord &r) {
    return {intOf(r, "cat_num"),   textOf(r, "name"),    intOf(r, "ins"),
            intOf(r, "outs"),      textOf(r, "Conf_in"), textOf(r, "korpus"),
            textOf(r, "pitanie"),  textOf(r, "Conf_out"), textOf(r, "vktype"),
            intOf(r, "Visible")};
}

TownRow TownRow::fromRecord(const QSqlRecord &r) {
    return {intOf(r, "nmbr"), textOf(r, "town"), textOf(r, "wide"), textOf(r, "lon")};
}

RemoteRow RemoteRow::fromRecord(const QSqlRecord &r) {
    return {intOf(r, "IRID"), textOf(r, "IRName"), textOf(r, "IRDescr")};
}

IRButtonRow IRButtonRow::fromRecord(const QSqlRecord &r) {
    IRButtonRow b;
    b.IRBID = intOf(r, "IRBID");
    b.IRID = intOf(r, "IRID");
    b.BName = textOf(r, "BName");
    b.BDescr = textOf(r, "BDescr");
    b.ProtocolID = intOf(r, "ProtocolID");
    b.Addr = intOf(r, "Addr");
    b.Code = intOf(r, "Code");
    b.Signal = textOf(r, "Signal");
    b.PName = textOf(r, "PName");
    b.PDescr = textOf(r, "PDescr");
    b.RName = textOf(r, "RName");
    b.PID = r.contains(QStringLiteral("PID")) ? intOf(r, "PID") : b.ProtocolID;
    return b;
}

VornakelRow VornakelRow::fromRecord(const QSqlRecord &r) {
    return {intOf(r, "catnum"), intOf(r, "vktypenmbr"), textOf(r, "vktypename"), textOf(r, "vktypeDescr")};
}

ButtonTypeRow ButtonTypeRow::fromRecord(const QSqlRecord &r) {
    return {intOf(r, "nmbr"), textOf(r, "name"), intOf(r, "val"), textOf(r, "idname")};
}

HolidayRow HolidayRow::fromRecord(const QSqlRecord &r) {
    return {intOf(r, "nmbr"), QDate::fromString(textOf(r, "date").left(10), Qt::ISODate), textOf(r, "Descr")};
}
