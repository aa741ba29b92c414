#include "controlerror.h"
#include "ruvslider.h"

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
    explicit EventLog(RuvSlider *s)
    {
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
    QTest::newRow("Max below Value keeps Value")
        << u"max"_s << 5 << 8 << false << QList<int>{0, 5, 8} << QStringList{};
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
    QCOMPARE(log.names, (QStringList{u"ValueChanged=70"_s, u"ValueChanged=100"_s, u"ArrivedLast"_s,
                                     u"ValueChanged=0"_s, u"ArrivedFirst"_s}));
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
    QCOMPARE(m_slider->thumbRect().top(), 100.0);  // Value 0 = Min, at the bottom
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
    QTest::keyClick(m_slider, Qt::Key_Right);  // already at Max: nothing
    QCOMPARE(m_slider->value(), 100);
    QTest::keyClick(m_slider, Qt::Key_PageDown);
    QCOMPARE(m_slider->value(), 90);
    QTest::keyClick(m_slider, Qt::Key_Home);
    QCOMPARE(m_slider->value(), 0);
    QCOMPARE(log.names, (QStringList{u"ValueChanged=51"_s, u"ValueChanged=50"_s, u"ValueChanged=49"_s,
                                     u"ValueChanged=100"_s, u"ArrivedLast"_s, u"ValueChanged=90"_s,
                                     u"ValueChanged=0"_s, u"ArrivedFirst"_s}));
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

    const QJsonObject stored{{u"BackColor"_s, u"&H00F0F0F0"_s}, {u"SliderIcon"_s, dir.filePath(u"knob.png"_s)},
                             {u"orientation"_s, u"0"_s},        {u"railpicture"_s, dir.filePath(u"rail.png"_s)},
                             {u"RAILSTYLE"_s, u"99"_s},          {u"max"_s, u"100"_s},
                             {u"value"_s, u"50"_s},              {u"min"_s, u"0"_s},
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

    const QJsonObject written{{u"backcolor"_s, u"&H00F0F0F0"_s}, {u"slidericon"_s, dir.filePath(u"knob.png"_s)},
                              {u"orientation"_s, u"0"_s},        {u"railpicture"_s, dir.filePath(u"rail.png"_s)},
                              {u"railstyle"_s, u"99"_s},          {u"max"_s, u"100"_s},
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

QTEST_MAIN(TestRuvSlider)
#include "tst_ruvslider.moc"
