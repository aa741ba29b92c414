#include "frmsorgu.h"

#include "appwindows.h"
#include "database.h"
#include "datacontrol.h"
#include "datagrid.h"
#include "dberror.h"
#include "fieldtextedit.h"
#include "fonksiyon.h"
#include "formloader.h"
#include "globals.h"
#include "messagebox.h"
#include "mybutton.h"
#include "recordset.h"
#include "report.h"
#include "reportstatement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace frmsorgu {

Window::Window(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(u"frmsorgu"_s);
    appwindows::initResources();
    DataGrid::registerFormKind();
    const FormSpec spec = FormLoader::load(u":/forms/frmsorgu.json"_s, this);

    m_data1 = findChild<db::DataControl *>(u"Data1"_s);
    m_dbGrid1 = findChild<DataGrid *>(u"DBGrid1"_s);
    m_txtsql = findChild<QPlainTextEdit *>(u"txtsql"_s);
    m_option1 = findChild<QCheckBox *>(u"option1"_s);
    m_option2 = findChild<QCheckBox *>(u"option2"_s);
    if (m_dbGrid1)
        m_dbGrid1->setDataControl(m_data1);

    // The data control's bar, which shows its caption.
    if (const ControlSpec *c = spec.control(u"Data1"_s)) {
        m_data1Caption = new QLabel(this);
        m_data1Caption->setObjectName(u"Data1.caption"_s);
        m_data1Caption->setGeometry(c->pixels());
        m_data1Caption->setFrameShape(QFrame::Panel);
        m_data1Caption->setFrameShadow(QFrame::Sunken);
        m_data1Caption->setFont(FormLoader::font(c->font, font()));
        m_data1Caption->setAlignment(Qt::AlignCenter);
    }

    for (int i = 0; i < reportquery::kColumns; ++i) {
        m_combo[size_t(i)] = findChild<QComboBox *>(u"Combo(%1)"_s.arg(i));
        m_kriter[size_t(i)] = findChild<QLineEdit *>(u"kriter(%1)"_s.arg(i));
        m_siralama[size_t(i)] = findChild<QRadioButton *>(u"sıralama(%1)"_s.arg(i));
        // The operator box covers the header's lower part.
        if (auto *header = findChild<QLineEdit *>(u"bslk(%1)"_s.arg(i)))
            header->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // A choice from the list, not typing into it; a typed text joins no list.
        if (m_combo[size_t(i)]) {
            m_combo[size_t(i)]->setInsertPolicy(QComboBox::NoInsert);
            connect(m_combo[size_t(i)], &QComboBox::activated, this, [this, i] { Combo_Click(i); });
        }
        if (m_siralama[size_t(i)])
            connect(m_siralama[size_t(i)], &QRadioButton::clicked, this, [this, i] { siralama_Click(i); });
    }
    for (int i = 0; i < 4; ++i)
        m_marj[size_t(i)] = findChild<QLineEdit *>(u"marj(%1)"_s.arg(i));

    // The orientation boxes untick each other when the mouse goes down on them.
    for (QCheckBox *box : {m_option1, m_option2}) {
        if (box)
            box->installEventFilter(this);
    }
    if (auto *b = button(1))
        connect(b, &MyButton::Click, this, &Window::MyButton1_Click);
    if (auto *b = button(2))
        connect(b, &MyButton::Click, this, &Window::MyButton2_Click);
    if (auto *b = button(3))
        connect(b, &MyButton::Click, this, &QDialog::close);
    setMouseTracking(true);
}

Window::~Window()
{
    // The children go after this part of the window: their signals must no longer reach it.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

MyButton *Window::button(int i) const
{
    return findChild<MyButton *>(u"MyButton%1"_s.arg(i));
}

bool Window::Form_Load()
{
    g::siralamasql = reportquery::sortClause(0);
    if (!m_data1)
        return true;
    try {
        // The preview reads the song database through a connection of its own.
        db::Database::open(g::vtdosyasi);
        m_data1->setDatabaseName(g::vtdosyasi);
        m_data1->setReadOnly(true);
        m_data1->refresh();
    } catch (const db::Error &e) {
        msg::box(e.description());
        return false;
    }
    return true;
}

QString Window::countCaption() const
{
    return m_data1 ? m_data1->caption() : QString();
}

void Window::setCountCaption(const QString &text)
{
    if (m_data1)
        m_data1->setCaption(text);
    if (m_data1Caption)
        m_data1Caption->setText(text);
}

std::array<reportquery::Criterion, reportquery::kColumns> Window::criteria() const
{
    std::array<reportquery::Criterion, reportquery::kColumns> out;
    for (int i = 0; i < reportquery::kColumns; ++i) {
        if (m_combo[size_t(i)])
            out[size_t(i)].op = m_combo[size_t(i)]->currentText();
        if (m_kriter[size_t(i)])
            out[size_t(i)].text = m_kriter[size_t(i)]->text();
    }
    return out;
}

void Window::Combo_Click(int i)
{
    if (m_combo[size_t(i)]->currentText() == u"Hepsi"_s && m_kriter[size_t(i)])
        m_kriter[size_t(i)]->clear();
}

void Window::siralama_Click(int i)
{
    const QString clause = reportquery::sortClause(i);
    if (!clause.isEmpty())
        g::siralamasql = clause;
}

// The grid and the count show no rows.
void Window::clearPreview()
{
    setCountCaption({});
    try {
        m_data1->setRecordSource({});
        m_data1->refresh();
    } catch (const db::Error &) {
        // Nothing is written: the grid keeps its last rows until the next preview replaces them.
    }
}

void Window::MyButton1_Click()
{
    if (!m_txtsql || !m_data1)
        return;
    m_txtsql->setPlainText(reportquery::build(criteria(), g::siralamasql));
    try {
        m_data1->setRecordSource(FieldTextEdit::text(m_txtsql));
        m_data1->refresh();
    } catch (const db::Error &e) {
        clearPreview();
        msg::box(report::failureText(e));
        return;
    }
    db::Recordset *rs = m_data1->recordset();
    if (!rs || (rs->bof() && rs->eof())) {
        setCountCaption({});
        msg::box(u"Kayıt bulunamadı!"_s);
        return;
    }
    setCountCaption(u"Kayıt Sayısı: "_s + QString::number(rs->recordCount()));
}

QPageLayout::Orientation Window::orientation()
{
    if (m_option1 && m_option2 && !m_option1->isChecked() && !m_option2->isChecked())
        m_option1->setChecked(true);
    return !m_option1 || m_option1->isChecked() ? QPageLayout::Portrait : QPageLayout::Landscape;
}

void Window::MyButton2_Click()
{
    QString unreadable;
    g::raporsql = fonksiyon::jokercevir(m_txtsql ? FieldTextEdit::text(m_txtsql) : QString(), &unreadable);
    if (g::raporsql.isEmpty()) {
        msg::box(u"Öncelikle Sorgula işlemini yapmalısınız!"_s);
        return;
    }
    if (!unreadable.isEmpty()) {
        msg::box(unreadable);
        return;
    }
    if (const QString refusal = reportstatement::check(g::vtdosyasi, g::raporsql); !refusal.isEmpty()) {
        msg::box(refusal);
        return;
    }
    const QPageLayout::Orientation o = orientation();
    std::array<QString, 4> texts;
    for (int i = 0; i < 4; ++i)
        texts[size_t(i)] = m_marj[size_t(i)] ? m_marj[size_t(i)]->text() : QString();
    const QSizeF page = report::pageTwips(o);
    reportquery::Margins margins;
    if (const QString why = reportquery::checkMargins(texts, page.width(), page.height(), &margins); !why.isEmpty()) {
        msg::box(why);
        return;
    }
    try {
        fonksiyon::girismoduyaz();
    } catch (const db::Error &e) {
        msg::box(report::failureText(e));
        return;
    }
    const report::Loaded loaded = report::loadRowsShowingProgress(this, g::vtdosyasi, g::raporsql);
    if (loaded.cancelled)
        return;
    if (loaded.failure) {
        msg::box(*loaded.failure);
        return;
    }
    QString why;
    if (!report::preview(this, loaded.rows, margins, o, &why))
        msg::box(why);
}

bool Window::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_option1 && m_option2)
            m_option2->setChecked(false);
        else if (watched == m_option2 && m_option1)
            m_option1->setChecked(false);
    }
    return QDialog::eventFilter(watched, e);
}

void Window::mouseMoveEvent(QMouseEvent *e)
{
    appwindows::closeValueTip();
    QDialog::mouseMoveEvent(e);
}

void show(QWidget *parent)
{
    QPointer<Window> w = new Window(parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    if (!w->Form_Load()) {
        delete w;
        return;
    }
    appwindows::runModal(w);
}

} // namespace frmsorgu
