#pragma once
// An in-memory table whose fields are defined at run time, for the grids
// that windows build from lists rather than from the catalogue (the remote
// and button lists of the IR panel, the link views). Fields carry what the
// grid needs to show them: visible, read-only, title, width.
#include <QAbstractTableModel>
#include <QList>
#include <QVariantMap>

class TMemTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class FieldType { Int, Str, Bool };
    struct Field {
        QString name;
        FieldType type = FieldType::Str;
        int size = 0; // characters of a text field (a hint for editors)
        bool visible = true;
        bool readOnly = false;
        QString title; // column title; the name until set
        int width = 0; // column width hint; 0: the grid decides
    };

    explicit TMemTable(QObject *parent = nullptr);

    // Adds a field: typeWord "int" (held as 64 bits), "str" (text of 100
    // characters) or "bool", letter case ignored. False, and nothing added,
    // for another word or a name already in use (names ignore letter case).
    bool AddGridField(const QString &field, const QString &typeWord, bool visible, bool readOnly);
    int fieldColumn(const QString &field) const;
    const QList<Field> &fields() const { return fields_; }
    void setFieldTitle(const QString &field, const QString &title, int width = 0);

    // Rows: values by field name; unknown names are ignored.
    int appendRow(const QVariantMap &values);
    QVariant value(int row, const QString &field) const;
    bool setValue(int row, const QString &field, const QVariant &value);
    int locate(const QString &field, const QVariant &value) const; // first row, or -1
    void clearRows();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Edits of a grid: refused on read-only fields and for an integer field
    // given something that is not a number.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    bool storeValue(int row, int column, const QVariant &value);

    QList<Field> fields_;
    QList<QVariantList> rows_;
};
