#include "dberror.h"
#include "recordscrollbar.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRecordScrollBar : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void setValueChecked_data();
    void setValueChecked();
    void changeFromProgramAlsoWhileDisabled();
    void shrinkingRangeRaisesChange();
    void moreThan32767Records();
    void arrowAndTroughMoveOneRecord_data();
    void arrowAndTroughMoveOneRecord();
    void dragScrollsAndReleaseChanges();
    void keysMoveForwardAndBack_data();
    void keysMoveForwardAndBack();
    void refusedMoveStaysWithOneCall_data();
    void refusedMoveStaysWithOneCall();

private:
    QRect partRect(QStyle::SubControl part) const;
    void sendMouse(QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons);

    std::unique_ptr<RecordScrollBar> m_bar;
};

void TestRecordScrollBar::init()
{
    m_bar = std::make_unique<RecordScrollBar>();
    m_bar->resize(177, 25);
    m_bar->setMinimumChecked(1);
    m_bar->setMaximumChecked(120);
    m_bar->setValueChecked(5);
}

void TestRecordScrollBar::cleanup()
{
    m_bar.reset();
}

QRect TestRecordScrollBar::partRect(QStyle::SubControl part) const
{
    QStyleOptionSlider opt;
    opt.initFrom(m_bar.get());
    opt.orientation = Qt::Horizontal;
    opt.state |= QStyle::State_Horizontal;
    opt.minimum = m_bar->minimum();
    opt.maximum = m_bar->maximum();
    opt.sliderPosition = m_bar->sliderPosition();
    opt.sliderValue = m_bar->value();
    opt.singleStep = m_bar->singleStep();
    opt.pageStep = m_bar->pageStep();
    opt.upsideDown = false;
    opt.subControls = QStyle::SC_All;
    return m_bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, m_bar.get());
}

void TestRecordScrollBar::sendMouse(QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(pos), QPointF(m_bar->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(m_bar.get(), &e);
}

void TestRecordScrollBar::setValueChecked_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("fails");
    QTest::newRow("below the minimum") << 0 << true;
    QTest::newRow("above the maximum") << 121 << true;
    QTest::newRow("far below") << -40000 << true;
    QTest::newRow("the minimum") << 1 << false;
    QTest::newRow("the maximum") << 120 << false;
}

void TestRecordScrollBar::setValueChecked()
{
    QFETCH(int, value);
    QFETCH(bool, fails);
    QSignalSpy changes(m_bar.get(), &RecordScrollBar::change);
    int error = 0;
    try {
        m_bar->setValueChecked(value);
    } catch (const db::Error &e) {
        error = e.number();
        QCOMPARE(e.description(), u"Geçersiz özellik değeri."_s);
    }
    if (fails) {
        QCOMPARE(error, 380);
        QCOMPARE(m_bar->value(), 5);
        QCOMPARE(changes.count(), 0);
    } else {
        QCOMPARE(error, 0);
        QCOMPARE(m_bar->value(), value);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).toInt(), value);
    }
}

void TestRecordScrollBar::changeFromProgramAlsoWhileDisabled()
{
    QSignalSpy changes(m_bar.get(), &RecordScrollBar::change);
    m_bar->setEnabled(false);
    m_bar->setValueChecked(6);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toInt(), 6);

    // The present value again: nothing.
    m_bar->setValueChecked(6);
    QCOMPARE(changes.count(), 1);

    // The delete's detour: up one and back, two changes.
    m_bar->setEnabled(true);
    m_bar->setValueChecked(m_bar->value() + 1);
    m_bar->setValueChecked(m_bar->value() - 1);
    QCOMPARE(changes.count(), 3);
    QCOMPARE(changes.at(2).at(0).toInt(), 6);
}

void TestRecordScrollBar::shrinkingRangeRaisesChange()
{
    m_bar->setValueChecked(100);
    QSignalSpy changes(m_bar.get(), &RecordScrollBar::change);
    m_bar->setMaximumChecked(50);
    QCOMPARE(m_bar->value(), 50);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toInt(), 50);

    m_bar->setMinimumChecked(60);
    QCOMPARE(m_bar->value(), 60);
    QCOMPARE(changes.count(), 2);

    // A range that still holds the value changes nothing.
    m_bar->setMaximumChecked(500);
    QCOMPARE(changes.count(), 2);
}

void TestRecordScrollBar::moreThan32767Records()
{
    m_bar->setMaximumChecked(40000);
    QSignalSpy changes(m_bar.get(), &RecordScrollBar::change);
    m_bar->setValueChecked(40000);
    QCOMPARE(m_bar->value(), 40000);
    QCOMPARE(changes.count(), 1);
}

void TestRecordScrollBar::arrowAndTroughMoveOneRecord_data()
{
    QTest::addColumn<int>("part");
    QTest::addColumn<int>("expected");
    QTest::newRow("right arrow") << int(QStyle::SC_ScrollBarAddLine) << 6;
    QTest::newRow("left arrow") << int(QStyle::SC_ScrollBarSubLine) << 4;
    QTest::newRow("trough right of the thumb") << int(QStyle::SC_ScrollBarAddPage) << 6;
    QTest::newRow("trough left of the thumb") << int(QStyle::SC_ScrollBarSubPage) << 4;
}

void TestRecordScrollBar::arrowAndTroughMoveOneRecord()
{
    QFETCH(int, part);
    QFETCH(int, expected);
    m_bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
    const QRect r = partRect(QStyle::SubControl(part));
    QVERIFY(r.isValid());
    QSignalSpy changes(m_bar.get(), &RecordScrollBar::change);
    QTest::mouseClick(m_bar.get(), Qt::LeftButton, {}, r.center());
    QCOMPARE(m_bar->value(), expected);
    QCOMPARE(changes.count(), 1);
}

void TestRecordScrollBar::dragScrollsAndReleaseChanges()
{
    m_bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
    QSignalSpy changes(m_bar.get(), &RecordScrollBar::change);
    QSignalSpy scrolls(m_bar.get(), &RecordScrollBar::scroll);

    const QPoint start = partRect(QStyle::SC_ScrollBarSlider).center();
    sendMouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    sendMouse(QEvent::MouseMove, start + QPoint(30, 0), Qt::LeftButton);
    sendMouse(QEvent::MouseMove, start + QPoint(60, 0), Qt::LeftButton);

    QVERIFY(scrolls.count() >= 2);
    const int under = scrolls.last().at(0).toInt();
    QVERIFY(under > 5);
    QCOMPARE(m_bar->value(), 5); // the record stays while dragging
    QCOMPARE(changes.count(), 0);

    sendMouse(QEvent::MouseButtonRelease, start + QPoint(60, 0), Qt::NoButton);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toInt(), under);
    QCOMPARE(m_bar->value(), under);
}

void TestRecordScrollBar::keysMoveForwardAndBack_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("Right") << int(Qt::Key_Right) << 6;
    QTest::newRow("Down") << int(Qt::Key_Down) << 6;
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << 6;
    QTest::newRow("End") << int(Qt::Key_End) << 120;
    QTest::newRow("Left") << int(Qt::Key_Left) << 4;
    QTest::newRow("Up") << int(Qt::Key_Up) << 4;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << 4;
    QTest::newRow("Home") << int(Qt::Key_Home) << 1;
}

void TestRecordScrollBar::keysMoveForwardAndBack()
{
    QFETCH(int, key);
    QFETCH(int, expected);
    QSignalSpy changes(m_bar.get(), &RecordScrollBar::change);
    QTest::keyClick(m_bar.get(), Qt::Key(key));
    QCOMPARE(m_bar->value(), expected);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toInt(), expected);
}

void TestRecordScrollBar::refusedMoveStaysWithOneCall_data()
{
    QTest::addColumn<int>("part");
    QTest::newRow("right arrow") << int(QStyle::SC_ScrollBarAddLine);
    QTest::newRow("left arrow") << int(QStyle::SC_ScrollBarSubLine);
    QTest::newRow("trough right of the thumb") << int(QStyle::SC_ScrollBarAddPage);
    QTest::newRow("trough left of the thumb") << int(QStyle::SC_ScrollBarSubPage);
}

// A handler that refuses the way the window does: a message box (an event loop the
// user reads for a while), then the value put back. The button is released only later,
// as after the box closed; the bar must neither repeat nor ask again.
void TestRecordScrollBar::refusedMoveStaysWithOneCall()
{
    QFETCH(int, part);
    m_bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
    const QRect r = partRect(QStyle::SubControl(part));
    int calls = 0;
    bool restoring = false;
    connect(m_bar.get(), &RecordScrollBar::change, m_bar.get(), [&](int) {
        if (restoring)
            return;
        ++calls;
        QTest::qWait(900);
        restoring = true;
        m_bar->setValueChecked(5);
        restoring = false;
    });
    sendMouse(QEvent::MouseButtonPress, r.center(), Qt::LeftButton);
    QCOMPARE(calls, 1);
    QCOMPARE(m_bar->value(), 5);
    QTest::qWait(900);
    QCOMPARE(calls, 1);
    QCOMPARE(m_bar->value(), 5);
    sendMouse(QEvent::MouseButtonRelease, r.center(), Qt::NoButton);

    // The next press moves again.
    disconnect(m_bar.get(), &RecordScrollBar::change, m_bar.get(), nullptr);
    QTest::mouseClick(m_bar.get(), Qt::LeftButton, {}, r.center());
    QVERIFY(m_bar->value() != 5);
}

QTEST_MAIN(TestRecordScrollBar)
#include "tst_recordscrollbar.moc"
