#include "buttonpaint.h"
#include "controlerror.h"

#include <QFontMetricsF>
#include <QTest>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using namespace buttonpaint;

namespace {

QImage solidImage(int w, int h, QRgb c, QImage::Format f = QImage::Format_RGB32)
{
    QImage img(w, h, f);
    img.fill(c);
    return img;
}

QRgb at(const QImage &img, int x, int y)
{
    return img.pixel(x, y) & 0xFFFFFFu;
}

// Pixels within a small distance of the colour.
int countNear(const QImage &img, QRgb c, int tolerance = 40)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (std::abs(qRed(p) - qRed(c)) + std::abs(qGreen(p) - qGreen(c)) + std::abs(qBlue(p) - qBlue(c))
                < tolerance)
                ++n;
        }
    return n;
}

// The main window's delete button: 121 x 25, the real skin, a 16 x 16 picture left of a
// centred caption.
ButtonLook silLook(const QImage *skin)
{
    ButtonLook l;
    l.skin = skin;
    l.text = u"Aktif Kaydı Sil..."_s;
    l.textColorEnabled = 0x800000;
    l.textColorDisabled = 0x8000000F;
    l.textColorDisabled2 = 0x808080;
    l.picture = Picture::from(QImage(u":/images/sil16.png"_s));
    l.font = QFont(u"Arial"_s);
    l.font.setPointSizeF(8.4706);
    l.font.setBold(true);
    return l;
}

// A strip whose pixel (x, y) is rgb(x, y, 0): every copy shows where it came from.
QImage codedStrip(int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y, qRgb(x, y, 0));
    return img;
}

} // namespace

class TestButtonPaint : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void ceil_data();
    void ceil();
    void rectArithmetic();
    void tileBltRepeatsWithoutClipping();
    void tileBltRefusesAnEmptySource();
    void transBltLeavesTheKeyOut_data();
    void transBltLeavesTheKeyOut();
    void pictures();
    void disabledPictureIsEmbossed();
    void focusRectIsDotted();

    void skinCells_data();
    void skinCells();
    void hoverStateFrame();
    void tiledMiddle();
    void stripWidthRounding_data();
    void stripWidthRounding();
    void emptyMiddleFails();
    void cornersOnlyWithBothSizes();
    void hoverIgnoredWhileHoverIsOff();
    void picturePlacement_data();
    void picturePlacement();
    void captionColours();
    void captionIsCutWithAnEllipsis();
    void focusRectangleOnlyWhenAskedFor_data();
    void focusRectangleOnlyWhenAskedFor();
    void flatLook();

private:
    QImage m_skin;
};

void TestButtonPaint::initTestCase()
{
    m_skin = QImage(u":/images/skin.png"_s).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(m_skin.size(), QSize(150, 21));
}

void TestButtonPaint::ceil_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<int>("expected");
    QTest::newRow("whole") << 2.0f << 2;
    QTest::newRow("just above") << 2.01f << 3;
    QTest::newRow("zero") << 0.0f << 0;
    QTest::newRow("negative") << -1.5f << -1;
}

void TestButtonPaint::ceil()
{
    QFETCH(float, x);
    QFETCH(int, expected);
    QCOMPARE(Ceil(x), expected);
}

void TestButtonPaint::rectArithmetic()
{
    QCOMPARE(MoveRect(MakeRect(3, 3, 115, 22), 1, 1, 1, 1), MakeRect(4, 4, 116, 23));
    Rect r = MakeRect(10, 20, 5, 8);
    NormalizeRect(r);
    QCOMPARE(r, MakeRect(5, 8, 10, 20));
    QCOMPARE(RectWidth(r), 5);
    QCOMPARE(RectHeight(r), 12);
    try {
        MoveRect(MakeRect(0, 0, std::numeric_limits<qint32>::max(), 1), 0, 0, 1, 0);
        QFAIL("no error");
    } catch (const ControlError &e) {
        QCOMPARE(e.number(), 6);
    }
    short red = 0, green = 0, blue = 0;
    GetRgb(0x00C08040, red, green, blue);
    QCOMPARE((QList<short>{red, green, blue}), (QList<short>{0x40, 0x80, 0xC0}));
}

void TestButtonPaint::tileBltRepeatsWithoutClipping()
{
    // A 24 x 15 source over a 50 x 30 destination: 2 rows of 3 tiles, the third column
    // 22 pixels past the right edge.
    QImage surface = solidImage(100, 50, 0x0000FF);
    const QImage from = codedStrip(40, 20);
    Rect dest = MakeRect(50, 0, 0, 30); // given right to left
    Rect source = MakeRect(2, 1, 26, 16);
    TileBlt(surface, dest, source, from);
    QCOMPARE(dest, MakeRect(0, 0, 50, 30));
    QCOMPARE(at(surface, 0, 0), qRgb(2, 1, 0) & 0xFFFFFFu);
    QCOMPARE(at(surface, 23, 14), qRgb(25, 15, 0) & 0xFFFFFFu);
    QCOMPARE(at(surface, 24, 15), qRgb(2, 1, 0) & 0xFFFFFFu);
    QCOMPARE(at(surface, 71, 29), qRgb(25, 15, 0) & 0xFFFFFFu);
    QCOMPARE(at(surface, 72, 5), 0x0000FFu);
    QCOMPARE(at(surface, 10, 30), 0x0000FFu);
}

void TestButtonPaint::tileBltRefusesAnEmptySource()
{
    QImage surface = solidImage(10, 10, 0);
    Rect dest = MakeRect(0, 0, 10, 10);
    Rect source = MakeRect(5, 0, 5, 10);
    try {
        TileBlt(surface, dest, source, m_skin);
        QFAIL("no error");
    } catch (const ControlError &e) {
        QCOMPARE(e.number(), 11);
    }
    // An empty destination draws nothing, whatever the source.
    Rect none = MakeRect(3, 3, 3, 9);
    Rect cell = MakeRect(0, 0, 30, 21);
    TileBlt(surface, none, cell, m_skin);
    QCOMPARE(at(surface, 3, 3), 0u);
}

void TestButtonPaint::transBltLeavesTheKeyOut_data()
{
    QTest::addColumn<QRgb>("sourceColour");
    QTest::addColumn<quint32>("keyOle");
    QTest::addColumn<QRgb>("expected");

    QTest::newRow("no key pixel: copied whole") << QRgb(0x123456) << quint32(0xFF00FF) << QRgb(0x123456);
    QTest::newRow("all key: unchanged") << QRgb(0xFF00FF) << quint32(0xFF00FF) << QRgb(0x00FF00);
    QTest::newRow("key as a system colour") << QRgb(0xF0F0F0) << quint32(0x8000000F) << QRgb(0x00FF00);
    QTest::newRow("one off the key is copied") << QRgb(0xFE00FF) << quint32(0xFF00FF) << QRgb(0xFE00FF);
}

void TestButtonPaint::transBltLeavesTheKeyOut()
{
    QFETCH(QRgb, sourceColour);
    QFETCH(quint32, keyOle);
    QFETCH(QRgb, expected);

    QImage surface = solidImage(8, 8, 0x00FF00);
    TransBlt(surface, 2, 2, 3, 3, solidImage(4, 4, sourceColour), 0, 0, keyOle);
    QCOMPARE(at(surface, 2, 2), expected);
    QCOMPARE(at(surface, 4, 4), expected);
    QCOMPARE(at(surface, 5, 5), 0x00FF00u);
}

void TestButtonPaint::pictures()
{
    QCOMPARE(GetPictureSize(Picture{}), QSize(0, 0));
    QImage surface = solidImage(20, 20, 0x0000FF);
    DrawPicture(surface, Picture{}, 0, 0, 20, 20, 0xFF00FF);
    DrawDisabledPicture(surface, Picture{}, 0, 0, 20, 20, 0xFF00FF);
    QCOMPARE(countNear(surface, 0x0000FF, 1), 400);

    // A bitmap leaves its key colour out; an icon goes through its own transparency.
    QImage bitmap = solidImage(4, 4, 0xFF00FF);
    bitmap.setPixel(1, 1, 0x000000);
    const Picture b = Picture::from(bitmap);
    QCOMPARE(b.kind, 1);
    DrawPicture(surface, b, 0, 0, 4, 4, 0xFF00FF);
    QCOMPARE(at(surface, 1, 1), 0u);
    QCOMPARE(at(surface, 0, 0), 0x0000FFu);

    QImage icon = solidImage(4, 4, 0x00000000, QImage::Format_ARGB32);
    icon.setPixel(2, 2, 0xFFFFFFFF);
    const Picture i = Picture::from(icon);
    QCOMPARE(i.kind, 3);
    QCOMPARE(GetPictureSize(i), QSize(4, 4));
    DrawPicture(surface, i, 10, 10, 4, 4, 0xFF00FF);
    QCOMPARE(at(surface, 12, 12), 0xFFFFFFu);
    QCOMPARE(at(surface, 10, 10), 0x0000FFu);
}

void TestButtonPaint::disabledPictureIsEmbossed()
{
    // A black 2 x 2 square on magenta: magenta is light and vanishes; the square shows in
    // the button shadow with the highlight one pixel down and right.
    QImage bitmap = solidImage(4, 4, 0xFF00FF);
    for (int y = 1; y <= 2; ++y)
        for (int x = 1; x <= 2; ++x)
            bitmap.setPixel(x, y, 0x000000);
    const QRgb shadow = TranslateColor(0x80000010) & 0xFFFFFFu;
    const QRgb highlight = TranslateColor(0x80000014) & 0xFFFFFFu;
    QVERIFY(shadow != highlight);

    for (const Picture &p : {Picture::from(bitmap), Picture::from(bitmap.convertToFormat(QImage::Format_ARGB32))}) {
        QImage surface = solidImage(8, 8, 0x0000FF);
        DrawDisabledPicture(surface, p, 2, 2, 4, 4, 0xFF00FF);
        QCOMPARE(at(surface, 3, 3), shadow);
        QCOMPARE(at(surface, 4, 4), shadow);
        QCOMPARE(at(surface, 5, 5), highlight);
        QCOMPARE(at(surface, 5, 4), highlight);
        QCOMPARE(at(surface, 2, 2), 0x0000FFu);
        QCOMPARE(at(surface, 6, 6), 0x0000FFu);
    }
}

void TestButtonPaint::focusRectIsDotted()
{
    QImage surface = solidImage(10, 10, 0x000000);
    DrawFocusRect(surface, MakeRect(2, 2, 8, 8));
    QCOMPARE(at(surface, 2, 2), 0xFFFFFFu);
    QCOMPARE(at(surface, 3, 2), 0u);
    QCOMPARE(at(surface, 4, 2), 0xFFFFFFu);
    QCOMPARE(at(surface, 7, 3), 0xFFFFFFu); // the right column, at x + y even
    QCOMPARE(at(surface, 8, 2), 0u);        // right is exclusive
    QCOMPARE(at(surface, 4, 4), 0u);        // the inside is left alone
    // Drawn twice, it is gone.
    DrawFocusRect(surface, MakeRect(2, 2, 8, 8));
    QCOMPARE(countNear(surface, 0, 1), 100);
}

void TestButtonPaint::skinCells_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QList<QRgb>>("pixels");

    // (0,0) and (1,1) corner, (1,23) lower corner, (60,0) top row, (60,1) under it,
    // (1,10) left edge, (119,10) right edge, (4,12) middle, (60,22) and (60,23) bottom.
    QTest::newRow("1 normal") << 1 << QList<QRgb>{0xccd5dd, 0x668aab, 0x5a7d9b, 0x003c74, 0xffffff,
                                                  0xf3f3ee, 0xf5f5f2, 0xfafaf9, 0xe2dfd6, 0xd6d0c5};
    QTest::newRow("2 focused") << 2 << QList<QRgb>{0xccd5dd, 0x4b79a8, 0x3769a1, 0x003c74, 0xcee7ff,
                                                   0x8bafe5, 0x8bafe5, 0xfafaf9, 0x89ade4, 0x6982ee};
    QTest::newRow("3 hover") << 3 << QList<QRgb>{0xccd5dd, 0x657a7c, 0x636c59, 0x003c74, 0xfff0cf,
                                                 0xfcca69, 0xfcca69, 0xfafaf9, 0xf8b330, 0xe59700};
    QTest::newRow("4 pressed") << 4 << QList<QRgb>{0xccd5dd, 0x5b7f9e, 0x5c809f, 0x003c74, 0xe2e1d9,
                                                   0xe6e6e0, 0xe6e6e0, 0xe6e6df, 0xe6e6e0, 0xf2f1ee};
    QTest::newRow("5 disabled") << 5 << QList<QRgb>{0xeaeae8, 0xdbd9cd, 0xdbd9cd, 0xc9c7ba, 0xf5f4ea,
                                                    0xf5f4ea, 0xf5f4ea, 0xf5f4ea, 0xf5f4ea, 0xf5f4ea};
}

void TestButtonPaint::skinCells()
{
    QFETCH(int, state);
    QFETCH(QList<QRgb>, pixels);

    QImage surface(121, 25, QImage::Format_RGB32);
    surface.fill(Qt::black);
    QCOMPARE(DrawButton(surface, silLook(&m_skin), short(state)), Painted::Done);
    const QList<QPoint> points{{0, 0},  {1, 1},    {1, 23}, {60, 0},  {60, 1},
                               {1, 10}, {119, 10}, {4, 12}, {60, 22}, {60, 23}};
    for (qsizetype i = 0; i < points.size(); ++i)
        QVERIFY2(at(surface, points[i].x(), points[i].y()) == pixels[i],
                 qPrintable(u"(%1,%2): %3"_s.arg(points[i].x())
                                .arg(points[i].y())
                                .arg(at(surface, points[i].x(), points[i].y()), 6, 16, QLatin1Char('0'))));
    // The far corners come from the cell's right side.
    QCOMPARE(at(surface, 120, 0), pixels[0]);
    QCOMPARE(at(surface, 120, 24), pixels[0]);
}

void TestButtonPaint::hoverStateFrame()
{
    // The orange frame runs all round: two rows at the top and bottom, two columns a side.
    QImage surface(121, 25, QImage::Format_RGB32);
    QCOMPARE(DrawButton(surface, silLook(&m_skin), 3), Painted::Done);
    for (int x = 3; x < 118; x += 7) {
        QCOMPARE(at(surface, x, 1), 0xfff0cfu);
        QCOMPARE(at(surface, x, 2), 0xfdd889u);
        QCOMPARE(at(surface, x, 23), 0xe59700u);
    }
    for (int y = 3; y < 22; y += 3) {
        QCOMPARE(at(surface, 1, y), 0xfcca69u);
        QCOMPARE(at(surface, 2, y), 0xfcca69u);
        QCOMPARE(at(surface, 118, y), 0xfcca69u);
        QCOMPARE(at(surface, 119, y), 0xfcca69u);
    }
}

void TestButtonPaint::tiledMiddle()
{
    ButtonLook l = silLook(&m_skin);
    l.fillWithColor = false;
    QImage surface(121, 25, QImage::Format_RGB32);
    QCOMPARE(DrawButton(surface, l, 1), Painted::Done);
    // The cell's 15-row middle repeats: row 20 shows the cell's row 5.
    QCOMPARE(at(surface, 4, 10), 0xf5f5f2u);
    QCOMPARE(at(surface, 4, 20), 0xf9f9f8u);
    QCOMPARE(at(surface, 4, 3), 0xfcfcfcu);
}

void TestButtonPaint::stripWidthRounding_data()
{
    QTest::addColumn<int>("stripWidth");
    QTest::addColumn<int>("cellWidth");
    QTest::newRow("152 pixels: 30.4") << 152 << 30;
    QTest::newRow("153 pixels: 30.6") << 153 << 31;
    QTest::newRow("150 pixels") << 150 << 30;
}

void TestButtonPaint::stripWidthRounding()
{
    QFETCH(int, stripWidth);
    QFETCH(int, cellWidth);

    const QImage strip = codedStrip(stripWidth, 21);
    ButtonLook l;
    l.skin = &strip;
    QImage surface(60, 25, QImage::Format_RGB32);
    QCOMPARE(DrawButton(surface, l, 2), Painted::Done);
    QCOMPARE(at(surface, 0, 0), qRgb(cellWidth, 0, 0) & 0xFFFFFFu);
    QCOMPARE(at(surface, 59, 0), qRgb(2 * cellWidth - 1, 0, 0) & 0xFFFFFFu);
    // The middle is the colour sampled 4 pixels into the cell.
    QCOMPARE(at(surface, 30, 12), qRgb(cellWidth + 4, 4, 0) & 0xFFFFFFu);
}

void TestButtonPaint::emptyMiddleFails()
{
    // Cells of 6 pixels with 3-pixel corners leave no middle: the first edge copy fails.
    const QImage strip = m_skin.copy(0, 0, 30, 21);
    ButtonLook l = silLook(&strip);
    QImage surface(121, 25, QImage::Format_RGB32);
    QCOMPARE(DrawButton(surface, l, 1), Painted::Failed);
    l.fillWithColor = false;
    QCOMPARE(DrawButton(surface, l, 1), Painted::Failed);
    // Only as high as two corners: the same.
    const QImage flat = m_skin.copy(0, 0, 150, 6);
    QCOMPARE(DrawButton(surface, silLook(&flat), 1), Painted::Failed);
}

void TestButtonPaint::cornersOnlyWithBothSizes()
{
    ButtonLook l = silLook(&m_skin);
    l.text.clear();
    l.picture = {};
    l.sizeCW = 0;
    QImage surface(40, 25, QImage::Format_RGB32);
    QCOMPARE(DrawButton(surface, l, 1), Painted::Done);
    // No edges: the strips outside the middle keep the background.
    const QRgb face = TranslateColor(0x8000000F) & 0xFFFFFFu;
    QCOMPARE(at(surface, 10, 0), face);
    QCOMPARE(at(surface, 10, 24), face);
    // The middle reaches the left side, in the colour sampled at the cell's (1, 4).
    QCOMPARE(at(surface, 0, 12), 0xfafaf9u);
}

void TestButtonPaint::hoverIgnoredWhileHoverIsOff()
{
    ButtonLook l = silLook(&m_skin);
    l.disableHover = true;
    QImage surface(121, 25, QImage::Format_RGB32);
    surface.fill(Qt::black);
    QCOMPARE(DrawButton(surface, l, 3), Painted::Nothing);
    QCOMPARE(at(surface, 60, 12), 0u);
}

void TestButtonPaint::picturePlacement_data()
{
    QTest::addColumn<QSize>("button");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("displace");
    QTest::addColumn<int>("state");
    QTest::addColumn<QPoint>("expected"); // y -1: from the measured line height

    QTest::newRow("delete button, left") << QSize(121, 25) << QSize(16, 16) << 0 << 0 << 1 << QPoint(6, 4);
    QTest::newRow("left, pressed with displace 2") << QSize(121, 25) << QSize(16, 16) << 0 << 2 << 4 << QPoint(8, 6);
    QTest::newRow("right") << QSize(121, 25) << QSize(16, 16) << 3 << 0 << 1 << QPoint(96, 4);
    QTest::newRow("pause button, alone") << QSize(25, 89) << QSize(20, 20) << 4 << 0 << 1 << QPoint(2, 34);
    QTest::newRow("play button, alone") << QSize(25, 17) << QSize(15, 15) << 4 << 0 << 1 << QPoint(5, 1);
    QTest::newRow("alone, displace 2, not pressed") << QSize(25, 21) << QSize(15, 15) << 4 << 2 << 1 << QPoint(7, 3);
    QTest::newRow("alone, displace 2, pressed") << QSize(25, 21) << QSize(15, 15) << 4 << 2 << 4 << QPoint(7, 5);
    QTest::newRow("above") << QSize(60, 80) << QSize(16, 32) << 1 << 0 << 1 << QPoint(22, -1);
}

void TestButtonPaint::picturePlacement()
{
    QFETCH(QSize, button);
    QFETCH(QSize, picture);
    QFETCH(int, pos);
    QFETCH(int, displace);
    QFETCH(int, state);
    QFETCH(QPoint, expected);

    ButtonLook l = silLook(&m_skin);
    l.text = u"MyButton3"_s;
    l.picture = Picture::from(solidImage(picture.width(), picture.height(), 0x00FF00));
    l.picturePos = short(pos);
    l.displaceText = short(displace);
    if (expected.y() < 0) {
        const double th = QFontMetricsF(l.font).height();
        expected.setY(int(std::nearbyint((button.height() - picture.height() - 3 - th) / 2.0)));
    }
    QImage surface(button, QImage::Format_RGB32);
    QCOMPARE(DrawButton(surface, l, short(state)), Painted::Done);
    QCOMPARE(at(surface, expected.x(), expected.y()), 0x00FF00u);
    QCOMPARE(at(surface, expected.x() + picture.width() - 1, expected.y() + picture.height() - 1), 0x00FF00u);
    QVERIFY(at(surface, expected.x() - 1, expected.y()) != 0x00FF00u);
    QVERIFY(at(surface, expected.x(), expected.y() - 1) != 0x00FF00u);
}

void TestButtonPaint::captionColours()
{
    ButtonLook l = silLook(&m_skin);
    l.picture = {};
    l.font = QFont(u"DejaVu Sans"_s, 14, QFont::Bold);
    l.text = u"MMMM"_s;
    QImage surface(200, 40, QImage::Format_RGB32);
    DrawButton(surface, l, 1);
    const QRgb navy = 0x000080;
    const QRgb grey = 0x808080;
    QVERIFY(countNear(surface, navy) > 20);
    QCOMPARE(countNear(surface, grey, 20), 0);

    // Disabled: the grey shadow one pixel down and right under the button-face caption.
    DrawButton(surface, l, 5);
    QCOMPARE(countNear(surface, navy), 0);
    QVERIFY(countNear(surface, grey, 20) > 10);
    // Equal disabled colours: one caption, no shadow.
    l.textColorDisabled = 0x0000FF;
    l.textColorDisabled2 = 0x0000FF;
    DrawButton(surface, l, 5);
    QCOMPARE(countNear(surface, grey, 20), 0);
    QVERIFY(countNear(surface, 0xFF0000) > 20);
}

void TestButtonPaint::captionIsCutWithAnEllipsis()
{
    ButtonLook l = silLook(&m_skin);
    l.picture = {};
    l.text = u"Çok uzun bir düğme yazısı, sığmayan"_s;
    QImage narrow(70, 25, QImage::Format_RGB32);
    DrawButton(narrow, l, 1);
    // The caption stays inside its rectangle: the right edge and corners are untouched.
    QCOMPARE(countNear(narrow.copy(64, 3, 3, 19), 0x000080), 0);
    QVERIFY(countNear(narrow.copy(3, 3, 61, 19), 0x000080) > 10);
}

void TestButtonPaint::focusRectangleOnlyWhenAskedFor_data()
{
    QTest::addColumn<int>("drawFocus");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("2, focused") << 2 << 2 << true;
    QTest::newRow("2, pressed") << 2 << 4 << true;
    QTest::newRow("2, normal") << 2 << 1 << false;
    QTest::newRow("2, hover") << 2 << 3 << false;
    QTest::newRow("2, disabled") << 2 << 5 << false;
    QTest::newRow("0, focused") << 0 << 2 << false;
    QTest::newRow("negative, focused") << -2 << 2 << false;
}

void TestButtonPaint::focusRectangleOnlyWhenAskedFor()
{
    QFETCH(int, drawFocus);
    QFETCH(int, state);
    QFETCH(bool, drawn);

    ButtonLook l = silLook(&m_skin);
    QImage plain(121, 25, QImage::Format_RGB32);
    DrawButton(plain, l, short(state));
    l.drawFocus = short(drawFocus);
    QImage focused(121, 25, QImage::Format_RGB32);
    DrawButton(focused, l, short(state));
    const QRgb before = at(plain, 2, 10);
    QCOMPARE(at(focused, 2, 10), drawn ? (~before & 0xFFFFFFu) : before);
    QCOMPARE(at(focused, 3, 10), at(plain, 3, 10));
}

void TestButtonPaint::flatLook()
{
    // No skin: the background and the caption in the control's own text colour, no
    // picture, no disabled colours; a picture standing alone is centred.
    ButtonLook l = silLook(nullptr);
    l.font = QFont(u"DejaVu Sans"_s, 14, QFont::Bold);
    l.text = u"MMMM"_s;
    l.foreColor = QColor(0xC0, 0, 0);
    l.picture = Picture::from(solidImage(16, 16, 0x00FF00));
    const QRgb face = TranslateColor(0x8000000F) & 0xFFFFFFu;
    QImage surface(200, 40, QImage::Format_RGB32);
    for (short n : {1, 2, 4, 5}) {
        surface.fill(Qt::black);
        QCOMPARE(DrawButton(surface, l, n), Painted::Done);
        QCOMPARE(at(surface, 0, 0), face);
        QVERIFY(countNear(surface, 0xC00000) > 20);
        QCOMPARE(countNear(surface, 0x000080, 20), 0);
        QCOMPARE(countNear(surface, 0x808080, 20), 0);
        QCOMPARE(countNear(surface, 0x00FF00, 1), 0);
    }
    l.picturePos = 4;
    l.picture = Picture::from(solidImage(15, 15, 0x00FF00));
    QImage play(25, 17, QImage::Format_RGB32);
    DrawButton(play, l, 1);
    QCOMPARE(at(play, 4, 0), face);
    QCOMPARE(at(play, 4, 1), face);
    QCOMPARE(at(play, 5, 1), 0x00FF00u);
    QCOMPARE(at(play, 12, 8), 0x00FF00u);
    QCOMPARE(countNear(play, 0xC00000), 0);
}

QTEST_MAIN(TestButtonPaint)
#include "tst_buttonpaint.moc"
