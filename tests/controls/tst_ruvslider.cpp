#include "controlerror.h"
#include "ruvslider.h"
#include "valuetip.h"

#include <QLabel>
#include <QPointer>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Records the slider's events by name, in the order they come.
struct EventLog {
    explicit EventLog(RuvSlider *s, bool mouse = false)
    {
        if (mouse) {
            QObject::connect(s, &RuvSlider::MouseDown, s, [this](short &) { names << u"MouseDown"_s; });
            QObject::connect(s, &RuvSlider::MouseUp, s, [this](short &) { names << u"MouseUp"_s; });
        }
        QObject::connect(s, &RuvSlider::ValueChanged, s, [this, s] { names << u"ValueChanged=%1"_s.arg(s->value()); });
        QObject::connect(s, &RuvSlider::ArrivedFirst, s, [this] { names << u"ArrivedFirst"_s; });
        QObject::connect(s, &RuvSlider::ArrivedLast, s, [this] { names << u"ArrivedLast"_s; });
        QObject::connect(s, &RuvSlider::Click, s, [this] { names << u"Click"_s; });
    }
    QStringList names;
};

} // namespace

class TestRuvSlider : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rangeSetters_data();
    void rangeSetters();
    void rangeOverflowIsRefused();
    void valueSetter_data();
    void valueSetter();

    void dragging();
    void pressAndReleaseWithoutMoving();
    void disabledIgnoresMouseAndKeys();
    void verticalRunsFromTheBottom();
    void arrowKeys();

    void defaultsWhenNothingIsStored();
    void storedVolumeSliderRoundTrip();

    void accessibility();

    void volumeLayoutAndDrawing();
    void edgeRailLayout_data();
    void edgeRailLayout();
    void edgeStyles_data();
    void edgeStyles();
    void pressOnAndOffTheThumb();
    void valueTipWhilePressed();
    void zeroTrackAndOtherOrientations();
    void hostMayBeDeletedFromEveryEvent_data();
    void hostMayBeDeletedFromEveryEvent();

private:
    // The main window's volume slider: horizontal, a 56 x 14 rail picture (so 60 x 14 pixels),
    // an 11 x 11 knob, 0 to 100.
    void makeVolume();

    QWidget *m_host = nullptr;
    RuvSlider *m_slider = nullptr;
};

void TestRuvSlider::init()
{
    m_host = new QWidget;
    m_host->resize(200, 200);
    m_slider = new RuvSlider(m_host);
    m_slider->setGeometry(10, 10, 60, 14);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host));
}

void TestRuvSlider::cleanup()
{
    delete m_host;
    m_host = nullptr;
    m_slider = nullptr;
}

void TestRuvSlider::makeVolume()
{
    QPixmap knob(11, 11);
    knob.fill(Qt::gray);
    QPixmap rail(56, 14);
    rail.fill(Qt::lightGray);
    m_slider->setOrientation(RuvSlider::Horizontal);
    m_slider->setSliderIcon(knob);
    m_slider->setRailPicture(rail);
    m_slider->setRailStyle(99);
    m_slider->setMax(100);
    m_slider->setValue(50);
}

void TestRuvSlider::rangeSetters_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<int>("arg");
    QTest::addColumn<int>("startValue");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QList<int>>("minMaxValue");
    QTest::addColumn<QStringList>("events");

    // Every row starts from Min 0, Max 10.
    QTest::newRow("Max equal to Min") << u"max"_s << 0 << 4 << true << QList<int>{0, 10, 4} << QStringList{};
    QTest::newRow("Max below Min") << u"max"_s << -5 << 4 << true << QList<int>{0, 10, 4} << QStringList{};
    QTest::newRow("Min equal to Max") << u"min"_s << 10 << 4 << true << QList<int>{0, 10, 4} << QStringList{};
    QTest::newRow("Min above Max") << u"min"_s << 11 << 4 << true << QList<int>{0, 10, 4} << QStringList{};
    QTest::newRow("Max below Value keeps Value") << u"max"_s << 5 << 8 << false << QList<int>{0, 5, 8} << QStringList{};
    QTest::newRow("Min moves Value to it")
        << u"min"_s << 2 << 0 << false << QList<int>{2, 10, 2} << QStringList{u"ValueChanged=2"_s, u"ArrivedFirst"_s};
    QTest::newRow("Min at the present Value raises nothing")
        << u"min"_s << 4 << 4 << false << QList<int>{4, 10, 4} << QStringList{};
    QTest::newRow("negative Min") << u"min"_s << -20 << 4 << false << QList<int>{-20, 10, -20}
                                  << QStringList{u"ValueChanged=-20"_s, u"ArrivedFirst"_s};
}

void TestRuvSlider::rangeSetters()
{
    QFETCH(QString, which);
    QFETCH(int, arg);
    QFETCH(int, startValue);
    QFETCH(bool, refused);
    QFETCH(QList<int>, minMaxValue);
    QFETCH(QStringList, events);

    m_slider->setValue(startValue);
    EventLog log(m_slider);
    int number = 0;
    try {
        if (which == u"min"_s)
            m_slider->setMin(arg);
        else
            m_slider->setMax(arg);
    } catch (const ControlError &e) {
        number = e.number();
    }
    QCOMPARE(number, refused ? 380 : 0);
    QCOMPARE((QList<int>{m_slider->min(), m_slider->max(), m_slider->value()}), minMaxValue);
    QCOMPARE(log.names, events);
}

void TestRuvSlider::rangeOverflowIsRefused()
{
    m_slider->setMin(-10);
    QVERIFY_THROWS_EXCEPTION(ControlError, m_slider->setMax(std::numeric_limits<qint32>::max()));
    QCOMPARE(m_slider->max(), 10);
    m_slider->setMax(std::numeric_limits<qint32>::max() - 10);
    QCOMPARE(m_slider->max(), std::numeric_limits<qint32>::max() - 10);
}

void TestRuvSlider::valueSetter_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("events");

    // From 3 in 0..100.
    QTest::newRow("same value") << 3 << QStringList{};
    QTest::newRow("inside the range") << 7 << QStringList{u"ValueChanged=7"_s};
    QTest::newRow("to Max") << 100 << QStringList{u"ValueChanged=100"_s, u"ArrivedLast"_s};
    QTest::newRow("to Min") << 0 << QStringList{u"ValueChanged=0"_s, u"ArrivedFirst"_s};
    QTest::newRow("past Max is kept") << 150 << QStringList{u"ValueChanged=150"_s};
}

void TestRuvSlider::valueSetter()
{
    QFETCH(int, value);
    QFETCH(QStringList, events);

    makeVolume();
    m_slider->setValue(3);
    EventLog log(m_slider);
    m_slider->setValue(value);
    QCOMPARE(m_slider->value(), value);
    QCOMPARE(log.names, events);
    // The thumb stands where the value puts it along the 49-pixel track.
    QCOMPARE(float(m_slider->thumbRect().left()), float(49.0 * value / 100.0));
}

void TestRuvSlider::dragging()
{
    makeVolume();
    QCOMPARE(m_slider->thumbRect().left(), 24.5);
    EventLog log(m_slider);

    // Off the thumb: its centre jumps to the pointer and the value follows.
    QTest::mousePress(m_slider, Qt::LeftButton, {}, QPoint(40, 7));
    QVERIFY(m_slider->isDragging());
    QCOMPARE(m_slider->value(), 70);
    QVERIFY(qAbs(m_slider->thumbRect().left() - 34.3) < 1e-4);
    QCOMPARE(log.names, QStringList{u"ValueChanged=70"_s});

    // Past the Max end the thumb is pinned and ArrivedLast comes once.
    QTest::mouseMove(m_slider, QPoint(150, 7));
    QTest::mouseMove(m_slider, QPoint(190, 7));
    QCOMPARE(m_slider->value(), 100);
    QCOMPARE(m_slider->thumbRect().left(), 49.0);
    QTest::mouseMove(m_slider, QPoint(-30, 7));
    QCOMPARE(m_slider->value(), 0);
    QCOMPARE(m_slider->thumbRect().left(), 0.0);

    // A release outside ends the drag without Click.
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(-30, 7));
    QVERIFY(!m_slider->isDragging());
    QCOMPARE(log.names, (QStringList{u"ValueChanged=70"_s, u"ValueChanged=100"_s, u"ArrivedLast"_s, u"ValueChanged=0"_s,
                                     u"ArrivedFirst"_s}));
    QTest::mouseMove(m_slider, QPoint(30, 7));
    QCOMPARE(m_slider->value(), 0);
}

void TestRuvSlider::pressAndReleaseWithoutMoving()
{
    makeVolume();
    EventLog log(m_slider);
    // On the thumb: nothing moves.
    QTest::mousePress(m_slider, Qt::LeftButton, {}, QPoint(30, 7));
    QCOMPARE(m_slider->value(), 50);
    // A grab near the thumb's edge keeps the value until the pointer really moves it.
    QTest::mouseMove(m_slider, QPoint(30, 7));
    QCOMPARE(m_slider->value(), 50);
    QTest::mouseMove(m_slider, QPoint(29, 7));
    QCOMPARE(m_slider->value(), 48);
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(29, 7));
    QCOMPARE(log.names, (QStringList{u"ValueChanged=48"_s, u"Click"_s}));

    // Right button: no drag, no Click.
    QTest::mousePress(m_slider, Qt::RightButton, {}, QPoint(5, 7));
    QVERIFY(!m_slider->isDragging());
    QTest::mouseRelease(m_slider, Qt::RightButton, {}, QPoint(5, 7));
    QCOMPARE(m_slider->value(), 48);
    QCOMPARE(log.names.size(), 2);
}

void TestRuvSlider::disabledIgnoresMouseAndKeys()
{
    makeVolume();
    m_slider->setEnabled(false);
    EventLog log(m_slider);
    QTest::mousePress(m_slider, Qt::LeftButton, {}, QPoint(5, 7));
    QTest::mouseMove(m_slider, QPoint(50, 7));
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(50, 7));
    QTest::keyClick(m_slider, Qt::Key_Right);
    QCOMPARE(m_slider->value(), 50);
    // The widget itself stays enabled: a left release inside still clicks.
    QVERIFY(m_slider->isEnabled());
    QCOMPARE(log.names, QStringList{u"Click"_s});
}

void TestRuvSlider::verticalRunsFromTheBottom()
{
    m_slider->setGeometry(10, 10, 16, 116);
    QCOMPARE(m_slider->orientation(), int(RuvSlider::Vertical));
    QCOMPARE(m_slider->thumbRect().top(), 100.0); // Value 0 = Min, at the bottom
    m_slider->setValue(10);
    QCOMPARE(m_slider->thumbRect().top(), 0.0);
    m_slider->setValue(3);
    QCOMPARE(m_slider->thumbRect().top(), 70.0);
    // Dragging up raises the value.
    QTest::mousePress(m_slider, Qt::LeftButton, {}, QPoint(8, 78));
    QTest::mouseMove(m_slider, QPoint(8, 28));
    QCOMPARE(m_slider->value(), 8);
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(8, 28));
    QTest::keyClick(m_slider, Qt::Key_Up);
    QCOMPARE(m_slider->value(), 9);
}

void TestRuvSlider::arrowKeys()
{
    makeVolume();
    m_slider->setFocus();
    EventLog log(m_slider);
    QTest::keyClick(m_slider, Qt::Key_Right);
    QCOMPARE(m_slider->value(), 51);
    QTest::keyClick(m_slider, Qt::Key_Left);
    QTest::keyClick(m_slider, Qt::Key_Down);
    QCOMPARE(m_slider->value(), 49);
    QTest::keyClick(m_slider, Qt::Key_End);
    QTest::keyClick(m_slider, Qt::Key_Right); // already at Max: nothing
    QCOMPARE(m_slider->value(), 100);
    QTest::keyClick(m_slider, Qt::Key_PageDown);
    QCOMPARE(m_slider->value(), 90);
    QTest::keyClick(m_slider, Qt::Key_Home);
    QCOMPARE(m_slider->value(), 0);
    QCOMPARE(log.names,
             (QStringList{u"ValueChanged=51"_s, u"ValueChanged=50"_s, u"ValueChanged=49"_s, u"ValueChanged=100"_s,
                          u"ArrivedLast"_s, u"ValueChanged=90"_s, u"ValueChanged=0"_s, u"ArrivedFirst"_s}));
    // A value past Max steps back into the range.
    m_slider->setValue(150);
    QTest::keyClick(m_slider, Qt::Key_Right);
    QCOMPARE(m_slider->value(), 100);
}

void TestRuvSlider::defaultsWhenNothingIsStored()
{
    makeVolume();
    m_slider->setShowValueTip(false);
    EventLog log(m_slider);
    m_slider->applySettings({});
    QCOMPARE(m_slider->orientation(), int(RuvSlider::Vertical));
    QCOMPARE(m_slider->min(), 0);
    QCOMPARE(m_slider->max(), 10);
    QCOMPARE(m_slider->value(), 0);
    QCOMPARE(m_slider->railStyle(), 0);
    QVERIFY(m_slider->showValueTip());
    QVERIFY(m_slider->isEnabled());
    QCOMPARE(m_slider->backColor(), 0x8000000Fu);
    QVERIFY(m_slider->sliderIcon().isNull());
    QCOMPARE(m_slider->settings(), QJsonObject());
    QVERIFY(log.names.isEmpty());
}

void TestRuvSlider::storedVolumeSliderRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QPixmap knob(11, 11);
    knob.fill(Qt::gray);
    QVERIFY(knob.save(dir.filePath(u"knob.png"_s)));
    QPixmap rail(56, 14);
    rail.fill(Qt::lightGray);
    QVERIFY(rail.save(dir.filePath(u"rail.png"_s)));

    const QJsonObject stored{{u"BackColor"_s, u"&H00F0F0F0"_s},
                             {u"SliderIcon"_s, dir.filePath(u"knob.png"_s)},
                             {u"orientation"_s, u"0"_s},
                             {u"railpicture"_s, dir.filePath(u"rail.png"_s)},
                             {u"RAILSTYLE"_s, u"99"_s},
                             {u"max"_s, u"100"_s},
                             {u"value"_s, u"50"_s},
                             {u"min"_s, u"0"_s},
                             {u"enabled"_s, u"True"_s}};
    EventLog log(m_slider);
    m_slider->applySettings(stored);
    QVERIFY(log.names.isEmpty());
    QCOMPARE(m_slider->orientation(), int(RuvSlider::Horizontal));
    QCOMPARE(m_slider->railStyle(), 99);
    QCOMPARE(m_slider->value(), 50);
    QCOMPARE(m_slider->max(), 100);
    QCOMPARE(m_slider->backColor(), 0x00F0F0F0u);
    QCOMPARE(m_slider->sliderIcon().size(), QSize(11, 11));
    QCOMPARE(m_slider->thumbRect().left(), 24.5);

    const QJsonObject written{{u"backcolor"_s, u"&H00F0F0F0"_s},
                              {u"slidericon"_s, dir.filePath(u"knob.png"_s)},
                              {u"orientation"_s, u"0"_s},
                              {u"railpicture"_s, dir.filePath(u"rail.png"_s)},
                              {u"railstyle"_s, u"99"_s},
                              {u"max"_s, u"100"_s},
                              {u"value"_s, u"50"_s}};
    QCOMPARE(m_slider->settings(), written);

    // The stored value is the one last announced: setting it again raises nothing.
    m_slider->setValue(50);
    QVERIFY(log.names.isEmpty());

    // A picture set without a path is written with its image data and reads back.
    m_slider->setSliderIcon(knob);
    RuvSlider copy(m_host);
    copy.applySettings(m_slider->settings());
    QCOMPARE(copy.sliderIcon().size(), QSize(11, 11));
    QCOMPARE(copy.settings(), m_slider->settings());
}

void TestRuvSlider::accessibility()
{
    makeVolume();
    m_slider->setToolTip(u"Ses"_s);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(m_slider);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Slider);
    QCOMPARE(iface->text(QAccessible::Name), u"Ses"_s);
    QCOMPARE(iface->text(QAccessible::Value), u"50"_s);
    QAccessibleValueInterface *value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toInt(), 50);
    QCOMPARE(value->minimumValue().toInt(), 0);
    QCOMPARE(value->maximumValue().toInt(), 100);

    EventLog log(m_slider);
    value->setCurrentValue(70);
    QCOMPARE(m_slider->value(), 70);
    value->setCurrentValue(500);
    QCOMPARE(m_slider->value(), 100);
    QCOMPARE(log.names, (QStringList{u"ValueChanged=70"_s, u"ValueChanged=100"_s, u"ArrivedLast"_s}));
    QCOMPARE(iface->text(QAccessible::Value), u"100"_s);
    QVERIFY(iface->text(QAccessible::Description).startsWith(u"100"_s));
}

void TestRuvSlider::volumeLayoutAndDrawing()
{
    // The stored volume slider: its rail picture sizes it to 60 x 14.
    QImage knob(11, 11, QImage::Format_RGB32);
    knob.fill(0x00FF00);
    m_slider->setGeometry(10, 10, 900 / 15, 210 / 15);
    m_slider->applySettings(QJsonObject{{u"backcolor"_s, u"&H00F0F0F0"_s},
                                        {u"orientation"_s, u"0"_s},
                                        {u"railpicture"_s, u":/images/rail.png"_s},
                                        {u"railstyle"_s, u"99"_s},
                                        {u"max"_s, u"100"_s},
                                        {u"value"_s, u"50"_s}});
    m_slider->setSliderIcon(QPixmap::fromImage(knob));
    QCOMPARE(m_slider->size(), QSize(60, 14));
    QCOMPARE(m_slider->thumbRect(), QRectF(24.5, 1.5, 11, 11));
    QCOMPARE(m_slider->railRect(), QRect(QPoint(4, 4), QPoint(56, 7)));
    const QImage img = m_slider->surface();
    const QImage rail(u":/images/rail.png"_s);
    auto px = [&](int x, int y) { return img.pixel(x, y) & 0xFFFFFFu; };
    // Whole pixels: the thumb at 24, 2; the rail picture from x 2.
    QCOMPARE(px(24, 2), 0x00FF00u);
    QCOMPARE(px(34, 12), 0x00FF00u);
    QVERIFY(px(23, 2) != 0x00FF00u);
    QVERIFY(px(35, 2) != 0x00FF00u);
    QCOMPARE(px(1, 7), 0xF0F0F0u);
    QCOMPARE(px(2, 7), rail.pixel(0, 7) & 0xFFFFFFu);
    QCOMPARE(px(57, 7), rail.pixel(55, 7) & 0xFFFFFFu);
    QCOMPARE(px(58, 7), 0xF0F0F0u);
}

void TestRuvSlider::edgeRailLayout_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("given");
    QTest::addColumn<QSize>("laidOut");
    QTest::addColumn<QRect>("rail");

    QTest::newRow("horizontal keeps its width")
        << 0 << QSize(200, 40) << QSize(200, 16) << QRect(QPoint(6, 6), QPoint(193, 9));
    QTest::newRow("vertical keeps its height")
        << 1 << QSize(40, 200) << QSize(16, 200) << QRect(QPoint(6, 6), QPoint(9, 193));
}

void TestRuvSlider::edgeRailLayout()
{
    QFETCH(int, orientation);
    QFETCH(QSize, given);
    QFETCH(QSize, laidOut);
    QFETCH(QRect, rail);

    m_slider->setOrientation(orientation);
    m_slider->resize(given);
    QCOMPARE(m_slider->size(), laidOut);
    QCOMPARE(m_slider->railRect(), rail);
    // The default thumb is the 16 x 16 knob, at the Min end.
    QCOMPARE(m_slider->thumbRect().size(), QSizeF(16, 16));
    QCOMPARE(m_slider->thumbRect().topLeft(), orientation == 0 ? QPointF(0, 0) : QPointF(0, 184));
}

void TestRuvSlider::edgeStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QList<QRgb>>("rows"); // rows 6 to 9 of the rail at x 50

    const QRgb shadow = 0xA0A0A0, dark = 0x696969, light = 0xE3E3E3, hi = 0xFFFFFF, face = 0xF0F0F0;
    QTest::newRow("0 sunken") << 0 << QList<QRgb>{shadow, dark, light, hi};
    QTest::newRow("1 raised") << 1 << QList<QRgb>{light, hi, shadow, dark};
    QTest::newRow("2 thin sunken") << 2 << QList<QRgb>{shadow, face, face, hi};
    QTest::newRow("3 thin raised") << 3 << QList<QRgb>{hi, face, face, shadow};
    QTest::newRow("4 no edge") << 4 << QList<QRgb>{face, face, face, face};
    QTest::newRow("7 no rail") << 7 << QList<QRgb>{face, face, face, face};
}

void TestRuvSlider::edgeStyles()
{
    QFETCH(int, style);
    QFETCH(QList<QRgb>, rows);

    m_slider->setOrientation(RuvSlider::Horizontal);
    m_slider->resize(200, 40);
    m_slider->setRailStyle(style);
    m_slider->setBackColor(0x00F0F0F0);
    m_slider->setValue(5); // the thumb in the middle, off the points looked at
    const QImage img = m_slider->surface();
    for (int i = 0; i < 4; ++i)
        QCOMPARE(img.pixel(50, 6 + i) & 0xFFFFFFu, rows[i]);
    // The edge's corners: top right and bottom left take the lower right colour.
    if (style == 0) {
        QCOMPARE(img.pixel(193, 6) & 0xFFFFFFu, rows[3]);
        QCOMPARE(img.pixel(6, 9) & 0xFFFFFFu, rows[3]);
    }
    QCOMPARE(img.pixel(50, 5) & 0xFFFFFFu, 0xF0F0F0u);
}

void TestRuvSlider::pressOnAndOffTheThumb()
{
    makeVolume();
    EventLog log(m_slider, true);
    // On the thumb: no value change; the release inside clicks, then ends the drag.
    QTest::mousePress(m_slider, Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 7));
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(30, 7));
    QCOMPARE(log.names, (QStringList{u"MouseDown"_s, u"Click"_s, u"MouseUp"_s}));
    // Left of the thumb: the value moves there before MouseDown.
    log.names.clear();
    short shift = -1;
    connect(m_slider, &RuvSlider::MouseDown, this, [&](short &s) { shift = s; });
    QTest::mousePress(m_slider, Qt::LeftButton, Qt::ShiftModifier, QPoint(2, 7));
    QCOMPARE(shift, short(1));
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(2, 7));
    QCOMPARE(log.names,
             (QStringList{u"ValueChanged=0"_s, u"ArrivedFirst"_s, u"MouseDown"_s, u"Click"_s, u"MouseUp"_s}));
    // A right release during a left drag ends it; the left release then only clicks.
    log.names.clear();
    QTest::mousePress(m_slider, Qt::LeftButton, {}, QPoint(2, 7));
    QTest::mouseRelease(m_slider, Qt::RightButton, {}, QPoint(2, 7));
    QVERIFY(!m_slider->isDragging());
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(2, 7));
    QCOMPARE(log.names, (QStringList{u"MouseDown"_s, u"MouseUp"_s, u"Click"_s}));
}

void TestRuvSlider::valueTipWhilePressed()
{
    makeVolume();
    QTest::mousePress(m_slider, Qt::LeftButton, {}, QPoint(30, 7));
    QVERIFY(ValueTip::isLoaded());
    QCOMPARE(ValueTip::instance()->label()->text(), u"50"_s);
    QTest::mouseMove(m_slider, QPoint(40, 7));
    QCOMPARE(ValueTip::instance()->label()->text(), QString::number(m_slider->value()));
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(40, 7));
    QVERIFY(!ValueTip::isLoaded());

    // Without the value tip nothing shows, and the release still closes another's tip.
    m_slider->setShowValueTip(false);
    QTest::mousePress(m_slider, Qt::LeftButton, {}, QPoint(10, 7));
    QVERIFY(!ValueTip::isLoaded());
    ValueTip::showHint(m_host, u"Çal"_s);
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(10, 7));
    QVERIFY(!ValueTip::isLoaded());
}

void TestRuvSlider::zeroTrackAndOtherOrientations()
{
    // A slider no longer than its thumb: every drag gives Min.
    QPixmap knob(11, 11);
    knob.fill(Qt::gray);
    m_slider->setOrientation(RuvSlider::Horizontal);
    m_slider->setSliderIcon(knob);
    m_slider->resize(11, 11);
    m_slider->setMin(-5);
    m_slider->setValue(3);
    QTest::mousePress(m_slider, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(m_slider, QPoint(9, 5));
    QCOMPARE(m_slider->value(), -5);
    QCOMPARE(m_slider->thumbRect().left(), 0.0);
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(9, 5));

    // Another orientation lays nothing out and every drag step sets 0.
    m_slider->setOrientation(2);
    m_slider->resize(80, 30);
    QCOMPARE(m_slider->size(), QSize(80, 30));
    QTest::mousePress(m_slider, Qt::LeftButton, {}, QPoint(40, 15));
    QTest::mouseMove(m_slider, QPoint(60, 15));
    QCOMPARE(m_slider->value(), 0);
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(60, 15));
}

void TestRuvSlider::hostMayBeDeletedFromEveryEvent_data()
{
    QTest::addColumn<QString>("event");
    QTest::newRow("ValueChanged") << u"ValueChanged"_s;
    QTest::newRow("ArrivedFirst") << u"ArrivedFirst"_s;
    QTest::newRow("ArrivedLast") << u"ArrivedLast"_s;
    QTest::newRow("Click") << u"Click"_s;
    QTest::newRow("MouseDown") << u"MouseDown"_s;
    QTest::newRow("MouseUp") << u"MouseUp"_s;
}

void TestRuvSlider::hostMayBeDeletedFromEveryEvent()
{
    QFETCH(QString, event);
    makeVolume();
    QPointer<QWidget> host = m_host;
    QPointer<RuvSlider> slider = m_slider;
    auto close = [this] {
        delete m_host;
        m_host = nullptr;
    };
    if (event == u"ValueChanged"_s)
        connect(m_slider, &RuvSlider::ValueChanged, this, close);
    else if (event == u"ArrivedFirst"_s)
        connect(m_slider, &RuvSlider::ArrivedFirst, this, close);
    else if (event == u"ArrivedLast"_s)
        connect(m_slider, &RuvSlider::ArrivedLast, this, close);
    else if (event == u"Click"_s)
        connect(m_slider, &RuvSlider::Click, this, close);
    else if (event == u"MouseDown"_s)
        connect(m_slider, &RuvSlider::MouseDown, this, [close](short &) { close(); });
    else
        connect(m_slider, &RuvSlider::MouseUp, this, [close](short &) { close(); });
    // Press on the thumb, drag to each end and back, release inside.
    const QList<QPoint> path{{30, 7}, {70, 7}, {-20, 7}, {20, 7}};
    QTest::mousePress(m_slider, Qt::LeftButton, {}, path[0]);
    for (qsizetype i = 1; i < path.size() && slider; ++i)
        QTest::mouseMove(m_slider, path[i]);
    if (slider)
        QTest::mouseRelease(m_slider, Qt::LeftButton, {}, path.last());
    QVERIFY(!host);
    QVERIFY(!slider);
    m_slider = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!ValueTip::isLoaded());
    // Let go of the press that the deleted window still held.
    QWidget spare;
    spare.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spare));
    QTest::mouseRelease(&spare, Qt::LeftButton, {}, QPoint(1, 1));
}

QTEST_MAIN(TestRuvSlider)
#include "tst_ruvslider.moc"
