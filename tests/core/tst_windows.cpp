#include "archivefixture.h"

#include "appwindows.h"
#include "database.h"
#include "datacontrol.h"
#include "form1.h"
#include "formspec.h"
#include "frm_ekleme.h"
#include "frmabout.h"
#include "globals.h"
#include "mybutton.h"
#include "onsoz.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "songdatabase.h"
#include "treeview.h"
#include "windowfactory.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QStringList kLetters = {u"A"_s, u"B"_s, u"Ç"_s, u"S"_s, u"Y"_s};

void setBox(QWidget *window, const QString &name, const QString &text)
{
    if (auto *e = window->findChild<QLineEdit *>(name))
        e->setText(text);
    else if (auto *p = window->findChild<QPlainTextEdit *>(name))
        p->setPlainText(text);
    else
        QFAIL(qPrintable(name));
}

int songCount()
{
    return g::vt->openRecordset(u"Zelvoran"_s)->recordCount();
}

void add(FrmEkleme &w, const QString &title)
{
    setBox(&w, u"bslk"_s, title);
    w.findChild<MyButton *>(u"ekle"_s)->click();
}

} // namespace

class TestWindows : public QObject {
    Q_OBJECT
private slots:
    void addRefused_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << u"Başlık alanı boş olamaz!"_s;
        QTest::newRow("blank") << u"  "_s << u"Başlık alanı boş olamaz!"_s;
        QTest::newRow("apostrophe") << u"Ali'nin"_s << u"Başlık bölümünde Ayraç (') karakteri kullanılamaz!"_s;
        QTest::newRow("digits") << u"1923"_s << u"Başlık sadece rakamlardan oluşamaz!"_s;
        QTest::newRow("taken, other case") << u"ALİ PAŞA"_s << u"[ ALİ PAŞA ] adında bir kayıt zaten var!"_s;
    }

    void addRefused()
    {
        QFETCH(QString, title);
        QFETCH(QString, message);
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        FrmEkleme w(f.form());
        setBox(&w, u"yore"_s, u"Konya"_s);
        add(w, title);
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.first().text, message);
        QCOMPARE(f.boxes.first().icon, msg::Icon::Critical);
        QCOMPARE(songCount(), 5);
        // The window keeps what was typed.
        QCOMPARE(w.findChild<QPlainTextEdit *>(u"yore"_s)->toPlainText(), u"Konya"_s);
    }

    void addStoresAndShows()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        Form1 *w = f.form();
        // After a search, in a grouped view.
        w->findChild<QCheckBox *>(u"ara_b"_s)->setChecked(true);
        w->findChild<QLineEdit *>(u"ara"_s)->setText(u"ali"_s);
        w->findChild<MyButton *>(u"sbaslikara"_s)->click();
        QVERIFY(!w->hscroll1()->isEnabled());

        FrmEkleme e(w);
        setBox(&e, u"yore"_s, u"Konya"_s);
        setBox(&e, u"sozler"_s, u" Yeni sözler "_s);
        bool treeBeforeMessage = false;
        f.boxAnswers.clear();
        msg::setHandler([&](const msg::Request &r) {
            f.boxes.append(r);
            treeBeforeMessage = w->tvw()->find(u"Yeni Türkü"_s) != nullptr;
            return msg::Result::Ok;
        });
        add(e, u"Yeni Türkü"_s);
        QCOMPARE(f.boxTexts(), QStringList(u"Kayıt başarıyla eklendi"_s));
        QCOMPARE(f.boxes.first().icon, msg::Icon::None);
        QVERIFY(treeBeforeMessage);
        QCOMPARE(w->tvw()->node(u"Yeni Türkü"_s)->parent()->key(), u"Y0"_s);
        // Every record again, the scroll bar back, the first record shown.
        QCOMPARE(w->data1()->recordSource(), u"zelvoran"_s);
        QCOMPARE(w->data1()->recordset()->recordCount(), 6);
        QVERIFY(w->hscroll1()->isEnabled());
        QCOMPARE(w->findChild<QLineEdit *>(u"Text3"_s)->text(), u"Ali Paşa"_s);

        auto rs = g::vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = 'Yeni Türkü'"_s);
        QCOMPARE(rs->text(u"Yöresi"_s), u"Konya"_s);
        QCOMPARE(rs->text(u"Sözler"_s), u" Yeni sözler "_s);
        for (const QString &field : {u"Türü"_s, u"Türü2"_s, u"Derleyen"_s, u"KaynakKişi"_s, u"Söz"_s, u"Müzik"_s,
                                     u"Söyleyenler"_s, u"Açıklama"_s, u"digerbilgiler"_s, u"girişmodu"_s, u"mp3_1"_s}) {
            QVERIFY2(rs->field(field).isNull(), qPrintable(field));
        }
        // The same title again is refused.
        f.boxes.clear();
        add(e, u"Yeni Türkü"_s);
        QCOMPARE(f.boxTexts(), QStringList(u"[ Yeni Türkü ] adında bir kayıt zaten var!"_s));
        QCOMPARE(songCount(), 6);
    }

    // A title whose initial the archive's letters lack, or one they do not match as typed.
    void addedTitleHasANode_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("folder");
        QTest::newRow("initial not listed") << u"Mihriban Türküsü"_s << u"M0"_s;
        QTest::newRow("circumflex") << u"Âşık Türküsü"_s << u"A0"_s;
        QTest::newRow("leading blank") << u" Elma Dalı"_s << u"E0"_s;
    }

    void addedTitleHasANode()
    {
        QFETCH(QString, title);
        QFETCH(QString, folder);
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        Form1 *w = f.form();
        FrmEkleme e(w);
        add(e, title);
        QCOMPARE(f.boxTexts(), QStringList(u"Kayıt başarıyla eklendi"_s));
        TreeNode *node = w->tvw()->findTitle(title);
        QVERIFY(node);
        QCOMPARE(node->parent()->key(), folder);
        emit w->tvw()->nodeClick(node);
        QCOMPARE(w->findChild<QLineEdit *>(u"Text3"_s)->text(), title);
        // The archive's own letters are left as they were.
        QCOMPARE(g::vt->openRecordset(u"basharfler"_s)->recordCount(), kLetters.size());
    }

    void pendingEditRefusedFirst()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        Form1 *w = f.form();
        QTest::mouseClick(w->findChild<QCheckBox *>(u"option2"_s), Qt::LeftButton);
        w->findChild<QLineEdit *>(u"Text3"_s)->setText(u"Bülbülüm"_s);
        FrmEkleme e(w);
        add(e, u"Yeni Türkü"_s);
        QCOMPARE(f.boxTexts(), QStringList(u"[ Bülbülüm ] başlığı ile başka bir kayıt zaten var!"_s));
        QCOMPARE(songCount(), 5);
        QVERIFY(!w->tvw()->find(u"Yeni Türkü"_s));
        QCOMPARE(w->findChild<QLineEdit *>(u"Text3"_s)->text(), u"Bülbülüm"_s);
    }

    void escapeKeepsWindowsOpen()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        for (const QString &name : {u"frm_ekleme"_s, u"frmabout"_s}) {
            QPointer<QDialog> d = appwindows::create(name, f.form());
            d->show();
            QVERIFY(QTest::qWaitForWindowExposed(d));
            QTest::keyClick(d, Qt::Key_Escape);
            QVERIFY2(d->isVisible(), qPrintable(name));
            // Every window with skinned buttons carries the default skin.
            QVERIFY(d->findChild<QLabel *>(u"MyButtonDefSkin"_s));
            QVERIFY(d->findChild<QLabel *>(u"MyButtonDefSkin"_s)->isHidden());
            d->findChild<MyButton *>(u"kapat"_s)->click();
            QVERIFY(!d->isVisible());
            delete d;
        }
    }

    // Opened from the main window's buttons, modally, loaded anew each time.
    void openedFromMainWindow()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        const struct {
            const char16_t *button, *window, *caption;
        } openers[] = {{u"cmd_ekle", u"frm_ekleme", u"Yeni Kayıt Ekleme Formu"},
                       {u"about", u"frmabout", u""},
                       {u"hlp", u"frm_help", u"Birkaç Not"},
                       {u"cmdonsoz", u"onsoz", u"Programa Dair Önsözler"}};
        for (const auto &o : openers) {
            for (int time = 0; time < 2; ++time) {
                QString seen, caption, typed;
                QTimer::singleShot(0, [&] {
                    QWidget *d = QApplication::activeModalWidget();
                    QVERIFY(d);
                    seen = d->objectName();
                    caption = d->windowTitle();
                    if (auto *bslk = d->findChild<QLineEdit *>(u"bslk"_s)) {
                        typed = bslk->text();
                        bslk->setText(u"yazıldı"_s);
                    }
                    d->close();
                });
                f.form()->findChild<MyButton *>(QString::fromUtf16(o.button))->click();
                QCOMPARE(seen, QString::fromUtf16(o.window));
                QCOMPARE(caption, QString::fromUtf16(o.caption));
                QCOMPARE(typed, QString());
            }
        }
    }

    void forewords()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        {
            auto ayar = db::Database::open(f.path(u"nsz.dll"_s));
            ayar->execute(u"UPDATE onsoz SET vu = 'Derleyenin sözü', qel = 'Programcının sözü'"_s);
        }
        QVERIFY(f.start());
        Onsoz w(f.form());
        auto *text1 = w.findChild<QPlainTextEdit *>(u"Text1"_s);
        auto *text2 = w.findChild<QPlainTextEdit *>(u"Text2"_s);
        QCOMPARE(text1->toPlainText(), u"Derleyenin sözü"_s);
        QCOMPARE(text2->toPlainText(), u"Programcının sözü"_s);
        QVERIFY(text1->isReadOnly() && text2->isReadOnly());
        QVERIFY(!w.findChild<QLabel *>(u"Label1"_s)->text().isEmpty());

        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(800, 533);
        // 200 twips apart, give or take the rounding of each pixel value.
        QTRY_VERIFY(qAbs(text2->x() - (text1->x() + text1->width() + twipsToPixels(200))) <= 1);
        QCOMPARE(text1->width(), text2->width());
        QCOMPARE(w.findChild<QLabel *>(u"Label2"_s)->x(), text2->x());
        // Too small for the formulas: the boxes keep their last sizes.
        const QSize kept = text1->size();
        w.resize(10, 10);
        QTest::qWait(20);
        QCOMPARE(text1->size(), kept);
    }

    void forewordLayout_data()
    {
        QTest::addColumn<double>("w");
        QTest::addColumn<double>("h");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("left2");
        QTest::newRow("12000 x 8000") << 12000.0 << 8000.0 << 5700.0 << 6800.0 << 6020.0;
        QTest::newRow("wider") << 14000.0 << 8000.0 << 6700.0 << 6800.0 << 7020.0;
        QTest::newRow("too small") << 400.0 << 900.0 << -100.0 << -300.0 << 220.0;
    }

    void forewordLayout()
    {
        QFETCH(double, w);
        QFETCH(double, h);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, left2);
        const Onsoz::Layout l = Onsoz::layoutFor(w, h, 120);
        QCOMPARE(l.boxWidth, width);
        QCOMPARE(l.boxHeight, height);
        QCOMPARE(l.text2Left, left2);
    }

    void notesAndAbout()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        std::unique_ptr<QDialog> help(appwindows::create(u"frm_help"_s, f.form()));
        QStringList texts;
        for (int i = 0; i < 4; ++i)
            texts << help->findChild<QLabel *>(u"Label1(%1)"_s.arg(i))->text();
        QVERIFY(texts[0].startsWith(u"Neyazıkki programa yardım menüsü"_s));
        QVERIFY(texts[1].startsWith(u"1- Türkü sözleri dışında"_s));
        QVERIFY(texts[2].startsWith(u"2- Türkü başlıklarının"_s));
        QVERIFY(texts[3].startsWith(u"3- Zelvoranin saklandığı"_s));
        auto *frame = help->findChild<QLabel *>(u"Label1(0)"_s);
        QCOMPARE(frame->frameShape(), QFrame::Box);
        // The numbered notes lie inside the first label's border.
        for (int i = 1; i < 4; ++i)
            QVERIFY(frame->geometry().contains(help->findChild<QLabel *>(u"Label1(%1)"_s.arg(i))->geometry()));

        FrmAbout about(f.form());
        QVERIFY(!(about.windowFlags() & Qt::WindowTitleHint));
        QCOMPARE(about.findChild<QLabel *>(u"Label1"_s)->text(), u"Qel Zelvoran Veritabanı Uygulaması Programı"_s);
        QCOMPARE(about.findChild<QLabel *>(u"Label2"_s)->text(), u"Version : 1.0"_s);
        for (const QString &l : {u"Label3"_s, u"Label4"_s, u"Label5"_s})
            QVERIFY(about.findChild<QLabel *>(l)->text().contains(u"example.org"_s));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
