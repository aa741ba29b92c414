#include "boundtextedit.h"
#include "fieldtextedit.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>

using namespace Qt::StringLiterals;

namespace {

QString longLine(qsizetype size, const QString &unit)
{
    QString s;
    s.reserve(size + unit.size());
    while (s.size() < size)
        s += unit;
    return s;
}

qsizetype longestBlock(const QPlainTextEdit &e)
{
    qsizetype longest = 0;
    for (QTextBlock b = e.document()->begin(); b.isValid(); b = b.next())
        longest = std::max<qsizetype>(longest, b.length() - 1);
    return longest;
}

} // namespace

class TestFieldTextEdit : public QObject {
    Q_OBJECT
private slots:
    // Qt lays out a paragraph whole: no shown paragraph may be longer than the fold.
    void longLinesAreShownFoldedAndComeBackWhole_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("one line of words") << longLine(1'000'000, u"türkü söyle "_s);
        QTest::newRow("one line without blanks") << longLine(100'000, u"ş"_s);
        QTest::newRow("long lines among short, CR LF")
            << u"baş\r\n"_s + longLine(30'000, u"ab "_s) + u"\r\norta\r\n"_s + longLine(20'000, u"x"_s) + u"\r\n"_s;
        QTest::newRow("exactly the fold") << longLine(FieldTextEdit::kFoldLength, u"a"_s);
        QTest::newRow("short lines") << u"bir\niki\n\nüç"_s;
    }

    void longLinesAreShownFoldedAndComeBackWhole()
    {
        QFETCH(QString, value);
        FieldTextEdit edit;
        auto *binding = new BoundTextEdit(&edit, u"Sözler"_s);
        binding->showValue(value);
        edit.resize(300, 120);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QVERIFY(longestBlock(edit) <= FieldTextEdit::kFoldLength);
        QVERIFY(!binding->isChanged());
        QCOMPARE(binding->editedValue().toString(), value);
        if (!value.contains(u"\r\n"_s))
            QCOMPARE(FieldTextEdit::plainText(&edit), value);
    }

    void editingAFoldedLine()
    {
        const QString value = longLine(3 * FieldTextEdit::kFoldLength, u"abc "_s);
        FieldTextEdit edit;
        auto *binding = new BoundTextEdit(&edit, u"Sözler"_s);
        binding->showValue(value);
        QVERIFY(edit.document()->blockCount() > 1);

        // Enter inside the second piece: one line break there, nothing else.
        const int at = FieldTextEdit::kFoldLength + 10;
        QTextCursor c = edit.textCursor();
        c.setPosition(at + 1); // one block separator before it
        edit.setTextCursor(c);
        QTest::keyClick(&edit, Qt::Key_Return);
        QTest::keyClicks(&edit, u"x"_s);
        QVERIFY(binding->isChanged());
        QString expected = value;
        expected.insert(at, u"\nx"_s);
        QCOMPARE(binding->editedValue().toString(), expected);

        // A backspace at the start of a piece only removes the fold.
        FieldTextEdit again;
        FieldTextEdit::setFoldedText(&again, value);
        QTextCursor start(again.document()->begin().next());
        again.setTextCursor(start);
        QTest::keyClick(&again, Qt::Key_Backspace);
        QCOMPARE(FieldTextEdit::plainText(&again), value);
    }

    void pastedLongLineIsFolded()
    {
        FieldTextEdit edit;
        edit.setPlainText(u"önce\nsonra"_s);
        QTextCursor c = edit.textCursor();
        c.setPosition(4);
        edit.setTextCursor(c);
        const QString pasted = longLine(50'000, u"de "_s);
        QApplication::clipboard()->setText(pasted);
        edit.paste();
        // The first piece joins what stood before the cursor.
        QVERIFY(longestBlock(edit) <= FieldTextEdit::kFoldLength + 4);
        QCOMPARE(FieldTextEdit::plainText(&edit), u"önce"_s + pasted + u"\nsonra"_s);
    }
};

QTEST_MAIN(TestFieldTextEdit)
#include "tst_fieldtextedit.moc"
