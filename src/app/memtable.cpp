#include "memtable.h"

#include <optional>

namespace {

std::optional<TMemTable::FieldType> typeOfWord(const QString &word) {
    const QString w = word.toLower();
    if (w == QLatin1String("int"))
        return TMemTable::FieldType::Int;
    if (w == QLatin1String("str"))
        return TMemTable::FieldType::Str;
    if (w == QLatin1String("bool"))
        return TMemTable::FieldType::Bool;
    return std::nullopt;
}

// The value as the field holds it; nothing when it cannot be converted.
std::optional<QVariant> converted(TMemTable::FieldType type, const QVariant &value) {
    if (value.isNull())
        return QVariant();
    switch (type) {
    case TMemTable::FieldType::Int: {
        // 64-bit, so that a field can also hold an object's address.
        bool ok = false;
        const qlonglong n = value.toString().trimmed().toLongLong(&ok);
        return ok ? std::optional<QVariant>(n) : std::nullopt;
    }
    case TMemTable::FieldType::Bool:
        return QVariant(value.toBool());
    case TMemTable::FieldType::Str:
        return QVariant(value.toString());
    }
    return std::nullopt;
}

} // namespace

TMemTable::TMemTable(QObject *parent) : QAbstractTableModel(parent) {}

bool TMemTable::AddGridField(const QString &field, const QString &typeWord, bool visible, bool readOnly) {
    const auto type = typeOfWord(typeWord);
    if (!type || field.isEmpty() || fieldColumn(field) >= 0)
        return false;
    const int column = int(fields_.size());
    beginInsertColumns(QModelIndex(), column, column);
    fields_.append({field, *type, *type == FieldType::Str ? 100 : 0, visible, readOnly, field, 0});
    for (QVariantList &row : rows_)
        row.append(QVariant());
    endInsertColumns();
    return true;
}

int TMemTable::fieldColumn(const QString &field) const {
    for (int c = 0; c < fields_.size(); ++c)
        if (fields_[c].name.compare(field, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

void TMemTable::setFieldTitle(const QString &field, const QString &title, int width) {
    const int column = fieldColumn(field);
    if (column < 0)
        return;
    fields_[column].title = title;
    fields_[column].width = width;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int TMemTable::appendRow(const QVariantMap &values) {
    const int row = int(rows_.size());
    beginInsertRows(QModelIndex(), row, row);
    rows_.append(QVariantList(fields_.size()));
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int column = fieldColumn(it.key());
        if (column >= 0)
            rows_[row][column] = converted(fields_[column].type, it.value()).value_or(QVariant());
    }
    endInsertRows();
    return row;
}

QVariant TMemTable::value(int row, const QString &field) const {
    const int column = fieldColumn(field);
    if (row < 0 || row >= rows_.size() || column < 0)
        return {};
    return rows_[row][column];
}

bool TMemTable::setValue(int row, const QString &field, const QVariant &value) {
    return storeValue(row, fieldColumn(field), value);
}

bool TMemTable::storeValue(int row, int column, const QVariant &value) {
    if (row < 0 || row >= rows_.size() || column < 0 || column >= fields_.size())
        return false;
    const auto v = converted(fields_[column].type, value);
    if (!v)
        return false;
    rows_[row][column] = *v;
    emit dataChanged(index(row, column), index(row, column));
    return true;
}

int TMemTable::locate(const QString &field, const QVariant &value) const {
    const int column = fieldColumn(field);
    if (column < 0)
        return -1;
    const auto wanted = converted(fields_[column].type, value);
    for (int row = 0; wanted && row < rows_.size(); ++row)
        if (!rows_[row][column].isNull() && rows_[row][column] == *wanted)
            return row;
    return -1;
}

void TMemTable::clearRows() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int TMemTable::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int TMemTable::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(fields_.size()); }

QVariant TMemTable::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return rows_[index.row()][index.column()];
}

QVariant TMemTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < fields_.size())
        return fields_[section].title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TMemTable::flags(const QModelIndex &index) const {
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    const Qt::ItemFlags base = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return fields_[index.column()].readOnly ? base : base | Qt::ItemIsEditable;
}

bool TMemTable::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid) ||
        fields_[index.column()].readOnly)
        return false;
    return storeValue(index.row(), index.column(), value);
}
