#include "datagrid.h"

#include "datacontrol.h"
#include "dberror.h"
#include "formloader.h"
#include "formspec.h"
#include "messagebox.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Asks the grid before the current cell moves to another row.
class GridSelection : public QItemSelectionModel {
public:
    GridSelection(QAbstractItemModel *model, QObject *parent, std::function<bool(int)> canLeave)
        : QItemSelectionModel(model, parent)
        , m_canLeave(std::move(canLeave))
    {
    }

    void setCurrentIndex(const QModelIndex &index, QItemSelectionModel::SelectionFlags command) override
    {
        if (index.isValid() && currentIndex().isValid() && index.row() != currentIndex().row()
            && !m_canLeave(index.row()))
            return;
        QItemSelectionModel::setCurrentIndex(index, command);
    }

private:
    std::function<bool(int)> m_canLeave;
};

// Tells the grid which editor is open, so that its text can be taken before a row is stored.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(QObject *parent, std::function<void(QWidget *)> opened, std::function<void(QWidget *)> closed)
        : QStyledItemDelegate(parent)
        , m_opened(std::move(opened))
        , m_closed(std::move(closed))
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        m_opened(editor);
        return editor;
    }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        m_closed(editor);
        QStyledItemDelegate::destroyEditor(editor, index);
    }

private:
    std::function<void(QWidget *)> m_opened;
    std::function<void(QWidget *)> m_closed;
};

} // namespace

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new RecordsetModel(this))
{
    setModel(m_model);
    QItemSelectionModel *old = selectionModel();
    setSelectionModel(new GridSelection(m_model, this, [this](int row) { return canLeaveRow(row); }));
    delete old;
    setItemDelegate(new GridDelegate(
        this, [this](QWidget *editor) { m_editor = editor; },
        [this](QWidget *editor) {
            if (m_editor == editor)
                m_editor = nullptr;
        }));

    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    // Selecting everything and pressing Delete would empty the table without a question.
    setCornerButtonEnabled(false);
    horizontalHeader()->setHighlightSections(false);
    // Column widths are set by the window's own formulas, however narrow.
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->viewport()->installEventFilter(this);
    horizontalHeader()->viewport()->installEventFilter(this);
    m_headFont = horizontalHeader()->font();
    fitRowHeight();

    connect(m_model, &RecordsetModel::controlMoved, this, &DataGrid::followControl);
    // A refresh keeps the widths the columns were given.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_widths.clear();
        for (int c = 0; c < m_model->columnCount(); ++c)
            m_widths << columnWidth(c);
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_editor = nullptr;
        if (!m_model->columns().isEmpty() && m_widths.size() == m_model->columnCount()) {
            for (int c = 0; c < m_widths.size(); ++c)
                setColumnWidth(c, m_widths.at(c));
        }
        const db::Recordset *rs = m_model->dataControl() ? m_model->dataControl()->recordset() : nullptr;
        const int row = rs ? std::max(0, rs->absolutePosition()) : 0;
        if (row < m_model->rowCount() && m_model->columnCount() > 0)
            setCurrentIndex(m_model->index(row, 0));
    });
}

DataGrid::~DataGrid() = default;

void DataGrid::setDataControl(db::DataControl *control)
{
    m_model->setDataControl(control);
}

void DataGrid::setColumns(const QList<RecordsetModel::Column> &columns)
{
    m_model->setColumns(columns);
}

void DataGrid::setRecordSelectors(bool on)
{
    verticalHeader()->setVisible(on);
}

bool DataGrid::recordSelectors() const
{
    return !verticalHeader()->isHidden();
}

void DataGrid::setHeadFont(const QFont &font)
{
    m_headFont = font;
    horizontalHeader()->setFont(font);
}

void DataGrid::fitRowHeight()
{
    const int height = fontMetrics().height() + 6;
    verticalHeader()->setMinimumSectionSize(std::min(verticalHeader()->minimumSectionSize(), height));
    verticalHeader()->setDefaultSectionSize(height);
}

void DataGrid::changeEvent(QEvent *e)
{
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        horizontalHeader()->setFont(m_headFont);
        fitRowHeight();
    }
}

void DataGrid::commitEditor()
{
    if (m_editor && state() == QAbstractItemView::EditingState)
        commitData(m_editor);
}

bool DataGrid::trySubmitRow(QString *refusal)
{
    commitEditor();
    return m_model->submitRow(refusal);
}

bool DataGrid::submitRow()
{
    QString why;
    if (trySubmitRow(&why))
        return true;
    msg::box(why, msg::Icon::Critical);
    return false;
}

void DataGrid::revertRow()
{
    if (m_editor && state() == QAbstractItemView::EditingState)
        closeEditor(m_editor, QAbstractItemDelegate::NoHint);
    m_model->revertRow();
}

bool DataGrid::canLeaveRow(int toRow)
{
    const QModelIndex current = currentIndex();
    if (m_leaving || !current.isValid() || current.row() == toRow)
        return true;
    QScopedValueRollback<bool> leaving(m_leaving, true);
    return submitRow();
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    m_model->setCurrentRow(current.isValid() ? current.row() : -1);
    if (!current.isValid() || current.row() == previous.row())
        return;
    try {
        m_model->moveControl(current.row());
    } catch (const db::Error &e) {
        msg::box(e.causeDescription().isEmpty() ? e.description() : e.causeDescription(), msg::Icon::Critical);
    }
}

void DataGrid::followControl(int row)
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() == row)
        return;
    setCurrentIndex(m_model->index(row, current.isValid() ? current.column() : 0));
}

void DataGrid::deleteSelectedRows()
{
    QList<int> rows;
    const QModelIndexList selected = selectionModel()->selectedRows();
    for (const QModelIndex &i : selected) {
        if (!m_model->isNewRow(i.row()))
            rows << i.row();
    }
    if (rows.isEmpty())
        return;
    const int first = *std::min_element(rows.cbegin(), rows.cend());
    const int column = std::max(0, currentIndex().column());
    if (m_editor && state() == QAbstractItemView::EditingState)
        closeEditor(m_editor, QAbstractItemDelegate::NoHint);
    QString why;
    const bool removed = m_model->removeRecords(rows, &why);
    clearSelection();
    int target = std::min(first, m_model->recordCount() - 1);
    if (target < 0)
        target = m_model->rowCount() - 1;
    if (target >= 0) {
        setCurrentIndex(m_model->index(target, column));
        // The control stood on a deleted record; put it where the grid stands.
        try {
            m_model->moveControl(target);
        } catch (const db::Error &) {
            // The control keeps the row it had: it held no edit, since its record is gone.
        }
    }
    if (!removed)
        msg::box(why, msg::Icon::Critical);
}

void DataGrid::keyPressEvent(QKeyEvent *e)
{
    if (state() != QAbstractItemView::EditingState) {
        if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier && m_model->canDelete()
            && !selectionModel()->selectedRows().isEmpty()) {
            deleteSelectedRows();
            e->accept();
            return;
        }
        if (e->key() == Qt::Key_Escape) {
            // An open editor takes the first Escape; the next drops the row's typed values.
            revertRow();
            e->accept();
            return;
        }
    }
    // Asked before the view takes the focus from an open editor, so that a refused row
    // keeps its editor.
    const bool control = e->modifiers().testFlag(Qt::ControlModifier);
    int move = -1;
    switch (e->key()) {
    case Qt::Key_Up:
        move = MoveUp;
        break;
    case Qt::Key_Down:
        move = MoveDown;
        break;
    case Qt::Key_PageUp:
        move = MovePageUp;
        break;
    case Qt::Key_PageDown:
        move = MovePageDown;
        break;
    case Qt::Key_Home:
        move = control ? MoveHome : -1;
        break;
    case Qt::Key_End:
        move = control ? MoveEnd : -1;
        break;
    default:
        break;
    }
    if (move >= 0) {
        const QModelIndex to = moveCursor(CursorAction(move), e->modifiers());
        if (to.isValid() && !canLeaveRow(to.row())) {
            e->accept();
            return;
        }
    }
    QTableView::keyPressEvent(e);
}

void DataGrid::mousePressEvent(QMouseEvent *e)
{
    const QModelIndex at = indexAt(e->position().toPoint());
    if (at.isValid() && !canLeaveRow(at.row())) {
        e->accept();
        return;
    }
    QTableView::mousePressEvent(e);
}

bool DataGrid::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
        const QPoint pos = static_cast<QMouseEvent *>(e)->position().toPoint();
        int row = -1;
        if (watched == verticalHeader()->viewport())
            row = verticalHeader()->logicalIndexAt(pos);
        else if (watched == horizontalHeader()->viewport())
            row = verticalHeader()->logicalIndexAt(0); // a column is selected from the top row
        if (row >= 0 && !canLeaveRow(row))
            return true;
    }
    return QTableView::eventFilter(watched, e);
}

QWidget *DataGrid::fromSpec(const ControlSpec &spec, QWidget *parent)
{
    auto *grid = new DataGrid(parent);
    const QJsonObject &p = spec.props;
    grid->setAllowAddNew(p.value(u"allowAddNew"_s).toBool(false));
    grid->setAllowUpdate(p.value(u"allowUpdate"_s).toBool(true));
    grid->setAllowDelete(p.value(u"allowDelete"_s).toBool(false));
    grid->setRecordSelectors(p.value(u"recordSelectors"_s).toBool(true));
    if (p.value(u"headFont"_s).isObject())
        grid->setHeadFont(FormLoader::font(p.value(u"headFont"_s).toObject(), grid->headFont()));
    QList<RecordsetModel::Column> columns;
    const QJsonArray list = p.value(u"columns"_s).toArray();
    for (const QJsonValue &v : list) {
        const QJsonObject c = v.toObject();
        columns.append({c.value(u"caption"_s).toString(), c.value(u"dataField"_s).toString()});
    }
    if (!columns.isEmpty())
        grid->setColumns(columns);
    return grid;
}

void DataGrid::registerFormKind()
{
    if (!FormLoader::hasKind(u"grid"_s))
        FormLoader::registerKind(u"grid"_s, &DataGrid::fromSpec);
}
