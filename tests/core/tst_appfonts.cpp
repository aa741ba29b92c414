#include "appfonts.h"
#include "formloader.h"
#include "songreport.h"
#include "valuetip.h"

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QJsonObject>
#include <QLabel>
#include <QPainter>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>
#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The columns of a text drawn in the font that hold ink.
std::vector<bool> inkColumns(const QFont &font, const QString &text)
{
    QImage img(400, 80, QImage::Format_Grayscale8);
    img.fill(255);
    QPainter p(&img);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(20, 55, text);
    p.end();
    std::vector<bool> ink(size_t(img.width()));
    for (int y = 0; y < img.height(); ++y) {
        const uchar *line = img.constScanLine(y);
        for (int x = 0; x < img.width(); ++x)
            ink[size_t(x)] = ink[size_t(x)] || line[x] < 160;
    }
    return ink;
}

int inkWidth(const QFont &font, const QString &text)
{
    const auto ink = inkColumns(font, text);
    const auto first = std::find(ink.begin(), ink.end(), true);
    const auto last = std::find(ink.rbegin(), ink.rend(), true);
    return first == ink.end() ? 0 : int(ink.rend() - last) - int(first - ink.begin());
}

// The blank columns between the first letter and the next.
int gapAfterFirst(const QFont &font, const QString &text)
{
    const auto ink = inkColumns(font, text);
    auto x = std::find(ink.begin(), ink.end(), true);
    x = std::find(x, ink.end(), false);
    return int(std::find(x, ink.end(), true) - x);
}

// The glyphs a font shapes the text into: a ligature makes one of two letters.
int glyphCount(const QFont &font, const QString &text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int glyphs = 0;
    for (const QGlyphRun &run : layout.glyphRuns())
        glyphs += int(run.glyphIndexes().size());
    return glyphs;
}

enum class Source { Application, FormLabel, FormLabelBold, Caption, Tip, ReportTitle, ReportInfo, ReportLyrics };

} // namespace

Q_DECLARE_METATYPE(Source)

class TestAppFonts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { appfonts::install(); }

    // Every family the windows name, as drawn: Turkish letters from the font itself, and
    // a dotted or breve capital as wide as its plain letter.
    void turkishLettersDrawnWell_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("bold");
        for (const QString &family :
             {u"Tahoma"_s, u"Arial"_s, u"Comic Sans MS"_s, u"MS Sans Serif"_s, u"Times New Roman"_s, u"Verdana"_s}) {
            QTest::addRow("%s", qPrintable(family)) << family << false;
            QTest::addRow("%s bold", qPrintable(family)) << family << true;
        }
    }

    void turkishLettersDrawnWell()
    {
        QFETCH(QString, family);
        QFETCH(bool, bold);
        QFont font(family);
        font.setPointSizeF(9.88);
        font.setBold(bold);
        const QRawFont raw = QRawFont::fromFont(font);
        for (const QChar c : u"çğıöşüÇĞİÖŞÜâîûÂÎÛ"_s)
            QVERIFY2(raw.supportsCharacter(c), qPrintable(QFontInfo(font).family() + u" lacks "_s + c));
        const struct {
            const char16_t *marked, *plain;
        } pairs[] = {
            {u"İki Keklik", u"Iki Keklik"},
            {u"DİĞER", u"DIGER"},
            {u"BİLGİLER", u"BILGILER"},
            {u"ŞÇÖÜ", u"SCOU"},
        };
        // The bold Tahoma clone leaves a wide blank after İ: "İ ki".
        QCOMPARE(gapAfterFirst(font, u"İk"_s), gapAfterFirst(font, u"Ik"_s));
        for (const auto &pair : pairs) {
            const int marked = inkWidth(font, QString::fromUtf16(pair.marked));
            const int plain = inkWidth(font, QString::fromUtf16(pair.plain));
            QVERIFY2(std::abs(marked - plain) <= 1,
                     qPrintable(u"%1: %2 is %3 px wide, %4 %5 px"_s
                                    .arg(QFontInfo(font).family(), QString::fromUtf16(pair.marked))
                                    .arg(marked)
                                    .arg(QString::fromUtf16(pair.plain))
                                    .arg(plain)));
        }
    }

    // Every font the program draws with, as the widget or painter resolves it: "fi" and
    // "ffl" stay separate letters (a ligature's i has no dot).
    void lettersNeverJoined_data()
    {
        QTest::addColumn<Source>("source");
        QTest::addRow("application default") << Source::Application;
        QTest::addRow("form-loaded label") << Source::FormLabel;
        QTest::addRow("form-loaded bold label") << Source::FormLabelBold;
        QTest::addRow("button caption painted on a picture") << Source::Caption;
        QTest::addRow("value tip") << Source::Tip;
        QTest::addRow("report title") << Source::ReportTitle;
        QTest::addRow("report credits") << Source::ReportInfo;
        QTest::addRow("report lyrics") << Source::ReportLyrics;
    }

    void lettersNeverJoined()
    {
        QFETCH(Source, source);
        QWidget form;
        QFont font;
        switch (source) {
        case Source::Application:
            font = QApplication::font();
            break;
        case Source::FormLabel:
        case Source::FormLabelBold: {
            auto *label = new QLabel(&form);
            QJsonObject o{{u"family"_s, u"Verdana"_s}, {u"size"_s, 9.75}};
            if (source == Source::FormLabelBold)
                o.insert(u"bold"_s, true);
            label->setFont(FormLoader::font(o, form.font()));
            font = label->font();
            break;
        }
        case Source::Caption: {
            QImage surface(40, 20, QImage::Format_ARGB32);
            QPainter p(&surface);
            p.setFont(QFont(u"Tahoma"_s, 8));
            font = p.font();
            break;
        }
        case Source::Tip: {
            ValueTip::showHint(&form, u"fi"_s);
            QVERIFY(ValueTip::instance());
            auto *label = ValueTip::instance()->findChild<QLabel *>(u"lblTip"_s);
            QVERIFY(label);
            font = label->font();
            ValueTip::unload();
            break;
        }
        case Source::ReportTitle:
            font = SongReport::titleFont();
            break;
        case Source::ReportInfo:
            font = SongReport::infoFont();
            break;
        case Source::ReportLyrics:
            font = SongReport::lyricsFont();
            break;
        }
        QCOMPARE(glyphCount(font, u"fi"_s), 2);
        QCOMPARE(glyphCount(font, u"ffl"_s), 3);
        QCOMPARE(glyphCount(font, u"fistan fikir"_s), 12);
    }
};

QTEST_MAIN(TestAppFonts)
#include "tst_appfonts.moc"
