#include "archivefixture.h"

#include "database.h"
#include "datacontrol.h"
#include "faults.h"
#include "form1.h"
#include "globals.h"
#include "mainwindowboxes.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "statusbar.h"
#include "treeview.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using mainwindow::editMode;
using mainwindow::lyricsBox;
using mainwindow::titleBox;

const QStringList kLetters = {u"A"_s, u"B"_s, u"Ç"_s, u"S"_s};

// Types a title as a keyboard would, so that its node follows.
void typeTitle(Form1 *w, const QString &text)
{
    QLineEdit *box = titleBox(w);
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(box, &in);
    box->selectAll();
    for (const QChar c : text) {
        const int code = c == u' '            ? int(Qt::Key_Space)
                         : c.unicode() < 0x7f ? int(c.toUpper().unicode())
                                              : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &release);
    }
}

QPoint rightArrow(RecordScrollBar *bar)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.orientation = Qt::Horizontal;
    opt.state |= QStyle::State_Horizontal;
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarAddLine, bar).center();
}

void sendMouse(QWidget *w, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

enum Fault { DigitsTitle, WritesRefused, RowDeleted };

// Makes the save of the shown record (the first song, with the lyrics edited) fail.
void applyFault(Form1 *w, const QString &archive, Fault fault)
{
    lyricsBox(w)->setPlainText(u"yeni sözler"_s);
    switch (fault) {
    case DigitsTitle:
        typeTitle(w, u"1923"_s);
        return;
    case WritesRefused:
        QVERIFY(faults::refuseWrites(archive, u"Zelvoran"_s, u"Disk dolu"_s));
        break;
    case RowDeleted:
        QVERIFY(faults::changeElsewhere(archive, u"DELETE FROM Zelvoran WHERE Başlık = 'Ali Paşa'"_s));
        break;
    }
    typeTitle(w, u"Ali Paşa Yeni"_s);
}

// A digits-only title is put back to the stored one by its refusal; the others stay
// refused until the edit is dropped.
void faultRows(bool withDigits)
{
    QTest::addColumn<int>("fault");
    if (withDigits)
        QTest::newRow("digits-only title") << int(DigitsTitle);
    QTest::newRow("writes refused") << int(WritesRefused);
    QTest::newRow("row deleted elsewhere") << int(RowDeleted);
}

} // namespace

class TestRefusedSave : public QObject {
    Q_OBJECT
private slots:
    void arrowHeldWithRefusedSave_data() { faultRows(true); }

    // The button stays down well past the auto-repeat's delay: one message, the record stays.
    void arrowHeldWithRefusedSave()
    {
        QFETCH(int, fault);
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters);
        f.makeSettings(archive);
        QVERIFY(f.start());
        Form1 *w = f.form();
        editMode(w);
        applyFault(w, archive, Fault(fault));
        RecordScrollBar *bar = w->hscroll1();
        const QPoint arrow = rightArrow(bar);
        sendMouse(bar, QEvent::MouseButtonPress, arrow, Qt::LeftButton);
        QTest::qWait(1200);
        sendMouse(bar, QEvent::MouseButtonRelease, arrow, Qt::NoButton);
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(w->data1()->recordset()->absolutePosition(), 0);
        QCOMPARE(bar->value(), 1);
        QCOMPARE(w->stbar()->panelText(2), u"Kayıt : 1 / 5"_s);
    }

    void escapeDropsTheEdit_data() { faultRows(false); }

    // Escape in a box puts back the whole stored record; the next move goes on and writes
    // nothing.
    void escapeDropsTheEdit()
    {
        QFETCH(int, fault);
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters);
        f.makeSettings(archive);
        QVERIFY(f.start());
        Form1 *w = f.form();
        TreeView *tv = w->tvw();
        editMode(w);
        applyFault(w, archive, Fault(fault));

        // Refused again and again until the edit is dropped.
        for (int i = 1; i <= 2; ++i) {
            w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            QCOMPARE(f.boxes.size(), i);
            QCOMPARE(w->data1()->recordset()->absolutePosition(), 0);
        }
        QVERIFY(f.boxTexts().first().endsWith(u"Esc tuşuna basın."_s));

        QTest::keyClick(lyricsBox(w), Qt::Key_Escape);
        if (fault == RowDeleted) {
            QCOMPARE(lyricsBox(w)->toPlainText(), QString());
        } else {
            QCOMPARE(titleBox(w)->text(), u"Ali Paşa"_s);
            QCOMPARE(lyricsBox(w)->toPlainText(), u"Gel yanıma\nsevdiğim"_s);
            QVERIFY(tv->findTitle(u"Ali Paşa"_s));
            QCOMPARE(tv->selectedNode()->key(), u"Ali Paşa"_s);
            QVERIFY(!tv->findTitle(u"Ali Paşa Yeni"_s));
        }
        QVERIFY(!w->data1()->hasPendingEdit());

        f.boxes.clear();
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QVERIFY(f.boxes.isEmpty());
        QCOMPARE(titleBox(w)->text(), u"Bülbülüm"_s);

        auto vt = db::Database::open(archive);
        QVERIFY(vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Sözler = 'yeni sözler'"_s)->eof());
        QVERIFY(vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = 'Ali Paşa Yeni'"_s)->eof());
        QCOMPARE(vt->openRecordset(u"Zelvoran"_s)->recordCount(), fault == RowDeleted ? 4 : 5);
    }

    // With nothing pending, Escape changes nothing and moves on to the box.
    void escapeWithoutEditKeepsTheRecord()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        Form1 *w = f.form();
        editMode(w);
        QTest::keyClick(lyricsBox(w), Qt::Key_Escape);
        QTest::keyClick(titleBox(w), Qt::Key_Escape);
        QCOMPARE(titleBox(w)->text(), u"Ali Paşa"_s);
        QCOMPARE(lyricsBox(w)->toPlainText(), u"Gel yanıma\nsevdiğim"_s);
        QVERIFY(!w->data1()->hasPendingEdit());
        QCOMPARE(f.boxTexts(), QStringList());
    }
};

QTEST_MAIN(TestRefusedSave)
#include "tst_refusedsave.moc"
