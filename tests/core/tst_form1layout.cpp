#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRect>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QRect rectOf(const QJsonObject &c)
{
    const QJsonArray r = c.value(u"rect"_s).toArray();
    return QRect(r.at(0).toInt(), r.at(1).toInt(), r.at(2).toInt(), r.at(3).toInt());
}

const QSet<QString> kButtonKeys = {
    u"sizecw"_s,
    u"sizech"_s,
    u"spn"_s,
    u"text"_s,
    u"ipucu"_s,
    u"fillwithcolor"_s,
    u"enabled"_s,
    u"accesskey"_s,
    u"textcolorenabled"_s,
    u"textcolordisabled"_s,
    u"font"_s,
    u"mousepointer"_s,
    u"mouseicon"_s,
    u"disablehover"_s,
    u"displacetext"_s,
    u"drawfocus"_s,
    u"textcolordisabled2"_s,
    u"picture"_s,
    u"picturepos"_s,
    u"picturetcolor"_s,
    u"textalign"_s,
    u"backcolor"_s,
};
const QSet<QString> kSliderKeys = {
    u"backcolor"_s, u"enabled"_s, u"orientation"_s, u"railstyle"_s,  u"showvaluetip"_s,
    u"min"_s,       u"max"_s,     u"value"_s,       u"slidericon"_s, u"railpicture"_s,
};

} // namespace

class TestForm1Layout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void window();
    void controls_data();
    void controls();
    void namesAndTabsAreUnique();
    void containersAndDrawingOrder();
    void bindingsNameKnownFields();
    void customControlSettings();
    void pictures_data();
    void pictures();
    void buttonSkin();

private:
    QJsonObject control(const QString &name) const;

    QJsonObject m_form;
    QJsonArray m_controls;
};

void TestForm1Layout::initTestCase()
{
    QFile f(u":/forms/Form1.json"_s);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    m_form = doc.object().value(u"form"_s).toObject();
    m_controls = doc.object().value(u"controls"_s).toArray();
    QVERIFY(!m_controls.isEmpty());
}

QJsonObject TestForm1Layout::control(const QString &name) const
{
    for (const QJsonValue &v : m_controls) {
        if (v.toObject().value(u"name"_s).toString() == name)
            return v.toObject();
    }
    return {};
}

void TestForm1Layout::window()
{
    QCOMPARE(m_form.value(u"name"_s).toString(), u"Form1"_s);
    QCOMPARE(m_form.value(u"caption"_s).toString(), u"Qel Zelvoran Veritabanı Uygulaması"_s);
    QCOMPARE(m_form.value(u"client"_s).toArray(), (QJsonArray{14854, 10696}));
    QCOMPARE(m_form.value(u"backColor"_s).toString(), u"&H00F0F0F0"_s);
    QCOMPARE(m_form.value(u"border"_s).toString(), u"sizable"_s);
    QCOMPARE(m_form.value(u"startup"_s).toString(), u"centerScreen"_s);
    QVERIFY(QFile::exists(m_form.value(u"icon"_s).toString()));
}

void TestForm1Layout::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("tab"); // -1: not in the tab chain
    QTest::addColumn<QString>("caption");

    // Top band
    QTest::newRow("Frame6") << u"Frame6"_s << u"frame"_s << u"Form1"_s << QRect(120, 0, 14655, 735) << 50 << u""_s;
    QTest::newRow("option1") << u"option1"_s << u"checkbox"_s << u"Frame6"_s << QRect(240, 330, 1215, 195) << 63
                             << u"İzleme Modu"_s;
    QTest::newRow("MyButton1") << u"MyButton1"_s << u"button"_s << u"Frame6"_s << QRect(1920, 240, 1815, 375) << 81
                               << u""_s;
    QTest::newRow("about") << u"about"_s << u"button"_s << u"Frame6"_s << QRect(13080, 240, 1455, 375) << 78
                           << u"Hakkında..."_s;
    // Left
    QTest::newRow("TVW") << u"TVW"_s << u"tree"_s << u"Form1"_s << QRect(240, 1200, 4575, 6015) << 1 << QString();
    QTest::newRow("sil") << u"sil"_s << u"button"_s << u"Frame3(1)"_s << QRect(2880, 240, 1815, 375) << 79
                         << u"Aktif Kaydı Sil..."_s;
    QTest::newRow("HScroll1") << u"HScroll1"_s << u"hscroll"_s << u"Form1"_s << QRect(240, 7440, 2655, 375) << 3
                              << QString();
    // Centre
    QTest::newRow("Text1") << u"Text1"_s << u"textbox"_s << u"Form1"_s << QRect(5160, 1560, 5415, 5055) << 0
                           << QString();
    QTest::newRow("sozcuk") << u"sozcuk"_s << u"textbox"_s << u"Frame3(0)"_s << QRect(120, 5880, 5415, 1095) << 48
                            << QString();
    QTest::newRow("Frame3(0)") << u"Frame3(0)"_s << u"frame"_s << u"Form1"_s << QRect(5040, 840, 5655, 7095) << 27
                               << u"SÖZLER"_s;
    // Right
    QTest::newRow("Frame4") << u"Frame4"_s << u"frame"_s << u"Form1"_s << QRect(10920, 840, 3855, 4575) << 28
                            << u"DİĞER BİLGİLER"_s;
    QTest::newRow("txt(1)") << u"txt(1)"_s << u"textbox"_s << u"Form1"_s << QRect(12000, 1440, 2655, 285) << 15
                            << QString();
    QTest::newRow("txtbuton(7)") << u"txtbuton(7)"_s << u"textbox"_s << u"Form1"_s << QRect(11040, 2880, 975, 645) << 12
                                 << QString();
    QTest::newRow("txt(9)") << u"txt(9)"_s << u"textbox"_s << u"Form1"_s << QRect(12000, 4200, 2655, 1035) << 23
                            << QString();
    // Search
    QTest::newRow("ara") << u"ara"_s << u"textbox"_s << u"Form1"_s << QRect(11040, 6000, 3615, 285) << 24 << QString();
    QTest::newRow("ara_all") << u"ara_all"_s << u"checkbox"_s << u"Frame1"_s << QRect(2160, 960, 1575, 255) << 65
                             << u"Tüm Alanlarda..."_s;
    QTest::newRow("sbaslikara") << u"sbaslikara"_s << u"button"_s << u"Frame1"_s << QRect(2280, 1680, 1455, 615) << 72
                                << u"Ara"_s;
    // Grouping
    QTest::newRow("grnm_bslk") << u"grnm_bslk"_s << u"option"_s << u"Form1"_s << QRect(11040, 8400, 1695, 255) << 51
                               << u"Başlıklara Göre"_s;
    QTest::newRow("grnm_muzik") << u"grnm_muzik"_s << u"option"_s << u"Form1"_s << QRect(12960, 9840, 1575, 255) << 58
                                << u"Müzik'e Göre"_s;
    // Audio
    QTest::newRow("Label1(0)") << u"Label1(0)"_s << u"label"_s << u"Frame3(2)"_s << QRect(126, 238, 3290, 252) << 31
                               << u"Müzik Dosyalarının Bulunduğu Klasör:"_s;
    QTest::newRow("mp3yol3") << u"mp3yol3"_s << u"textbox"_s << u"Frame3(2)"_s << QRect(1080, 1440, 7695, 315) << 43
                             << QString();
    QTest::newRow("sec4") << u"sec4"_s << u"combo"_s << u"Frame3(2)"_s << QRect(1080, 1800, 7980, 315) << 47
                          << QString();
    QTest::newRow("Play2") << u"Play2"_s << u"button"_s << u"Form1"_s << QRect(9240, 9120, 375, 255) << 68 << u""_s;
    QTest::newRow("MyButton3") << u"MyButton3"_s << u"button"_s << u"Frame3(2)"_s << QRect(9600, 720, 375, 1335) << 83
                               << u"MyButton3"_s;
    QTest::newRow("sldvolume") << u"sldvolume"_s << u"slider"_s << u"Form1"_s << QRect(9720, 8280, 900, 210) << -1
                               << QString();
    // Bottom and hidden
    QTest::newRow("stbar") << u"stbar"_s << u"statusbar"_s << u"Form1"_s << QRect(0, 10318, 14854, 378) << 85
                           << QString();
    QTest::newRow("Timer1") << u"Timer1"_s << u"timer"_s << u"Form1"_s << QRect(0, 0, 0, 0) << -1 << QString();
    QTest::newRow("Data2") << u"Data2"_s << u"data"_s << u"Form1"_s << QRect(0, 0, 0, 0) << -1 << QString();
    QTest::newRow("MyButtonDefSkin") << u"MyButtonDefSkin"_s << u"picture"_s << u"Form1"_s << QRect(0, 0, 2250, 315)
                                     << -1 << QString();
}

void TestForm1Layout::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, in);
    QFETCH(QRect, rect);
    QFETCH(int, tab);
    QFETCH(QString, caption);

    const QJsonObject c = control(name);
    QVERIFY2(!c.isEmpty(), qPrintable(name));
    QCOMPARE(c.value(u"kind"_s).toString(), kind);
    QCOMPARE(c.value(u"in"_s).toString(), in);
    QCOMPARE(rectOf(c), rect);
    QCOMPARE(c.value(u"tab"_s).toInt(-1), tab);
    if (!caption.isNull())
        QCOMPARE(c.value(u"caption"_s).toString(), caption);
}

void TestForm1Layout::namesAndTabsAreUnique()
{
    QSet<QString> names;
    QHash<int, QString> tabs;
    for (const QJsonValue &v : m_controls) {
        const QJsonObject c = v.toObject();
        const QString name = c.value(u"name"_s).toString();
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
        if (c.contains(u"tab"_s)) {
            const int tab = c.value(u"tab"_s).toInt(-1);
            QVERIFY2(tab >= 0, qPrintable(name));
            QVERIFY2(!tabs.contains(tab), qPrintable(u"%1 and %2 share tab %3"_s.arg(name, tabs.value(tab)).arg(tab)));
            tabs.insert(tab, name);
        }
    }
    // The chain starts at the lyrics, then the tree, the title and the record scroll bar.
    QCOMPARE(tabs.value(0), u"Text1"_s);
    QCOMPARE(tabs.value(1), u"TVW"_s);
    QCOMPARE(tabs.value(2), u"Text3"_s);
    QCOMPARE(tabs.value(3), u"HScroll1"_s);
}

void TestForm1Layout::containersAndDrawingOrder()
{
    QHash<QString, qsizetype> position;
    QHash<QString, QJsonObject> byName;
    for (qsizetype i = 0; i < m_controls.size(); ++i) {
        const QJsonObject c = m_controls.at(i).toObject();
        position.insert(c.value(u"name"_s).toString(), i);
        byName.insert(c.value(u"name"_s).toString(), c);
    }
    for (qsizetype i = 0; i < m_controls.size(); ++i) {
        const QJsonObject c = m_controls.at(i).toObject();
        const QString name = c.value(u"name"_s).toString();
        const QString in = c.value(u"in"_s).toString();
        // A container is the window or a frame listed earlier.
        if (in != u"Form1"_s) {
            QVERIFY2(position.contains(in) && position.value(in) < i, qPrintable(name));
            QCOMPARE(byName.value(in).value(u"kind"_s).toString(), u"frame"_s);
        }
        // A control of the window lying over one of its frames is listed after the frame.
        if (in == u"Form1"_s && c.value(u"kind"_s).toString() != u"frame"_s) {
            const QRect r = rectOf(c);
            for (const QJsonObject &f : std::as_const(byName)) {
                if (f.value(u"kind"_s).toString() == u"frame"_s && f.value(u"in"_s).toString() == u"Form1"_s
                    && rectOf(f).contains(r) && !r.isEmpty())
                    QVERIFY2(position.value(f.value(u"name"_s).toString()) < i, qPrintable(name));
            }
        }
    }
    // Each path box covers its combo box, whose drop-down arrow shows beside it.
    for (int i = 1; i <= 4; ++i) {
        const QString path = u"mp3yol%1"_s.arg(i);
        const QString combo = u"sec%1"_s.arg(i);
        QVERIFY2(position.value(combo) < position.value(path), qPrintable(path));
        const QRect pr = rectOf(byName.value(path));
        const QRect cr = rectOf(byName.value(combo));
        QCOMPARE(cr.topLeft(), pr.topLeft());
        QCOMPARE(cr.width() - pr.width(), 285);
    }
    // The skinned backgrounds lie under the mode check boxes.
    QVERIFY(position.value(u"MyButton2"_s) < position.value(u"option1"_s));
    QVERIFY(position.value(u"MyButton1"_s) < position.value(u"option2"_s));
}

void TestForm1Layout::bindingsNameKnownFields()
{
    const QHash<QString, QSet<QString>> fields = {
        {u"Data1"_s,
         {u"Başlık"_s, u"Sözler"_s, u"Yöresi"_s, u"Türü"_s, u"Türü2"_s, u"KaynakKişi"_s, u"Derleyen"_s, u"Söz"_s,
          u"Müzik"_s, u"digerbilgiler"_s, u"Söyleyenler"_s, u"Açıklama"_s, u"girişmodu"_s, u"mp3_1"_s, u"mp3_2"_s,
          u"mp3_3"_s, u"mp3_4"_s}},
        {u"Data2"_s, {u"yol"_s, u"uzantı1"_s, u"uzantı2"_s, u"uzantı3"_s}},
    };
    QHash<QString, qsizetype> dataAt;
    QSet<QString> bound;
    for (qsizetype i = 0; i < m_controls.size(); ++i) {
        const QJsonObject c = m_controls.at(i).toObject();
        if (c.value(u"kind"_s).toString() == u"data"_s)
            dataAt.insert(c.value(u"name"_s).toString(), i);
        const QJsonObject props = c.value(u"props"_s).toObject();
        if (!props.contains(u"dataSource"_s) && !props.contains(u"dataField"_s))
            continue;
        const QString name = c.value(u"name"_s).toString();
        const QString source = props.value(u"dataSource"_s).toString();
        const QString field = props.value(u"dataField"_s).toString();
        QVERIFY2(fields.contains(source), qPrintable(name));
        QVERIFY2(fields.value(source).contains(field), qPrintable(name + u": "_s + field));
        QVERIFY2(dataAt.contains(source), qPrintable(name + u" is listed before its data control"_s));
        QCOMPARE(c.value(u"kind"_s).toString(), u"textbox"_s);
        bound.insert(name);
    }
    QCOMPARE(bound.size(), 10 + 2 + 5 + 3); // txt(i), Text1 and Text3, mp3yol0 to 4, uz1 to 3
    for (const QString &name : {u"Text1"_s, u"Text3"_s, u"txt(0)"_s, u"txt(9)"_s, u"mp3yol0"_s, u"mp3yol4"_s, u"uz3"_s})
        QVERIFY2(bound.contains(name), qPrintable(name));
    QCOMPARE(control(u"Data1"_s).value(u"props"_s).toObject().value(u"recordSource"_s).toString(), u"zelvoran"_s);
    QCOMPARE(control(u"Data2"_s).value(u"props"_s).toObject().value(u"recordSource"_s).toString(), u"ayarlar"_s);
}

void TestForm1Layout::customControlSettings()
{
    int buttons = 0;
    for (const QJsonValue &v : m_controls) {
        const QJsonObject c = v.toObject();
        const QString kind = c.value(u"kind"_s).toString();
        const QString name = c.value(u"name"_s).toString();
        const QJsonObject s = c.value(u"settings"_s).toObject();
        if (kind == u"button"_s) {
            ++buttons;
            QCOMPARE(s.value(u"spn"_s).toString(), u"MyButtonDefSkin"_s);
            QVERIFY2(s.contains(u"font"_s), qPrintable(name));
            for (auto it = s.constBegin(); it != s.constEnd(); ++it) {
                QVERIFY2(kButtonKeys.contains(it.key()), qPrintable(name + u": "_s + it.key()));
                QVERIFY2(it.value().isString(), qPrintable(name + u": "_s + it.key()));
            }
            // The caption is the stored text, the control's font the stored font.
            QCOMPARE(s.value(u"text"_s).toString(), c.value(u"caption"_s).toString());
            const QStringList stored = s.value(u"font"_s).toString().split(u',');
            const QJsonObject font = c.value(u"font"_s).toObject();
            QCOMPARE(stored.size(), 7);
            QCOMPARE(font.value(u"family"_s).toString(), stored.at(0));
            QCOMPARE(font.value(u"size"_s).toDouble(), stored.at(1).toDouble());
            QCOMPARE(font.value(u"bold"_s).toBool(), stored.at(2) == u"700"_s);
        } else if (kind == u"slider"_s) {
            for (auto it = s.constBegin(); it != s.constEnd(); ++it)
                QVERIFY2(kSliderKeys.contains(it.key()), qPrintable(name + u": "_s + it.key()));
        } else {
            QVERIFY2(kind == u"statusbar"_s || s.isEmpty(), qPrintable(name));
        }
    }
    QCOMPARE(buttons, 17);

    const QJsonObject sil = control(u"sil"_s).value(u"settings"_s).toObject();
    QCOMPARE(sil.value(u"ipucu"_s).toString(), u"Formda görünen kaydı sil"_s);
    QCOMPARE(sil.value(u"textcolorenabled"_s).toString(), u"&H00800000"_s);
    QCOMPARE(sil.value(u"textcolordisabled"_s).toString(), u"&H8000000F"_s);
    QCOMPARE(sil.value(u"textcolordisabled2"_s).toString(), u"&H00808080"_s);
    for (const QString &name : {u"Play1"_s, u"Play2"_s, u"MyButton3"_s, u"stop"_s})
        QCOMPARE(control(name).value(u"settings"_s).toObject().value(u"picturepos"_s).toString(), u"4"_s);
    for (const QString &name : {u"Play3"_s, u"Play4"_s})
        QVERIFY(!control(name).value(u"settings"_s).toObject().contains(u"picturepos"_s));
    for (const QString &name : {u"MyButton1"_s, u"MyButton2"_s})
        QCOMPARE(control(name).value(u"settings"_s).toObject().value(u"enabled"_s).toString(), u"false"_s);

    const QJsonObject volume = control(u"sldvolume"_s).value(u"settings"_s).toObject();
    QCOMPARE(volume.value(u"orientation"_s).toString(), u"0"_s);
    QCOMPARE(volume.value(u"railstyle"_s).toString(), u"99"_s);
    QCOMPARE(volume.value(u"max"_s).toString(), u"100"_s);
    QCOMPARE(volume.value(u"value"_s).toString(), u"50"_s);
    QVERIFY(!volume.contains(u"min"_s));
}

void TestForm1Layout::pictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");

    for (const char *name : {"szlkac", "cmd_ekle", "RPR", "cmdonsoz", "hlp", "about", "sil"})
        QTest::newRow(name) << QString::fromLatin1(name) << QSize(16, 16);
    QTest::newRow("sbaslikara") << u"sbaslikara"_s << QSize(32, 32);
    for (const char *name : {"Play1", "Play2", "Play3", "Play4"})
        QTest::newRow(name) << QString::fromLatin1(name) << QSize(15, 15);
    QTest::newRow("MyButton3") << u"MyButton3"_s << QSize(20, 20);
    QTest::newRow("stop") << u"stop"_s << QSize(20, 20);
    QTest::newRow("Picture1") << u"Picture1"_s << QSize(16, 16);
    QTest::newRow("MyButtonDefSkin") << u"MyButtonDefSkin"_s << QSize(150, 21);
    QTest::newRow("slider knob") << u"sldvolume/slidericon"_s << QSize(11, 11);
    QTest::newRow("slider rail") << u"sldvolume/railpicture"_s << QSize(56, 14);
    QTest::newRow("status panel 3") << u"stbar/panelpicture3"_s << QSize(16, 16);
    QTest::newRow("program icon") << u"/icon"_s << QSize(32, 32);
}

void TestForm1Layout::pictures()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);

    QString path;
    if (name == u"/icon"_s) {
        path = m_form.value(u"icon"_s).toString();
    } else if (name.contains(u'/')) {
        const QStringList parts = name.split(u'/');
        path = control(parts.at(0)).value(u"settings"_s).toObject().value(parts.at(1)).toString();
    } else {
        path = control(name).value(u"props"_s).toObject().value(u"picture"_s).toString();
    }
    QVERIFY2(path.startsWith(u":/images/"_s), qPrintable(path));
    const QImage img(path);
    QVERIFY2(!img.isNull(), qPrintable(path));
    QCOMPARE(img.size(), size);
}

void TestForm1Layout::buttonSkin()
{
    const QImage skin(u":/images/skin.png"_s);
    QCOMPARE(skin.size(), QSize(150, 21));
    // The colour sampled for the middle of each cell with 3 x 3 corners.
    const QList<QRgb> samples = {qRgb(250, 250, 249), qRgb(250, 250, 249), qRgb(250, 250, 249), qRgb(230, 230, 223),
                                 qRgb(245, 244, 234)};
    for (int cell = 0; cell < 5; ++cell)
        QCOMPARE(skin.pixel(cell * 30 + 4, 4) & 0xFFFFFF, samples.at(cell) & 0xFFFFFF);
    // Corners are copied with magenta as the key colour: the strip holds none.
    for (int y = 0; y < skin.height(); ++y)
        for (int x = 0; x < skin.width(); ++x)
            QVERIFY(qAlpha(skin.pixel(x, y)) == 255 && (skin.pixel(x, y) & 0xFFFFFF) != 0xFF00FF);
    // Borders: dark blue in the first four cells, grey in the disabled one.
    QCOMPARE(skin.pixel(15, 0) & 0xFFFFFF, qRgb(0, 60, 116) & 0xFFFFFF);
    QCOMPARE(skin.pixel(135, 20) & 0xFFFFFF, qRgb(201, 199, 186) & 0xFFFFFF);
    // Focused and hover inner frames.
    QCOMPARE(skin.pixel(45, 1) & 0xFFFFFF, qRgb(206, 231, 255) & 0xFFFFFF);
    QCOMPARE(skin.pixel(75, 19) & 0xFFFFFF, qRgb(229, 151, 0) & 0xFFFFFF);
}

QTEST_GUILESS_MAIN(TestForm1Layout)
#include "tst_form1layout.moc"
