#pragma once
// The catalogue data module: the one connection to the catalogue database,
// its standing queries and the project grid dataset beside them.
//
// The device catalogue, the towns and the family types (DQDevices, DQTowns,
// QVornakelZ) are read once when the catalogue connects: the program never
// changes them. The IR remotes directory is changed by its editor, so its
// queries (QRemote, QButton, QButtonsAll) read the file afresh on each call.
#include "cataloguerows.h"
#include "gridmodel.h"

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QVariantList>
#include <optional>

// File name of the catalogue database in its folder.
inline QString catalogueFileName() { return QStringLiteral("database_vk.db"); }

enum class CatalogueQuery { DQDevices, DQTowns, QRemote, QButton, QButtonsAll, QVornakelZ };

class TDM : public QObject {
    Q_OBJECT
public:
    explicit TDM(QObject *parent = nullptr);
    ~TDM() override;

    // Closes any previous connection and connects to databaseFile, which
    // must be an existing catalogue: a missing file is never created, and a
    // file that is not SQLite or lacks a table or column fails. On failure
    // the module stays disconnected and lastError() says why.
    bool ConnectCatalogue(const QString &databaseFile);
    bool isConnected() const { return connected_; }
    QString databaseFile() const { return databaseFile_; }
    // Why the last connection or query failed (English, for logs and the CLI).
    QString lastError() const { return lastError_; }

    // DQDevices: ordered by cat_num, then name; entries whose lookup rows
    // are missing are not listed.
    const QList<DeviceTypeRow> &DQDevices() const { return devices_; }
    std::optional<DeviceTypeRow> DeviceByCatNum(int catNum) const;
    QList<DeviceTypeRow> VisibleDevices() const;

    // DQTowns: every town, ordered by the second column (the name).
    const QList<TownRow> &DQTowns() const { return towns_; }

    // QVornakelZ: every catalogue entry with its family type.
    const QList<VornakelRow> &QVornakelZ() const { return vornakel_; }
    std::optional<VornakelRow> VornakelByCatNum(int catnum) const;

    // IR directory, read now. Empty (and lastError() set) when the query fails.
    QList<RemoteRow> QRemote() const;
    std::optional<RemoteRow> RemoteById(int irid) const;
    QList<IRButtonRow> QButton(int irid) const;
    QList<IRButtonRow> QButtonsAll() const;

    // Lookups other windows need, written once here in the catalogue's
    // SQL dialect.
    QList<ButtonTypeRow> ButtonTypesForInput(const QString &inputConfName) const;
    std::optional<ButtonTypeRow> ButtonTypeByName(const QString &name) const;
    std::optional<ButtonTypeRow> ButtonTypeByIdName(const QString &idname) const;
    QList<HolidayRow> HolidaysOfYear(int year) const;

    // Rows of a standing query as records, read now, for grids
    // (RecordTableModel). irid is the parameter of QButton.
    QList<QSqlRecord> Records(CatalogueQuery query, int irid = 0, bool *ok = nullptr) const;

    // The free queries: a statement built at run time, with positional '?'
    // values. Result rows go to *rows when given.
    bool Exec(const QString &sql, const QVariantList &values = {}, QList<QSqlRecord> *rows = nullptr) const;
    QSqlDatabase database() const;

    // The project grid dataset, created empty with the module.
    TGridModel &cdsGrid() { return cdsGrid_; }

private:
    void closeConnection();
    bool fail(const QString &message);
    bool openConnection(const QString &absolutePath);
    bool checkSchema();
    bool loadStandingQueries();

    QString connectionName_;
    QString databaseFile_;
    mutable QString lastError_;
    bool connected_ = false;
    QList<DeviceTypeRow> devices_;
    QList<TownRow> towns_;
    QList<VornakelRow> vornakel_;
    TGridModel cdsGrid_;
};
