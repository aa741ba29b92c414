#include "olecolors.h"
#include "valuetip.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <cmath>

using namespace Qt::StringLiterals;

class TestValueTip : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hintBelowTheButtonsTop_data();
    void hintBelowTheButtonsTop();
    void tipBesideTheThumb_data();
    void tipBesideTheThumb();
    void raisedFrame();
    void takesNeitherFocusNorMouse();
    void loadedOnceAndUnloaded();
    void heldInsideTheScreen();
    void goesWhenAModalWindowOpensOverIt();

private:
    QWidget *m_host = nullptr;
    QLineEdit *m_edit = nullptr;
};

void TestValueTip::init()
{
    m_host = new QWidget;
    m_host->setGeometry(100, 100, 400, 300);
    m_edit = new QLineEdit(m_host);
    m_host->show();
    m_host->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_host));
    m_edit->setFocus();
}

void TestValueTip::cleanup()
{
    ValueTip::unload();
    delete m_host;
}

void TestValueTip::hintBelowTheButtonsTop_data()
{
    QTest::addColumn<int>("height");
    QTest::newRow("25-pixel button") << 25;
    QTest::newRow("41-pixel button, partly covered") << 41;
}

void TestValueTip::hintBelowTheButtonsTop()
{
    QFETCH(int, height);
    QWidget button(m_host);
    button.setGeometry(10, 20, 121, height);
    button.show();
    ValueTip::showHint(&button, u"Formda görünen kaydı sil"_s);
    ValueTip *tip = ValueTip::instance();
    QVERIFY(tip);
    const QSize l = tip->label()->size();
    QCOMPARE(tip->label()->pos(), QPoint(2, 1));
    QCOMPARE(tip->size(), QSize(l.width() + 4, l.height() + 3));
    const QPoint top = button.mapToGlobal(QPoint(0, 0));
    QCOMPARE(tip->pos(), QPoint(top.x(), top.y() + l.height() + 15));
    // The label fits its text on one line.
    QVERIFY(l.width() >= tip->label()->fontMetrics().horizontalAdvance(tip->label()->text()));
    QCOMPARE(l.height(), tip->label()->sizeHint().height());

    // An empty text gives a blank frame of the empty label's size.
    ValueTip::showHint(&button, QString());
    QCOMPARE(ValueTip::instance(), tip);
    QCOMPARE(tip->size(), tip->label()->size() + QSize(4, 3));
}

void TestValueTip::tipBesideTheThumb_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QRectF>("thumb");
    QTest::newRow("horizontal, centred above") << 0 << QRectF(20, 3, 10, 11);
    QTest::newRow("horizontal, half pixel") << 0 << QRectF(24.5, 1.5, 11, 11);
    QTest::newRow("vertical, left of it") << 1 << QRectF(2, 40, 16, 16);
}

void TestValueTip::tipBesideTheThumb()
{
    QFETCH(int, orientation);
    QFETCH(QRectF, thumb);

    QWidget slider(m_host);
    slider.setGeometry(200, 150, 60, 100);
    slider.show();
    ValueTip::showTip(&slider, thumb, orientation, u"-7"_s);
    ValueTip *tip = ValueTip::instance();
    QVERIFY(tip);
    QCOMPARE(tip->label()->text(), u"-7"_s);
    const QSize l = tip->label()->size();
    const QPoint rc = slider.mapToGlobal(QPoint(0, 0));
    QPoint expected;
    if (orientation == 0)
        expected = QPoint(int(std::nearbyint(rc.x() + thumb.left() + (thumb.width() - l.width() - 4) * 0.5)),
                          int(std::nearbyint(rc.y() + thumb.top() - l.height() - 5)));
    else
        expected = QPoint(int(std::nearbyint(rc.x() + thumb.left() - l.width() - 6)),
                          int(std::nearbyint(rc.y() + thumb.top() + (thumb.height() - l.height() - 4) * 0.5)));
    QCOMPARE(tip->pos(), expected);
    if (orientation == 0) // its bottom edge 2 pixels above the thumb
        QCOMPARE(tip->geometry().bottom() + 1, int(std::nearbyint(rc.y() + thumb.top() - 2)));
}

void TestValueTip::raisedFrame()
{
    QWidget button(m_host);
    button.setGeometry(10, 20, 121, 25);
    button.show();
    ValueTip::showHint(&button, u"Not"_s);
    ValueTip *tip = ValueTip::instance();
    const QImage img = tip->grab().toImage();
    const int W = img.width();
    const int H = img.height();
    const QRgb light = oleColorOrBlack(0x80000016).rgb() & 0xFFFFFFu;
    const QRgb dark = oleColorOrBlack(0x80000015).rgb() & 0xFFFFFFu;
    const QRgb back = oleColorOrBlack(0x80000018).rgb() & 0xFFFFFFu;
    auto px = [&](int x, int y) { return img.pixel(x, y) & 0xFFFFFFu; };
    QCOMPARE(px(0, 0), light);
    QCOMPARE(px(W / 2, 0), light);
    QCOMPARE(px(0, H / 2), light);
    QCOMPARE(px(W - 1, 0), dark); // the right line is drawn after the top one
    QCOMPARE(px(W - 1, H / 2), dark);
    QCOMPARE(px(0, H - 1), dark);
    QCOMPARE(px(W / 2, H - 1), dark);
    QCOMPARE(px(1, 1), back);
    QCOMPARE(px(W - 2, H - 2), back);
}

void TestValueTip::takesNeitherFocusNorMouse()
{
    QWidget button(m_host);
    button.setGeometry(10, 20, 121, 25);
    button.show();
    ValueTip::showHint(&button, u"Ara"_s);
    ValueTip *tip = ValueTip::instance();
    QVERIFY(tip->isVisible());
    QCOMPARE(QApplication::activeWindow(), m_host);
    QCOMPARE(QApplication::focusWidget(), m_edit);
    QVERIFY(tip->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    QVERIFY(tip->windowFlags() & Qt::WindowTransparentForInput);
    QVERIFY(tip->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(tip->objectName(), u"frmValueTip"_s);
}

void TestValueTip::loadedOnceAndUnloaded()
{
    // Unloading a window that is not loaded does nothing, twice in a row too.
    ValueTip::unload();
    ValueTip::unload();
    QVERIFY(!ValueTip::isLoaded());

    QWidget a(m_host);
    QWidget b(m_host);
    a.show();
    b.show();
    ValueTip::showHint(&a, u"Çal"_s);
    QPointer<ValueTip> first = ValueTip::instance();
    // The last caller's text and place win; the window stays the same.
    ValueTip::showTip(&b, QRectF(0, 0, 11, 11), 0, u"50"_s);
    QCOMPARE(ValueTip::instance(), first.data());
    QCOMPARE(first->label()->text(), u"50"_s);
    QCOMPARE(first->owner(), &b);
    // Hiding the control that no longer owns it leaves it.
    a.hide();
    QVERIFY(ValueTip::isLoaded());

    ValueTip::unload();
    QVERIFY(!ValueTip::isLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
    // The next use loads a new window.
    ValueTip::showHint(&b, u"Durdur"_s);
    QVERIFY(ValueTip::isLoaded());
    QCOMPARE(ValueTip::instance()->label()->text(), u"Durdur"_s);
}

void TestValueTip::heldInsideTheScreen()
{
    const QRect screen = m_host->screen()->geometry();
    QWidget slider(m_host);
    slider.setGeometry(0, 0, 60, 14);
    slider.show();
    // A thumb at the very top would put the tip above the screen.
    m_host->move(screen.topLeft());
    ValueTip::showTip(&slider, QRectF(0, 0, 11, 11), 0, u"100"_s);
    QVERIFY(ValueTip::instance()->geometry().top() >= screen.top());
    QVERIFY(ValueTip::instance()->geometry().left() >= screen.left());
    // A button at the bottom right corner: the tip stays on the screen.
    m_host->move(screen.right() - m_host->width() + 1, screen.bottom() - m_host->height() + 1);
    QWidget button(m_host);
    button.setGeometry(m_host->width() - 20, m_host->height() - 10, 20, 10);
    button.show();
    ValueTip::showHint(&button, u"Çıktılar için rapor aç"_s);
    QVERIFY(screen.contains(ValueTip::instance()->geometry()));
}

void TestValueTip::goesWhenAModalWindowOpensOverIt()
{
    QWidget button(m_host);
    button.setGeometry(10, 20, 121, 25);
    button.show();
    QWidget stranger;
    stranger.setGeometry(600, 100, 200, 100);
    stranger.show();
    ValueTip::showHint(&button, u"Çıktılar için rapor aç"_s);
    QVERIFY(ValueTip::isLoaded());
    // A window that takes nothing from the tip's leaves it.
    stranger.hide();
    QVERIFY(ValueTip::isLoaded());

    QDialog dialog(m_host);
    dialog.setGeometry(150, 150, 200, 100);
    dialog.open();
    QVERIFY(!ValueTip::isLoaded());
}

QTEST_MAIN(TestValueTip)
#include "tst_valuetip.moc"
