#pragma once
// Rows of the catalogue's standing queries as plain values. Field names are
// the column names (aliases) of the queries, so code reads like the SQL.
#include <QDate>
#include <QString>

class QSqlRecord;

// DQDevices: one catalogue entry with the names of its lookup rows.
struct DeviceTypeRow {
    int cat_num = 0;
    QString name;
    int ins = 0;
    int outs = 0;
    QString Conf_in;  // input configuration (ZinType)
    QString korpus;   // case type (Zkorpus)
    QString pitanie;  // power supply (ZPitanie)
    QString Conf_out; // output configuration (ZOutType)
    QString vktype;   // family type (ZvornakelType)
    int Visible = 0;  // 1: offered for new devices

    static DeviceTypeRow fromRecord(const QSqlRecord &r);
};

// DQTowns. Latitude and longitude are kept as the catalogue's text, which
// the clock window shows and reads as whole degrees.
struct TownRow {
    int nmbr = 0;
    QString town;
    QString wide;
    QString lon;

    static TownRow fromRecord(const QSqlRecord &r);
};

// QRemote.
struct RemoteRow {
    int IRID = 0;
    QString IRName;
    QString IRDescr;

    static RemoteRow fromRecord(const QSqlRecord &r);
};

// QButton and QButtonsAll (PID only in the latter; equal to ProtocolID).
struct IRButtonRow {
    int IRBID = 0;
    int IRID = 0;
    QString BName;
    QString BDescr;
    int ProtocolID = 255;
    int Addr = 0;
    int Code = 0;
    QString Signal;
    QString PName;
    QString PDescr;
    QString RName;
    int PID = 255;

    static IRButtonRow fromRecord(const QSqlRecord &r);
};

// QVornakelZ: every catalogue entry with its family type (empty when the
// family row is missing).
struct VornakelRow {
    int catnum = 0;
    int vktypenmbr = 0;
    QString vktypename;
    QString vktypeDescr;

    static VornakelRow fromRecord(const QSqlRecord &r);
};

// zbuttype: an input (button) type and the code a configuration stores.
struct ButtonTypeRow {
    int nmbr = 0;
    QString name;
    int val = 0;
    QString idname;

    static ButtonTypeRow fromRecord(const QSqlRecord &r);
};

// Holidays.
struct HolidayRow {
    int nmbr = 0;
    QDate date;
    QString Descr;

    static HolidayRow fromRecord(const QSqlRecord &r);
};
