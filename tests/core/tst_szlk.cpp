#include "database.h"
#include "datacontrol.h"
#include "datagrid.h"
#include "messagebox.h"
#include "recordset.h"
#include "schema.h"
#include "szlk.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Deyim and Acıklama; a null QVariant is Null.
using Entry = QPair<QVariant, QVariant>;
using Entries = QList<Entry>;

const Entries kEntries = {
    {u"ağıt"_s, u"yas türküsü"_s},
    {u"taxi"_s, u"dolmuş"_s},
    {u"yâr"_s, u"sevgili"_s},
    {u"axa"_s, QVariant()},
};

// A song database with dictionary rows in a temporary folder, its dictionary window,
// and the message boxes it showed.
class Dictionary {
public:
    explicit Dictionary(const Entries &entries = kEntries, bool uniqueIdioms = false)
    {
        m_file = m_dir.filePath(u"sözlük.qel"_s);
        auto vt = db::Database::create(m_file);
        schema::createSongDatabase(*vt);
        if (uniqueIdioms)
            vt->executeNative(u"CREATE UNIQUE INDEX tek_deyim ON sozluk (Deyim)"_s);
        auto rs = vt->openRecordset(u"sozluk"_s);
        for (const auto &[deyim, aciklama] : entries) {
            rs->addNew();
            rs->setField(u"Deyim"_s, deyim);
            rs->setField(u"Acıklama"_s, aciklama);
            rs->update();
        }
        msg::setHandler([this](const msg::Request &r) {
            boxes.append(r);
            if (!answers.isEmpty())
                return answers.takeFirst();
            return r.buttons == msg::Buttons::YesNo ? msg::Result::Yes : msg::Result::Ok;
        });
    }

    ~Dictionary()
    {
        window.reset();
        msg::clearHandler();
    }

    QString file() const { return m_file; }

    // What the table holds, in table order, read through a connection of its own.
    Entries stored() const
    {
        Entries out;
        auto vt = db::Database::open(m_file);
        auto rs = vt->openRecordset(u"sozluk"_s);
        for (; !rs->eof(); rs->moveNext())
            out.append({rs->field(u"Deyim"_s), rs->field(u"Acıklama"_s)});
        return out;
    }

    // Builds the window as the opener does, without its modal loop.
    bool open(const QString &source = u"sozluk"_s, bool readOnly = false)
    {
        window = std::make_unique<szlk::Window>();
        window->data1()->setDatabaseName(m_file);
        window->data1()->setRecordSource(source);
        window->data1()->setReadOnly(readOnly);
        window->data1()->refresh();
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowExposed(window.get());
    }

    DataGrid *grid() const { return window->dbGrid1(); }
    int rows() const { return grid()->model()->rowCount(); }
    QString cell(int row, int column) const { return grid()->model()->index(row, column).data().toString(); }
    QStringList column(int column) const
    {
        QStringList out;
        for (int r = 0; r < rows(); ++r)
            out << cell(r, column);
        return out;
    }
    int currentRow() const { return grid()->currentIndex().row(); }
    QStringList boxTexts() const
    {
        QStringList out;
        for (const msg::Request &r : boxes)
            out << r.text;
        return out;
    }

    QLineEdit *editor() const
    {
        const auto edits = grid()->viewport()->findChildren<QLineEdit *>();
        for (QLineEdit *e : edits) {
            if (e->isVisible())
                return e;
        }
        return nullptr;
    }

    void clickCell(int row, int column)
    {
        const QRect r = grid()->visualRect(grid()->model()->index(row, column));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, r.center());
    }

    void clickSelector(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QHeaderView *h = grid()->verticalHeader();
        const QPoint at(h->width() / 2, h->sectionViewportPosition(row) + h->sectionSize(row) / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, modifiers, at);
    }

    // A key for the open editor, or for the grid when none is open.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget *target = editor();
        QTest::keyClick(target ? target : static_cast<QWidget *>(grid()), k, modifiers);
    }

    void type(const QString &text)
    {
        for (const QChar c : text) {
            QWidget *target = editor();
            QTest::sendKeyEvent(QTest::Click, target ? target : static_cast<QWidget *>(grid()), Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
        }
    }

    // Opens the cell's editor with F2, replaces its text and leaves the editor open.
    void editCell(int row, int column, const QString &text)
    {
        clickCell(row, column);
        QTest::keyClick(grid(), Qt::Key_F2);
        QVERIFY(editor());
        key(Qt::Key_A, Qt::ControlModifier);
        key(Qt::Key_Backspace);
        type(text);
    }

    QList<msg::Request> boxes;
    QList<msg::Result> answers;
    std::unique_ptr<szlk::Window> window;

private:
    QTemporaryDir m_dir;
    QString m_file;
};

QStringList idioms(const Entries &entries)
{
    QStringList out;
    for (const Entry &e : entries)
        out << e.first.toString();
    return out;
}

} // namespace

class TestSzlk : public QObject {
    Q_OBJECT
private slots:
    void windowAsDesigned()
    {
        Dictionary d;
        QVERIFY(d.open());
        szlk::Window *w = d.window.get();
        QCOMPARE(w->windowTitle(), u"SÖZLÜK"_s);
        QVERIFY(w->windowFlags().testFlag(Qt::Tool));
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(w->size(), QSize(436, 286)); // 6538 x 4284 twips
        QVERIFY(!w->findChild<QWidget *>(u"MyButtonDefSkin"_s)->isVisible());

        DataGrid *g = d.grid();
        QCOMPARE(g->pos(), QPoint(8, 8));
        QCOMPARE(g->model()->headerData(0, Qt::Horizontal).toString(), u"Deyim"_s);
        QCOMPARE(g->model()->headerData(1, Qt::Horizontal).toString(), u"Anlamı"_s);
        QCOMPARE(g->horizontalHeader()->font().family(), u"Times New Roman"_s);
        QVERIFY(g->horizontalHeader()->font().bold());
        QCOMPARE(g->horizontalHeader()->font().pointSizeF(), 12.0);
        QCOMPARE(g->font().family(), u"Tahoma"_s);
        QCOMPARE(g->font().pointSizeF(), 9.18);
        QVERIFY(g->recordSelectors());
    }

    // The opener's record source decides the rows; the last row takes new entries.
    void openerShowsItsSource_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("shown"); // the idioms, the empty new row last
        QTest::addColumn<QStringList>("meanings");
        QTest::addColumn<QString>("message"); // shown instead of the window

        QTest::newRow("whole dictionary, table order")
            << u"sozluk"_s << QStringList{u"ağıt"_s, u"taxi"_s, u"yâr"_s, u"axa"_s, QString()}
            << QStringList{u"yas türküsü"_s, u"dolmuş"_s, u"sevgili"_s, QString(), QString()} << QString();
        QTest::newRow("search, ascending") << u"select * from sozluk where deyim like '*x*' order by deyim"_s
                                           << QStringList{u"axa"_s, u"taxi"_s, QString()}
                                           << QStringList{QString(), u"dolmuş"_s, QString()} << QString();
        QTest::newRow("search without hits") << u"select * from sozluk where deyim like '*q*' order by deyim"_s
                                             << QStringList{QString()} << QStringList{QString()} << QString();
        QTest::newRow("missing table") << u"sozlukk"_s << QStringList() << QStringList()
                                       << u"'sozlukk' adında bir tablo ya da sorgu bulunamadı."_s;
    }

    void openerShowsItsSource()
    {
        QFETCH(QString, source);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, meanings);
        QFETCH(QString, message);
        Dictionary d;
        QStringList seenIdioms, seenMeanings;
        QString title;
        bool modal = false;
        QTimer look; // goes with this test when no window comes
        look.setSingleShot(true);
        connect(&look, &QTimer::timeout, this, [&] {
            auto *w = qobject_cast<szlk::Window *>(QApplication::activeModalWidget());
            if (!w)
                return;
            title = w->windowTitle();
            modal = w->isModal();
            auto *m = w->dbGrid1()->model();
            for (int r = 0; r < m->rowCount(); ++r) {
                seenIdioms << m->index(r, 0).data().toString();
                seenMeanings << m->index(r, 1).data().toString();
            }
            w->close();
        });
        look.start(0);
        szlk::show(nullptr, d.file(), source);
        QCOMPARE(seenIdioms, shown);
        QCOMPARE(seenMeanings, meanings);
        QCOMPARE(d.boxTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (message.isEmpty()) {
            QCOMPARE(title, u"SÖZLÜK"_s);
            QVERIFY(modal);
        }
        QVERIFY(!QApplication::activeModalWidget());
    }

    // However the user leaves a changed row, it is stored as typed.
    void changedRowIsStoredOnLeaving_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("arrow down from the editor") << u"down"_s;
        QTest::newRow("enter, then arrow up") << u"enter-up"_s;
        QTest::newRow("click in another row") << u"click"_s;
        QTest::newRow("record selector of another row") << u"selector"_s;
        QTest::newRow("closing the window") << u"close"_s;
    }

    void changedRowIsStoredOnLeaving()
    {
        QFETCH(QString, how);
        Dictionary d;
        QVERIFY(d.open());
        d.editCell(1, 1, u"  paylaşımlı taksi ı İ "_s);
        QCOMPARE(d.stored(), kEntries); // nothing is written while the row is being typed
        if (how == u"down"_s) {
            d.key(Qt::Key_Down);
        } else if (how == u"enter-up"_s) {
            d.key(Qt::Key_Return);
            QTRY_VERIFY(!d.editor());
            QCOMPARE(d.stored(), kEntries);
            d.key(Qt::Key_Up);
        } else if (how == u"click"_s) {
            d.clickCell(3, 0);
        } else if (how == u"selector"_s) {
            d.clickSelector(2);
        } else {
            d.window->close();
            QVERIFY(!d.window->isVisible());
        }
        QVERIFY(d.boxes.isEmpty());
        Entries expected = kEntries;
        expected[1].second = u"  paylaşımlı taksi ı İ "_s;
        QCOMPARE(d.stored(), expected);
        if (how != u"close"_s) {
            QVERIFY(d.currentRow() != 1);
            QCOMPARE(d.cell(1, 1), u"  paylaşımlı taksi ı İ "_s);
            // The data control follows the grid's row.
            QCOMPARE(d.window->data1()->recordset()->absolutePosition(), d.currentRow());
        }
    }

    void newRowIsInsertedOnLeaving_data()
    {
        QTest::addColumn<QString>("idiom");
        QTest::addColumn<QString>("meaning"); // empty: not typed, stays Null
        QTest::newRow("both typed") << u"eğlen"_s << u"oyalan"_s;
        QTest::newRow("idiom only") << u"şu"_s << QString();
    }

    void newRowIsInsertedOnLeaving()
    {
        QFETCH(QString, idiom);
        QFETCH(QString, meaning);
        Dictionary d;
        QVERIFY(d.open());
        const int blank = int(kEntries.size());
        QCOMPARE(d.rows(), blank + 1);
        // Typing on the selected cell opens its editor.
        d.clickCell(blank, 0);
        d.type(idiom);
        QVERIFY(d.editor());
        if (!meaning.isEmpty()) {
            d.key(Qt::Key_Tab);
            d.type(meaning);
        }
        QCOMPARE(d.stored(), kEntries);
        d.key(Qt::Key_Up);

        QVERIFY(d.boxes.isEmpty());
        Entries expected = kEntries;
        expected.append({idiom, meaning.isEmpty() ? QVariant() : QVariant(meaning)});
        QCOMPARE(d.stored(), expected);
        QCOMPARE(d.rows(), blank + 2); // a fresh empty row below the new entry
        QCOMPARE(d.cell(blank, 0), idiom);
        QCOMPARE(d.cell(blank + 1, 0), QString());

        // Leaving the fresh empty row untouched, or with its text erased again, stores
        // nothing more and refuses nothing.
        d.clickCell(blank + 1, 1);
        d.clickCell(0, 0);
        d.editCell(blank + 1, 1, u"vazgeç"_s);
        d.key(Qt::Key_Return);
        QTRY_VERIFY(!d.editor());
        d.editCell(blank + 1, 1, QString());
        d.key(Qt::Key_Up);
        QCOMPARE(d.currentRow(), blank);
        QCOMPARE(d.stored(), expected);
        QCOMPARE(d.rows(), blank + 2);
        QVERIFY(d.boxes.isEmpty());
    }

    void deleteKeyRemovesSelectedRows_data()
    {
        QTest::addColumn<QList<int>>("selectors"); // rows clicked on their record selector, in order
        QTest::addColumn<QStringList>("left");
        QTest::newRow("one row") << QList<int>{1} << QStringList{u"ağıt"_s, u"yâr"_s, u"axa"_s};
        QTest::newRow("first row") << QList<int>{0} << QStringList{u"taxi"_s, u"yâr"_s, u"axa"_s};
        QTest::newRow("last row") << QList<int>{3} << QStringList{u"ağıt"_s, u"taxi"_s, u"yâr"_s};
        QTest::newRow("two rows with control") << QList<int>{0, 2} << QStringList{u"taxi"_s, u"axa"_s};
        QTest::newRow("only a cell selected") << QList<int>{} << idioms(kEntries);
    }

    void deleteKeyRemovesSelectedRows()
    {
        QFETCH(QList<int>, selectors);
        QFETCH(QStringList, left);
        Dictionary d;
        QVERIFY(d.open());
        d.clickCell(1, 0);
        for (int i = 0; i < selectors.size(); ++i)
            d.clickSelector(selectors.at(i), i == 0 ? Qt::NoModifier : Qt::ControlModifier);
        QTest::keyClick(d.grid(), Qt::Key_Delete);

        QVERIFY(d.boxes.isEmpty()); // no question: the rows go at once
        QCOMPARE(idioms(d.stored()), left);
        QCOMPARE(d.column(0), left + QStringList{QString()});
        // The grid and its data control stand on a row that is still there.
        QVERIFY(d.currentRow() >= 0 && d.currentRow() < int(left.size()));
        QCOMPARE(d.window->data1()->recordset()->absolutePosition(), d.currentRow());
        QCOMPARE(d.window->data1()->recordset()->text(u"Deyim"_s), d.cell(d.currentRow(), 0));
    }

    // A refused row keeps the user on it with the typed text; Escape drops the text.
    void refusedRowStays_data()
    {
        QTest::addColumn<bool>("uniqueIdioms");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // exact, or the start of the engine's own text

        // Without the unique index the rows are kEntries and a fifth with a Null idiom.
        QTest::newRow("idiom erased") << false << 2 << 0 << QString() << u"Deyim boş olamaz!"_s;
        QTest::newRow("idiom of blanks") << false << 2 << 0 << u"   "_s << u"Deyim boş olamaz!"_s;
        QTest::newRow("new row without idiom") << false << 5 << 1 << u"anlamı var"_s << u"Deyim boş olamaz!"_s;
        QTest::newRow("meaning of a stored Null idiom") << false << 4 << 1 << u"yeni"_s << u"Deyim boş olamaz!"_s;
        QTest::newRow("engine refuses a duplicate")
            << true << 1 << 0 << u"ağıt"_s << u"Değişiklik yapılamadı: benzersiz"_s;
    }

    void refusedRowStays()
    {
        QFETCH(bool, uniqueIdioms);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Entries entries = kEntries;
        if (!uniqueIdioms)
            entries.append({QVariant(), u"eski"_s});
        Dictionary d(entries, uniqueIdioms);
        QVERIFY(d.open());
        const QString before = d.cell(row, column);

        d.editCell(row, column, text);
        d.key(Qt::Key_Up);
        QCOMPARE(d.boxes.size(), 1);
        QVERIFY2(d.boxes.first().text.startsWith(message), qPrintable(d.boxes.first().text));
        QCOMPARE(d.boxes.first().icon, msg::Icon::Critical);
        QCOMPARE(d.currentRow(), row);
        QCOMPARE(d.stored(), entries);
        QVERIFY(d.editor());
        QCOMPARE(d.editor()->text(), text);

        // Escape closes the editor and keeps the typed text in the row.
        d.key(Qt::Key_Escape);
        QVERIFY(!d.editor());
        QCOMPARE(d.cell(row, column), text);

        // A click elsewhere is refused the same way, and selects nothing there: a Delete
        // then must not remove a row the user is not on.
        QItemSelectionModel *selection = d.grid()->selectionModel();
        d.clickCell(0, 1);
        QCOMPARE(d.boxes.size(), 2);
        QVERIFY(!selection->isSelected(d.grid()->model()->index(0, 1)));
        d.clickSelector(0);
        QCOMPARE(d.boxes.size(), 3);
        QVERIFY(selection->selectedRows().isEmpty());
        QTest::keyClick(d.grid(), Qt::Key_Delete);
        QCOMPARE(d.currentRow(), row);
        QCOMPARE(d.cell(row, column), text);
        QCOMPARE(d.stored(), entries);

        // A second Escape drops the row's typed text; then the row can be left.
        d.key(Qt::Key_Escape);
        QCOMPARE(d.cell(row, column), before);
        d.clickCell(0, 1);
        QCOMPARE(d.currentRow(), 0);
        QCOMPARE(d.boxes.size(), 3);
        QCOMPARE(d.stored(), entries);
    }

    // An editor opened and closed without a change leaves the row as it was, so a stored
    // row that would be refused (a Null idiom) does not hold the user.
    void untouchedEditorChangesNothing()
    {
        const Entries entries = {{u"ağıt"_s, u"yas"_s}, {QVariant(), u"eski"_s}};
        Dictionary d(entries);
        QVERIFY(d.open());
        for (int column : {0, 1}) {
            d.clickCell(1, column);
            QTest::keyClick(d.grid(), Qt::Key_F2);
            QVERIFY(d.editor());
            d.key(Qt::Key_Return);
            QTRY_VERIFY(!d.editor());
        }
        d.key(Qt::Key_Up);
        QCOMPARE(d.currentRow(), 0);
        QVERIFY(d.boxes.isEmpty());
        QCOMPARE(d.stored(), entries);
    }

    void closingWithRefusedRowAsks()
    {
        Dictionary d;
        QVERIFY(d.open());
        d.editCell(0, 0, QString());
        d.answers = {msg::Result::No};
        d.window->close();
        QVERIFY(d.window->isVisible());
        QCOMPARE(d.boxes.size(), 1);
        QCOMPARE(d.boxes.first().buttons, msg::Buttons::YesNo);
        QVERIFY(d.boxes.first().text.contains(u"Deyim boş olamaz!"_s));
        QCOMPARE(d.cell(0, 0), QString()); // the typed (empty) text is kept

        d.answers = {msg::Result::Yes};
        d.window->close();
        QVERIFY(!d.window->isVisible());
        QCOMPARE(d.stored(), kEntries);
    }

    void readOnlyControlGivesNoEditing()
    {
        Dictionary d;
        QVERIFY(d.open(u"sozluk"_s, true));
        QCOMPARE(d.rows(), int(kEntries.size())); // no row for new entries
        d.clickCell(1, 0);
        QTest::keyClick(d.grid(), Qt::Key_F2);
        d.type(u"x"_s);
        QVERIFY(!d.editor());
        d.clickSelector(1);
        QTest::keyClick(d.grid(), Qt::Key_Delete);
        d.window->close();
        QCOMPARE(d.stored(), kEntries);
        QVERIFY(d.boxes.isEmpty());
    }

    // Outer sizes in pixels (15 twips each). Grid width W - 400, column 0 two sevenths
    // of the grid, column 1 the rest less 800, height H - 700; a step that would give a
    // negative size is skipped and that size stays from the size before.
    void resizeFitsTheGrid_data()
    {
        QTest::addColumn<QSize>("before");
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<int>("gridWidth");
        QTest::addColumn<int>("gridHeight");
        QTest::addColumn<int>("column0");
        QTest::addColumn<int>("column1");

        const QSize base(1000, 600);
        QTest::newRow("1000 x 600") << base << base << 973 << 553 << 278 << 642;
        // 735 twips wider: the grid gains 735, column 0 210 and column 1 525 twips.
        QTest::newRow("49 px wider") << base << QSize(1049, 600) << 1022 << 553 << 292 << 677;
        QTest::newRow("105 px taller") << base << QSize(1000, 705) << 973 << 658 << 278 << 642;
        QTest::newRow("narrower than 400 twips") << base << QSize(20, 600) << 973 << 553 << 278 << 642;
        QTest::newRow("lower than 700 twips") << base << QSize(1000, 40) << 973 << 553 << 278 << 642;
        QTest::newRow("column 1 would be negative") << base << QSize(60, 600) << 33 << 553 << 9 << 642;
        QTest::newRow("all too small, then back") << QSize(30, 30) << QSize(1049, 600) << 1022 << 553 << 292 << 677;
    }

    void resizeFitsTheGrid()
    {
        QFETCH(QSize, before);
        QFETCH(QSize, outer);
        QFETCH(int, gridWidth);
        QFETCH(int, gridHeight);
        QFETCH(int, column0);
        QFETCH(int, column1);
        Dictionary d;
        QVERIFY(d.open());
        szlk::Window *w = d.window.get();
        const QSize frame = w->frameGeometry().size() - w->size();
        for (const QSize &s : {before, outer}) {
            w->resize(s - frame);
            QTRY_COMPARE(w->frameGeometry().size(), s);
        }
        DataGrid *g = d.grid();
        QCOMPARE(g->pos(), QPoint(8, 8));
        QCOMPARE(g->width(), gridWidth);
        QCOMPARE(g->height(), gridHeight);
        QCOMPARE(g->columnWidth(0), column0);
        QCOMPARE(g->columnWidth(1), column1);
    }
};

QTEST_MAIN(TestSzlk)
#include "tst_szlk.moc"
