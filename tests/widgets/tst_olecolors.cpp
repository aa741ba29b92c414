#include "olecolors.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestOleColors : public QObject {
    Q_OBJECT
private slots:
    void colors_data();
    void colors();
};

void TestOleColors::colors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("expected"); // invalid: unreadable

    // Red is the low byte.
    QTest::newRow("status bar back") << u"&H00CE661A"_s << QColor(0x1A, 0x66, 0xCE);
    QTest::newRow("caption navy") << u"&H00800000"_s << QColor(0x00, 0x00, 0x80);
    QTest::newRow("path grey") << u"&H00404040"_s << QColor(0x40, 0x40, 0x40);
    QTest::newRow("short form with trailing &") << u"&HFF&"_s << QColor(0xFF, 0x00, 0x00);
    QTest::newRow("lower case") << u"&h0000ff00"_s << QColor(0x00, 0xFF, 0x00);
    QTest::newRow("decimal") << u"8388608"_s << QColor(0x00, 0x00, 0x80);
    QTest::newRow("decimal zero") << u"0"_s << QColor(Qt::black);
    // System colours from the fixed table.
    QTest::newRow("active caption") << u"&H80000002"_s << QColor(0x00, 0x54, 0xE3);
    QTest::newRow("window") << u"&H80000005"_s << QColor(0xFF, 0xFF, 0xFF);
    QTest::newRow("window text") << u"&H80000008"_s << QColor(0x00, 0x00, 0x00);
    QTest::newRow("active border") << u"&H8000000A"_s << QColor(0xB4, 0xB4, 0xB4);
    QTest::newRow("button face") << u"&H8000000F"_s << QColor(0xF0, 0xF0, 0xF0);
    QTest::newRow("gray text") << u"&H80000011"_s << QColor(0x6D, 0x6D, 0x6D);
    QTest::newRow("button text") << u"&H80000012"_s << QColor(0x00, 0x00, 0x00);
    QTest::newRow("button face as a negative Long") << u"-2147483633"_s << QColor(0xF0, 0xF0, 0xF0);
    // Unreadable.
    QTest::newRow("empty") << QString() << QColor();
    QTest::newRow("a word") << u"mavi"_s << QColor();
    QTest::newRow("bad hex") << u"&HZZ"_s << QColor();
    QTest::newRow("too many digits") << u"&H1000000000"_s << QColor();
    QTest::newRow("unknown system colour") << u"&H80000063"_s << QColor();
}

void TestOleColors::colors()
{
    QFETCH(QString, text);
    QFETCH(QColor, expected);
    QCOMPARE(oleColor(text).isValid(), expected.isValid());
    if (!expected.isValid())
        return;
    QCOMPARE(oleColor(text), expected);
    const auto value = parseOleColor(text);
    QVERIFY(value.has_value());
    QCOMPARE(oleColor(*value), expected);
}

QTEST_MAIN(TestOleColors)
#include "tst_olecolors.moc"
