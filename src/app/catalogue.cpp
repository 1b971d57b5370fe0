#include "catalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <algorithm>
#include <array>

namespace {

// Tables and columns the program reads; a catalogue without any of them
// is refused at connection rather than failing later in some window.
struct TableColumns {
    const char *table;
    std::initializer_list<const char *> columns;
};
const std::array<TableColumns, 13> kSchema{{
    {"Devvornakel", {"cat_num", "name", "ins", "outs", "intypeid", "pitanieid", "korpusid", "outtypeID", "typeID",
                     "Visible"}},
    {"ZinType", {"nmbr", "name"}},
    {"Zkorpus", {"nmbr", "name"}},
    {"ZPitanie", {"nmbr", "name"}},
    {"ZOutType", {"nmbr", "name"}},
    {"ZvornakelType", {"nmbr", "name"}},
    {"zbuttype", {"nmbr", "name", "val", "idname"}},
    {"butinConnection", {"zbutid", "zinid"}},
    {"towns", {"nmbr", "town", "wide", "lon"}},
    {"Holidays", {"nmbr", "date", "Descr"}},
    {"IRRemote", {"IRRemoteID", "Name", "Descr"}},
    {"IRRemoteButton", {"IRRemoteButtonID", "IRRemoteID", "Name", "Descr", "ProtocolID", "Addr", "Code", "Signal"}},
    {"IRProtocolZ", {"ProtocolID", "Name", "Descr"}},
}};

const char *const kDevicesSql = R"(
select d.cat_num as cat_num, d.name as name, d.ins as ins, d.outs as outs,
       zi.name as Conf_in, zk.name as korpus, zp.name as pitanie,
       zo.name as Conf_out, zt.name as vktype, d.Visible as Visible
from Devvornakel d
     join ZinType zi on d.intypeid = zi.nmbr
     join ZPitanie zp on d.pitanieid = zp.nmbr
     join Zkorpus zk on d.korpusid = zk.nmbr
     join ZOutType zo on d.outtypeID = zo.nmbr
     join ZvornakelType zt on d.typeID = zt.nmbr
order by d.cat_num, d.name)";

const char *const kTownsSql = "select * from towns order by 2";

const char *const kRemotesSql = R"(
select IR.IRRemoteID as IRID, IR.Name as IRName, IR.Descr as IRDescr
from IRRemote IR
order by IR.IRRemoteID)";

// Buttons join their protocol: a button whose protocol is not in
// IRProtocolZ is not listed (255, "no protocol", has a row of its own).
const char *const kButtonsSql = R"(
select IRB.IRRemoteButtonID as IRBID, IRB.IRRemoteID as IRID,
       IRB.Name as BName, IRB.Descr as BDescr, IRB.ProtocolID as ProtocolID,
       IRB.Addr as Addr, IRB.Code as Code, IRB.Signal as Signal,
       P.Name as PName, P.Descr as PDescr, R.Name as RName%1
from IRRemoteButton IRB
     join IRRemote R on IRB.IRRemoteID = R.IRRemoteID
     join IRProtocolZ P on IRB.ProtocolID = P.ProtocolID
%2
order by IRB.IRRemoteID, IRB.IRRemoteButtonID)";

const char *const kVornakelSql = R"(
select vk.cat_num as catnum, vk.typeID as vktypenmbr,
       vktype.name as vktypename, vktype.name as vktypeDescr
from Devvornakel vk
     left join ZvornakelType vktype on vk.typeID = vktype.nmbr
order by vk.cat_num)";

QString sqlOf(CatalogueQuery query) {
    switch (query) {
    case CatalogueQuery::DQDevices:
        return QString::fromLatin1(kDevicesSql);
    case CatalogueQuery::DQTowns:
        return QString::fromLatin1(kTownsSql);
    case CatalogueQuery::QRemote:
        return QString::fromLatin1(kRemotesSql);
    case CatalogueQuery::QButton:
        return QString::fromLatin1(kButtonsSql).arg(QString(), QStringLiteral("where IRB.IRRemoteID = :IRID"));
    case CatalogueQuery::QButtonsAll:
        return QString::fromLatin1(kButtonsSql).arg(QStringLiteral(", P.ProtocolID as PID"), QString());
    case CatalogueQuery::QVornakelZ:
        return QString::fromLatin1(kVornakelSql);
    }
    return {};
}

// SQLite URI that opens an existing file for reading and writing but never
// creates one (a plain file name would make an empty database). The
// authority stays empty, so drive letters and network shares work too:
// file:///C:/x.db, file:////server/share/x.db.
QString openExistingUri(const QString &absolutePath) {
    QString path = QDir::fromNativeSeparators(absolutePath);
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    return QStringLiteral("file://") + QString::fromLatin1(QUrl::toPercentEncoding(path, "/:")) +
           QStringLiteral("?mode=rw");
}

int nextConnectionNumber() {
    static int n = 0;
    return ++n;
}

template <typename Row> QList<Row> rowsOf(const QList<QSqlRecord> &records) {
    QList<Row> rows;
    rows.reserve(records.size());
    for (const QSqlRecord &r : records)
        rows.append(Row::fromRecord(r));
    return rows;
}

template <typename Row, typename Pred> std::optional<Row> findRow(const QList<Row> &rows, Pred pred) {
    for (const Row &r : rows)
        if (pred(r))
            return r;
    return std::nullopt;
}

} // namespace

TDM::TDM(QObject *parent)
    : QObject(parent), connectionName_(QStringLiteral("vodiz-catalogue-%1").arg(nextConnectionNumber())) {}

TDM::~TDM() { closeConnection(); }

void TDM::closeConnection() {
    connected_ = false;
    devices_.clear();
    towns_.clear();
    vornakel_.clear();
    if (!QSqlDatabase::contains(connectionName_))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

bool TDM::fail(const QString &message) {
    lastError_ = message;
    closeConnection();
    return false;
}

bool TDM::ConnectCatalogue(const QString &databaseFile) {
    closeConnection();
    lastError_.clear();
    databaseFile_ = databaseFile;
    const QFileInfo info(databaseFile);
    if (databaseFile.isEmpty() || !info.exists())
        return fail(QStringLiteral("catalogue file not found: %1").arg(databaseFile));
    if (!info.isFile())
        return fail(QStringLiteral("catalogue is not a file: %1").arg(databaseFile));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return fail(QStringLiteral("the SQLite database driver is not available"));

    if (!openConnection(info.absoluteFilePath()))
        return fail(QStringLiteral("cannot open the catalogue %1: %2").arg(databaseFile, lastError_));
    if (!checkSchema() || !loadStandingQueries())
        return fail(QStringLiteral("%1: %2").arg(databaseFile, lastError_));
    connected_ = true;
    return true;
}

bool TDM::openConnection(const QString &absolutePath) {
    // The handle is released before returning, so that a failure can remove
    // the connection without it still being in use.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db.setDatabaseName(openExistingUri(absolutePath));
    // Other programs may use the file at the same time: wait for their
    // writes instead of failing at once.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"));
    if (db.open())
        return true;
    lastError_ = db.lastError().text();
    return false;
}

bool TDM::checkSchema() {
    // Reading the table list is the first real access: a file that is not
    // SQLite fails here.
    QList<QSqlRecord> tables;
    if (!Exec(QStringLiteral("select name from sqlite_master where type = 'table'"), {}, &tables))
        return false;
    const QSqlDatabase db = database();
    for (const TableColumns &t : kSchema) {
        const QString table = QString::fromLatin1(t.table);
        const bool present = std::any_of(tables.cbegin(), tables.cend(), [&](const QSqlRecord &r) {
            return r.value(0).toString().compare(table, Qt::CaseInsensitive) == 0;
        });
        if (!present) {
            lastError_ = QStringLiteral("not a catalogue: table %1 is missing").arg(table);
            return false;
        }
        const QSqlRecord columns = db.record(table);
        for (const char *c : t.columns)
            if (!columns.contains(QString::fromLatin1(c))) {
                lastError_ = QStringLiteral("not a catalogue: table %1 has no column %2").arg(table, QLatin1String(c));
                return false;
            }
    }
    return true;
}

bool TDM::loadStandingQueries() {
    bool ok = false;
    devices_ = rowsOf<DeviceTypeRow>(Records(CatalogueQuery::DQDevices, 0, &ok));
    if (!ok)
        return false;
    towns_ = rowsOf<TownRow>(Records(CatalogueQuery::DQTowns, 0, &ok));
    if (!ok)
        return false;
    // The IR queries are read on demand; running them once here finds a
    // broken directory at connection, as the other queries are.
    for (CatalogueQuery q : {CatalogueQuery::QRemote, CatalogueQuery::QButton, CatalogueQuery::QButtonsAll}) {
        Records(q, 0, &ok);
        if (!ok)
            return false;
    }
    vornakel_ = rowsOf<VornakelRow>(Records(CatalogueQuery::QVornakelZ, 0, &ok));
    return ok;
}

QSqlDatabase TDM::database() const { return QSqlDatabase::database(connectionName_, false); }

bool TDM::Exec(const QString &sql, const QVariantList &values, QList<QSqlRecord> *rows) const {
    if (rows)
        rows->clear();
    const QSqlDatabase db = database();
    if (!db.isOpen()) {
        lastError_ = QStringLiteral("the catalogue is not connected");
        return false;
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        lastError_ = query.lastError().text();
        return false;
    }
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (!query.exec()) {
        lastError_ = query.lastError().text();
        return false;
    }
    while (rows && query.next())
        rows->append(query.record());
    if (rows && query.lastError().isValid()) {
        lastError_ = query.lastError().text();
        rows->clear();
        return false;
    }
    lastError_.clear();
    return true;
}

QList<QSqlRecord> TDM::Records(CatalogueQuery which, int irid, bool *ok) const {
    QList<QSqlRecord> rows;
    const QVariantList values = which == CatalogueQuery::QButton ? QVariantList{irid} : QVariantList{};
    const bool done = Exec(sqlOf(which), values, &rows);
    if (ok)
        *ok = done;
    return rows;
}

std::optional<DeviceTypeRow> TDM::DeviceByCatNum(int catNum) const {
    return findRow(devices_, [&](const DeviceTypeRow &r) { return r.cat_num == catNum; });
}

QList<DeviceTypeRow> TDM::VisibleDevices() const {
    QList<DeviceTypeRow> visible;
    for (const DeviceTypeRow &r : devices_)
        if (r.Visible == 1)
            visible.append(r);
    return visible;
}

std::optional<VornakelRow> TDM::VornakelByCatNum(int catnum) const {
    return findRow(vornakel_, [&](const VornakelRow &r) { return r.catnum == catnum; });
}

QList<RemoteRow> TDM::QRemote() const { return rowsOf<RemoteRow>(Records(CatalogueQuery::QRemote)); }

std::optional<RemoteRow> TDM::RemoteById(int irid) const {
    return findRow(QRemote(), [&](const RemoteRow &r) { return r.IRID == irid; });
}

QList<IRButtonRow> TDM::QButton(int irid) const {
    return rowsOf<IRButtonRow>(Records(CatalogueQuery::QButton, irid));
}

QList<IRButtonRow> TDM::QButtonsAll() const { return rowsOf<IRButtonRow>(Records(CatalogueQuery::QButtonsAll)); }

QList<ButtonTypeRow> TDM::ButtonTypesForInput(const QString &inputConfName) const {
    QList<QSqlRecord> rows;
    Exec(QStringLiteral("select * from zbuttype where nmbr in (select zbutid from butinConnection where zinid in "
                        "(select nmbr from ZinType where name = ?)) order by nmbr"),
         {inputConfName}, &rows);
    return rowsOf<ButtonTypeRow>(rows);
}

std::optional<ButtonTypeRow> TDM::ButtonTypeByName(const QString &name) const {
    QList<QSqlRecord> rows;
    Exec(QStringLiteral("select * from zbuttype where name = ? order by nmbr"), {name}, &rows);
    return rows.isEmpty() ? std::nullopt : std::optional(ButtonTypeRow::fromRecord(rows.first()));
}

std::optional<ButtonTypeRow> TDM::ButtonTypeByIdName(const QString &idname) const {
    QList<QSqlRecord> rows;
    Exec(QStringLiteral("select * from zbuttype where idname = ? order by nmbr"), {idname}, &rows);
    return rows.isEmpty() ? std::nullopt : std::optional(ButtonTypeRow::fromRecord(rows.first()));
}

QList<HolidayRow> TDM::HolidaysOfYear(int year) const {
    // Dates are ISO text; comparing the first ten characters also accepts
    // values stored with a time of day.
    QList<QSqlRecord> rows;
    Exec(QStringLiteral("select * from Holidays where substr(date, 1, 10) between ? and ? order by date"),
         {QStringLiteral("%1-01-01").arg(year, 4, 10, QLatin1Char('0')),
          QStringLiteral("%1-12-31").arg(year, 4, 10, QLatin1Char('0'))},
         &rows);
    return rowsOf<HolidayRow>(rows);
}
