#include "archivefixture.h"

#include "form1.h"
#include "treeview.h"

#include <QAccessible>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

// What a screen reader hears of the main window's controls.
class TestAccessible : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fixture.reset(); }
    void namedControls_data();
    void namedControls();
    void everyFocusableControlHasAName();
    void hiddenListsReadNothingOfTheirOwn();

private:
    QWidget *widget(const QString &name) const;

    std::unique_ptr<ArchiveFixture> m_fixture;
};

void TestAccessible::init()
{
    m_fixture = std::make_unique<ArchiveFixture>();
    m_fixture->makeSettings(m_fixture->makeArchive(u"a.qel"_s, sampleSongs()));
    QVERIFY(m_fixture->start());
}

QWidget *TestAccessible::widget(const QString &name) const
{
    auto *w = m_fixture->form()->findChild<QWidget *>(name);
    // The tree a screen reader meets is the one inside the wrapper.
    if (auto *tree = qobject_cast<TreeView *>(w))
        return tree->treeWidget();
    return w;
}

void TestAccessible::namedControls_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description"); // null: not checked
    QTest::newRow("title tree") << u"TVW"_s << u"Türkü başlıkları"_s << QString();
    QTest::newRow("record scroll bar") << u"HScroll1"_s << u"Kayıt"_s << QString();
    QTest::newRow("volume slider") << u"sldvolume"_s << u"Ses düzeyi"_s << QString();
    QTest::newRow("idioms box") << u"sozcuk"_s << u"Sözcüklerin anlamları"_s << QString();
    for (int i = 1; i <= 4; ++i) {
        QTest::addRow("slot %d list", i) << u"sec%1"_s.arg(i) << u"Dosya %1 için müzik dosyaları"_s.arg(i)
                                         << (i == 1 ? u"Aktif Türkü başlığını müzik dosyalarında ara"_s : u""_s);
        QTest::addRow("slot %d play", i) << u"Play%1"_s.arg(i) << u"Çal"_s << u"Çal"_s;
        QTest::addRow("slot %d file", i) << u"mp3yol%1"_s.arg(i) << u"Dosya %1"_s.arg(i) << QString();
    }
    QTest::newRow("pause") << u"MyButton3"_s << u"Duraklat"_s << u"Duraklat"_s;
    QTest::newRow("stop") << u"stop"_s << u"Durdur"_s << u"Durdur"_s;
    QTest::newRow("report") << u"RPR"_s << u"Rapor..."_s << u"Çıktılar için rapor aç"_s;
    QTest::newRow("title box") << u"Text3"_s << u"Başlık"_s << QString();
    QTest::newRow("lyrics box") << u"Text1"_s << u"Sözler"_s << QString();
    QTest::newRow("search word") << u"ara"_s << u"Aranacak kelime"_s << QString();
    QTest::newRow("music folder") << u"mp3yol0"_s << u"Müzik Dosyalarının Bulunduğu Klasör"_s << QString();
}

void TestAccessible::namedControls()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QWidget *w = widget(control);
    QVERIFY2(w, qPrintable(control));
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    QVERIFY(a);
    QCOMPARE(a->text(QAccessible::Name), name);
    if (!description.isNull())
        QCOMPARE(a->text(QAccessible::Description), description);
}

// A control the keyboard reaches is never announced by its role alone.
void TestAccessible::everyFocusableControlHasAName()
{
    QStringList unnamed;
    for (QWidget *w : m_fixture->form()->findChildren<QWidget *>()) {
        if (!w->isVisible() || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy())
            continue;
        // The field labels of the other-details grid are boxes whose text is their name.
        if (w->objectName().startsWith(u"txtbuton("_s))
            continue;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        if (a && a->text(QAccessible::Name).trimmed().isEmpty()
            && !qobject_cast<TreeView *>(w)) // the wrapper passes focus to its tree
            unnamed << w->objectName() + u" ("_s + QString::fromLatin1(w->metaObject()->className()) + u')';
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", "_s)));
}

// The slot lists stand behind the boxes that show the chosen files: their leftover texts
// ("Combo1" ... "Combo3") are read nowhere in the window.
void TestAccessible::hiddenListsReadNothingOfTheirOwn()
{
    QStringList heard;
    std::function<void(QAccessibleInterface *, int)> walk = [&](QAccessibleInterface *a, int depth) {
        if (!a || depth > 12)
            return;
        for (const QAccessible::Text t : {QAccessible::Name, QAccessible::Value, QAccessible::Description})
            if (a->text(t).contains(u"Combo"_s))
                heard << (a->object() ? a->object()->objectName() : QString()) + u": "_s + a->text(t);
        for (int i = 0; i < a->childCount(); ++i)
            walk(a->child(i), depth + 1);
    };
    walk(QAccessible::queryAccessibleInterface(m_fixture->form()), 0);
    QVERIFY2(heard.isEmpty(), qPrintable(heard.join(u"; "_s)));
    for (int i = 2; i <= 4; ++i)
        QCOMPARE(QAccessible::queryAccessibleInterface(widget(u"sec%1"_s.arg(i)))->childCount(), 0);
}

QTEST_MAIN(TestAccessible)
#include "tst_accessible.moc"
