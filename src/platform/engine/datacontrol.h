#pragma once

#include "recordset.h"

#include <QObject>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace db {

class Database;

// One box bound to a field of a data control. The control fills it on every move and,
// before leaving a record, writes back the boxes whose text the user or the program changed.
class FieldBinding {
public:
    virtual ~FieldBinding() = default;
    virtual QString dataField() const = 0;
    virtual void showValue(const QVariant &value) = 0; // also clears the changed flag
    virtual bool isChanged() const = 0;
    virtual QVariant editedValue() const = 0;
    virtual void clearChanged() = 0;
};

// The data control: a database name and a record source, its own recordset, bound
// boxes, and a reposition signal after every move.
class DataControl : public QObject, private MoveListener {
    Q_OBJECT
public:
    explicit DataControl(QObject *parent = nullptr);
    ~DataControl() override;

    void setDatabaseName(const QString &path);
    QString databaseName() const { return m_databaseName; }
    void setRecordSource(const QString &source);
    QString recordSource() const { return m_recordSource; }
    void setReadOnly(bool ro) { m_readOnly = ro; }
    bool readOnly() const { return m_readOnly; }
    QString caption() const { return m_caption; }
    void setCaption(const QString &c) { m_caption = c; }

    // Saves pending edits, then (re)opens the database when its name changed, opens the
    // record source and stands on its first record. An empty record source closes it.
    void refresh();
    // Detaches: no database, no recordset; bound boxes are emptied.
    void close();

    // The control's own recordset (nullptr before a refresh): its moves move the control.
    Recordset *recordset() const { return m_recordset.get(); }
    const std::shared_ptr<Database> &database() const { return m_database; }

    void addBinding(FieldBinding *b);
    void removeBinding(FieldBinding *b);
    bool hasPendingEdit() const;
    // Writes the changed boxes into the current record. A refusal throws MoveCancelled
    // carrying the cause; the typed texts stay in the boxes.
    void saveRecord();
    // Fills the boxes from the current record again, dropping pending edits.
    void showRecord();
    // Drops the pending edit: the boxes show the current record as the file holds it now,
    // which then counts as read (a record gone elsewhere shows empty).
    void cancelEdit();
    // The same for the boxes bound to one field; the others keep what was typed.
    void showField(const QString &field);
    // Asked for each changed field before a save; a text refuses the save with that text
    // as the cause (ValidationRule), and nothing is written.
    using SaveCheck = std::function<QString(const QString &field, const QVariant &value)>;
    void setSaveCheck(SaveCheck check) { m_saveCheck = std::move(check); }

signals:
    void reposition();

private:
    void beforeMove() override;
    void afterMove() override;

    QString m_databaseName;
    QString m_openedName;
    QString m_recordSource;
    QString m_caption;
    bool m_readOnly = false;
    std::shared_ptr<Database> m_database;
    std::unique_ptr<Recordset> m_recordset;
    std::vector<FieldBinding *> m_bindings;
    SaveCheck m_saveCheck;
};

} // namespace db
