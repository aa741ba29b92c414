#include "controlerror.h"
#include "mybutton.h"
#include "picturebox.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QJsonObject json(const char *text)
{
    return QJsonDocument::fromJson(QByteArray(text)).object();
}

QPixmap solid(int w, int h, QColor c)
{
    QPixmap pm(w, h);
    pm.fill(c);
    return pm;
}

// The first pixel, in reading order, that is exactly the colour.
QPoint firstPixel(const QImage &img, QRgb colour)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                return {x, y};
    return {-1, -1};
}

int countNear(const QImage &img, QColor c, int tolerance = 60)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor p = img.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) + std::abs(p.blue() - c.blue())
                < tolerance)
                ++n;
        }
    return n;
}

} // namespace

class TestMyButton : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void mouseClicks_data();
    void mouseClicks();
    void dragOutsideEndsFocusedWithoutClick();
    void keyboardClicks_data();
    void keyboardClicks();
    void clickHandlerMayDeleteTheButton();

    void defaultsWhenNothingIsStored();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void readingResetsMissingKeysToDefaults();
    void fontIsStoredOnlyWhenSet();
    void fontAttributeSetters();
    void accessKeyFromCaption_data();
    void accessKeyFromCaption();
    void narrowSettersRefuseOverflow();

    void picturePlacement_data();
    void picturePlacement();
    void captionColours();

    void accessibility();

private:
    QWidget *m_host = nullptr;
    MyButton *m_button = nullptr;
};

void TestMyButton::init()
{
    m_host = new QWidget;
    m_host->resize(300, 200);
    auto *skin = new PictureBox(m_host);
    skin->setObjectName(u"MyButtonDefSkin"_s);
    skin->setGeometry(0, 0, 150, 21);
    skin->setPicture(QPixmap(u":/images/skin.png"_s));
    skin->hide();
    m_button = new MyButton(m_host);
    m_button->setSkinPictureName(u"MyButtonDefSkin"_s);
    m_button->setGeometry(20, 20, 121, 25);
    m_button->setText(u"Aktif Kaydı Sil..."_s);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host));
}

void TestMyButton::cleanup()
{
    delete m_host;
    m_host = nullptr;
    m_button = nullptr;
}

void TestMyButton::mouseClicks_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<int>("clicks");

    QTest::newRow("left inside") << Qt::LeftButton << QPoint(60, 12) << true << false << 1;
    QTest::newRow("left on the far edges") << Qt::LeftButton << QPoint(121, 25) << true << false << 1;
    QTest::newRow("left one pixel left of it") << Qt::LeftButton << QPoint(-1, 12) << true << false << 0;
    QTest::newRow("left past the right edge") << Qt::LeftButton << QPoint(122, 12) << true << false << 0;
    QTest::newRow("left below it") << Qt::LeftButton << QPoint(60, 26) << true << false << 0;
    QTest::newRow("right button") << Qt::RightButton << QPoint(60, 12) << true << false << 0;
    QTest::newRow("disabled") << Qt::LeftButton << QPoint(60, 12) << false << false << 0;
    QTest::newRow("double click") << Qt::LeftButton << QPoint(60, 12) << true << true << 2;
}

void TestMyButton::mouseClicks()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, release);
    QFETCH(bool, enabled);
    QFETCH(bool, doubleClick);
    QFETCH(int, clicks);

    m_button->setEnabled(enabled);
    QSignalSpy spy(m_button, &MyButton::Click);
    if (doubleClick) {
        // The second press of a double click arrives as a double-click event.
        QTest::mousePress(m_button, button, {}, release);
        QTest::mouseRelease(m_button, button, {}, release);
        QTest::mouseDClick(m_button, button, {}, release);
        QCOMPARE(m_button->state(), MyButton::Pressed);
        QTest::mouseRelease(m_button, button, {}, release);
    } else {
        QTest::mousePress(m_button, button, {}, QPoint(60, 12));
        QTest::mouseRelease(m_button, button, {}, release);
    }
    QCOMPARE(spy.count(), clicks);
    if (!enabled)
        QCOMPARE(m_button->state(), MyButton::Disabled);
}

void TestMyButton::dragOutsideEndsFocusedWithoutClick()
{
    QSignalSpy spy(m_button, &MyButton::Click);
    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(60, 12));
    QCOMPARE(m_button->state(), MyButton::Pressed);
    QTest::mouseMove(m_button, QPoint(200, 12));
    QCOMPARE(m_button->state(), MyButton::Hover);
    QTest::mouseMove(m_button, QPoint(60, 12));
    QCOMPARE(m_button->state(), MyButton::Pressed);
    QTest::mouseMove(m_button, QPoint(200, 12));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(200, 12));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(m_button->state(), MyButton::Focused);
}

void TestMyButton::keyboardClicks_data()
{
    QTest::addColumn<QList<int>>("presses"); // positive: key down, negative: key up
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("clicks");

    QTest::newRow("space") << QList<int>{Qt::Key_Space, -Qt::Key_Space} << true << 1;
    QTest::newRow("return") << QList<int>{Qt::Key_Return} << true << 1;
    QTest::newRow("keypad enter") << QList<int>{Qt::Key_Enter} << true << 1;
    QTest::newRow("space held down") << QList<int>{Qt::Key_Space, Qt::Key_Space, Qt::Key_Space, -Qt::Key_Space} << true
                                     << 1;
    QTest::newRow("space cut short by another key")
        << QList<int>{Qt::Key_Space, Qt::Key_A, -Qt::Key_A, -Qt::Key_Space} << true << 0;
    QTest::newRow("space released without press") << QList<int>{-Qt::Key_Space} << true << 0;
    QTest::newRow("other key") << QList<int>{Qt::Key_A, -Qt::Key_A} << true << 0;
    QTest::newRow("disabled space") << QList<int>{Qt::Key_Space, -Qt::Key_Space} << false << 0;
    QTest::newRow("disabled return") << QList<int>{Qt::Key_Return} << false << 0;
}

void TestMyButton::keyboardClicks()
{
    QFETCH(QList<int>, presses);
    QFETCH(bool, enabled);
    QFETCH(int, clicks);

    m_button->setFocus();
    m_button->setEnabled(enabled);
    QSignalSpy spy(m_button, &MyButton::Click);
    for (int k : presses) {
        if (k > 0)
            QTest::keyPress(m_button, Qt::Key(k));
        else
            QTest::keyRelease(m_button, Qt::Key(-k));
    }
    QCOMPARE(spy.count(), clicks);
    if (clicks && presses.first() == Qt::Key_Space)
        QCOMPARE(m_button->state(), MyButton::Focused);
}

void TestMyButton::clickHandlerMayDeleteTheButton()
{
    // A host's Click handler that closes its window takes the button with it.
    connect(m_button, &MyButton::Click, m_button, [this] {
        delete m_button;
        m_button = nullptr;
    });
    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(60, 12));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(60, 12));
    QVERIFY(!m_button);
}

void TestMyButton::defaultsWhenNothingIsStored()
{
    MyButton b(m_host);
    b.applySettings({});
    QCOMPARE(b.sizeCW(), 3);
    QCOMPARE(b.sizeCH(), 3);
    QCOMPARE(b.skinPictureName(), QString());
    QCOMPARE(b.text(), QString());
    QCOMPARE(b.ipucu(), QString());
    QVERIFY(b.fillWithColor());
    QVERIFY(b.isEnabled());
    QCOMPARE(b.textColorEnabled(), 0u);
    QCOMPARE(b.textColorDisabled(), 0u);
    QCOMPARE(b.textColorDisabled2(), 0u);
    QCOMPARE(b.pictureTColor(), 0xFF00FFu);
    QCOMPARE(b.textAlign(), 2);
    QCOMPARE(b.backColor(), 0x8000000Fu);
    QCOMPARE(b.picturePos(), 0);
    QVERIFY(b.picture().isNull());
    QCOMPARE(b.font(), m_host->font());
    QCOMPARE(b.settings(), QJsonObject());
}

void TestMyButton::settingsRoundTrip_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("delete button, as a host stores it")
        << QByteArray(R"({"spn":"MyButtonDefSkin","text":"Aktif Kaydı Sil...","ipucu":"Formda görünen kaydı sil",
                         "textcolorenabled":"&H00800000","textcolordisabled":"&H8000000F",
                         "textcolordisabled2":"&H00808080"})")
        << QByteArray(R"({"spn":"MyButtonDefSkin","text":"Aktif Kaydı Sil...","ipucu":"Formda görünen kaydı sil",
                         "textcolorenabled":"&H00800000","textcolordisabled":"&H8000000F",
                         "textcolordisabled2":"&H00808080"})");
    QTest::newRow("values equal to defaults are dropped")
        << QByteArray(R"({"SizeCW":"3","sizech":3,"FillWithColor":"True","enabled":"-1","TextAlign":"2",
                         "PictureTColor":"&HFF00FF","BackColor":"&H8000000F&","PicturePos":"0","text":""})")
        << QByteArray("{}");
    QTest::newRow("mixed case keys and value forms")
        << QByteArray(R"({"SIZECW":"5","TextColorEnabled":"8388608","Enabled":"False","DisableHover":"1",
                         "DisplaceText":"2","DrawFocus":-3,"TextAlign":"0","MousePointer":"99"})")
        << QByteArray(R"({"sizecw":"5","textcolorenabled":"&H00800000","enabled":"false","disablehover":"true",
                         "displacetext":"2","drawfocus":"-3","textalign":"0","mousepointer":"99"})");
    QTest::newRow("picture alone")
        << QByteArray(R"({"spn":"MyButtonDefSkin","ipucu":"Çal","picturepos":"4","accesskey":"Ç"})")
        << QByteArray(R"({"spn":"MyButtonDefSkin","ipucu":"Çal","picturepos":"4","accesskey":"Ç"})");
    QTest::newRow("negative decimal colour is a system colour")
        << QByteArray(R"({"backcolor":"-2147483633"})") << QByteArray("{}");
    QTest::newRow("unreadable values fall back to defaults")
        << QByteArray(R"({"sizecw":"abc","picturepos":"70000","backcolor":"&Hxyz","enabled":"maybe"})")
        << QByteArray("{}");
}

void TestMyButton::settingsRoundTrip()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, written);

    MyButton b(m_host);
    b.applySettings(QJsonDocument::fromJson(stored).object());
    const QJsonObject expected = QJsonDocument::fromJson(written).object();
    QCOMPARE(b.settings(), expected);

    // What was written reads back to the same button.
    MyButton again(m_host);
    again.applySettings(b.settings());
    QCOMPARE(again.settings(), expected);
    QCOMPARE(again.isEnabled(), b.isEnabled());
}

void TestMyButton::readingResetsMissingKeysToDefaults()
{
    m_button->applySettings(json(R"({"sizecw":"6","ipucu":"Not","enabled":"false","picturepos":"4"})"));
    QCOMPARE(m_button->sizeCW(), 6);
    QVERIFY(!m_button->isEnabled());
    QCOMPARE(m_button->ipucu(), u"Not"_s);
    QVERIFY(m_button->toolTip().isEmpty());

    m_button->applySettings(json(R"({"text":"Kapat"})"));
    QCOMPARE(m_button->sizeCW(), 3);
    QCOMPARE(m_button->ipucu(), QString());
    QVERIFY(m_button->isEnabled());
    QCOMPARE(m_button->picturePos(), 0);
    QCOMPARE(m_button->settings(), json(R"({"text":"Kapat"})"));
}

void TestMyButton::fontIsStoredOnlyWhenSet()
{
    m_button->applySettings(json(R"({"font":"Arial,8.4706,700,162,0,0,0"})"));
    QCOMPARE(m_button->font().family(), u"Arial"_s);
    QVERIFY(m_button->font().bold());
    QCOMPARE(m_button->font().pointSizeF(), 8.4706);
    QCOMPARE(m_button->settings().value(u"font"_s).toString(), u"Arial,8.4706,700,162,0,0,0"_s);

    m_button->applySettings(json(R"({"font":"Tahoma,9.1765,400,0,1,0,0"})"));
    QVERIFY(m_button->font().italic());
    QVERIFY(!m_button->font().bold());

    // Without a stored font the button follows its host's.
    m_button->applySettings({});
    QCOMPARE(m_button->font(), m_host->font());
    QVERIFY(!m_button->settings().contains(u"font"_s));
}

void TestMyButton::fontAttributeSetters()
{
    m_button->applySettings(json(R"({"font":"Arial,8.4706,400,162,0,0,0"})"));
    m_button->setFontBold(true);
    m_button->setFontItalic(true);
    m_button->setFontUnderline(true);
    m_button->setFontStrikethru(true);
    m_button->setFontSize(9.1765f);
    m_button->setFontName(u"Tahoma"_s);
    QVERIFY(m_button->fontBold() && m_button->fontItalic() && m_button->fontUnderline() && m_button->fontStrikethru());
    QCOMPARE(m_button->fontName(), u"Tahoma"_s);
    QCOMPARE(m_button->fontSize(), 9.1765f);
    // Each change keeps the others and the stored character set.
    QCOMPARE(m_button->settings().value(u"font"_s).toString(), u"Tahoma,9.1765,700,162,1,1,1"_s);
}

void TestMyButton::accessKeyFromCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");

    QTest::newRow("first letter") << u"&Kaydet"_s << u"K"_s;
    QTest::newRow("last marker wins") << u"&Ara ve &Bul"_s << u"B"_s;
    QTest::newRow("doubled marker") << u"Söz &&ve"_s << u"v"_s;
    QTest::newRow("marker between blanks keeps the old key") << u"Söz & Müzik"_s << u"x"_s;
    QTest::newRow("trailing marker keeps the old key") << u"Kapat&"_s << u"x"_s;
    QTest::newRow("no marker keeps the old key") << u"Kapat"_s << u"x"_s;
    QTest::newRow("Turkish letter") << u"&Çal"_s << u"Ç"_s;
}

void TestMyButton::accessKeyFromCaption()
{
    QFETCH(QString, caption);
    QFETCH(QString, key);

    m_button->setAccessKey(u"x"_s);
    m_button->setText(caption);
    QCOMPARE(m_button->accessKey(), key);

    // Reading a stored caption derives nothing.
    m_button->applySettings(QJsonObject{{u"text"_s, caption}, {u"accesskey"_s, u"q"_s}});
    QCOMPARE(m_button->accessKey(), u"q"_s);
}

void TestMyButton::narrowSettersRefuseOverflow()
{
    m_button->setPicturePos(4);
    try {
        m_button->setPicturePos(32768);
        QFAIL("no error");
    } catch (const ControlError &e) {
        QCOMPARE(e.number(), 6);
    }
    QCOMPARE(m_button->picturePos(), 4);
    m_button->setPicturePos(-32768);
    QCOMPARE(m_button->picturePos(), -32768);

    m_button->setMousePointer(2);
    QVERIFY_THROWS_EXCEPTION(ControlError, m_button->setMousePointer(-40000));
    QCOMPARE(m_button->mousePointer(), 2);
}

void TestMyButton::picturePlacement_data()
{
    QTest::addColumn<QSize>("button");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QPoint>("at");

    QTest::newRow("delete button, left of the caption") << QSize(121, 25) << QSize(16, 16) << 0 << QPoint(6, 4);
    QTest::newRow("pause button, alone") << QSize(25, 89) << QSize(20, 20) << 4 << QPoint(2, 34);
    QTest::newRow("play button, alone") << QSize(25, 17) << QSize(15, 15) << 4 << QPoint(5, 1);
}

void TestMyButton::picturePlacement()
{
    QFETCH(QSize, button);
    QFETCH(QSize, picture);
    QFETCH(int, pos);
    QFETCH(QPoint, at);

    const QColor mark(0, 255, 0);
    m_button->resize(button);
    m_button->setText(u"MyButton3"_s);
    m_button->setPicture(solid(picture.width(), picture.height(), mark));
    m_button->setPicturePos(pos);
    const QImage img = m_button->surface();
    QCOMPARE(firstPixel(img, mark.rgb()), at);
}

void TestMyButton::captionColours()
{
    QFont big(u"DejaVu Sans"_s, 16, QFont::Bold);
    m_button->setFont(big);
    m_button->resize(200, 40);
    m_button->setText(u"MMMM"_s);
    m_button->setTextColorEnabled(0x000000FF);   // red
    m_button->setTextColorDisabled(0x00FF0000);  // blue
    m_button->setTextColorDisabled2(0x0000FF00); // green shadow

    QImage img = m_button->surface();
    QVERIFY(countNear(img, Qt::red) > 20);
    QCOMPARE(countNear(img, Qt::blue), 0);

    m_button->setEnabled(false);
    img = m_button->surface();
    QCOMPARE(countNear(img, Qt::red), 0);
    QVERIFY(countNear(img, Qt::blue) > 20);
    QVERIFY(countNear(img, Qt::green) > 5);

    // Equal disabled colours: one greyed caption, no shadow.
    m_button->setTextColorDisabled2(0x00FF0000);
    img = m_button->surface();
    QCOMPARE(countNear(img, Qt::green), 0);
}

void TestMyButton::accessibility()
{
    m_button->setText(u"&Ara"_s);
    m_button->setIpucu(u"Başlıklarda ara"_s);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(m_button);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Button);
    QCOMPARE(iface->text(QAccessible::Name), u"Ara"_s);
    QCOMPARE(iface->text(QAccessible::Description), u"Başlıklarda ara"_s);

    QSignalSpy spy(m_button, &MyButton::Click);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(spy.count(), 1);

    m_button->setEnabled(false);
    QVERIFY(!actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(spy.count(), 1);
    QVERIFY(iface->state().disabled);

    // A picture-only button, and one without a caption, are named by their tooltip text.
    m_button->setText(u"MyButton3"_s);
    m_button->setIpucu(u"Duraklat"_s);
    m_button->setPicture(solid(20, 20, Qt::black));
    m_button->setPicturePos(4);
    QCOMPARE(iface->text(QAccessible::Name), u"Duraklat"_s);
    m_button->setPicturePos(0);
    m_button->setText(QString());
    QCOMPARE(iface->text(QAccessible::Name), u"Duraklat"_s);
}

QTEST_MAIN(TestMyButton)
#include "tst_mybutton.moc"
