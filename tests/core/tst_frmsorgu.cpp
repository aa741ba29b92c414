#include "appfonts.h"
#include "archivefixture.h"
#include "database.h"
#include "datacontrol.h"
#include "datagrid.h"
#include "form1.h"
#include "frmsorgu.h"
#include "globals.h"
#include "mybutton.h"
#include "recordset.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

QList<Song> songs()
{
    QList<Song> s = sampleSongs();
    s << Song{u"Kerkük Yolu"_s,
              {{u"Sözler"_s, u"Kerkük'ün yolları"_s},
               {u"Yöresi"_s, u"Kerkük"_s},
               {u"Söz"_s, u"Ali"_s},
               {u"Müzik"_s, u"Ali"_s}}};
    return s;
}

// Runs check on the first modal window of the given kind once it shows, then closes it.
template <typename W>
void onModal(std::function<void(W *)> check)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
        if (auto *w = qobject_cast<W *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            check(w);
            w->close();
        }
    });
    timer->start();
}

} // namespace

class TestFrmsorgu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { appfonts::install(); }
    void init();
    void cleanup();
    void startValues();
    void sorgulaPreviewsRows();
    void noRowsLeavesNoCount();
    void operatorChoiceAndSort();
    void orientationBoxes();
    void raporuGosterRefusals_data();
    void raporuGosterRefusals();
    void raporuGosterShowsPreview();
    void sqlBoxKeepsItsCharacters();
    void reportButtonOpensWindow();
    void vanishedFileOpensNothing();
    void reportReadsTheOpenDatabase();
    void longReadCancelled_data();
    void longReadCancelled();
    void reportTooBig_data();
    void reportTooBig();

private:
    std::unique_ptr<ArchiveFixture> m_f;
    std::unique_ptr<frmsorgu::Window> m_w;
    QString m_file;
};

void TestFrmsorgu::init()
{
    m_f = std::make_unique<ArchiveFixture>();
    m_file = m_f->makeArchive(u"rapor.qel"_s, songs());
    g::vt = db::Database::open(m_file);
    g::vtdosyasi = m_file;
    m_w = std::make_unique<frmsorgu::Window>();
    QVERIFY(m_w->Form_Load());
    m_w->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
}

void TestFrmsorgu::cleanup()
{
    m_w.reset();
    m_f.reset();
}

void TestFrmsorgu::startValues()
{
    QCOMPARE(m_w->windowTitle(), u"Rapor İçin Sorgu"_s);
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(m_w->combo(i)->currentText(), u"Hepsi"_s);
        QCOMPARE(m_w->combo(i)->count(), 5);
        QVERIFY(m_w->kriter(i)->text().isEmpty());
        QCOMPARE(m_w->siralama(i)->text(), u"Artan"_s);
    }
    QCOMPARE(m_w->combo(0)->itemText(4), u"İle Başlar"_s);
    QVERIFY(m_w->siralama(0)->isChecked());
    QVERIFY(!m_w->siralama(1)->isEnabled());
    QCOMPARE(m_w->marj(0)->text() + m_w->marj(1)->text() + m_w->marj(2)->text() + m_w->marj(3)->text(),
             u"2,01,02,02,0"_s);
    QVERIFY(m_w->option1()->isChecked());
    QVERIFY(!m_w->option2()->isChecked());
    QCOMPARE(g::siralamasql, u" ORDER By Başlık"_s);
    QVERIFY(m_w->findChild<QWidget *>(u"MyButtonDefSkin"_s));
    QVERIFY(m_w->txtsql()->toPlainText().isEmpty());
}

void TestFrmsorgu::sorgulaPreviewsRows()
{
    m_w->combo(1)->setCurrentText(u"İçerir"_s);
    m_w->kriter(1)->setText(u"Kerkük'ün"_s);
    m_w->button(1)->click();
    QVERIFY(m_f->boxes.isEmpty());
    QVERIFY(m_w->txtsql()->toPlainText().endsWith(u"WHERE  sözler Like '*Kerkük''ün*' ORDER By Başlık"_s));
    QCOMPARE(m_w->countCaption(), u"Kayıt Sayısı: 1"_s);
    QCOMPARE(m_w->dbGrid1()->model()->rowCount(), 1);

    // All songs in Turkish order.
    m_w->combo(1)->setCurrentText(u"Hepsi"_s);
    m_w->button(1)->click();
    QCOMPARE(m_w->countCaption(), u"Kayıt Sayısı: 6"_s);
    QStringList shown;
    for (int r = 0; r < m_w->dbGrid1()->model()->rowCount(); ++r)
        shown << m_w->dbGrid1()->model()->index(r, 0).data().toString();
    QCOMPARE(shown, QStringList({u"Ali Paşa"_s, u"Ayva Çiçek"_s, u"Bülbülüm"_s, u"Çanakkale"_s, u"Kerkük Yolu"_s,
                                 u"Sarı Gelin"_s}));
}

void TestFrmsorgu::noRowsLeavesNoCount()
{
    m_w->button(1)->click();
    QCOMPARE(m_w->countCaption(), u"Kayıt Sayısı: 6"_s);
    m_w->combo(0)->setCurrentText(u"Eşittir"_s);
    m_w->kriter(0)->setText(u"Yok Böyle"_s);
    m_w->button(1)->click();
    QCOMPARE(m_f->boxTexts(), QStringList({u"Kayıt bulunamadı!"_s}));
    QVERIFY(m_w->countCaption().isEmpty());
    QCOMPARE(m_w->dbGrid1()->model()->rowCount(), 0);
}

void TestFrmsorgu::operatorChoiceAndSort()
{
    m_w->kriter(2)->setText(u"Sivas"_s);
    m_w->combo(2)->setCurrentIndex(3);
    emit m_w->combo(2)->activated(3);
    QCOMPARE(m_w->kriter(2)->text(), u"Sivas"_s);
    m_w->combo(2)->setCurrentIndex(0);
    emit m_w->combo(2)->activated(0);
    QVERIFY(m_w->kriter(2)->text().isEmpty());
    // Typed into the list: nothing is cleared and the list keeps its five operators.
    m_w->kriter(4)->setText(u"Ağıt"_s);
    m_w->combo(4)->lineEdit()->clear();
    QTest::keyClicks(m_w->combo(4)->lineEdit(), u"Hepsi"_s);
    QTest::keyClick(m_w->combo(4)->lineEdit(), Qt::Key_Return);
    QCOMPARE(m_w->kriter(4)->text(), u"Ağıt"_s);
    m_w->combo(5)->lineEdit()->clear();
    QTest::keyClicks(m_w->combo(5)->lineEdit(), u"Buyuk"_s);
    QTest::keyClick(m_w->combo(5)->lineEdit(), Qt::Key_Return);
    QCOMPARE(m_w->combo(5)->count(), 5);

    QTest::mouseClick(m_w->siralama(5), Qt::LeftButton);
    QTest::mouseClick(m_w->siralama(2), Qt::LeftButton);
    QTest::mouseClick(m_w->siralama(1), Qt::LeftButton); // disabled
    QCOMPARE(g::siralamasql, u" ORDER By Yöresi"_s);
    m_w->button(1)->click();
    QVERIFY(m_w->txtsql()->toPlainText().endsWith(u"FROM Zelvoran ORDER By Yöresi"_s));
}

void TestFrmsorgu::orientationBoxes()
{
    QTest::mouseClick(m_w->option2(), Qt::LeftButton);
    QVERIFY(m_w->option2()->isChecked());
    QVERIFY(!m_w->option1()->isChecked());
    // The ticked box pressed again: both unticked, and the report reads that as portrait.
    QTest::mouseClick(m_w->option2(), Qt::LeftButton);
    QVERIFY(!m_w->option1()->isChecked() && !m_w->option2()->isChecked());
    QCOMPARE(m_w->orientation(), QPageLayout::Portrait);
    QVERIFY(m_w->option1()->isChecked());
    // Ticked by keyboard: the other stays.
    m_w->option2()->setFocus();
    QTest::keyClick(m_w->option2(), Qt::Key_Space);
    QVERIFY(m_w->option1()->isChecked() && m_w->option2()->isChecked());
    QCOMPARE(m_w->orientation(), QPageLayout::Portrait);
}

void TestFrmsorgu::raporuGosterRefusals_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("margin");
    QTest::addColumn<QString>("marginText");
    QTest::addColumn<QString>("message");
    QTest::newRow("before Sorgula") << QString() << -1 << QString() << u"Öncelikle Sorgula işlemini yapmalısınız!"_s;
    QTest::newRow("a delete") << u"DELETE FROM Zelvoran"_s << -1 << QString() << u"değiştirir"_s;
    QTest::newRow("a delete behind WITH")
        << u"WITH x AS (SELECT 1) DELETE FROM Zelvoran"_s << -1 << QString() << u"değiştirir"_s;
    QTest::newRow("fields missing") << u"SELECT Başlık FROM Zelvoran"_s << -1 << QString() << u"girişmodu"_s;
    QTest::newRow("unknown field") << u"SELECT Yok FROM Zelvoran"_s << -1 << QString() << u"Yok"_s;
    QTest::newRow("a Like of a field") << u"SELECT * FROM Zelvoran WHERE Başlık Like Yöresi || '*'"_s << -1 << QString()
                                       << u"Like Yöresi || '*'"_s;
    QTest::newRow("margin no number") << u"SELECT * FROM Zelvoran"_s << 1 << u"abc"_s << u"Alt Boşluk"_s;
    QTest::newRow("margin 58") << u"SELECT * FROM Zelvoran"_s << 2 << u"58"_s << u"Sol Boşluk"_s;
}

void TestFrmsorgu::raporuGosterRefusals()
{
    QFETCH(QString, sql);
    QFETCH(int, margin);
    QFETCH(QString, marginText);
    QFETCH(QString, message);
    m_w->txtsql()->setPlainText(sql);
    if (margin >= 0)
        m_w->marj(margin)->setText(marginText);
    bool previewed = false;
    QTimer closer;
    closer.setSingleShot(true);
    connect(&closer, &QTimer::timeout, [&] {
        if (auto *d = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
            previewed = true;
            d->close();
        }
    });
    closer.start(500);
    m_w->button(2)->click();
    QVERIFY(!previewed);
    QCOMPARE(m_f->boxes.size(), 1);
    QVERIFY2(m_f->boxes.first().text.contains(message), qPrintable(m_f->boxes.first().text));
    QCOMPARE(db::Database::open(m_file)->openRecordset(u"Zelvoran"_s)->recordCount(), 6);
}

void TestFrmsorgu::raporuGosterShowsPreview()
{
    m_w->combo(0)->setCurrentText(u"İle Başlar"_s);
    m_w->kriter(0)->setText(u"K"_s);
    m_w->button(1)->click();
    QTest::mouseClick(m_w->option2(), Qt::LeftButton); // Yatay
    QString title;
    int pages = 0;
    QPageLayout layout;
    onModal<QPrintPreviewDialog>([&](QPrintPreviewDialog *d) {
        title = d->windowTitle();
        if (auto *preview = d->findChild<QPrintPreviewWidget *>())
            pages = preview->pageCount();
        layout = d->printer()->pageLayout();
    });
    m_w->button(2)->click();
    QVERIFY(m_f->boxes.isEmpty());
    QCOMPARE(title, u"Önizleme"_s);
    QCOMPARE(pages, 1);
    QCOMPARE(layout.orientation(), QPageLayout::Landscape);
    QCOMPARE(layout.margins(QPageLayout::Point), QMarginsF(56.7, 56.7, 56.7, 28.35));
    QVERIFY(g::raporsql.endsWith(u"WHERE  Başlık Like 'K%' ORDER By Başlık"_s));
    // The credits pass ran before the report.
    auto rs = db::Database::open(m_file)->openRecordset(
        u"SELECT girişmodu FROM Zelvoran WHERE Başlık = 'Kerkük Yolu'"_s);
    QCOMPARE(rs->text(u"girişmodu"_s), u"   SM:Ali"_s);
}

// The query runs with the characters of the box as they are: a no-break space in a
// title is no blank.
void TestFrmsorgu::sqlBoxKeepsItsCharacters()
{
    const QString title = u"Kara\u00A0Tren"_s;
    g::vt->execute(u"INSERT INTO Zelvoran (Başlık) VALUES (?)"_s, {title});
    m_w->combo(0)->setCurrentText(u"Eşittir"_s);
    m_w->kriter(0)->setText(title);
    m_w->button(1)->click();
    QVERIFY(m_f->boxes.isEmpty());
    QCOMPARE(m_w->countCaption(), u"Kayıt Sayısı: 1"_s);
    onModal<QPrintPreviewDialog>([](QPrintPreviewDialog *) {});
    m_w->button(2)->click();
    QVERIFY(m_f->boxes.isEmpty());
    QVERIFY2(g::raporsql.endsWith(u"başlık='"_s + title + u"' ORDER By Başlık"_s), qPrintable(g::raporsql));
}

void TestFrmsorgu::reportButtonOpensWindow()
{
    m_w.reset();
    g::vt.reset();
    m_f->makeSettings(m_file);
    QVERIFY(m_f->start());
    QString title, line;
    onModal<frmsorgu::Window>([&](frmsorgu::Window *w) {
        title = w->windowTitle();
        auto rs = db::Database::open(m_file)->openRecordset(
            u"SELECT girişmodu FROM Zelvoran WHERE Başlık = 'Ali Paşa'"_s);
        line = rs->text(u"girişmodu"_s);
    });
    // A pending edit of the shown song is saved first and reaches its credits line.
    QCOMPARE(m_f->form()->findChild<QLineEdit *>(u"Text3"_s)->text(), u"Ali Paşa"_s);
    m_f->form()->findChild<QPlainTextEdit *>(u"txt(4)"_s)->setPlainText(u"Yeni Derleyen"_s);
    MyButton *rpr = m_f->form()->findChild<MyButton *>(u"RPR"_s);
    QVERIFY(rpr);
    rpr->click();
    QCOMPARE(title, u"Rapor İçin Sorgu"_s);
    QCOMPARE(line, u"  D:Yeni Derleyen"_s);
    QVERIFY(m_f->boxes.isEmpty());
}

void TestFrmsorgu::vanishedFileOpensNothing()
{
    m_w.reset();
    g::vtdosyasi = m_f->path(u"yok.qel"_s);
    bool opened = false;
    QTimer closer;
    closer.setSingleShot(true);
    connect(&closer, &QTimer::timeout, [&] {
        if (auto *w = qobject_cast<frmsorgu::Window *>(QApplication::activeModalWidget())) {
            opened = true;
            w->close();
        }
    });
    closer.start(300);
    frmsorgu::show(nullptr);
    QVERIFY(!opened);
    QCOMPARE(m_f->boxes.size(), 1);
    QVERIFY2(m_f->boxes.first().text.contains(u"yok.qel"_s), qPrintable(m_f->boxes.first().text));
}

// After another song database is chosen, the report lists its songs.
void TestFrmsorgu::reportReadsTheOpenDatabase()
{
    QList<Song> many;
    for (int i = 0; i < 30; ++i)
        many << Song{u"Başka Türkü %1"_s.arg(i), {}};
    const QString other = m_f->makeArchive(u"başka.qel"_s, many);
    g::vt = db::Database::open(other);
    g::vtdosyasi = other;
    m_w = std::make_unique<frmsorgu::Window>();
    QVERIFY(m_w->Form_Load());
    m_w->button(1)->click();
    QCOMPARE(m_w->countCaption(), u"Kayıt Sayısı: 30"_s);
    int pages = 0;
    onModal<QPrintPreviewDialog>([&](QPrintPreviewDialog *d) {
        if (auto *preview = d->findChild<QPrintPreviewWidget *>())
            pages = preview->pageCount();
    });
    m_w->button(2)->click();
    QCOMPARE(pages, 3); // six songs would fill one
    QVERIFY(m_f->boxes.isEmpty());
}

namespace {

// Columns of the report over a counting statement.
const QString kCount = u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c%1) "_s;
const QString kFields = u"SELECT x AS Başlık, x AS Yöresi, x AS girişmodu, %1 AS Sözler FROM c"_s;

// Closes a preview that opens while it lives and tells whether one did.
struct NoPreview {
    QTimer timer;
    bool previewed = false;
    NoPreview()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto *d = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
                previewed = true;
                d->close();
            }
        });
        timer.start(20);
    }
};

// The preview of the songs starting with K opens after Raporu Göster.
bool reportShows(frmsorgu::Window *w, ArchiveFixture *f)
{
    w->txtsql()->setPlainText(u"SELECT * FROM Zelvoran WHERE Başlık Like 'K*'"_s);
    int pages = 0;
    onModal<QPrintPreviewDialog>([&](QPrintPreviewDialog *d) {
        if (auto *preview = d->findChild<QPrintPreviewWidget *>())
            pages = preview->pageCount();
    });
    w->button(2)->click();
    return pages == 1 && f->boxes.isEmpty();
}

} // namespace

// A statement that reads for long shows a progress window over the query window; its
// İptal stops the statement, says nothing, and the window makes the next report.
void TestFrmsorgu::longReadCancelled_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("endless, no row passes") << kCount.arg(QString()) + kFields.arg(u"x"_s) + u" WHERE x = 0"_s;
    QTest::newRow("endless, sorted") << kCount.arg(QString()) + kFields.arg(u"x"_s) + u" ORDER BY x DESC"_s;
    QTest::newRow("ten million, none passes")
        << kCount.arg(u" LIMIT 10000000"_s) + kFields.arg(u"x"_s) + u" WHERE x > 10000000"_s;
}

void TestFrmsorgu::longReadCancelled()
{
    QFETCH(QString, sql);
    m_w->txtsql()->setPlainText(sql);
    QString label;
    QWidget *over = nullptr;
    bool modal = false;
    auto *timer = new QTimer(this);
    timer->setInterval(20);
    connect(timer, &QTimer::timeout, this, [&, timer] {
        auto *d = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        if (!d || !d->labelText().contains(u"Okunan kayıt"_s))
            return;
        timer->deleteLater();
        label = d->labelText();
        over = d->parentWidget();
        modal = d->isModal();
        for (QPushButton *b : d->findChildren<QPushButton *>()) {
            if (b->text() == u"İptal"_s)
                QTest::mouseClick(b, Qt::LeftButton);
        }
    });
    timer->start();
    {
        NoPreview none;
        m_w->button(2)->click();
        QVERIFY(!none.previewed);
    }
    QVERIFY2(label.startsWith(u"Rapor hazırlanıyor..."_s), qPrintable(label));
    QCOMPARE(over, m_w.get());
    QVERIFY(modal);
    QVERIFY2(m_f->boxes.isEmpty(), qPrintable(m_f->boxTexts().join(u" | "_s)));
    QVERIFY(!qobject_cast<QProgressDialog *>(QApplication::activeModalWidget()));
    QVERIFY(m_w->isVisible() && m_w->isEnabled());
    QVERIFY(reportShows(m_w.get(), m_f.get()));
}

void TestFrmsorgu::reportTooBig_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("endless") << kCount.arg(QString()) + kFields.arg(u"x"_s);
    QTest::newRow("ten million rows") << kCount.arg(u" LIMIT 10000000"_s) + kFields.arg(u"x"_s);
    QTest::newRow("megabyte lyrics") << kCount.arg(QString()) + kFields.arg(u"hex(zeroblob(500000))"_s);
}

// Past what a report can hold, the statement stops with a message; the window goes on.
void TestFrmsorgu::reportTooBig()
{
    QFETCH(QString, sql);
    m_w->txtsql()->setPlainText(sql);
    // A slow machine may show the progress window first; it is left to close by itself.
    {
        NoPreview none;
        m_w->button(2)->click();
        QVERIFY(!none.previewed);
    }
    QCOMPARE(m_f->boxes.size(), 1);
    const QString text = m_f->boxes.first().text;
    QVERIFY2(text.contains(u"Rapor çok büyük"_s) && text.contains(u"daraltıp"_s), qPrintable(text));
    m_f->boxes.clear();
    QVERIFY(reportShows(m_w.get(), m_f.get()));
}

QTEST_MAIN(TestFrmsorgu)
#include "tst_frmsorgu.moc"
