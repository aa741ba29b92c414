#include "boundlineedit.h"
#include "boundtextedit.h"
#include "database.h"
#include "datacontrol.h"
#include "formloader.h"
#include "imagelist.h"
#include "recordscrollbar.h"
#include "statusbar.h"
#include "treeview.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class TestFormLoader : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void formProperties();
    void geometryFromTwips_data();
    void geometryFromTwips();
    void laterControlsLieAbove();
    void tabOrderFollowsTabIndex();
    void controlsAndTheirProps();
    void customKindGetsItsSettings();
    void bindingsFollowTheDataControl();
    void badInput_data();
    void badInput();

private:
    template <typename T>
    T *control(const QString &name) const
    {
        return m_form->findChild<T *>(name);
    }

    std::unique_ptr<QWidget> m_form;
    FormSpec m_spec;
    QList<ControlSpec> m_madeButtons;
};

void TestFormLoader::init()
{
    m_madeButtons.clear();
    FormLoader::registerKind(u"button"_s, [this](const ControlSpec &spec, QWidget *parent) {
        m_madeButtons << spec;
        return new QPushButton(spec.caption, parent);
    });
    m_form = std::make_unique<QWidget>();
    m_form->setObjectName(u"TestForm"_s);
    m_spec = FormLoader::load(u":/testforms/TestForm.json"_s, m_form.get());
}

void TestFormLoader::cleanup()
{
    m_form.reset();
    FormLoader::unregisterKind(u"button"_s);
}

void TestFormLoader::formProperties()
{
    QVERIFY2(m_spec.ok(), qPrintable(m_spec.problems.join(u"; "_s)));
    QCOMPARE(m_form->windowTitle(), u"Deneme Penceresi"_s);
    QCOMPARE(m_form->size(), QSize(400, 300));
    QCOMPARE(m_form->palette().color(QPalette::Window), QColor(0xF0, 0xF0, 0xF0));
    QVERIFY(m_form->autoFillBackground());
    QCOMPARE(m_spec.controls.size(), size_t(18));
    QCOMPARE(m_spec.control(u"txt(0)"_s)->props.value(u"dataField"_s).toString(), u"Başlık"_s);
    QVERIFY(!m_spec.control(u"yok"_s));
}

void TestFormLoader::geometryFromTwips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("pixels");
    // 22.5, 37.5, 1507.5, 292.5 twips: halves go to the even pixel (qRound would give 2, 3, 101, 20).
    QTest::newRow("halves to even") << u"txt(0)"_s << u"Frame1"_s << QRect(2, 2, 100, 20);
    QTest::newRow("in a frame") << u"txt(1)"_s << u"Frame1"_s << QRect(8, 40, 100, 43);
    QTest::newRow("custom kind in a frame") << u"düğme"_s << u"Frame1"_s << QRect(120, 100, 67, 25);
    QTest::newRow("on the form") << u"Frame1"_s << u"TestForm"_s << QRect(8, 0, 200, 160);
    QTest::newRow("scroll bar") << u"HScroll1"_s << u"TestForm"_s << QRect(8, 196, 160, 17);
}

void TestFormLoader::geometryFromTwips()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, pixels);
    auto *w = control<QWidget>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(w->geometry(), pixels);
}

void TestFormLoader::laterControlsLieAbove()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    // The path box is listed after the combo box it covers: only the arrow shows.
    auto *path = control<QLineEdit>(u"yol1"_s);
    auto *combo = control<QComboBox>(u"sec1"_s);
    const QPoint overBoth = path->geometry().center();
    QCOMPARE(m_form->childAt(overBoth), path);
    const QPoint arrow(combo->geometry().right() - 3, combo->geometry().center().y());
    QVERIFY(!path->geometry().contains(arrow));
    QCOMPARE(m_form->childAt(arrow), combo);
}

void TestFormLoader::tabOrderFollowsTabIndex()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    const QStringList chain{u"txt(1)"_s,   u"yol1"_s,  u"txt(0)"_s, u"sec1"_s,
                            u"HScroll1"_s, u"düğme"_s, u"tv"_s,     u"opt1"_s};
    auto named = [&](QWidget *w) {
        for (; w && w != m_form.get(); w = w->parentWidget()) {
            if (chain.contains(w->objectName()))
                return w->objectName();
        }
        return QString();
    };
    control<QWidget>(u"txt(1)"_s)->setFocus();
    QStringList visited{named(QApplication::focusWidget())};
    for (int i = 1; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << named(QApplication::focusWidget());
    }
    QCOMPARE(visited, chain);

    // Controls without a tab index stay out of the chain.
    QVERIFY(!(control<QRadioButton>(u"opt2"_s)->focusPolicy() & Qt::TabFocus));
    QVERIFY(!(control<QLineEdit>(u"gizli"_s)->focusPolicy() & Qt::TabFocus));
}

void TestFormLoader::controlsAndTheirProps()
{
    // A frame's font and colour are its caption's, not its children's.
    auto *frame = control<QGroupBox>(u"Frame1"_s);
    auto *label = control<QLabel>(u"Label1(0)"_s);
    QCOMPARE(frame->title(), u"ÇERÇEVE"_s);
    QCOMPARE(frame->font().family(), u"Comic Sans MS"_s);
    QVERIFY(frame->font().bold());
    QCOMPARE(frame->palette().color(QPalette::Active, QPalette::WindowText), QColor(0x00, 0x54, 0xE3));
    QVERIFY(!label->font().bold());
    QCOMPARE(label->font().family(), m_form->font().family());
    QCOMPARE(label->palette().color(QPalette::Active, QPalette::WindowText),
             m_form->palette().color(QPalette::Active, QPalette::WindowText));

    auto *path = control<QLineEdit>(u"yol1"_s);
    QVERIFY(path->isReadOnly());
    QCOMPARE(path->text(), u"C:\\müzik\\türkü.mp3"_s);
    QCOMPARE(path->palette().color(QPalette::Active, QPalette::Text), QColor(0x40, 0x40, 0x40));

    auto *lyrics = control<QPlainTextEdit>(u"txt(1)"_s);
    QCOMPARE(lyrics->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(lyrics->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(lyrics->lineWrapMode(), QPlainTextEdit::WidgetWidth);

    auto *combo = control<QComboBox>(u"sec1"_s);
    QVERIFY(!combo->isEditable());
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(1), u"iki"_s);

    auto *bar = control<RecordScrollBar>(u"HScroll1"_s);
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 40000);
    QCOMPARE(bar->value(), 1);

    auto *timer = m_form->findChild<QTimer *>(u"Timer1"_s);
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 1000);
    QVERIFY(!timer->isActive());

    // The tree finds its image list although the list comes later in the file.
    auto *tree = control<TreeView>(u"tv"_s);
    auto *images = m_form->findChild<ImageList *>(u"ImageList1"_s);
    QVERIFY(tree && images);
    QCOMPARE(tree->imageList(), images);
    QCOMPARE(images->count(), 2);
    QCOMPARE(images->pixmap(u"folder"_s).toImage().pixelColor(3, 3), QColor(Qt::red));
    QCOMPARE(images->pixmap(2).toImage().pixelColor(3, 3), QColor(0, 160, 0));

    // Options: one group per container unless a group is named.
    auto *o1 = control<QRadioButton>(u"opt1"_s);
    auto *o2 = control<QRadioButton>(u"opt2"_s);
    auto *o3 = control<QRadioButton>(u"opt3"_s);
    auto *o4 = control<QRadioButton>(u"opt4"_s);
    QVERIFY(o1->isChecked() && o3->isChecked());
    o2->click();
    QVERIFY(!o1->isChecked());
    QVERIFY(o3->isChecked());
    o4->click();
    QVERIFY(!o3->isChecked());
    QVERIFY(o2->isChecked());

    auto *status = control<StatusBar>(u"stbar"_s);
    QCOMPARE(status->panelWidth(1), 50);
    QCOMPARE(status->panelText(2), u"İkinci"_s);
    QCOMPARE(status->geometry(), QRect(0, 275, 400, 25));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->resize(500, 350);
    QCOMPARE(status->geometry(), QRect(0, 325, 500, 25));

    QVERIFY(control<QLineEdit>(u"gizli"_s)->isHidden());
}

void TestFormLoader::customKindGetsItsSettings()
{
    QCOMPARE(m_madeButtons.size(), 1);
    const ControlSpec &spec = m_madeButtons.first();
    QCOMPARE(spec.name, u"düğme"_s);
    QCOMPARE(spec.caption, u"Tamam"_s);
    QCOMPARE(spec.tab, 6);
    QCOMPARE(spec.twips, QRect(1800, 1500, 1000, 375));
    QCOMPARE(spec.props.value(u"picture"_s).toString(), u":/testforms/red16.png"_s);
    // Untouched: key spelling and texts as stored.
    QCOMPARE(spec.settings.value(u"ForeColor"_s).toString(), u"8388608"_s);
    QCOMPARE(spec.settings.value(u"ipucu"_s).toString(), u"İpucu"_s);
    QCOMPARE(spec.settings.size(), 2);
    QVERIFY(control<QPushButton>(u"düğme"_s));
}

void TestFormLoader::bindingsFollowTheDataControl()
{
    auto *data = m_form->findChild<db::DataControl *>(u"Data1"_s);
    QVERIFY(data);
    QCOMPARE(data->recordSource(), u"sarkilar"_s);
    auto *title = control<QLineEdit>(u"txt(0)"_s);
    auto *lyrics = control<QPlainTextEdit>(u"txt(1)"_s);
    auto *hidden = control<QLineEdit>(u"gizli"_s);
    auto *b1 = title->findChild<BoundLineEdit *>();
    auto *b2 = lyrics->findChild<BoundTextEdit *>();
    QVERIFY(b1 && b2);
    QCOMPARE(b1->dataControl(), data);
    QCOMPARE(b1->dataField(), u"Başlık"_s);
    QCOMPARE(b2->dataField(), u"Sözler"_s);
    QVERIFY(!control<QLineEdit>(u"yol1"_s)->findChild<BoundLineEdit *>());

    QTemporaryDir dir;
    const QString path = dir.filePath(u"deneme.qel"_s);
    {
        auto database = db::Database::create(path);
        database->executeNative(u"CREATE TABLE sarkilar (Başlık TEXT, Sözler TEXT, Yöresi TEXT)"_s);
        database->executeNative(u"INSERT INTO sarkilar VALUES ('Ali', 'Bir', NULL)"_s);
    }
    QCOMPARE(hidden->text(), u"Text5"_s);
    data->setDatabaseName(path);
    data->refresh();
    QCOMPARE(title->text(), u"Ali"_s);
    QCOMPARE(lyrics->toPlainText(), u"Bir"_s);
    QCOMPARE(hidden->text(), QString()); // Null
    data->close();
    m_form.reset(); // the boxes leave the data control as they go
}

void TestFormLoader::badInput_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<int>("children");

    QTest::newRow("not JSON") << QByteArray("{ form: ") << false << u"JSON"_s << 0;
    QTest::newRow("no form") << QByteArray(R"({"controls": []})") << false << u"form"_s << 0;
    QTest::newRow("controls not a list") << QByteArray(R"({"form": {"name": "X"}, "controls": {}})") << false
                                         << u"controls"_s << 0;
    QTest::newRow("unknown kind") << QByteArray(R"({"form": {"name": "X"}, "controls": [
        {"name": "a", "kind": "yokböyle", "in": "X", "rect": [0, 0, 150, 150]},
        {"name": "b", "kind": "label", "in": "X", "caption": "kalır", "rect": [0, 0, 150, 150]}]})")
                                  << true << u"yokböyle"_s << 1;
    QTest::newRow("unknown container") << QByteArray(R"({"form": {"name": "X"}, "controls": [
        {"name": "b", "kind": "label", "in": "Frame9", "rect": [0, 0, 150, 150]}]})")
                                       << true << u"Frame9"_s << 1;
    QTest::newRow("unknown data source") << QByteArray(R"({"form": {"name": "X"}, "controls": [
        {"name": "t", "kind": "textbox", "in": "X", "rect": [0, 0, 150, 150],
         "props": {"dataSource": "Data9", "dataField": "Başlık"}}]})")
                                         << true << u"Data9"_s << 1;
}

void TestFormLoader::badInput()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, valid);
    QFETCH(QString, warning);
    QFETCH(int, children);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));
    QWidget form;
    const FormSpec spec = FormLoader::loadData(json, &form);
    QCOMPARE(spec.valid, valid);
    QVERIFY(!spec.ok());
    QVERIFY(spec.problems.join(u' ').contains(warning));
    QCOMPARE(int(form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size()), children);
}

QTEST_MAIN(TestFormLoader)
#include "tst_formloader.moc"
