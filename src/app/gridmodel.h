#pragma once
// The project grid dataset: one row per device of the open project or found
// on the network, kept in the "mainindex" order (state key, then alias) as
// rows are added and changed. The main window's grid shows it; the project,
// the network search and the device commands fill it through the row API.
#include <QAbstractTableModel>
#include <QList>
#include <QVariant>
#include <optional>

struct GridRow {
    int nmbr = 0; // given by the model on append
    QString alias;
    QString uid; // 6 upper-case hexadecimal digits
    QString descr;
    bool check = false; // the device is in the project
    bool net = false;   // the device was found on the network
    int sort = 3;       // state key, from check and net (SetRowState)
    int cat_num = 0;
    std::optional<int> inputs; // empty when the catalogue lacks the type
    std::optional<int> outputs;
    QString uaddr; // 6 upper-case hexadecimal digits
    QString conf;
};

// State key of a row: 1 in the project only, 2 on the network only,
// 3 neither, 4 both (so a device in the project and on the network sorts
// after all others).
int RowStateKey(bool check, bool net);
void SetRowState(GridRow &row);

// Computed fields.
int GridImage(const GridRow &row);
// "00-" and the UID in at least 4 upper-case hexadecimal digits; empty when
// the UID is empty or not hexadecimal.
QString GridUid00(const QString &uid);

class TGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColNmbr, ColAlias, ColUid, ColDescr, ColImage, ColCheck, ColNet, ColSort,
        ColCatNum, ColInputs, ColOutputs, ColUaddr, ColConf, ColUid00, FixedColumnCount
    };

    explicit TGridModel(QObject *parent = nullptr);

    // Field names as other code asks for them ("alias", "uid00", ...) and the
    // column of a field (letter case ignored), or -1.
    QString fieldName(int column) const;
    int fieldColumn(const QString &field) const;

    // Row API. The state key is set from check and net on every append and
    // update, and the row moves to its place in the order. Returns the row's
    // position, or -1.
    int appendRow(GridRow row);
    int updateRow(int position, GridRow row); // keeps the row's nmbr
    bool removeAt(int position);
    void clear();

    const GridRow &rowAt(int position) const { return rows_.at(position); }
    const QList<GridRow> &rows() const { return rows_; }
    int findByNmbr(int nmbr) const;
    int findByAlias(const QString &alias) const; // letter case ignored
    int findByUid(const QString &uid) const;     // first row with that UID value

    // The smallest n from 1 for which no row has the alias prefix + n in two
    // digits ("dim8_" with dim8_01 and DIM8_02 taken gives 3).
    int firstFreeAliasNumber(const QString &prefix) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    int orderedPosition(const GridRow &row, int skip) const;
    void placeRow(int from, GridRow row);
    QVariant fieldValue(const GridRow &row, int column) const;

    QList<GridRow> rows_;
    int lastNmbr_ = 0;
};
