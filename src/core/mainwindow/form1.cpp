#include "form1.h"

#include "appwindows.h"
#include "database.h"
#include "datacontrol.h"
#include "fonksiyon.h"
#include "formloader.h"
#include "globals.h"
#include "idioms.h"
#include "loadedwindows.h"
#include "messagebox.h"
#include "mybutton.h"
#include "pendingedit.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "songdatabase.h"
#include "songdbswitch.h"
#include "statusbar.h"
#include "szlk.h"
#include "titletree.h"
#include "treeview.h"
#include "windowfactory.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTime>
#include <QTimer>
#include <cmath>
#include <variant>

using namespace Qt::StringLiterals;

namespace {
const QString kQelFilter = u"Türkü Veritabanı (*.qel)"_s + QChar(u'\0') + u"*.qel"_s + QChar(u'\0');
} // namespace

Form1::Form1(const QString &layout, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"Form1"_s);
    appwindows::initResources();
    const FormSpec spec = FormLoader::load(layout, this);
    auto found = form1controls::find(this);
    const auto *missing = std::get_if<QStringList>(&found);
    if (missing || !spec.problems.isEmpty()) {
        m_layoutFailure = form1controls::layoutFailure(missing ? *missing : QStringList(), spec.problems);
        return;
    }
    m_ui = std::get<Form1Controls>(found);
    m_titleTree = std::make_unique<titletree::TitleTree>(*m_ui.TVW, m_ui.ImageList1);
    m_dictionary = std::make_unique<idioms::DictionaryCache>();

    connect(m_ui.stbar, &StatusBar::panelClick, this, &Form1::stbar_PanelClick);
    connect(m_ui.Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(m_ui.Data1, &db::DataControl::reposition, this, &Form1::Data1_Reposition);
    connect(m_ui.HScroll1, &RecordScrollBar::change, this, &Form1::HScroll1_Change);
    connect(m_ui.HScroll1, &RecordScrollBar::scroll, this, &Form1::HScroll1_Scroll);
    connect(m_ui.TVW, &TreeView::nodeClick, this, &Form1::TVW_NodeClick);
    connect(m_ui.RPR, &MyButton::Click, this, &Form1::RPR_Click);
    connectGroupings();
    connectAudio();
    connectEditing();
    pendingedit::escapeDrops(this, m_ui.Data1, [this] { dropPendingEdit(); });

    const std::pair<MyButton *, QString> openers[] = {{m_ui.about, u"frmabout"_s},
                                                      {m_ui.cmd_ekle, u"frm_ekleme"_s},
                                                      {m_ui.hlp, u"frm_help"_s},
                                                      {m_ui.cmdonsoz, u"onsoz"_s}};
    for (const auto &[button, form] : openers)
        connect(button, &MyButton::Click, this, [this, form] { openSecondary(form); });

    connect(m_ui.szlkac, &MyButton::Click, this,
            [this] { szlk::show(this, g::vt ? g::vt->name() : QString(), u"sozluk"_s); });

    // The background and the frames close the controls' tip window.
    setMouseTracking(true);
    for (QWidget *frame : m_ui.frames) {
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
    }
}

Form1::~Form1()
{
    if (g::anaform == this)
        g::anaform = nullptr;
}

bool Form1::load()
{
    if (!m_layoutFailure.isEmpty()) {
        msg::box(m_layoutFailure, msg::Icon::Critical);
        return false;
    }
    g::ilkacilis = 0;
    m_ui.stbar->setPanelText(5, QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    if (!vtac(1))
        return false;
    tree();
    g::raporsql = u"zelvoran"_s;
    return true;
}

void Form1::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    // The first activation runs once the window stands on the screen.
    if (g::ilkacilis != 1)
        QTimer::singleShot(0, this, &Form1::Form_Activate);
}

void Form1::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && g::ilkacilis != 1)
        Form_Activate();
}

void Form1::Form_Activate()
{
    if (g::ilkacilis == 1 || m_unloading || !m_layoutFailure.isEmpty())
        return;
    g::ilkacilis = 1;
    m_ui.grnm[0]->setChecked(true);
    grnm_bslk_Click();

    // The recordset knows its count without a move to the last record, so the display
    // stays on the first record and no other group of the tree is opened on the way.
    const int count = m_ui.Data1->recordset() ? m_ui.Data1->recordset()->recordCount() : 0;
    m_ui.HScroll1->setMaximumChecked(std::max(count, 1));
    m_ui.HScroll1->setMinimumChecked(1);
    izlememodu();
    m_ui.option1->setChecked(true);
    m_ui.option2->setChecked(false);
    kapat();
    emit firstActivationDone();
}

void Form1::izlememodu()
{
    setMode(true);
}

void Form1::duzenlememodu()
{
    setMode(false);
}

// View mode locks the record's boxes and greys them; edit mode unlocks them.
void Form1::setMode(bool view)
{
    g::penceremodu = view ? u"izleme"_s : u"düzenleme"_s;
    m_ui.sil->setEnabled(!view);
    const QColor back = view ? QColor(0xF0, 0xF0, 0xF0) : QColor(Qt::white);
    auto colour = [&](QWidget *w) {
        QPalette p = w->palette();
        p.setColor(QPalette::Base, back);
        w->setPalette(p);
    };
    m_ui.Text1->setReadOnly(view);
    colour(m_ui.Text1);
    m_ui.Text3->setReadOnly(view);
    for (QPlainTextEdit *box : m_ui.txt) {
        box->setReadOnly(view);
        colour(box);
    }
    for (QLineEdit *box : m_ui.mp3yol)
        box->setReadOnly(view);
}

void Form1::closeEvent(QCloseEvent *e)
{
    if (!m_layoutFailure.isEmpty())
        return QWidget::closeEvent(e); // no window was made: nothing to save or close
    if (!saveBeforeLeaving()) {
        e->ignore();
        return;
    }
    m_unloading = true;
    audioUnload();
    g::vt.reset();
    g::ayarvt.reset();
    m_ui.Data1->close();
    m_ui.Data2->close();
    const auto windows = loadedwindows::list();
    for (int i = int(windows.size()) - 1; i >= 1; --i) {
        QWidget *w = windows.at(i);
        if (w && w != this)
            w->close();
    }
    closeValueTip();
    loadedwindows::remove(this);
    e->accept();
    qApp->quit();
}

// Saves a pending edit before the databases go; a refused save asks first.
bool Form1::saveBeforeLeaving()
{
    if (!m_ui.Data1 || !m_ui.Data1->recordset())
        return true;
    try {
        m_ui.Data1->saveRecord();
        return true;
    } catch (const db::Error &e) {
        const QString cause = e.causeDescription().isEmpty() ? e.description() : e.causeDescription();
        const auto answer = msg::box(u"Kayıttaki değişiklikler saklanamadı:\n"_s + cause
                                         + u"\n\nDeğişiklikleri bırakıp programdan çıkılsın mı?"_s,
                                     msg::Icon::Critical, msg::Buttons::YesNo);
        return answer == msg::Result::Yes;
    }
}

void Form1::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    if (m_layoutFailure.isEmpty())
        Form_Resize();
}

void Form1::Form_Resize()
{
    // Outer width in twips, frame included.
    const double w = pixelsToTwips(frameGeometry().width());
    m_ui.stbar->setPanelWidth(1, int(std::nearbyint(w / 43.5)));
    m_ui.stbar->setPanelWidth(2, int(std::nearbyint(w / 105.0)));
    m_ui.stbar->setPanelWidth(3, int(std::nearbyint(w / 43.5)));
}

void Form1::stbar_PanelClick(int n)
{
    if (n != 1)
        return;
    const std::shared_ptr<db::Database> before = g::vt;
    if (vtac(2) && g::vt != before)
        showChosenView();
}

// Another song database: its tree in the view chosen last, its first record shown.
void Form1::showChosenView()
{
    for (QAbstractButton *option : m_ui.grnm) {
        if (option->isChecked()) {
            g::agacmodu = u"tümü"_s;
            option->click();
            return;
        }
    }
}

void Form1::Timer1_Timer()
{
    m_ui.stbar->setPanelText(4, QLocale().toString(QTime::currentTime(), u"HH:mm:ss"_s));
}

void Form1::mouseMoveEvent(QMouseEvent *e)
{
    closeValueTip();
    QWidget::mouseMoveEvent(e);
}

bool Form1::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::MouseMove)
        closeValueTip();
    return QWidget::eventFilter(watched, e);
}

void Form1::closeValueTip()
{
    appwindows::closeValueTip();
}

void Form1::openSecondary(const QString &formName)
{
    appwindows::showModal(formName, this);
}

// Opens both databases (mode 1) or lets the user choose another song database (2).
// The chosen path is stored only once it opened as a song database, and in mode 2
// nothing changes until the new file has been checked and the pending edit saved.
bool Form1::vtac(int mod1)
{
    QString path;
    if (mod1 != 2) {
        try {
            g::ayarvt = songdb::openSettings(songdb::settingsPath());
            path = songdb::storedPath(*g::ayarvt);
        } catch (const db::Error &e) {
            msg::box(u"Ayar dosyası açılamadı: "_s + songdb::settingsPath() + u"\n"_s + e.description());
            return false;
        }
        if (!path.isEmpty() && openSongDatabase(path, mod1) == Opened::Yes)
            return true;
    }

    for (;;) {
        const QString chosen = fonksiyon::dosyaac(QDir::homePath(), kQelFilter);
        if (chosen.isEmpty()) {
            if (mod1 == 2)
                return true;
            const auto answer = msg::box(u"Bir dosya seçmelisiniz!"_s, msg::Icon::None, msg::Buttons::OkCancel,
                                         {u"Tamam"_s, u"Programdan Çık"_s});
            if (answer == msg::Result::Cancel)
                return false;
            continue;
        }
        path = chosen.left(chosen.size() - 1);
        const Opened opened = openSongDatabase(path, mod1);
        // A refused edit is the user's to mend first: back to the record, not the dialog.
        if (opened == Opened::EditRefused)
            return true;
        if (opened == Opened::Yes) {
            try {
                songdb::storePath(*g::ayarvt, path);
            } catch (const db::Error &e) {
                msg::box(u"Seçilen veritabanının yolu ayar dosyasına yazılamadı:\n"_s + e.description());
            }
            return true;
        }
    }
}

// Opens and checks the file, then binds the window to it. Anything but Yes leaves
// everything as it was; the messages of the failure have been shown.
Form1::Opened Form1::openSongDatabase(const QString &path, int mod1)
{
    using Outcome = songdb::SwitchResult::Outcome;
    const songdb::SwitchResult r = songdb::DatabaseSwitch(*m_ui.Data1, *m_ui.Data2).open(path, mod1 == 2);
    switch (r.outcome) {
    case Outcome::Opened:
        break;
    case Outcome::NotFound:
        return Opened::No;
    case Outcome::NotSongDatabase:
        msg::box(path + u" geçerli bir türkü veritabanı değil!"_s);
        return Opened::No;
    case Outcome::NotDatabase:
        msg::box(path + u" bir veritabanı dosyası değil!"_s);
        return Opened::No;
    case Outcome::EditRefused:
        reportRefusedSave(*r.error);
        return Opened::EditRefused;
    case Outcome::OpenFailed:
    case Outcome::BindFailed:
        msg::box(r.error->description());
        return Opened::No;
    case Outcome::RollbackFailed:
        msg::box(r.error->description()
                 + u"\n\nÖnceki veritabanı da yeniden açılamadı; kayıtlar gösterilemiyor. "
                   u"Başka bir veritabanı seçin.\n"_s
                 + r.rollbackError->description());
        return Opened::No;
    }
    g::vt = r.database;
    g::vtdosyasi = path;
    m_ui.stbar->setPanelText(1, u"Veritabanı Dosyası = "_s + g::vtdosyasi);
    return Opened::Yes;
}
