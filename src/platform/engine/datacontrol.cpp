#include "datacontrol.h"
#include "database.h"

#include <algorithm>

namespace db {

DataControl::DataControl(QObject *parent)
    : QObject(parent)
{
}

DataControl::~DataControl()
{
    if (m_recordset)
        m_recordset->setMoveListener(nullptr);
}

void DataControl::setDatabaseName(const QString &path)
{
    m_databaseName = path;
}

void DataControl::setRecordSource(const QString &source)
{
    m_recordSource = source;
}

void DataControl::refresh()
{
    saveRecord();

    std::shared_ptr<Database> database = m_database;
    if (!database || m_openedName != m_databaseName)
        database = Database::open(m_databaseName);
    std::unique_ptr<Recordset> recordset;
    if (!m_recordSource.trimmed().isEmpty())
        recordset = database->openRecordset(m_recordSource);

    if (m_recordset)
        m_recordset->setMoveListener(nullptr);
    m_database = std::move(database);
    m_openedName = m_databaseName;
    m_recordset = std::move(recordset);
    if (!m_recordset) {
        showRecord();
        return;
    }
    m_recordset->setMoveListener(this);
    afterMove();
}

void DataControl::close()
{
    if (m_recordset)
        m_recordset->setMoveListener(nullptr);
    m_recordset.reset();
    m_database.reset();
    m_openedName.clear();
    showRecord();
}

void DataControl::addBinding(FieldBinding *b)
{
    if (std::find(m_bindings.begin(), m_bindings.end(), b) != m_bindings.end())
        return;
    m_bindings.push_back(b);
}

void DataControl::removeBinding(FieldBinding *b)
{
    m_bindings.erase(std::remove(m_bindings.begin(), m_bindings.end(), b), m_bindings.end());
}

bool DataControl::hasPendingEdit() const
{
    if (m_readOnly || !m_recordset || m_recordset->absolutePosition() < 0)
        return false;
    return std::any_of(m_bindings.begin(), m_bindings.end(),
                       [this](FieldBinding *b) { return b->isChanged() && m_recordset->hasField(b->dataField()); });
}

void DataControl::saveRecord()
{
    if (!hasPendingEdit())
        return;
    Recordset &rs = *m_recordset;
    if (m_saveCheck) {
        for (FieldBinding *b : m_bindings) {
            if (!b->isChanged() || !rs.hasField(b->dataField()))
                continue;
            const QString refusal = m_saveCheck(b->dataField(), b->editedValue());
            if (!refusal.isEmpty())
                throw Error(MoveCancelled, Error::describe(MoveCancelled), ValidationRule, refusal);
        }
    }
    try {
        rs.edit();
        for (FieldBinding *b : m_bindings) {
            if (b->isChanged() && rs.hasField(b->dataField()))
                rs.setField(b->dataField(), b->editedValue());
        }
        rs.update();
    } catch (const Error &e) {
        rs.cancelUpdate();
        throw Error(MoveCancelled, Error::describe(MoveCancelled), e.number(), e.description());
    }
    for (FieldBinding *b : m_bindings)
        b->clearChanged();
}

void DataControl::showRecord()
{
    showField({});
}

void DataControl::cancelEdit()
{
    if (m_recordset && m_recordset->absolutePosition() >= 0) {
        try {
            m_recordset->readAgain();
        } catch (const Error &) {
            // Gone or unreadable: the boxes show it empty, and nothing is pending.
        }
    }
    showRecord();
}

void DataControl::showField(const QString &field)
{
    const bool current = m_recordset && m_recordset->absolutePosition() >= 0;
    for (FieldBinding *b : m_bindings) {
        if (!field.isEmpty() && b->dataField().compare(field, Qt::CaseInsensitive) != 0)
            continue;
        QVariant value;
        if (current && m_recordset->hasField(b->dataField())) {
            try {
                value = m_recordset->field(b->dataField());
            } catch (const Error &) {
                // A row deleted elsewhere shows as empty.
            }
        }
        b->showValue(value);
    }
}

void DataControl::beforeMove()
{
    saveRecord();
}

void DataControl::afterMove()
{
    showRecord();
    emit reposition();
}

} // namespace db
