#include "archivefixture.h"

#include "database.h"
#include "datacontrol.h"
#include "faults.h"
#include "form1.h"
#include "globals.h"
#include "mainwindowboxes.h"
#include "mybutton.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "statusbar.h"
#include "treeview.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using mainwindow::editMode;
using mainwindow::titleBox;

const QStringList kLetters = {u"A"_s, u"B"_s, u"Ç"_s, u"S"_s};

QCheckBox *box(Form1 *w, const QString &name)
{
    return w->findChild<QCheckBox *>(name);
}

// Focus into the title box as a click gives it.
void focusTitle(Form1 *w)
{
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(titleBox(w), &in);
}

void key(QWidget *target, int code, Qt::KeyboardModifiers mods, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, code, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, mods, text);
    QApplication::sendEvent(target, &release);
}

// Types text as a keyboard would, any letter included: a press and a release per character.
void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text) {
        int code = Qt::Key_unknown;
        if (c == u' ')
            code = Qt::Key_Space;
        else if (c.unicode() < 0x7f)
            code = c.toUpper().unicode();
        key(target, code, Qt::NoModifier, QString(c));
    }
}

int songCount(const QString &archive)
{
    auto vt = db::Database::open(archive);
    return vt->openRecordset(u"Zelvoran"_s)->recordCount();
}

// Records that the tree of the archive's own letters lacked a node for, shown right
// after "Bal", whose node is then selected.
void noNodeCases()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("hasNode");
    QTest::newRow("initial not in the letters") << u"Mihriban"_s << true;
    QTest::newRow("circumflex") << u"Âşık"_s << true;
    QTest::newRow("leading blank") << u" Elma"_s << true;
    QTest::newRow("digits only, by another tool") << u"1923"_s << false;
}

QString startAfterBal(ArchiveFixture &f, const QString &shown)
{
    const QString archive = f.makeArchive(
        u"a.qel"_s, {Song{u"Ayva"_s, {}}, Song{u"Bal"_s, {}}, Song{shown, {}}, Song{u"Cem"_s, {}}},
        {u"A"_s, u"B"_s, u"C"_s});
    f.makeSettings(archive);
    if (!f.start())
        return {};
    Form1 *w = f.form();
    w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    if (w->tvw()->selectedNode() != w->tvw()->findTitle(u"Bal"_s))
        return {};
    w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    f.boxes.clear();
    return archive;
}

// Bal's node as it was built, and the selection on the shown record's node or on none.
void checkBalAndSelection(Form1 *w, const QString &shownKey, bool hasNode)
{
    TreeView *tv = w->tvw();
    TreeNode *bal = tv->findTitle(u"Bal"_s);
    QVERIFY(bal);
    QCOMPARE(bal->text(), u"Bal"_s);
    QCOMPARE(bal->tag().toString(), u"Bal"_s);
    TreeNode *own = tv->findTitle(shownKey);
    QCOMPARE(bool(own), hasNode);
    QCOMPARE(tv->selectedNode(), own);
}

} // namespace

class TestEdit : public QObject {
    Q_OBJECT
private slots:
    void modes()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        Form1 *w = f.form();
        auto *sil = w->findChild<MyButton *>(u"sil"_s);
        auto *lyrics = w->findChild<QPlainTextEdit *>(u"Text1"_s);
        const auto locked = [&](bool yes) {
            QCOMPARE(titleBox(w)->isReadOnly(), yes);
            QCOMPARE(lyrics->isReadOnly(), yes);
            QCOMPARE(lyrics->palette().color(QPalette::Base), yes ? QColor(0xF0, 0xF0, 0xF0) : QColor(Qt::white));
            for (int i = 0; i <= 9; ++i)
                QCOMPARE(w->findChild<QPlainTextEdit *>(u"txt(%1)"_s.arg(i))->isReadOnly(), yes);
            for (int i = 1; i <= 4; ++i)
                QCOMPARE(w->findChild<QLineEdit *>(u"mp3yol%1"_s.arg(i))->isReadOnly(), yes);
            QCOMPARE(sil->isEnabled(), !yes);
        };
        const auto ticks = [&](bool one, bool two) {
            QCOMPARE(box(w, u"option1"_s)->isChecked(), one);
            QCOMPARE(box(w, u"option2"_s)->isChecked(), two);
        };
        locked(true);
        ticks(true, false);

        // A disabled delete button asks nothing.
        sil->click();
        QVERIFY(f.boxes.isEmpty());

        QTest::mouseClick(box(w, u"option2"_s), Qt::LeftButton);
        locked(false);
        ticks(false, true);
        // The ticked box pressed again: still edit mode, neither box ticked.
        QTest::mouseClick(box(w, u"option2"_s), Qt::LeftButton);
        locked(false);
        ticks(false, false);
        // A right button runs the handler without ticking.
        QTest::mouseClick(box(w, u"option1"_s), Qt::RightButton);
        locked(true);
        ticks(false, false);
        // A double click is a press too.
        QTest::mouseDClick(box(w, u"option2"_s), Qt::LeftButton);
        locked(false);
        // The space bar ticks without changing the mode.
        box(w, u"option1"_s)->setFocus();
        QTest::keyClick(box(w, u"option1"_s), Qt::Key_Space);
        QVERIFY(box(w, u"option1"_s)->isChecked());
        locked(false);
        QVERIFY(f.boxes.isEmpty());
    }

    void typingTitle()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        Form1 *w = f.form();
        TreeView *tv = w->tvw();
        QLineEdit *t3 = titleBox(w);

        // View mode: typing changes nothing and says nothing.
        focusTitle(w);
        typeText(t3, u"xy"_s);
        QVERIFY(tv->find(u"Ali Paşa"_s));
        QVERIFY(f.boxes.isEmpty());

        editMode(w);
        // A click on a folder first: the focus selects the shown record's node again.
        tv->node(u"S0"_s)->setSelected();
        // The window coming back (e.g. from this box's own message) is no focus of the box's.
        QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(t3, &back);
        QCOMPARE(tv->selectedNode()->key(), u"S0"_s);
        focusTitle(w);
        QCOMPARE(tv->selectedNode()->key(), u"Ali Paşa"_s);
        TreeNode *node = tv->selectedNode();

        t3->selectAll();
        typeText(t3, u"Ayva Çiçe"_s);
        QCOMPARE(node->key(), u"Ayva Çiçe"_s);
        QCOMPARE(node->text(), u"Ayva Çiçe"_s);
        QCOMPARE(node->tag().toString(), u"Ayva Çiçe"_s);
        QVERIFY(f.boxes.isEmpty());
        // Another record's title, in any case: refused, the box goes back.
        typeText(t3, u"K"_s);
        QCOMPARE(f.boxTexts(), QStringList(u"[ Ayva ÇiçeK ] başlığı ile başka bir kayıt zaten var!"_s));
        QCOMPARE(t3->text(), u"Ayva Çiçe"_s);
        QCOMPARE(node->key(), u"Ayva Çiçe"_s);
        f.boxes.clear();
        // Its own title in other letter case is the node's new spelling.
        t3->selectAll();
        typeText(t3, u"ALİ PAŞA"_s);
        QCOMPARE(node->key(), u"ALİ PAŞA"_s);
        // Home and End change nothing.
        QTest::keyClick(t3, Qt::Key_Home);
        QTest::keyClick(t3, Qt::Key_End);
        QCOMPARE(node->key(), u"ALİ PAŞA"_s);
        // Texts the tree cannot hold as a title leave the node as it was, silently.
        t3->selectAll();
        typeText(t3, u"1923"_s);
        QCOMPARE(node->key(), u"ALİ PAŞA"_s);
        QTest::keyClick(t3, Qt::Key_Backspace);
        t3->selectAll();
        QTest::keyClick(t3, Qt::Key_Delete);
        QCOMPARE(node->key(), u"ALİ PAŞA"_s);
        // Folders are never renamed.
        QVERIFY(tv->find(u"A0"_s));
        QVERIFY(f.boxes.isEmpty());

        // Leaving the record stores the accepted title.
        t3->setText(u"Ali Paşa Yeni"_s);
        QTest::keyClick(t3, Qt::Key_End);
        w->hscroll1()->setValueChecked(2);
        QCOMPARE(t3->text(), u"Bülbülüm"_s);
        auto rs = g::vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = 'Ali Paşa Yeni'"_s);
        QVERIFY(!rs->eof());
        QVERIFY(f.boxes.isEmpty());
    }

    void refusedSaveKeepsTheStoredTitle()
    {
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters);
        f.makeSettings(archive);
        QVERIFY(f.start());
        Form1 *w = f.form();
        TreeView *tv = w->tvw();
        QLineEdit *t3 = titleBox(w);
        auto *lyrics = w->findChild<QPlainTextEdit *>(u"Text1"_s);
        editMode(w);

        // Right after start-up a letter is selected: a taken title, pasted, is refused on
        // the step and the box shows the stored title again, not the letter.
        QCOMPARE(tv->selectedNode()->key(), u"A0"_s);
        t3->setText(u"BÜLBÜLÜM"_s);
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(f.boxTexts(), QStringList(u"[ BÜLBÜLÜM ] başlığı ile başka bir kayıt zaten var!"_s));
        QCOMPARE(t3->text(), u"Ali Paşa"_s);
        QCOMPARE(tv->selectedNode()->key(), u"Ali Paşa"_s);
        QCOMPARE(w->hscroll1()->value(), 1);
        // The record is left as it was stored.
        f.boxes.clear();
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(t3->text(), u"Bülbülüm"_s);
        QCOMPARE(songCount(archive), sampleSongs().size());
        QVERIFY(!g::vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = 'Ali Paşa'"_s)->eof());
        QVERIFY(f.boxes.isEmpty());

        // A full disk: the node renamed while the title was typed takes the stored title
        // back; the other boxes keep what was typed.
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        focusTitle(w);
        t3->selectAll();
        typeText(t3, u"Ali Paşa Yeni"_s);
        QCOMPARE(tv->selectedNode()->key(), u"Ali Paşa Yeni"_s);
        lyrics->setPlainText(u"yeni sözler"_s);
        QVERIFY(faults::refuseWrites(archive, u"Zelvoran"_s, u"Disk dolu"_s));
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(f.boxes.size(), 1);
        QVERIFY(f.boxTexts().first().contains(u"Disk dolu"_s));
        QCOMPARE(t3->text(), u"Ali Paşa"_s);
        QCOMPARE(tv->selectedNode()->key(), u"Ali Paşa"_s);
        QCOMPARE(tv->selectedNode()->text(), u"Ali Paşa"_s);
        QVERIFY(!tv->findTitle(u"Ali Paşa Yeni"_s));
        QCOMPARE(lyrics->toPlainText(), u"yeni sözler"_s);
        QCOMPARE(w->data1()->recordset()->absolutePosition(), 0);
        QCOMPARE(w->hscroll1()->value(), 1);
    }

    void emptyOrDigitTitleNotStored_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << u"Başlık alanı boş olamaz!"_s;
        QTest::newRow("blank") << u"   "_s << u"Başlık alanı boş olamaz!"_s;
        QTest::newRow("digits") << u"1923"_s << u"Başlık sadece rakamlardan oluşamaz!"_s;
    }

    void emptyOrDigitTitleNotStored()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters);
        f.makeSettings(archive);
        QVERIFY(f.start());
        Form1 *w = f.form();
        editMode(w);
        titleBox(w)->setText(typed);
        w->hscroll1()->setValueChecked(2);
        QCOMPARE(f.boxTexts(), QStringList(message));
        QCOMPARE(w->data1()->recordset()->absolutePosition(), 0);
        QCOMPARE(w->data1()->recordset()->text(u"Başlık"_s), u"Ali Paşa"_s);
        // The record is left once it has a title again.
        titleBox(w)->setText(u"Ali Paşa"_s);
        w->hscroll1()->setValueChecked(2);
        QCOMPARE(titleBox(w)->text(), u"Bülbülüm"_s);
    }

    void apostropheRefused_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("mods");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refused");
        QTest::newRow("Turkish Shift+2") << int(Qt::Key_2) << int(Qt::ShiftModifier) << u"'"_s << true;
        QTest::newRow("apostrophe key") << int(Qt::Key_Apostrophe) << 0 << u"'"_s << true;
        QTest::newRow("US Shift+2") << int(Qt::Key_2) << int(Qt::ShiftModifier) << u"@"_s << false;
        QTest::newRow("digit 2") << int(Qt::Key_2) << 0 << u"2"_s << false;
    }

    void apostropheRefused()
    {
        QFETCH(int, code);
        QFETCH(int, mods);
        QFETCH(QString, text);
        QFETCH(bool, refused);
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        Form1 *w = f.form();
        editMode(w);
        focusTitle(w);
        QLineEdit *t3 = titleBox(w);
        t3->end(false);
        typeText(t3, u"nın"_s);
        key(t3, code, Qt::KeyboardModifiers(mods), text);
        const QString typed = u"Ali Paşanın"_s + (refused ? QString() : text);
        QCOMPARE(t3->text(), typed);
        QCOMPARE(w->tvw()->selectedNode()->key(), typed);
        QCOMPARE(f.boxTexts(),
                 refused ? QStringList(u"Başlık bölümünde Ayraç (') karakteri kullanılamaz!"_s) : QStringList());
    }

    void pastedApostropheRefused()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters));
        QVERIFY(f.start());
        Form1 *w = f.form();
        editMode(w);
        focusTitle(w);
        QApplication::clipboard()->setText(u"'nin"_s);
        titleBox(w)->end(false);
        titleBox(w)->paste();
        QCOMPARE(f.boxTexts(), QStringList(u"Başlık bölümünde Ayraç (') karakteri kullanılamaz!"_s));
        QCOMPARE(titleBox(w)->text(), u"Ali Paşa"_s);
    }

    void noNodeTitleBox_data() { noNodeCases(); }

    void noNodeTitleBox()
    {
        QFETCH(QString, shown);
        QFETCH(bool, hasNode);
        ArchiveFixture f;
        const QString archive = startAfterBal(f, shown);
        QVERIFY(!archive.isEmpty());
        Form1 *w = f.form();
        QLineEdit *t3 = titleBox(w);
        QCOMPARE(t3->text(), shown);
        checkBalAndSelection(w, shown, hasNode);

        // View mode: the focus says nothing.
        focusTitle(w);
        QVERIFY(f.boxes.isEmpty());
        checkBalAndSelection(w, shown, hasNode);

        editMode(w);
        focusTitle(w);
        const QString problem =
            u"Bu başlık ilgili bir problem var. Muhtemelen sorun çıkaran karakterler kullanıldı. Formun kapanıp açılmasıyla problem çözülecektir."_s;
        QCOMPARE(f.boxTexts(), hasNode ? QStringList() : QStringList(problem));
        f.boxes.clear();
        checkBalAndSelection(w, shown, hasNode);

        // The apostrophe puts back the shown record's own title.
        t3->end(false);
        typeText(t3, u"x"_s);
        checkBalAndSelection(w, shown + u"x"_s, hasNode);
        key(t3, Qt::Key_2, Qt::ShiftModifier, u"'"_s);
        QCOMPARE(f.boxTexts(), QStringList(u"Başlık bölümünde Ayraç (') karakteri kullanılamaz!"_s));
        QCOMPARE(t3->text(), hasNode ? shown + u"x"_s : shown);
        f.boxes.clear();

        // Typing renames only the shown record's node; a search stores the edit first.
        t3->end(false);
        typeText(t3, u"y"_s);
        const QString typed = t3->text();
        checkBalAndSelection(w, typed, hasNode);
        QVERIFY(f.boxes.isEmpty());
        w->findChild<QCheckBox *>(u"ara_b"_s)->setChecked(true);
        w->findChild<QLineEdit *>(u"ara"_s)->setText(typed);
        w->findChild<MyButton *>(u"sbaslikara"_s)->click();
        QVERIFY(f.boxes.isEmpty());
        QCOMPARE(t3->text(), typed);
        QVERIFY(w->tvw()->findTitle(typed));
        QCOMPARE(w->tvw()->selectedNode(), w->tvw()->findTitle(typed));
        auto vt = db::Database::open(archive);
        QVERIFY(!vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = ?"_s, {typed})->eof());
        QVERIFY(!vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = 'Bal'"_s)->eof());
    }

    void noNodeRefusedSave_data() { noNodeCases(); }

    void noNodeRefusedSave()
    {
        QFETCH(QString, shown);
        QFETCH(bool, hasNode);
        ArchiveFixture f;
        const QString archive = startAfterBal(f, shown);
        QVERIFY(!archive.isEmpty());
        Form1 *w = f.form();
        QLineEdit *t3 = titleBox(w);
        editMode(w);
        focusTitle(w);
        f.boxes.clear();
        // A taken title, pasted: refused, and no other node is touched.
        t3->setText(u"BAL"_s);
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(f.boxTexts(), QStringList(u"[ BAL ] başlığı ile başka bir kayıt zaten var!"_s));
        QCOMPARE(t3->text(), shown);
        QCOMPARE(w->hscroll1()->value(), 3);
        checkBalAndSelection(w, shown, hasNode);
        // A full disk, after the title was typed.
        f.boxes.clear();
        t3->end(false);
        typeText(t3, u"x"_s);
        QVERIFY(faults::refuseWrites(archive, u"Zelvoran"_s, u"Disk dolu"_s));
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(f.boxes.size(), 1);
        QVERIFY(f.boxTexts().first().contains(u"Disk dolu"_s));
        QCOMPARE(t3->text(), shown);
        QCOMPARE(w->hscroll1()->value(), 3);
        checkBalAndSelection(w, shown, hasNode);
    }

    void noNodeDelete_data() { noNodeCases(); }

    void noNodeDelete()
    {
        QFETCH(QString, shown);
        QFETCH(bool, hasNode);
        ArchiveFixture f;
        const QString archive = startAfterBal(f, shown);
        QVERIFY(!archive.isEmpty());
        Form1 *w = f.form();
        QCOMPARE(bool(w->tvw()->findTitle(shown)), hasNode);
        editMode(w);
        // Shift+2 first: the box keeps the shown record's title.
        focusTitle(w);
        key(titleBox(w), Qt::Key_2, Qt::ShiftModifier, u"'"_s);
        f.boxes.clear();
        w->findChild<MyButton *>(u"sil"_s)->click();
        QCOMPARE(f.boxTexts(), QStringList(u"[ "_s + shown + u" ] Kaydı silinecek. Emin misiniz?"_s));
        auto vt = db::Database::open(archive);
        QVERIFY(vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = ?"_s, {shown})->eof());
        QCOMPARE(songCount(archive), 3);
        QVERIFY(!w->tvw()->findTitle(shown));
        // The record that followed, with its node.
        QCOMPARE(titleBox(w)->text(), u"Cem"_s);
        QCOMPARE(w->tvw()->selectedNode(), w->tvw()->findTitle(u"Cem"_s));
        QVERIFY(w->tvw()->findTitle(u"Bal"_s));
        QVERIFY(w->tvw()->findTitle(u"Ayva"_s));
    }

    // Which record is shown when and what the tree keeps.
    void deleting_data()
    {
        QTest::addColumn<int>("position");        // 1-based record shown
        QTest::addColumn<QString>("selectFirst"); // a node selected before, empty: the record's
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<int>("left");
        QTest::newRow("No") << 2 << QString() << int(msg::Result::No) << u"Bülbülüm"_s << u"Bülbülüm"_s
                            << u"Kayıt : 2 / 5"_s << 5;
        QTest::newRow("Yes in the middle")
            << 2 << QString() << int(msg::Result::Yes) << u"Bülbülüm"_s << u"Çanakkale"_s << u"Kayıt : 2 / 4"_s << 4;
        QTest::newRow("Yes on the last") << 5 << QString() << int(msg::Result::Yes) << u"Sarı Gelin"_s
                                         << u"Ayva Çiçek"_s << u"Kayıt : 4 / 4"_s << 4;
        QTest::newRow("folder selected") << 1 << u"A0"_s << int(msg::Result::Yes) << u"Ali Paşa"_s << u"Bülbülüm"_s
                                         << u"Kayıt : 1 / 4"_s << 4;
    }

    void deleting()
    {
        QFETCH(int, position);
        QFETCH(QString, selectFirst);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(QString, shown);
        QFETCH(QString, panel);
        QFETCH(int, left);
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs(), kLetters);
        f.makeSettings(archive);
        QVERIFY(f.start());
        Form1 *w = f.form();
        editMode(w);
        if (position != 1)
            w->hscroll1()->setValueChecked(position);
        if (!selectFirst.isEmpty())
            w->tvw()->node(selectFirst)->setSelected();
        f.boxAnswers = {msg::Result(answer)};
        w->findChild<MyButton *>(u"sil"_s)->click();
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.first().text, u"[ "_s + question + u" ] Kaydı silinecek. Emin misiniz?"_s);
        QCOMPARE(f.boxes.first().buttons, msg::Buttons::YesNo);
        QCOMPARE(f.boxes.first().icon, msg::Icon::None);
        QCOMPARE(titleBox(w)->text(), shown);
        QCOMPARE(w->stbar()->panelText(2), panel);
        QCOMPARE(w->tvw()->selectedNode()->key(), shown);
        QCOMPARE(songCount(archive), left);
        QCOMPARE(bool(w->tvw()->find(question)), left == 5);
        // The folder keeps its other titles.
        QVERIFY(w->tvw()->find(u"Ayva Çiçek"_s) || shown == u"Ayva Çiçek"_s);
        QCOMPARE(f.boxes.size(), 1);
    }

    void deletingTheOnlyRecord()
    {
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"a.qel"_s, {Song{u"Ali"_s, {{u"Sözler"_s, u"söz"_s}}}}, {u"A"_s});
        f.makeSettings(archive);
        QVERIFY(f.start());
        Form1 *w = f.form();
        editMode(w);
        w->findChild<MyButton *>(u"sil"_s)->click();
        QCOMPARE(songCount(archive), 0);
        QCOMPARE(titleBox(w)->text(), QString());
        QCOMPARE(w->findChild<QPlainTextEdit *>(u"Text1"_s)->toPlainText(), QString());
        QCOMPARE(w->stbar()->panelText(2), u"Kayıt : 0 / 0"_s);
        QVERIFY(!w->tvw()->find(u"Ali"_s));
        // With no record left the button does nothing.
        f.boxes.clear();
        w->findChild<MyButton *>(u"sil"_s)->click();
        QVERIFY(f.boxes.isEmpty());
    }
};

QTEST_MAIN(TestEdit)
#include "tst_edit.moc"
