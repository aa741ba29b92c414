#include "formkinds.h"
#include "formloader.h"
#include "mybutton.h"
#include "picturebox.h"
#include "ruvslider.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestFormKinds : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void mainWindowButtons_data();
    void mainWindowButtons();
    void volumeSlider();
    void loadedButtonClicks();
    void captionAndPictureOfTheLayout();
    void boxesNamedAfterTheirLabels_data();
    void boxesNamedAfterTheirLabels();
    void skinBoxIsAllAWindowNeeds();
    void windowsCarryTheirSkin_data();
    void windowsCarryTheirSkin();
    void secondaryWindowButtons_data();
    void secondaryWindowButtons();

private:
    QWidget m_form;
    FormSpec m_layout;
};

void TestFormKinds::initTestCase()
{
    controls::registerFormKinds();
    QVERIFY(FormLoader::hasKind(u"button"_s));
    QVERIFY(FormLoader::hasKind(u"slider"_s));
    m_layout = FormLoader::load(u":/forms/Form1.json"_s, &m_form);
    QVERIFY(m_layout.valid);
    QVERIFY2(m_layout.problems.isEmpty(), qPrintable(m_layout.problems.join(u"; "_s)));
    m_form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_form));
}

void TestFormKinds::mainWindowButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("ipucu");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("picturePos");
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");

    QTest::newRow("szlkac") << u"szlkac"_s << u"Sözlük Formu..."_s << u"Sözlük Formunu Aç"_s << true << QSize(16, 16)
                            << 0 << u"Arial"_s << true;
    QTest::newRow("sil") << u"sil"_s << u"Aktif Kaydı Sil..."_s << u"Formda görünen kaydı sil"_s << true
                         << QSize(16, 16) << 0 << u"Arial"_s << true;
    QTest::newRow("sbaslikara") << u"sbaslikara"_s << u"Ara"_s << u"Ara"_s << true << QSize(32, 32) << 0 << u"Tahoma"_s
                                << true;
    QTest::newRow("MyButton2") << u"MyButton2"_s << u""_s << u""_s << false << QSize(0, 0) << 0 << u"MS Sans Serif"_s
                               << false;
    QTest::newRow("Command1") << u"Command1"_s << u"..."_s << u"Gözat..."_s << true << QSize(0, 0) << 0 << u"Arial"_s
                              << true;
    QTest::newRow("MyButton3") << u"MyButton3"_s << u"MyButton3"_s << u"Duraklat"_s << true << QSize(20, 20) << 4
                               << u"MS Sans Serif"_s << false;
    QTest::newRow("Play1") << u"Play1"_s << u""_s << u"Çal"_s << true << QSize(15, 15) << 4 << u"MS Sans Serif"_s
                           << false;
    QTest::newRow("Play4") << u"Play4"_s << u""_s << u"Çal"_s << true << QSize(15, 15) << 0 << u"MS Sans Serif"_s
                           << false;
}

void TestFormKinds::mainWindowButtons()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, ipucu);
    QFETCH(bool, enabled);
    QFETCH(QSize, picture);
    QFETCH(int, picturePos);
    QFETCH(QString, family);
    QFETCH(bool, bold);

    auto *b = m_form.findChild<MyButton *>(name);
    QVERIFY(b);
    QCOMPARE(b->text(), text);
    QCOMPARE(b->ipucu(), ipucu);
    // The tip window shows the text, not the toolkit's tooltip.
    QVERIFY(b->toolTip().isEmpty());
    QCOMPARE(b->isEnabled(), enabled);
    QCOMPARE(b->picture().size(), picture);
    QCOMPARE(b->picturePos(), picturePos);
    QCOMPARE(b->skinPictureName(), u"MyButtonDefSkin"_s);
    // Shown, it found the window's skin box, however deep it sits.
    QVERIFY(b->skinPicture());
    QCOMPARE(b->skinPicture()->objectName(), u"MyButtonDefSkin"_s);
    QCOMPARE(b->font().family(), family);
    QCOMPARE(b->font().bold(), bold);
    QCOMPARE(b->textColorEnabled(), text.isEmpty() || name == u"Command1"_s || name == u"MyButton3"_s ? 0u : 0x800000u);

    // What the button gives back is what the layout stores, the caption and picture included.
    const ControlSpec *entry = m_layout.control(name);
    QVERIFY(entry);
    QJsonObject expected = entry->settings;
    if (entry->props.contains(u"picture"_s))
        expected.insert(u"picture"_s, entry->props.value(u"picture"_s));
    QCOMPARE(b->settings(), expected);
}

void TestFormKinds::volumeSlider()
{
    auto *s = m_form.findChild<RuvSlider *>(u"sldvolume"_s);
    QVERIFY(s);
    QCOMPARE(s->size(), QSize(60, 14));
    QCOMPARE(s->orientation(), int(RuvSlider::Horizontal));
    QCOMPARE(s->railStyle(), 99);
    QCOMPARE(s->min(), 0);
    QCOMPARE(s->max(), 100);
    QCOMPARE(s->value(), 50);
    QCOMPARE(s->backColor(), 0x00F0F0F0u);
    QCOMPARE(s->sliderIcon().size(), QSize(11, 11));
    QCOMPARE(s->railPicture().size(), QSize(56, 14));
    QCOMPARE(s->thumbRect().left(), 24.5);
    QCOMPARE(s->settings(), m_layout.control(u"sldvolume"_s)->settings);
}

void TestFormKinds::loadedButtonClicks()
{
    auto *b = m_form.findChild<MyButton *>(u"about"_s);
    QVERIFY(b);
    QCOMPARE(b->property("tag").toString(), u"Hakkında"_s);
    QSignalSpy spy(b, &MyButton::Click);
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    QCOMPARE(spy.count(), 1);
    auto *off = m_form.findChild<MyButton *>(u"MyButton1"_s);
    QSignalSpy none(off, &MyButton::Click);
    QTest::mouseClick(off, Qt::LeftButton, {}, off->rect().center());
    QCOMPARE(none.count(), 0);
}

void TestFormKinds::captionAndPictureOfTheLayout()
{
    // A stored text and picture win over the layout's caption and picture.
    const QByteArray json = R"({"form": {"name": "T", "client": [3000, 1500]}, "controls": [
        {"name": "a", "kind": "button", "in": "T", "caption": "Kapat", "rect": [0, 0, 1200, 375], "tab": 0,
         "props": {"picture": ":/images/sil16.png"}},
        {"name": "b", "kind": "button", "in": "T", "caption": "Kapat", "rect": [0, 400, 1200, 375], "tab": 1,
         "props": {"picture": ":/images/sil16.png"},
         "settings": {"Text": "Formu Kapat", "PICTURE": ":/images/ara32.png"}},
        {"name": "s", "kind": "slider", "in": "T", "rect": [0, 800, 1500, 240]}]})";
    QWidget form;
    const FormSpec layout = FormLoader::loadData(json, &form);
    QVERIFY2(layout.ok(), qPrintable(layout.problems.join(u"; "_s)));
    auto *a = form.findChild<MyButton *>(u"a"_s);
    auto *b = form.findChild<MyButton *>(u"b"_s);
    QVERIFY(a && b);
    QCOMPARE(a->text(), u"Kapat"_s);
    QCOMPARE(a->picture().size(), QSize(16, 16));
    QCOMPARE(b->text(), u"Formu Kapat"_s);
    QCOMPARE(b->picture().size(), QSize(32, 32));
    // A slider without settings is a new vertical one from 0 to 10.
    auto *s = form.findChild<RuvSlider *>(u"s"_s);
    QVERIFY(s);
    QCOMPARE(s->orientation(), int(RuvSlider::Vertical));
    QCOMPARE(s->max(), 10);
    QCOMPARE(s->settings(), QJsonObject());
}

void TestFormKinds::boxesNamedAfterTheirLabels_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("label"); // the control whose text names the box, or the name
    QTest::newRow("title") << u"Text3"_s << u"Başlık"_s;
    QTest::newRow("lyrics") << u"Text1"_s << u"Sözler"_s;
    QTest::newRow("search") << u"ara"_s << u"Aranacak kelime"_s;
    QTest::newRow("music folder") << u"mp3yol0"_s << u"Label1(0)"_s;
    for (int i = 0; i <= 9; ++i)
        QTest::addRow("txt(%d)", i) << u"txt(%1)"_s.arg(i) << u"txtbuton(%1)"_s.arg(i);
    for (int i = 1; i <= 4; ++i)
        QTest::addRow("mp3yol%d", i) << u"mp3yol%1"_s.arg(i) << u"Label%1"_s.arg(i + 1);
}

void TestFormKinds::boxesNamedAfterTheirLabels()
{
    QFETCH(QString, box);
    QFETCH(QString, label);
    auto *w = m_form.findChild<QWidget *>(box);
    QVERIFY(w);
    QString expected = label;
    if (auto *l = m_form.findChild<QLabel *>(label))
        expected = l->text();
    else if (auto *e = m_form.findChild<QLineEdit *>(label))
        expected = e->text();
    else if (auto *e = m_form.findChild<QPlainTextEdit *>(label))
        expected = e->toPlainText();
    expected = expected.trimmed();
    while (expected.endsWith(u':'))
        expected = expected.chopped(1).trimmed();
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    QVERIFY(a);
    QCOMPARE(a->text(QAccessible::Name), expected);
}

void TestFormKinds::skinBoxIsAllAWindowNeeds()
{
    // Another window: a hidden skin box and a button, nothing else.
    const QByteArray json = R"({"form": {"name": "T", "client": [3000, 1500]}, "controls": [
        {"name": "MyButtonDefSkin", "kind": "picture", "in": "T", "rect": [0, 0, 2250, 315],
         "props": {"visible": false, "picture": ":/images/skin.png"}},
        {"name": "kapat", "kind": "button", "in": "T", "caption": "Kapat", "rect": [120, 600, 1455, 615], "tab": 0,
         "props": {"picture": ":/images/kapat32.png"},
         "settings": {"spn": "MyButtonDefSkin", "text": "Kapat", "ipucu": "Formu Kapat",
                      "textcolorenabled": "&H00800000"}}]})";
    QWidget form;
    const FormSpec layout = FormLoader::loadData(json, &form);
    QVERIFY2(layout.ok(), qPrintable(layout.problems.join(u"; "_s)));
    auto *b = form.findChild<MyButton *>(u"kapat"_s);
    QVERIFY(b && !b->skinPicture());
    form.show();
    QVERIFY(b->skinPicture());
    const QImage img = b->surface();
    QCOMPARE(img.pixel(0, 0) & 0xFFFFFFu, 0xccd5ddu);
    QCOMPARE(img.pixel(b->width() / 2, 0) & 0xFFFFFFu, 0x003c74u);
    QCOMPARE(b->picture().size(), QSize(32, 32));
}

void TestFormKinds::windowsCarryTheirSkin_data()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("main window") << u"Form1"_s;
    QTest::newRow("dictionary") << u"szlk"_s;
}

void TestFormKinds::windowsCarryTheirSkin()
{
    QFETCH(QString, form);
    QWidget w;
    const FormSpec layout = FormLoader::load(u":/forms/"_s + form + u".json"_s, &w);
    QVERIFY(layout.valid);
    auto *box = w.findChild<PictureBox *>(u"MyButtonDefSkin"_s);
    QVERIFY(box);
    QVERIFY(box->isHidden());
    QCOMPARE(box->size(), QSize(150, 21));
    QCOMPARE(box->surface(), QImage(u":/images/skin.png"_s).convertToFormat(QImage::Format_RGB32));
}

void TestFormKinds::secondaryWindowButtons_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("ipucu");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<uint>("textColor");
    QTest::addColumn<QSize>("picture");

    const QSize cross(32, 32);
    QTest::newRow("add window, Ekle") << u"frm_ekleme"_s << u"ekle"_s << u"Ekle"_s << u"Ekle"_s << true << 0x800000u
                                      << QSize(32, 32);
    QTest::newRow("add window, Kapat") << u"frm_ekleme"_s << u"kapat"_s << u"Kapat"_s << u"Formu Kapat"_s << true
                                       << 0x800000u << cross;
    QTest::newRow("about, Kapat") << u"frmabout"_s << u"kapat"_s << u"Kapat"_s << u"Formu Kapat"_s << true << 0x800000u
                                  << cross;
    QTest::newRow("query, Sorgula") << u"frmsorgu"_s << u"MyButton1"_s << u"Sorgula"_s << u"Sorguyu Çalıştır"_s << false
                                    << 0u << QSize(0, 0);
    QTest::newRow("query, Raporu Göster")
        << u"frmsorgu"_s << u"MyButton2"_s << u"Raporu Göster"_s << u"Raporu Göster"_s << false << 0u << QSize(0, 0);
    QTest::newRow("query, Kapat") << u"frmsorgu"_s << u"MyButton3"_s << u"Kapat"_s << u"Kapat"_s << false << 0u
                                  << cross;
}

// Every one in Arial of the Turkish character set at 9.1765 pt.
void TestFormKinds::secondaryWindowButtons()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, ipucu);
    QFETCH(bool, bold);
    QFETCH(uint, textColor);
    QFETCH(QSize, picture);

    QWidget w;
    const FormSpec layout = FormLoader::load(u":/forms/"_s + form + u".json"_s, &w);
    QVERIFY(layout.valid);
    auto *b = w.findChild<MyButton *>(name);
    QVERIFY(b);
    QCOMPARE(b->text(), text);
    QCOMPARE(b->ipucu(), ipucu);
    QCOMPARE(b->font().family(), u"Arial"_s);
    QCOMPARE(b->font().pointSizeF(), 9.1765);
    QCOMPARE(b->font().bold(), bold);
    QCOMPARE(b->settings().value(u"font"_s).toString(), u"Arial,9.1765,%1,162,0,0,0"_s.arg(bold ? 700 : 400));
    QCOMPARE(b->textColorEnabled(), textColor);
    QCOMPARE(b->picture().size(), picture);
    QCOMPARE(b->skinPictureName(), u"MyButtonDefSkin"_s);
}

QTEST_MAIN(TestFormKinds)
#include "tst_formkinds.moc"
