#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QVariantMap>
#include <functional>
#include <memory>

namespace db {
class DataControl;
class Recordset;
} // namespace db

// The rows of a data control's recordset as a table: row i is the record at absolute
// position i, read when asked for, through a copy of the recordset so that reading does
// not move the control. Typed values are kept for one row at a time until the grid
// stores the row (submitRow) or drops it (revertRow). With adding allowed, one empty row
// after the records takes a new entry.
class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString heading;
        QString field;
    };
    // Tells whether a row may be stored: empty to accept, else the refusal to show.
    // values holds the row as it would be stored, by column field.
    using RowCheck = std::function<QString(const QVariantMap &values, bool isNew)>;

    explicit RecordsetModel(QObject *parent = nullptr);
    ~RecordsetModel() override;

    void setDataControl(db::DataControl *control);
    db::DataControl *dataControl() const { return m_control; }

    // Set-up columns; none: one column per field of the recordset, headed by its name.
    void setColumns(const QList<Column> &columns);
    QList<Column> columns() const { return m_columns; }
    QString columnField(int column) const;

    void setAllowAddNew(bool on);
    bool allowAddNew() const { return m_allowAddNew; }
    void setAllowUpdate(bool on);
    bool allowUpdate() const { return m_allowUpdate; }
    void setAllowDelete(bool on) { m_allowDelete = on; }
    bool allowDelete() const { return m_allowDelete; }
    void setRowCheck(RowCheck check) { m_check = std::move(check); }

    // Records shown (the empty row for new entries not counted).
    int recordCount() const { return m_count; }
    bool isNewRow(int row) const { return m_newRow && row == m_count; }
    // The recordset can be written through the control: not read-only, updatable.
    bool writable() const;
    bool canDelete() const { return m_allowDelete && writable(); }

    // The row that holds typed values not yet stored, -1 when none.
    int pendingRow() const { return m_pendingRow; }
    // Stores the pending row: an existing record through edit and update, the new row
    // through addNew and update. A new row with nothing but empty values is dropped.
    // On a refusal the typed values stay and the reason is given.
    bool submitRow(QString *refusal);
    void revertRow();
    // Deletes the records at these rows at once; stops at the first refusal.
    bool removeRecords(QList<int> rows, QString *refusal);

    // Moves the data control to the record at this row (not the new row); db::Error
    // when the control refuses to leave its record.
    void moveControl(int row);
    // The row the record selectors mark as current.
    void setCurrentRow(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // The data control moved to another record by itself (not through this model).
    void controlMoved(int row);

private:
    void followControl();
    void rebuild();
    QVariant storedValue(int row, int column) const;
    QVariant shownValue(int row, int column) const;
    QVariantMap rowValues(int row) const;
    void emitRowHeader(int row);

    QPointer<db::DataControl> m_control;
    const db::Recordset *m_source = nullptr; // the control's recordset when last seen; only compared
    std::unique_ptr<db::Recordset> m_reader; // copy used for reading
    QList<Column> m_columns;
    QStringList m_fields; // the field behind each column shown
    QStringList m_headings;
    int m_count = 0;
    bool m_allowAddNew = false;
    bool m_allowUpdate = true;
    bool m_allowDelete = false;
    bool m_newRow = false;
    bool m_movingControl = false;
    bool m_removing = false;
    int m_pendingRow = -1;
    QMap<int, QVariant> m_pending; // column -> typed value
    int m_currentRow = -1;
    RowCheck m_check;
};
