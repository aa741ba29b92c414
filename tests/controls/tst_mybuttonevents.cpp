#include "controlerror.h"
#include "mybutton.h"
#include "picturebox.h"
#include "valuetip.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Records the button's nine events by name, in the order they come.
struct EventLog {
    explicit EventLog(MyButton *b)
    {
        auto add = [this](const QString &name) { names << name; };
        QObject::connect(b, &MyButton::Click, b, [add] { add(u"Click"_s); });
        QObject::connect(b, &MyButton::MouseHover, b, [add] { add(u"MouseHover"_s); });
        QObject::connect(b, &MyButton::MouseOut, b, [add] { add(u"MouseOut"_s); });
        QObject::connect(b, &MyButton::MouseDown, b,
                         [add](short &, short &, float &, float &) { add(u"MouseDown"_s); });
        QObject::connect(b, &MyButton::MouseMove, b,
                         [add](short &, short &, float &, float &) { add(u"MouseMove"_s); });
        QObject::connect(b, &MyButton::MouseUp, b, [add](short &, short &, float &, float &) { add(u"MouseUp"_s); });
        QObject::connect(b, &MyButton::KeyPress, b, [add](short &) { add(u"KeyPress"_s); });
        QObject::connect(b, &MyButton::KeyDown, b, [add](short &, short &) { add(u"KeyDown"_s); });
        QObject::connect(b, &MyButton::KeyUp, b, [add](short &, short &) { add(u"KeyUp"_s); });
    }
    QStringList names;
};

void sendKey(QWidget *w, QEvent::Type type, Qt::Key key, const QString &text, bool repeat = false)
{
    QKeyEvent e(type, key, Qt::NoModifier, text, repeat);
    QApplication::sendEvent(w, &e);
}

// Drives the button by a small script: "press 60 12", "rpress", "mpress", "release 200 12",
// "move 200 12", "dbl", "space", "space+" (a repeat), "-space", "enter", "a", "-a", "out".
void run(MyButton *b, QWidget *host, const QStringList &script)
{
    for (const QString &step : script) {
        const QStringList p = step.split(u' ');
        const QPoint at = p.size() >= 3 ? QPoint(p[1].toInt(), p[2].toInt()) : QPoint(60, 12);
        const QString op = p[0];
        if (op == u"press"_s)
            QTest::mousePress(b, Qt::LeftButton, {}, at);
        else if (op == u"rpress"_s)
            QTest::mousePress(b, Qt::RightButton, {}, at);
        else if (op == u"release"_s)
            QTest::mouseRelease(b, Qt::LeftButton, {}, at);
        else if (op == u"rrelease"_s)
            QTest::mouseRelease(b, Qt::RightButton, {}, at);
        else if (op == u"mpress"_s)
            QTest::mousePress(b, Qt::MiddleButton, {}, at);
        else if (op == u"mrelease"_s)
            QTest::mouseRelease(b, Qt::MiddleButton, {}, at);
        else if (op == u"move"_s)
            QTest::mouseMove(b, at);
        else if (op == u"dbl"_s)
            QTest::mouseDClick(b, Qt::LeftButton, {}, at);
        else if (op == u"space"_s)
            sendKey(b, QEvent::KeyPress, Qt::Key_Space, u" "_s);
        else if (op == u"space+"_s)
            sendKey(b, QEvent::KeyPress, Qt::Key_Space, u" "_s, true);
        else if (op == u"-space"_s)
            sendKey(b, QEvent::KeyRelease, Qt::Key_Space, u" "_s);
        else if (op == u"enter"_s)
            sendKey(b, QEvent::KeyPress, Qt::Key_Return, u"\r"_s);
        else if (op == u"a"_s)
            sendKey(b, QEvent::KeyPress, Qt::Key_A, u"a"_s);
        else if (op == u"-a"_s)
            sendKey(b, QEvent::KeyRelease, Qt::Key_A, u"a"_s);
        else if (op == u"out"_s) {
            QTest::mouseMove(host, QPoint(280, 180));
            QCoreApplication::sendPostedEvents();
        }
        if (!b)
            return;
    }
}

} // namespace

class TestMyButtonEvents : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void stateMachine_data();
    void stateMachine();
    void spaceReleaseAfterAMouseClickEndsTheHeldSpace();
    void handlerSeesItsChangedArguments();
    void hostMayBeDeletedFromEveryEvent_data();
    void hostMayBeDeletedFromEveryEvent();
    void enabledPaintsNormalOrDisabled();
    void eventArgumentsInClassicCodes_data();
    void eventArgumentsInClassicCodes();

    void skinLookup();
    void skinPictureRefusesOtherObjects();
    void failedPaintDropsTheSkinUntilShown();
    void newButtonDefaults();
    void mousePointer();

    void tooltipFollowsThePointer();
    void tooltipGoesWithItsButton();
    void tooltipGoesWhenClickOpensAModalWindow_data();
    void tooltipGoesWhenClickOpensAModalWindow();

private:
    QPointer<QWidget> m_host;
    QPointer<MyButton> m_button;
};

void TestMyButtonEvents::init()
{
    ValueTip::unload();
    m_host = new QWidget;
    m_host->resize(300, 200);
    auto *skin = new PictureBox(m_host);
    skin->setObjectName(u"MyButtonDefSkin"_s);
    skin->setGeometry(0, 0, 150, 21);
    skin->setPicture(QPixmap(u":/images/skin.png"_s));
    skin->hide();
    m_button = new MyButton(m_host);
    m_button->setObjectName(u"sil"_s);
    m_button->setGeometry(20, 20, 121, 25);
    m_button->setText(u"Aktif Kaydı Sil..."_s);
    m_button->setIpucu(u"Formda görünen kaydı sil"_s);
    m_button->setSkinPictureName(u"MyButtonDefSkin"_s);
    m_host->show();
    m_host->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_host));
    // A row that deleted its window during a press left the button held: let it go.
    if (QApplication::mouseButtons() & Qt::LeftButton)
        QTest::mouseRelease(m_host, Qt::LeftButton, {}, QPoint(295, 195));
    if (QApplication::mouseButtons() & Qt::RightButton)
        QTest::mouseRelease(m_host, Qt::RightButton, {}, QPoint(295, 195));
    if (QApplication::mouseButtons() & Qt::MiddleButton)
        QTest::mouseRelease(m_host, Qt::MiddleButton, {}, QPoint(295, 195));
    // The pointer starts away from the button: a move to where it stands is no move.
    QTest::mouseMove(m_host, QPoint(295, 195));
    ValueTip::unload();
}

void TestMyButtonEvents::cleanup()
{
    delete m_host;
    ValueTip::unload();
}

void TestMyButtonEvents::stateMachine_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("state");

    QTest::newRow("press and release inside")
        << QStringList{u"press"_s, u"release"_s}
        << QStringList{u"MouseDown"_s, u"MouseMove"_s, u"MouseUp"_s, u"Click"_s} << 2;
    QTest::newRow("release on the far edge still clicks")
        << QStringList{u"press"_s, u"release 121 25"_s}
        << QStringList{u"MouseDown"_s, u"MouseMove"_s, u"MouseUp"_s, u"Click"_s} << 2;
    QTest::newRow("drag out, hover on every move, release outside")
        << QStringList{u"press"_s, u"move 200 12"_s, u"move 201 12"_s, u"release 201 12"_s}
        << QStringList{u"MouseDown"_s, u"MouseMove"_s,  u"MouseMove"_s, u"MouseHover"_s,
                       u"MouseMove"_s, u"MouseHover"_s, u"MouseUp"_s}
        << 2;
    QTest::newRow("right button") << QStringList{u"rpress"_s, u"rrelease"_s}
                                  << QStringList{u"MouseDown"_s, u"MouseMove"_s, u"MouseHover"_s, u"MouseUp"_s} << 1;
    QTest::newRow("right drag out and back: one MouseOut per leave")
        << QStringList{u"rpress"_s,      u"move 200 12"_s, u"move 201 12"_s,    u"move 60 12"_s,
                       u"move 202 12"_s, u"move 203 12"_s, u"rrelease 203 12"_s}
        << QStringList{u"MouseDown"_s, u"MouseMove"_s,  u"MouseHover"_s, u"MouseMove"_s, u"MouseOut"_s,  u"MouseMove"_s,
                       u"MouseMove"_s, u"MouseHover"_s, u"MouseMove"_s,  u"MouseOut"_s,  u"MouseMove"_s, u"MouseUp"_s}
        << 1;
    QTest::newRow("middle drag out: one MouseOut")
        << QStringList{u"mpress"_s, u"move 200 12"_s, u"move 201 12"_s, u"mrelease 201 12"_s}
        << QStringList{u"MouseDown"_s, u"MouseMove"_s, u"MouseHover"_s, u"MouseMove"_s,
                       u"MouseOut"_s,  u"MouseMove"_s, u"MouseUp"_s}
        << 1;
    QTest::newRow("hover once, then out of a focused button")
        << QStringList{u"move 60 12"_s, u"move 61 12"_s, u"out"_s}
        << QStringList{u"MouseMove"_s, u"MouseHover"_s, u"MouseMove"_s, u"MouseMove"_s, u"MouseOut"_s} << 2;
    QTest::newRow("double click clicks twice")
        << QStringList{u"press"_s, u"release"_s, u"dbl"_s, u"release"_s}
        << QStringList{u"MouseDown"_s, u"MouseMove"_s, u"MouseUp"_s, u"Click"_s, u"MouseUp"_s, u"Click"_s} << 2;
    QTest::newRow("space held with repeats") << QStringList{u"space"_s, u"space+"_s, u"space+"_s, u"-space"_s}
                                             << QStringList{u"KeyDown"_s, u"KeyPress"_s, u"KeyDown"_s, u"KeyPress"_s,
                                                            u"KeyDown"_s, u"KeyPress"_s, u"KeyUp"_s,   u"Click"_s}
                                             << 2;
    QTest::newRow("space cut short by another key")
        << QStringList{u"space"_s, u"a"_s, u"-a"_s, u"-space"_s}
        << QStringList{u"KeyDown"_s, u"KeyPress"_s, u"KeyDown"_s, u"KeyPress"_s, u"KeyUp"_s, u"KeyUp"_s} << 2;
    QTest::newRow("mouse ignored while space is down")
        << QStringList{u"space"_s, u"move 61 12"_s, u"move 62 13"_s} << QStringList{u"KeyDown"_s, u"KeyPress"_s} << 4;
    QTest::newRow("Enter") << QStringList{u"enter"_s} << QStringList{u"KeyDown"_s, u"KeyPress"_s, u"Click"_s} << 2;
}

void TestMyButtonEvents::stateMachine()
{
    QFETCH(QStringList, script);
    QFETCH(QStringList, events);
    QFETCH(int, state);

    m_button->setFocus();
    EventLog log(m_button);
    run(m_button, m_host, script);
    QCOMPARE(log.names, events);
    QCOMPARE(int(m_button->state()), state);
}

void TestMyButtonEvents::spaceReleaseAfterAMouseClickEndsTheHeldSpace()
{
    m_button->setFocus();
    EventLog log(m_button);
    run(m_button, m_host, {u"space"_s, u"press"_s, u"release"_s, u"-space"_s});
    // The mouse click clicks; the space release that follows does not, but ends the held space.
    QCOMPARE(log.names,
             (QStringList{u"KeyDown"_s, u"KeyPress"_s, u"MouseDown"_s, u"MouseUp"_s, u"Click"_s, u"KeyUp"_s}));
    log.names.clear();
    m_button->clearFocus();
    run(m_button, m_host, {u"move 70 12"_s, u"out"_s});
    QCOMPARE(log.names, (QStringList{u"MouseMove"_s, u"MouseHover"_s, u"MouseMove"_s, u"MouseOut"_s}));
    QVERIFY(!ValueTip::isLoaded());
}

void TestMyButtonEvents::handlerSeesItsChangedArguments()
{
    // A handler that turns a right press into a left one makes the button pressed.
    connect(m_button, &MyButton::MouseDown, this, [](short &button, short &, float &, float &) { button = 1; });
    int clicks = 0;
    connect(m_button, &MyButton::Click, this, [&] { ++clicks; });
    QTest::mousePress(m_button, Qt::RightButton, {}, QPoint(60, 12));
    QCOMPARE(m_button->state(), MyButton::Pressed);
    // One that moves the release outside keeps the Click back.
    connect(m_button, &MyButton::MouseUp, this, [](short &, short &, float &x, float &) { x = -1; });
    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(60, 12));
    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(60, 12));
    QCOMPARE(clicks, 0);
    // A key handler that changes the code to a space makes any key press the button.
    connect(m_button, &MyButton::KeyDown, this, [](short &code, short &) { code = 32; });
    sendKey(m_button, QEvent::KeyPress, Qt::Key_A, u"a"_s);
    QCOMPARE(m_button->state(), MyButton::Pressed);
}

void TestMyButtonEvents::hostMayBeDeletedFromEveryEvent_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<QStringList>("script");

    QTest::newRow("Click") << u"Click"_s << QStringList{u"press"_s, u"release"_s};
    QTest::newRow("Click by space") << u"Click"_s << QStringList{u"space"_s, u"-space"_s};
    QTest::newRow("Click by Enter") << u"Click"_s << QStringList{u"enter"_s};
    QTest::newRow("MouseHover") << u"MouseHover"_s << QStringList{u"move 60 12"_s};
    QTest::newRow("MouseHover outside") << u"MouseHover"_s << QStringList{u"press"_s, u"move 200 12"_s};
    QTest::newRow("MouseOut") << u"MouseOut"_s << QStringList{u"move 60 12"_s, u"out"_s};
    QTest::newRow("MouseDown") << u"MouseDown"_s << QStringList{u"press"_s};
    QTest::newRow("MouseMove") << u"MouseMove"_s << QStringList{u"move 60 12"_s};
    QTest::newRow("MouseUp") << u"MouseUp"_s << QStringList{u"press"_s, u"release"_s};
    QTest::newRow("KeyPress") << u"KeyPress"_s << QStringList{u"a"_s};
    QTest::newRow("KeyDown") << u"KeyDown"_s << QStringList{u"space"_s};
    QTest::newRow("KeyUp") << u"KeyUp"_s << QStringList{u"space"_s, u"-space"_s};
}

void TestMyButtonEvents::hostMayBeDeletedFromEveryEvent()
{
    QFETCH(QString, event);
    QFETCH(QStringList, script);

    m_button->setFocus();
    QWidget *host = m_host;
    auto close = [host] { delete host; };
    MyButton *b = m_button;
    if (event == u"Click"_s)
        connect(b, &MyButton::Click, this, close);
    else if (event == u"MouseHover"_s)
        connect(b, &MyButton::MouseHover, this, close);
    else if (event == u"MouseOut"_s)
        connect(b, &MyButton::MouseOut, this, close);
    else if (event == u"MouseDown"_s)
        connect(b, &MyButton::MouseDown, this, [close](short &, short &, float &, float &) { close(); });
    else if (event == u"MouseMove"_s)
        connect(b, &MyButton::MouseMove, this, [close](short &, short &, float &, float &) { close(); });
    else if (event == u"MouseUp"_s)
        connect(b, &MyButton::MouseUp, this, [close](short &, short &, float &, float &) { close(); });
    else if (event == u"KeyPress"_s)
        connect(b, &MyButton::KeyPress, this, [close](short &) { close(); });
    else if (event == u"KeyDown"_s)
        connect(b, &MyButton::KeyDown, this, [close](short &, short &) { close(); });
    else if (event == u"KeyUp"_s)
        connect(b, &MyButton::KeyUp, this, [close](short &, short &) { close(); });
    run(m_button, m_host, script);
    QVERIFY(!m_host);
    QVERIFY(!m_button);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!ValueTip::isLoaded());
}

void TestMyButtonEvents::enabledPaintsNormalOrDisabled()
{
    m_button->setFocus();
    QCOMPARE(m_button->state(), MyButton::Focused);
    m_button->setEnabled(false);
    QCOMPARE(m_button->state(), MyButton::Disabled);
    // Enabled again: normal, even with the focus; a refresh of a disabled button reads 5.
    m_button->setEnabled(true);
    QCOMPARE(m_button->state(), MyButton::Normal);
    m_host->setEnabled(false);
    m_button->Refresh();
    QCOMPARE(m_button->state(), MyButton::Disabled);
}

void TestMyButtonEvents::eventArgumentsInClassicCodes_data()
{
    QTest::addColumn<int>("key"); // 0: a mouse press instead
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mouse");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code"); // KeyDown's KeyCode or MouseDown's Button
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("ascii"); // KeyPress's KeyAscii, -1: no KeyPress
    QTest::newRow("letter as its capital") << int(Qt::Key_A) << u"a"_s << 0 << 0 << 65 << 0 << 97;
    QTest::newRow("shifted digit") << int(Qt::Key_7) << u"/"_s << 0 << int(Qt::ShiftModifier) << 55 << 1 << 47;
    QTest::newRow("Ctrl+Alt F5") << int(Qt::Key_F5) << QString() << 0 << int(Qt::ControlModifier | Qt::AltModifier)
                                 << 116 << 6 << -1;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << u"\x1b"_s << 0 << 0 << 27 << 0 << 27;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << QString() << 0 << 0 << 46 << 0 << -1;
    QTest::newRow("arrow right, Shift+Ctrl")
        << int(Qt::Key_Right) << QString() << 0 << int(Qt::ShiftModifier | Qt::ControlModifier) << 39 << 3 << -1;
    QTest::newRow("a key without a code") << int(Qt::Key_Pause) << QString() << 0 << 0 << 0 << 0 << -1;
    QTest::newRow("left, Alt") << 0 << QString() << int(Qt::LeftButton) << int(Qt::AltModifier) << 1 << 4 << -1;
    QTest::newRow("right") << 0 << QString() << int(Qt::RightButton) << 0 << 2 << 0 << -1;
    QTest::newRow("middle, Shift") << 0 << QString() << int(Qt::MiddleButton) << int(Qt::ShiftModifier) << 4 << 1 << -1;
}

// The host's handlers get the mouse, shift and key codes of the classic events.
void TestMyButtonEvents::eventArgumentsInClassicCodes()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, mouse);
    QFETCH(int, modifiers);
    QFETCH(int, code);
    QFETCH(int, shift);
    QFETCH(int, ascii);
    QList<int> got; // code, shift, ascii
    int pressed = -1;
    connect(m_button, &MyButton::KeyDown, this, [&](short &c, short &s) { got = {c, s}; });
    connect(m_button, &MyButton::MouseDown, this, [&](short &b, short &s, float &, float &) { got = {b, s}; });
    connect(m_button, &MyButton::KeyPress, this, [&](short &a) { pressed = a; });
    const auto mods = Qt::KeyboardModifiers(modifiers);
    if (key) {
        QKeyEvent e(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(m_button, &e);
    } else {
        QTest::mousePress(m_button, Qt::MouseButton(mouse), mods, QPoint(60, 12));
        QTest::mouseRelease(m_button, Qt::MouseButton(mouse), mods, QPoint(60, 12));
    }
    QCOMPARE(got, QList<int>({code, shift}));
    QCOMPARE(pressed, ascii);
}

void TestMyButtonEvents::skinLookup()
{
    // On a frame inside the window, found on show; a missing name changes nothing.
    QWidget host;
    auto *frame = new QFrame(&host);
    auto *box = new PictureBox(frame);
    box->setObjectName(u"Kaplama"_s);
    box->resize(150, 21);
    auto *b = new MyButton(&host);
    b->setSkinPictureName(u"Kaplama"_s);
    QCOMPARE(b->skinPicture(), box);
    b->setSkinPictureName(u"Yok"_s);
    QCOMPARE(b->skinPicture(), box);
    QCOMPARE(b->skinPictureName(), u"Kaplama"_s);

    // A control of that name that is not a picture box is passed over silently.
    auto *label = new QLabel(&host);
    label->setObjectName(u"Etiket"_s);
    b->setSkinPictureName(u"Etiket"_s);
    QCOMPARE(b->skinPicture(), box);

    // A box of another window (a dialog the host owns) is not the host's.
    auto *dialog = new QDialog(&host);
    auto *other = new PictureBox(dialog);
    other->setObjectName(u"Başka"_s);
    b->setSkinPictureName(u"Başka"_s);
    QCOMPARE(b->skinPicture(), box);

    // Empty drops the skin.
    b->setSkinPictureName(QString());
    QVERIFY(!b->skinPicture());
    QCOMPARE(b->skinPictureName(), QString());

    // Each show looks the stored name up again.
    auto *shown = new MyButton(&host);
    shown->applySettings(QJsonObject{{u"spn"_s, u"Kaplama"_s}});
    QVERIFY(!shown->skinPicture());
    host.show();
    QCOMPARE(shown->skinPicture(), box);
}

void TestMyButtonEvents::skinPictureRefusesOtherObjects()
{
    QObject *before = m_button->skinPicture();
    QVERIFY(before);
    QLabel label;
    for (int round = 0; round < 2; ++round) {
        try {
            m_button->setSkinPicture(&label);
            QFAIL("no error");
        } catch (const ControlError &e) {
            QCOMPARE(e.number(), 5);
            QCOMPARE(e.source(), u"MyButton::SkinPicture"_s);
            // The same text every time, whatever error came before.
            QCOMPARE(e.description(), u"Geçersiz yordam çağrısı: kaplama bir resim kutusu olmalı."_s);
        }
        try {
            throw ControlError(ControlError::Overflow, u"x"_s, u"Taşma"_s);
        } catch (const ControlError &) {
        }
    }
    QCOMPARE(m_button->skinPicture(), before);
    QCOMPARE(m_button->skinPictureName(), u"MyButtonDefSkin"_s);
    m_button->setSkinPicture(nullptr);
    QVERIFY(!m_button->skinPicture());
    QCOMPARE(m_button->skinPictureName(), QString());
}

void TestMyButtonEvents::failedPaintDropsTheSkinUntilShown()
{
    // Corners as wide as half a cell leave an empty middle: the paint fails.
    m_button->setSizeCW(15);
    const QImage failed = m_button->surface();
    Q_UNUSED(failed);
    QVERIFY(!m_button->skinPicture());
    QCOMPARE(m_button->skinPictureName(), u"MyButtonDefSkin"_s);
    // Flat from now on: the button face all over, the corners included.
    m_button->setSizeCW(3);
    const QImage flat = m_button->surface();
    QCOMPARE(flat.pixel(0, 0) & 0xFFFFFFu, 0xF0F0F0u);
    // Shown again, it finds its skin.
    m_button->hide();
    m_button->show();
    QVERIFY(m_button->skinPicture());
    QCOMPARE(m_button->surface().pixel(0, 0) & 0xFFFFFFu, 0xccd5ddu);
}

void TestMyButtonEvents::newButtonDefaults()
{
    MyButton b(m_host);
    b.setObjectName(u"MyButton3"_s);
    b.initProperties();
    QCOMPARE(b.text(), u"MyButton3"_s);
    QCOMPARE(b.ipucu(), u"qqqqqq"_s);
    QCOMPARE(b.skinPictureName(), u"MyButtonDefSkin"_s);
    QCOMPARE(b.sizeCW(), 3);
    QCOMPARE(b.textAlign(), 2);
    QCOMPARE(b.pictureTColor(), 0xFF00FFu);
    QVERIFY(b.fillWithColor());
    QVERIFY(b.isEnabled());
    // Saved right away, it stores the three values that differ from the stored defaults.
    QCOMPARE(b.settings(),
             (QJsonObject{{u"spn"_s, u"MyButtonDefSkin"_s}, {u"text"_s, u"MyButton3"_s}, {u"ipucu"_s, u"qqqqqq"_s}}));
}

void TestMyButtonEvents::mousePointer()
{
    m_button->setMousePointer(11);
    QCOMPARE(m_button->cursor().shape(), Qt::WaitCursor);
    m_button->setMousePointer(3);
    QCOMPARE(m_button->cursor().shape(), Qt::IBeamCursor);
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    m_button->setMouseIcon(icon);
    m_button->setMousePointer(99);
    QCOMPARE(m_button->cursor().shape(), Qt::BitmapCursor);
    m_button->setMousePointer(0);
    QVERIFY(!m_button->testAttribute(Qt::WA_SetCursor));
    m_button->applySettings(QJsonObject{{u"mousepointer"_s, u"2"_s}});
    QCOMPARE(m_button->cursor().shape(), Qt::CrossCursor);
}

void TestMyButtonEvents::tooltipFollowsThePointer()
{
    m_button->clearFocus();
    QWidget *focus = QApplication::focusWidget();
    QTest::mouseMove(m_button, QPoint(60, 12));
    ValueTip *tip = ValueTip::instance();
    QVERIFY(tip);
    QVERIFY(tip->isVisible());
    QCOMPARE(tip->label()->text(), u"Formda görünen kaydı sil"_s);
    QCOMPARE(tip->owner(), m_button.data());
    // Below the button's top by the label's height and 15 pixels.
    const QPoint top = m_button->mapToGlobal(QPoint(0, 0));
    QCOMPARE(tip->geometry().topLeft(), QPoint(top.x(), top.y() + tip->label()->height() + 15));
    QCOMPARE(QApplication::focusWidget(), focus);
    QCOMPARE(QApplication::activeWindow(), m_host.data());

    // Leaving without the focus closes it; with the focus it stays.
    run(m_button, m_host, {u"out"_s});
    QVERIFY(!ValueTip::isLoaded());
    m_button->setFocus();
    run(m_button, m_host, {u"move 60 12"_s, u"out"_s});
    QVERIFY(ValueTip::isLoaded());
}

void TestMyButtonEvents::tooltipGoesWithItsButton()
{
    // A close button that hides or deletes its window leaves no tip behind.
    m_button->setFocus();
    QTest::mouseMove(m_button, QPoint(60, 12));
    QVERIFY(ValueTip::isLoaded());
    m_host->hide();
    QVERIFY(!ValueTip::isLoaded());

    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host));
    QTest::mouseMove(m_button, QPoint(64, 14));
    QVERIFY(ValueTip::isLoaded());
    delete m_button;
    QVERIFY(!ValueTip::isLoaded());
}

void TestMyButtonEvents::tooltipGoesWhenClickOpensAModalWindow_data()
{
    QTest::addColumn<bool>("messageBox");
    QTest::newRow("query window") << false;
    QTest::newRow("message box") << true;
}

void TestMyButtonEvents::tooltipGoesWhenClickOpensAModalWindow()
{
    // A clicked button has the focus, so leaving it keeps its tip; the window opened from
    // Click takes the mouse and must not show the tip over itself.
    QFETCH(bool, messageBox);
    m_button->setIpucu(u"Çıktılar için rapor aç"_s);
    bool opened = false;
    bool tipWhileOpen = true;
    connect(m_button, &MyButton::Click, this, [&] {
        QTimer::singleShot(0, this, [&] {
            auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            opened = modal != nullptr;
            tipWhileOpen = ValueTip::isLoaded() && ValueTip::instance()->isVisible();
            if (modal)
                modal->reject();
        });
        if (messageBox) {
            QMessageBox::information(m_host, u"Rapor"_s, u"Rapor hazır."_s);
        } else {
            QDialog query(m_host);
            query.resize(200, 100);
            query.exec();
        }
    });
    QTest::mouseMove(m_button, QPoint(60, 12));
    QVERIFY(ValueTip::isLoaded());
    QTest::mouseClick(m_button, Qt::LeftButton, {}, QPoint(60, 12));
    QVERIFY(opened);
    QVERIFY(!tipWhileOpen);
}

QTEST_MAIN(TestMyButtonEvents)
#include "tst_mybuttonevents.moc"
