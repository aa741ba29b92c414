#include "recordsetmodel.h"

#include "datacontrol.h"
#include "dberror.h"
#include "recordset.h"

#include <QScopedValueRollback>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString shownText(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

QString refusalOf(const db::Error &e)
{
    return e.causeDescription().isEmpty() ? e.description() : e.causeDescription();
}

} // namespace

RecordsetModel::RecordsetModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

RecordsetModel::~RecordsetModel() = default;

void RecordsetModel::setDataControl(db::DataControl *control)
{
    if (m_control)
        disconnect(m_control, nullptr, this, nullptr);
    m_control = control;
    if (control)
        connect(control, &db::DataControl::reposition, this, &RecordsetModel::followControl);
    rebuild();
}

void RecordsetModel::setColumns(const QList<Column> &columns)
{
    m_columns = columns;
    rebuild();
}

QString RecordsetModel::columnField(int column) const
{
    return m_fields.value(column);
}

void RecordsetModel::setAllowAddNew(bool on)
{
    if (m_allowAddNew == on)
        return;
    m_allowAddNew = on;
    rebuild();
}

void RecordsetModel::setAllowUpdate(bool on)
{
    if (m_allowUpdate == on)
        return;
    m_allowUpdate = on;
    rebuild();
}

bool RecordsetModel::writable() const
{
    if (!m_control || m_control->readOnly())
        return false;
    const db::Recordset *rs = m_control->recordset();
    return rs && rs == m_source && rs->updatable();
}

void RecordsetModel::rebuild()
{
    beginResetModel();
    db::Recordset *rs = m_control ? m_control->recordset() : nullptr;
    m_source = rs;
    m_reader = rs ? rs->clone() : nullptr;
    m_count = rs ? rs->recordCount() : 0;
    m_fields.clear();
    m_headings.clear();
    if (!m_columns.isEmpty()) {
        for (const Column &c : std::as_const(m_columns)) {
            m_fields << c.field;
            m_headings << c.heading;
        }
    } else if (rs) {
        m_fields = rs->fieldNames();
        m_headings = m_fields;
    }
    m_newRow = m_allowAddNew && writable();
    m_pendingRow = -1;
    m_pending.clear();
    m_currentRow = rs ? rs->absolutePosition() : -1;
    endResetModel();
}

// A refresh gives the control a new recordset; any other move keeps it.
void RecordsetModel::followControl()
{
    db::Recordset *rs = m_control ? m_control->recordset() : nullptr;
    if (rs != m_source || !rs) {
        rebuild();
        return;
    }
    // A fresh copy sees a requery of the control's recordset.
    m_reader = rs->clone();
    if (rs->recordCount() != m_count) {
        rebuild();
        return;
    }
    const int pos = rs->absolutePosition();
    if (!m_movingControl && pos >= 0)
        emit controlMoved(pos);
}

void RecordsetModel::moveControl(int row)
{
    db::Recordset *rs = m_control ? m_control->recordset() : nullptr;
    // While a row goes, the view's current row and the recordset's positions differ by one.
    if (m_removing || !rs || rs != m_source || row < 0 || row >= m_count || rs->absolutePosition() == row)
        return;
    QScopedValueRollback<bool> moving(m_movingControl, true);
    rs->setAbsolutePosition(row);
}

QVariant RecordsetModel::storedValue(int row, int column) const
{
    if (!m_reader || row < 0 || row >= m_count || column < 0 || column >= m_fields.size())
        return {};
    try {
        if (m_reader->absolutePosition() != row)
            m_reader->setAbsolutePosition(row);
        return m_reader->field(m_fields.at(column));
    } catch (const db::Error &) {
        // A row deleted elsewhere, or a column the source does not have, shows empty.
        return {};
    }
}

QVariant RecordsetModel::shownValue(int row, int column) const
{
    if (row == m_pendingRow) {
        const auto it = m_pending.constFind(column);
        if (it != m_pending.constEnd())
            return *it;
    }
    return storedValue(row, column);
}

QVariantMap RecordsetModel::rowValues(int row) const
{
    QVariantMap values;
    for (int c = 0; c < m_fields.size(); ++c)
        values.insert(m_fields.at(c), shownValue(row, c));
    return values;
}

bool RecordsetModel::submitRow(QString *refusal)
{
    if (m_pendingRow < 0)
        return true;
    const int row = m_pendingRow;
    const bool isNew = isNewRow(row);
    if (isNew && std::all_of(m_pending.cbegin(), m_pending.cend(), [](const QVariant &v) {
            return shownText(v).isEmpty();
        })) {
        revertRow();
        return true;
    }
    auto refuse = [refusal](const QString &why) {
        if (refusal)
            *refusal = why;
        return false;
    };
    if (m_check) {
        const QString why = m_check(rowValues(row), isNew);
        if (!why.isEmpty())
            return refuse(why);
    }
    db::Recordset *rs = m_control ? m_control->recordset() : nullptr;
    if (!rs || rs != m_source)
        return refuse(db::Error::describe(db::NoCurrentRecord));
    try {
        if (isNew) {
            rs->addNew();
        } else {
            moveControl(row);
            rs->edit();
        }
        for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
            rs->setField(m_fields.at(it.key()), it.value());
        rs->update();
    } catch (const db::Error &e) {
        if (rs->editMode() != db::Recordset::EditMode::None)
            rs->cancelUpdate();
        return refuse(refusalOf(e));
    }
    m_pending.clear();
    m_pendingRow = -1;
    if (isNew) {
        beginInsertRows({}, m_count + 1, m_count + 1);
        ++m_count;
        endInsertRows();
    }
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emitRowHeader(row);
    return true;
}

void RecordsetModel::revertRow()
{
    if (m_pendingRow < 0)
        return;
    const int row = m_pendingRow;
    m_pendingRow = -1;
    m_pending.clear();
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emitRowHeader(row);
}

bool RecordsetModel::removeRecords(QList<int> rows, QString *refusal)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty())
        return true;
    db::Recordset *rs = m_control ? m_control->recordset() : nullptr;
    if (!canDelete() || !rs) {
        if (refusal)
            *refusal = db::Error::describe(db::ReadOnlyDatabase);
        return false;
    }
    for (int row : std::as_const(rows)) {
        if (isNewRow(row)) {
            if (m_pendingRow == row)
                revertRow();
            continue;
        }
        if (row < 0 || row >= m_count)
            continue;
        try {
            if (m_pendingRow == row)
                revertRow();
            moveControl(row);
            rs->deleteRecord();
        } catch (const db::Error &e) {
            if (refusal)
                *refusal = refusalOf(e);
            return false;
        }
        QScopedValueRollback<bool> removing(m_removing, true);
        beginRemoveRows({}, row, row);
        --m_count;
        if (m_pendingRow > row)
            --m_pendingRow;
        if (m_currentRow == row)
            m_currentRow = -1;
        else if (m_currentRow > row)
            --m_currentRow;
        endRemoveRows();
    }
    return true;
}

void RecordsetModel::setCurrentRow(int row)
{
    if (row == m_currentRow)
        return;
    const int old = m_currentRow;
    m_currentRow = row;
    emitRowHeader(old);
    emitRowHeader(row);
}

void RecordsetModel::emitRowHeader(int row)
{
    if (row >= 0 && row < rowCount())
        emit headerDataChanged(Qt::Vertical, row, row);
}

int RecordsetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count + (m_newRow ? 1 : 0);
}

int RecordsetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant RecordsetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return shownText(shownValue(index.row(), index.column()));
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole)
            return m_headings.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    // Record selectors: the new row, a row with typed values, the current row.
    if (isNewRow(section) && section != m_pendingRow)
        return u"*"_s;
    if (section == m_pendingRow)
        return u"✎"_s;
    if (section == m_currentRow)
        return u"▶"_s;
    return QString();
}

Qt::ItemFlags RecordsetModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (writable() && (isNewRow(index.row()) || m_allowUpdate))
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordsetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int row = index.row();
    // Typed values are kept for one row at a time; the grid stores a row before leaving it.
    if (m_pendingRow >= 0 && m_pendingRow != row)
        return false;
    const QString text = value.toString();
    if (text == shownText(shownValue(row, index.column())))
        return true;
    m_pendingRow = row;
    m_pending.insert(index.column(), text);
    emit dataChanged(index, index);
    emitRowHeader(row);
    return true;
}
