#pragma once
// A read-only grid model over query results kept in memory. Grids of the
// catalogue (device types, towns, remotes, buttons) show these; holding the
// rows rather than a live query keeps the model independent of the
// connection's lifetime and of later changes to the file.
#include <QAbstractTableModel>
#include <QList>
#include <QSqlRecord>

class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordTableModel(QObject *parent = nullptr);

    // Replaces every row. The columns are the fields of the first record,
    // or of shape when there are no records.
    void setRecords(const QList<QSqlRecord> &records, const QSqlRecord &shape = QSqlRecord());

    const QSqlRecord &record(int row) const { return records_.at(row); }
    const QList<QSqlRecord> &records() const { return records_; }

    // First row whose field equals value (field names ignore letter case),
    // or -1.
    int locate(const QString &field, const QVariant &value) const;
    int fieldIndex(const QString &field) const { return shape_.indexOf(field); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QSqlRecord shape_; // field names, values unused
    QList<QSqlRecord> records_;
};
