#include "szlk.h"

#include "appwindows.h"
#include "datacontrol.h"
#include "datagrid.h"
#include "dberror.h"
#include "formloader.h"
#include "formspec.h"
#include "messagebox.h"

#include <QPointer>
#include <QResizeEvent>

using namespace Qt::StringLiterals;

namespace szlk {

Window::Window(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(u"szlk"_s);
    appwindows::initResources();
    DataGrid::registerFormKind();
    const FormSpec spec = FormLoader::load(u":/forms/szlk.json"_s, this);

    m_data1 = findChild<db::DataControl *>(u"Data1"_s);
    m_dbGrid1 = findChild<DataGrid *>(u"DBGrid1"_s);
    if (m_dbGrid1) {
        const ControlSpec *grid = spec.control(u"DBGrid1"_s);
        const QString source = grid ? grid->props.value(u"dataSource"_s).toString() : QString();
        m_dbGrid1->setDataControl(findChild<db::DataControl *>(source));
        m_dbGrid1->setRowCheck(&Window::checkEntry);
    }
}

Window::~Window() = default;

QString Window::checkEntry(const QVariantMap &values, bool isNew)
{
    Q_UNUSED(isNew);
    const QVariant idiom = values.value(u"Deyim"_s);
    if (idiom.isNull() || idiom.toString().trimmed().isEmpty())
        return u"Deyim boş olamaz!"_s;
    return {};
}

bool Window::savePending()
{
    if (!m_dbGrid1)
        return true;
    QString why;
    if (m_dbGrid1->trySubmitRow(&why))
        return true;
    const auto answer = msg::box(u"Sözlükteki değişiklikler saklanamadı:\n"_s + why
                                     + u"\n\nDeğişiklikleri bırakıp pencere kapatılsın mı?"_s,
                                 msg::Icon::Critical, msg::Buttons::YesNo);
    if (answer != msg::Result::Yes)
        return false;
    m_dbGrid1->revertRow();
    return true;
}

void Window::done(int result)
{
    // Every way of closing (close button, Escape, code) comes here.
    if (!savePending())
        return;
    QDialog::done(result);
}

void Window::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    Form_Resize();
}

// W and H are the outer size in twips; a step that would give a negative size is skipped
// and the grid keeps that size from the last time it worked.
void Window::Form_Resize()
{
    if (!m_dbGrid1)
        return;
    const double w = pixelsToTwips(frameGeometry().width());
    const double h = pixelsToTwips(frameGeometry().height());

    const double gridWidth = w - 400;
    if (gridWidth >= 0)
        m_dbGrid1->resize(twipsToPixels(gridWidth), m_dbGrid1->height());

    const double shownWidth = pixelsToTwips(m_dbGrid1->width());
    if (m_dbGrid1->model()->columnCount() > 0)
        m_dbGrid1->setColumnWidth(0, twipsToPixels(shownWidth / 3.5));

    const double column1 = shownWidth - pixelsToTwips(m_dbGrid1->columnWidth(0)) - 800;
    if (column1 >= 0 && m_dbGrid1->model()->columnCount() > 1)
        m_dbGrid1->setColumnWidth(1, twipsToPixels(column1));

    const double gridHeight = h - 700;
    if (gridHeight >= 0)
        m_dbGrid1->resize(m_dbGrid1->width(), twipsToPixels(gridHeight));
}

void show(QWidget *parent, const QString &databasePath, const QString &recordSource)
{
    QPointer<Window> w = new Window(parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    if (db::DataControl *data = w->data1()) {
        data->setDatabaseName(databasePath);
        data->setRecordSource(recordSource);
        try {
            data->refresh();
        } catch (const db::Error &e) {
            msg::box(e.description());
            delete w;
            return;
        }
    }
    appwindows::runModal(w);
}

} // namespace szlk
