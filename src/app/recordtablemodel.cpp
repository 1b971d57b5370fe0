#include "recordtablemodel.h"

#include <QSqlField>

RecordTableModel::RecordTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void RecordTableModel::setRecords(const QList<QSqlRecord> &records, const QSqlRecord &shape) {
    beginResetModel();
    records_ = records;
    shape_ = records.isEmpty() ? shape : records.first();
    shape_.clearValues();
    endResetModel();
}

int RecordTableModel::locate(const QString &field, const QVariant &value) const {
    const int column = shape_.indexOf(field);
    if (column < 0)
        return -1;
    for (int row = 0; row < records_.size(); ++row) {
        const QVariant v = records_[row].value(column);
        // Integers come back as 64-bit; compare numbers as numbers.
        const bool equal = QVariant::compare(v, value) == QPartialOrdering::Equivalent;
        if (equal && !v.isNull())
            return row;
    }
    return -1;
}

int RecordTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(records_.size());
}

int RecordTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : shape_.count();
}

QVariant RecordTableModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return records_[index.row()].value(index.column());
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= shape_.count())
        return QAbstractTableModel::headerData(section, orientation, role);
    return shape_.fieldName(section);
}
