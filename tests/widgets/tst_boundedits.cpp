#include "boundlineedit.h"
#include "boundtextedit.h"
#include "database.h"
#include "datacontrol.h"
#include "fieldtextedit.h"
#include "recordset.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// One bound box of either kind, driven the same way.
struct Box {
    std::unique_ptr<QWidget> widget;
    db::FieldBinding *binding = nullptr;

    explicit Box(bool multiLine)
    {
        if (multiLine) {
            auto *e = new QPlainTextEdit;
            binding = new BoundTextEdit(e, u"Sözler"_s);
            widget.reset(e);
        } else {
            auto *e = new QLineEdit;
            binding = new BoundLineEdit(e, u"Başlık"_s);
            widget.reset(e);
        }
    }
    QString text() const
    {
        if (auto *e = qobject_cast<QLineEdit *>(widget.get()))
            return e->text();
        return static_cast<QPlainTextEdit *>(widget.get())->toPlainText();
    }
    void setText(const QString &t)
    {
        if (auto *e = qobject_cast<QLineEdit *>(widget.get()))
            e->setText(t);
        else
            static_cast<QPlainTextEdit *>(widget.get())->setPlainText(t);
    }
    // Typed at the end of the text, as a user would.
    void typeAtEnd(const QString &t)
    {
        if (auto *e = qobject_cast<QLineEdit *>(widget.get()))
            e->end(false);
        else
            static_cast<QPlainTextEdit *>(widget.get())->moveCursor(QTextCursor::End);
        QTest::sendKeyEvent(QTest::Click, widget.get(), Qt::Key_unknown, t, Qt::NoModifier);
    }
    void setLocked(bool locked)
    {
        if (auto *e = qobject_cast<QLineEdit *>(widget.get()))
            e->setReadOnly(locked);
        else
            static_cast<QPlainTextEdit *>(widget.get())->setReadOnly(locked);
    }
};

} // namespace

class TestBoundEdits : public QObject {
    Q_OBJECT
private slots:
    void changeFlag_data();
    void changeFlag();
    void lineEndsOfStoredText();
    void untouchedCharactersAreKept_data();
    void untouchedCharactersAreKept();
    void dataControlFillsAndSavesTheBoxes();
};

void TestBoundEdits::changeFlag_data()
{
    QTest::addColumn<bool>("multiLine");
    QTest::newRow("line edit") << false;
    QTest::newRow("plain text edit") << true;
}

void TestBoundEdits::changeFlag()
{
    QFETCH(bool, multiLine);
    Box box(multiLine);

    box.binding->showValue(u"Ali"_s);
    QCOMPARE(box.text(), u"Ali"_s);
    QVERIFY(!box.binding->isChanged());

    // Typing marks the box.
    box.typeAtEnd(u"ş"_s);
    QVERIFY(box.binding->isChanged());
    QCOMPARE(box.binding->editedValue().toString(), u"Aliş"_s);

    // Showing a record clears the mark; Null shows as empty.
    box.binding->showValue(QVariant());
    QCOMPARE(box.text(), QString());
    QVERIFY(!box.binding->isChanged());

    // Text set by code marks it too, also in a locked box.
    box.setLocked(true);
    box.setText(u"Veli"_s);
    QVERIFY(box.binding->isChanged());
    QCOMPARE(box.binding->editedValue().toString(), u"Veli"_s);
    box.binding->clearChanged();
    QVERIFY(!box.binding->isChanged());

    // An emptied box gives the empty text, not Null.
    box.setText(QString());
    QVERIFY(box.binding->isChanged());
    const QVariant v = box.binding->editedValue();
    QCOMPARE(v.typeId(), int(QMetaType::QString));
    QVERIFY(!v.toString().isNull());
    QVERIFY(v.toString().isEmpty());
}

void TestBoundEdits::lineEndsOfStoredText()
{
    Box box(true);
    box.binding->showValue(u"Bir\r\nİki"_s);
    QCOMPARE(box.text(), u"Bir\nİki"_s);
    auto *e = static_cast<QPlainTextEdit *>(box.widget.get());
    e->moveCursor(QTextCursor::End);
    QTest::keyClicks(e, u"!"_s);
    QCOMPARE(box.binding->editedValue().toString(), u"Bir\r\nİki!"_s);

    box.binding->showValue(u"tek\nsatır"_s);
    box.setText(u"tek\nsatır."_s);
    QCOMPARE(box.binding->editedValue().toString(), u"tek\nsatır."_s);
}

void TestBoundEdits::untouchedCharactersAreKept_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("at");        // cursor position in the box, -1 at the end
    QTest::addColumn<int>("deletes");   // Delete presses there
    QTest::addColumn<QString>("typed"); // "\n" presses Enter
    QTest::addColumn<QString>("saved");
    const QString nbsp = u"\u00A0"_s, lineSep = u"\u2028"_s;
    QTest::newRow("no-break space") << u"a"_s + nbsp + u"b"_s << -1 << 0 << u"c"_s << u"a"_s + nbsp + u"bc"_s;
    QTest::newRow("line separator") << u"bir"_s + lineSep + u"iki"_s << -1 << 0 << u"!"_s
                                    << u"bir"_s + lineSep + u"iki!"_s;
    QTest::newRow("lone CR beside CR LF") << u"bir\riki\r\nüç"_s << -1 << 0 << u"!"_s << u"bir\riki\r\nüç!"_s;
    QTest::newRow("lone CR, typed before it") << u"bir\riki"_s << 3 << 0 << u"lik"_s << u"birlik\riki"_s;
    QTest::newRow("Enter in a CR LF text") << u"bir\r\niki"_s << -1 << 0 << u"\nüç"_s << u"bir\r\niki\r\nüç"_s;
    QTest::newRow("Enter in a LF text") << u"bir\u2028iki"_s << -1 << 0 << u"\nüç"_s << u"bir\u2028iki\nüç"_s;
    QTest::newRow("a CR LF deleted") << u"bir\r\niki\rüç"_s << 3 << 1 << QString() << u"biriki\rüç"_s;
    QTest::newRow("middle of mixed text")
        << u"a"_s + nbsp + u"b\rc"_s + lineSep << 2 << 1 << u"x"_s << u"a"_s + nbsp + u"x\rc"_s + lineSep;
    QTest::newRow("paragraph separator") << u"a\u2029b"_s << -1 << 0 << u"c"_s << u"a\u2029bc"_s;
    const QString longLine(9000, u'x');
    QTest::newRow("folded long line") << longLine + u"\r"_s + nbsp << -1 << 0 << u"y"_s
                                      << longLine + u"\r"_s + nbsp + u"y"_s;
}

// The box gives back the stored text with the user's change and nothing else changed.
void TestBoundEdits::untouchedCharactersAreKept()
{
    QFETCH(QString, stored);
    QFETCH(int, at);
    QFETCH(int, deletes);
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    FieldTextEdit e;
    auto *binding = new BoundTextEdit(&e, u"Sözler"_s);
    binding->showValue(stored);
    QTextCursor cursor = e.textCursor();
    if (at < 0)
        cursor.movePosition(QTextCursor::End);
    else
        cursor.setPosition(at);
    e.setTextCursor(cursor);
    for (int i = 0; i < deletes; ++i)
        QTest::keyClick(&e, Qt::Key_Delete);
    for (const QChar c : typed) {
        if (c == u'\n')
            QTest::keyClick(&e, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, &e, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QVERIFY(binding->isChanged());
    QCOMPARE(binding->editedValue().toString(), saved);
}

void TestBoundEdits::dataControlFillsAndSavesTheBoxes()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"deneme.qel"_s);
    {
        auto database = db::Database::create(path);
        database->executeNative(u"CREATE TABLE Zelvoran (Başlık TEXT, Sözler TEXT, Yöresi TEXT)"_s);
        database->executeNative(u"INSERT INTO Zelvoran VALUES ('Ali', 'Bir\r\nİki', NULL)"_s);
        database->executeNative(u"INSERT INTO Zelvoran VALUES ('Veli', 'Üç', 'Sivas')"_s);
    }

    QLineEdit title;
    QPlainTextEdit lyrics;
    auto region = std::make_unique<QLineEdit>();
    db::DataControl data;
    auto *b1 = new BoundLineEdit(&title, u"Başlık"_s);
    auto *b2 = new BoundTextEdit(&lyrics, u"Sözler"_s);
    auto *b3 = new BoundLineEdit(region.get(), u"Yöresi"_s);
    b1->bindTo(&data);
    b2->bindTo(&data);
    b3->bindTo(&data);
    QCOMPARE(b3->dataControl(), &data);
    data.setDatabaseName(path);
    data.setRecordSource(u"Zelvoran"_s);
    data.refresh();

    QCOMPARE(title.text(), u"Ali"_s);
    QCOMPARE(lyrics.toPlainText(), u"Bir\nİki"_s);
    QCOMPARE(region->text(), QString());
    QVERIFY(!data.hasPendingEdit());

    // Typed into the lyrics only: the move stores that box and leaves the others alone.
    lyrics.moveCursor(QTextCursor::End);
    QTest::keyClicks(&lyrics, u" Dort"_s);
    QVERIFY(data.hasPendingEdit());
    data.recordset()->moveNext();
    QCOMPARE(title.text(), u"Veli"_s);
    QCOMPARE(region->text(), u"Sivas"_s);
    data.recordset()->moveFirst();
    QCOMPARE(lyrics.toPlainText(), u"Bir\nİki Dort"_s);
    QVERIFY(data.recordset()->field(u"Sözler"_s).toString() == u"Bir\r\nİki Dort"_s);
    QVERIFY(data.recordset()->field(u"Yöresi"_s).isNull());

    // A box that goes leaves the data control.
    region.reset();
    data.recordset()->moveNext();
    QCOMPARE(title.text(), u"Veli"_s);
}

QTEST_MAIN(TestBoundEdits)
#include "tst_boundedits.moc"
