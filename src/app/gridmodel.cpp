#include "gridmodel.h"

#include "devicekind.h"

#include <array>

namespace {

const std::array<const char *, TGridModel::FixedColumnCount> kFieldNames{
    "nmbr", "alias", "uid", "descr", "image", "check", "net", "sort",
    "cat_num", "inputs", "outputs", "uaddr", "conf", "uid00"};

// The "mainindex" order: state key, then alias; the row number keeps rows
// with equal keys in a stable order.
bool before(const GridRow &a, const GridRow &b) {
    if (a.sort != b.sort)
        return a.sort < b.sort;
    const int byAlias = a.alias.compare(b.alias, Qt::CaseInsensitive);
    if (byAlias != 0)
        return byAlias < 0;
    return a.nmbr < b.nmbr;
}

QVariant optionalInt(const std::optional<int> &v) { return v ? QVariant(*v) : QVariant(); }

bool parseHex(const QString &text, uint &value) {
    bool ok = false;
    value = text.trimmed().toUInt(&ok, 16);
    return ok;
}

} // namespace

int RowStateKey(bool check, bool net) {
    if (check)
        return net ? 4 : 1;
    return net ? 2 : 3;
}

void SetRowState(GridRow &row) { row.sort = RowStateKey(row.check, row.net); }

int GridImage(const GridRow &row) { return PictureIndex(row.cat_num); }

QString GridUid00(const QString &uid) {
    uint value = 0;
    if (uid.isEmpty() || !parseHex(uid, value))
        return {};
    return QStringLiteral("00-") + QString::asprintf("%04X", value);
}

TGridModel::TGridModel(QObject *parent) : QAbstractTableModel(parent) {}

QString TGridModel::fieldName(int column) const {
    return column >= 0 && column < FixedColumnCount ? QString::fromLatin1(kFieldNames[column]) : QString();
}

int TGridModel::fieldColumn(const QString &field) const {
    for (int c = 0; c < FixedColumnCount; ++c)
        if (field.compare(QLatin1String(kFieldNames[c]), Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

int TGridModel::orderedPosition(const GridRow &row, int skip) const {
    int position = 0;
    for (int i = 0; i < rows_.size(); ++i)
        if (i != skip && before(rows_[i], row))
            ++position;
    return position;
}

int TGridModel::appendRow(GridRow row) {
    row.nmbr = ++lastNmbr_;
    SetRowState(row);
    const int position = orderedPosition(row, -1);
    beginInsertRows(QModelIndex(), position, position);
    rows_.insert(position, std::move(row));
    endInsertRows();
    return position;
}

int TGridModel::updateRow(int position, GridRow row) {
    if (position < 0 || position >= rows_.size())
        return -1;
    row.nmbr = rows_[position].nmbr;
    SetRowState(row);
    const int target = orderedPosition(row, position);
    if (target != position) {
        // Qt counts the destination before the move.
        beginMoveRows(QModelIndex(), position, position, QModelIndex(), target > position ? target + 1 : target);
        rows_.move(position, target);
        endMoveRows();
    }
    rows_[target] = std::move(row);
    emit dataChanged(index(target, 0), index(target, FixedColumnCount - 1));
    return target;
}

bool TGridModel::removeAt(int position) {
    if (position < 0 || position >= rows_.size())
        return false;
    beginRemoveRows(QModelIndex(), position, position);
    rows_.removeAt(position);
    endRemoveRows();
    return true;
}

void TGridModel::clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int TGridModel::findByNmbr(int nmbr) const {
    for (int i = 0; i < rows_.size(); ++i)
        if (rows_[i].nmbr == nmbr)
            return i;
    return -1;
}

int TGridModel::findByAlias(const QString &alias) const {
    for (int i = 0; i < rows_.size(); ++i)
        if (rows_[i].alias.compare(alias, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TGridModel::findByUid(const QString &uid) const {
    // UIDs are compared as numbers, so "A1F3" finds "00A1F3".
    uint wanted = 0;
    const bool numeric = parseHex(uid, wanted);
    for (int i = 0; i < rows_.size(); ++i) {
        uint value = 0;
        const bool same = numeric && parseHex(rows_[i].uid, value)
                              ? value == wanted
                              : rows_[i].uid.compare(uid, Qt::CaseInsensitive) == 0;
        if (same)
            return i;
    }
    return -1;
}

int TGridModel::firstFreeAliasNumber(const QString &prefix) const {
    int n = 1;
    while (findByAlias(prefix + QString::asprintf("%02d", n)) >= 0)
        ++n;
    return n;
}

int TGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int TGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : FixedColumnCount; }

QVariant TGridModel::fieldValue(const GridRow &row, int column) const {
    switch (Column(column)) {
    case ColNmbr: return row.nmbr;
    case ColAlias: return row.alias;
    case ColUid: return row.uid;
    case ColDescr: return row.descr;
    case ColImage: return GridImage(row);
    case ColCheck: return row.check;
    case ColNet: return row.net;
    case ColSort: return row.sort;
    case ColCatNum: return row.cat_num;
    case ColInputs: return optionalInt(row.inputs);
    case ColOutputs: return optionalInt(row.outputs);
    case ColUaddr: return row.uaddr;
    case ColConf: return row.conf;
    case ColUid00: return GridUid00(row.uid);
    case FixedColumnCount: break;
    }
    return {};
}

QVariant TGridModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const GridRow &row = rows_[index.row()];
    if (index.column() == ColCatNum && role == Qt::DisplayRole)
        return QString::asprintf("%05d", row.cat_num);
    return fieldValue(row, index.column());
}

QVariant TGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < FixedColumnCount)
        return fieldName(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
