#include "dberror.h"
#include "statusbar.h"
#include "statuspanel.h"

#include <QAccessible>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestStatusBar : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void designDefaults();
    void clickOnPanelGivesItsNumber_data();
    void clickOnPanelGivesItsNumber();
    void widthsMoveThePanels();
    void textsAreReadableAndElided();
    void settingsFromTheLayout();
    void badPanelNumbers();
    void staysAlongTheBottomEdge();

private:
    std::unique_ptr<QWidget> m_window;
    StatusBar *m_bar = nullptr;
};

void TestStatusBar::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(700, 300);
    m_bar = new StatusBar(m_window.get());
    m_bar->setGeometry(0, 275, 700, 25);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestStatusBar::cleanup()
{
    m_window.reset();
    m_bar = nullptr;
}

void TestStatusBar::designDefaults()
{
    QCOMPARE(m_bar->panelCount(), 5);
    const int widths[] = {100, 100, 100, 75, 75};
    for (int n = 1; n <= 5; ++n) {
        QCOMPARE(m_bar->panelWidth(n), widths[n - 1]);
        QCOMPARE(m_bar->panelRect(n).width(), widths[n - 1]);
        QVERIFY(m_bar->panelText(n).isEmpty());
        QVERIFY(m_bar->isPanelEnabled(n));
    }
    QCOMPARE(m_bar->backColor(), QColor(0x1A, 0x66, 0xCE));
    QCOMPARE(m_bar->foreColor(), QColor(Qt::black));
    QCOMPARE(m_bar->disabledForeColor(), QColor(0x6D, 0x6D, 0x6D));
    QVERIFY(m_bar->isGripperShown());
}

void TestStatusBar::clickOnPanelGivesItsNumber_data()
{
    QTest::addColumn<int>("panel");
    for (int n = 1; n <= 5; ++n)
        QTest::addRow("panel %d", n) << n;
}

void TestStatusBar::clickOnPanelGivesItsNumber()
{
    QFETCH(int, panel);
    QSignalSpy clicks(m_bar, &StatusBar::panelClick);
    QTest::mouseClick(m_bar->panel(panel), Qt::LeftButton, {}, m_bar->panel(panel)->rect().center());
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), panel);

    // A disabled panel takes no clicks.
    m_bar->setPanelEnabled(panel, false);
    QTest::mouseClick(m_bar->panel(panel), Qt::LeftButton, {}, m_bar->panel(panel)->rect().center());
    QCOMPARE(clicks.count(), 1);
}

void TestStatusBar::widthsMoveThePanels()
{
    // The main window's resize: W = 15000 twips gives 345, 143, 345.
    m_bar->setPanelWidth(1, 345);
    m_bar->setPanelWidth(2, 143);
    m_bar->setPanelWidth(3, 345);
    QCOMPARE(m_bar->panelWidth(2), 143);
    QVERIFY(m_bar->panelRect(2).left() >= 345);
    QVERIFY(m_bar->panelRect(3).left() >= m_bar->panelRect(2).right());
    QCOMPARE(m_bar->panelRect(4).width(), 75);

    // A click at x = 150 lay in panel 2 at the design widths; now it is panel 1.
    QSignalSpy clicks(m_bar, &StatusBar::panelClick);
    const QPoint at(150, m_bar->height() / 2);
    QWidget *under = m_bar->childAt(at);
    QVERIFY(under);
    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(m_bar, at));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), 1);

    m_bar->setPanelWidth(5, -3);
    QCOMPARE(m_bar->panelWidth(5), 0);
}

void TestStatusBar::textsAreReadableAndElided()
{
    const QString path = u"Veritabanı Dosyası = /home/kullanıcı/Belgeler/Türküler/arşiv/Zelvoran.qel"_s;
    m_bar->setPanelText(1, path);
    m_bar->setPanelToolTip(1, u"Başka bir veritabanı seçmek için tıklayın"_s);
    m_bar->setPanelText(2, u"Kayıt : 6 / 120"_s);

    QAccessibleInterface *a1 = QAccessible::queryAccessibleInterface(m_bar->panel(1));
    QVERIFY(a1);
    QCOMPARE(a1->text(QAccessible::Name), path);
    QCOMPARE(a1->text(QAccessible::Description), u"Başka bir veritabanı seçmek için tıklayın"_s);
    QAccessibleInterface *a2 = QAccessible::queryAccessibleInterface(m_bar->panel(2));
    QCOMPARE(a2->text(QAccessible::Name), u"Kayıt : 6 / 120"_s);
    // The panels are reachable from the bar.
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(m_bar);
    QVERIFY(bar->indexOfChild(a1) >= 0);

    // 100 pixels cannot hold the path: it is cut on one line, the panel keeps the whole text.
    const QString shown = m_bar->panel(1)->shownText();
    QVERIFY(shown.size() < path.size());
    QVERIFY(shown.endsWith(QChar(0x2026)));
    QCOMPARE(m_bar->panelText(1), path);
    QCOMPARE(m_bar->panel(2)->shownText(), u"Kayıt : 6 / 120"_s);

    m_bar->setPanelText(3, u"satır bir\nsatır iki"_s);
    QVERIFY(!m_bar->panel(3)->shownText().contains(u'\n'));
    QVERIFY(!m_bar->panel(3)->wordWrap());
}

void TestStatusBar::settingsFromTheLayout()
{
    QPixmap speaker(16, 16);
    speaker.fill(Qt::magenta);
    QJsonObject s{{u"numberofpanels"_s, u"5"_s},     {u"pwidth1"_s, u"120"_s},          {u"pwidth4"_s, u"60"_s},
                  {u"ptext5"_s, u"10.12.2024"_s},    {u"ptttext2"_s, u"Kayıt"_s},       {u"penabled3"_s, u"false"_s},
                  {u"backcolor"_s, u"&H00CE661A"_s}, {u"forecolor"_s, u"&H000000FF"_s}, {u"showgripper"_s, u"false"_s},
                  {u"MaskColor"_s, u"&H00FF00FF"_s}};
    m_bar->applySettings(s);
    QCOMPARE(m_bar->panelWidth(1), 120);
    QCOMPARE(m_bar->panelWidth(2), 100);
    QCOMPARE(m_bar->panelWidth(4), 60);
    QCOMPARE(m_bar->panelText(5), u"10.12.2024"_s);
    QCOMPARE(m_bar->panelToolTip(2), u"Kayıt"_s);
    QVERIFY(!m_bar->isPanelEnabled(3));
    QCOMPARE(m_bar->foreColor(), QColor(Qt::red));
    QVERIFY(!m_bar->isGripperShown());

    // The mask colour is transparent in a picture without alpha.
    m_bar->setPanelPicture(3, speaker);
    QVERIFY(!m_bar->panelPicture(3).isNull());
    QCOMPARE(m_bar->panelPicture(3).toImage().pixelColor(4, 4).alpha(), 0);
}

void TestStatusBar::badPanelNumbers()
{
    for (int n : {0, 6, -1}) {
        try {
            m_bar->setPanelText(n, u"x"_s);
            QFAIL("no error");
        } catch (const db::Error &e) {
            QCOMPARE(e.number(), 35600);
        }
    }
}

void TestStatusBar::staysAlongTheBottomEdge()
{
    m_bar->setAlignBottom(true);
    m_window->resize(900, 500);
    QCOMPARE(m_bar->geometry(), QRect(0, 500 - 25, 900, 25));
}

QTEST_MAIN(TestStatusBar)
#include "tst_statusbar.moc"
