#pragma once

#include "recordsetmodel.h"

#include <QFont>
#include <QPointer>
#include <QTableView>

struct ControlSpec;
class QWidget;

// A grid bound to a data control: it shows every record of the control's recordset after
// each refresh and follows the control's moves. A changed row is stored when the user
// leaves it; a refusal is shown and keeps the user on the row with the typed text. With
// adding allowed an empty last row takes new entries; rows selected by their record
// selectors are deleted with the Delete key, at once.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    void setDataControl(db::DataControl *control);
    db::DataControl *dataControl() const { return m_model->dataControl(); }
    RecordsetModel *recordsetModel() const { return m_model; }

    // Headings with their fields; none set: the recordset's fields.
    void setColumns(const QList<RecordsetModel::Column> &columns);

    void setAllowAddNew(bool on) { m_model->setAllowAddNew(on); }
    bool allowAddNew() const { return m_model->allowAddNew(); }
    void setAllowUpdate(bool on) { m_model->setAllowUpdate(on); }
    bool allowUpdate() const { return m_model->allowUpdate(); }
    void setAllowDelete(bool on) { m_model->setAllowDelete(on); }
    bool allowDelete() const { return m_model->allowDelete(); }
    void setRecordSelectors(bool on);
    bool recordSelectors() const;
    void setHeadFont(const QFont &font);
    QFont headFont() const { return m_headFont; }
    void setCellFont(const QFont &font) { setFont(font); }
    QFont cellFont() const { return font(); }
    // Checked before a row is stored; see RecordsetModel::RowCheck.
    void setRowCheck(RecordsetModel::RowCheck check) { m_model->setRowCheck(std::move(check)); }

    // Takes the open editor's text and stores the pending row. submitRow shows a refusal
    // (critical icon) and leaves the row pending; trySubmitRow only gives the reason.
    bool submitRow();
    bool trySubmitRow(QString *refusal);
    void revertRow();
    bool hasPendingRow() const { return m_model->pendingRow() >= 0; }

    // The layout file's kind "grid": props allowAddNew, allowUpdate, allowDelete,
    // recordSelectors, headFont {family, size, bold, italic} and columns
    // [{caption, dataField}]. The binding (props dataSource) is made by the window.
    static QWidget *fromSpec(const ControlSpec &spec, QWidget *parent);
    static void registerFormKind();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    bool canLeaveRow(int toRow);
    void commitEditor();
    void deleteSelectedRows();
    void followControl(int row);
    void fitRowHeight();

    RecordsetModel *m_model;
    QFont m_headFont;
    QPointer<QWidget> m_editor;
    QList<int> m_widths;
    bool m_leaving = false;
};
