// Search, add, delete and title typing in the main window on a generated archive whose
// lyrics are padded to about 1 KB. Each search is timed from the button's click to the
// first hit shown, against its floor: the same statement's rows read by one prepared
// statement with the engine's like(). Medians of ROUNDS, minima in brackets.
//   bench_edit [FOLDER] [SONGS] [ROUNDS]   (QT_QPA_PLATFORM=offscreen)
#include "benchutil.h"

#include "appfonts.h"
#include "datacontrol.h"
#include "form1.h"
#include "formkinds.h"
#include "frm_ekleme.h"
#include "globals.h"
#include "messagebox.h"
#include "mybutton.h"
#include "recordset.h"
#include "search.h"
#include "treeview.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <algorithm>
#include <sqlite3.h>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double minimum(const std::vector<double> &v)
{
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

template <typename F>
double timed(F f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

// Lyrics of about 1 KB: each song's lyrics repeated, once per archive.
QString paddedArchive(const QString &dir, int songs)
{
    const QString archive = prepareArchive(dir, songs, 300);
    auto vt = db::Database::open(archive);
    auto rs = vt->openRecordset(QStringLiteral("SELECT avg(length(Sözler)) AS n FROM Zelvoran"));
    const double average = rs->field(QStringLiteral("n")).toDouble();
    if (average > 0 && average < 700) {
        const int times = int(1024 / average);
        QString expr = QStringLiteral("\"Sözler\"");
        for (int i = 1; i < times; ++i)
            expr += QStringLiteral(" || char(10) || \"Sözler\"");
        vt->executeNative(QStringLiteral("UPDATE Zelvoran SET \"Sözler\" = ") + expr);
    }
    return archive;
}

[[gnu::noinline]] double floorMs(db::Database &vt, const QString &text, int *rows)
{
    QElapsedTimer t;
    t.start();
    const QByteArray sql = vt.translate(text).toUtf8();
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(vt.handle(), sql.constData(), -1, &st, nullptr);
    int n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
        n += p ? 1 : 0;
    }
    sqlite3_finalize(st);
    *rows = n;
    return t.nsecsElapsed() / 1e6;
}

void typeKey(QWidget *box, QChar c)
{
    QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, c.toUpper().unicode(), Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &release);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    appfonts::install();
    controls::registerFormKinds();
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/qel-bench-edit");
    const int songs = argc > 2 ? atoi(argv[2]) : 30000;
    const int rounds = argc > 3 ? std::max(1, atoi(argv[3])) : 7;
    const QString archive = paddedArchive(dir, songs);

    int boxes = 0;
    msg::setHandler([&](const msg::Request &r) {
        ++boxes;
        return r.buttons == msg::Buttons::YesNo ? msg::Result::Yes : msg::Result::Ok;
    });

    Form1 form;
    g::anaform = &form;
    if (!form.load())
        return 1;
    form.show();
    QEventLoop wait;
    QObject::connect(&form, &Form1::firstActivationDone, &wait, &QEventLoop::quit);
    wait.exec();
    auto vt = db::Database::open(archive);

    auto *ara = form.findChild<QLineEdit *>(QStringLiteral("ara"));
    auto *button = form.findChild<MyButton *>(QStringLiteral("sbaslikara"));
    auto *tumu = form.findChild<QCheckBox *>(QStringLiteral("ara_all"));
    auto *baslik = form.findChild<QCheckBox *>(QStringLiteral("ara_b"));
    const struct {
        const char *label;
        QCheckBox *scope;
        search::Scope kind;
        const char *word;
    } searches[] = {
        {"all fields, few hits", tumu, search::Scope::AllFields, "Erzincan 9"},
        {"all fields, many hits", tumu, search::Scope::AllFields, "Ninni"},
        {"all fields, no hit", tumu, search::Scope::AllFields, "bulunmaz kelime"},
        {"title, few hits", baslik, search::Scope::Title, "Dağları 12"},
        {"title, many hits", baslik, search::Scope::Title, "Dağları"},
    };
    std::printf("%d songs, lyrics padded to about 1 KB, %d rounds (medians; minima in brackets)\n", songs, rounds);
    std::printf("%-24s %17s %17s %6s %6s\n", "search", "click to hit", "floor", "ratio", "hits");
    for (const auto &s : searches) {
        std::vector<double> clicks, floors;
        int rows = 0;
        const QString word = QString::fromUtf8(s.word);
        const QString text = search::statement(s.kind, word).text;
        for (int r = 0; r < rounds; ++r) {
            tumu->setChecked(false);
            baslik->setChecked(false);
            s.scope->setChecked(true);
            ara->setText(word);
            clicks.push_back(timed([&] { button->click(); }));
            floors.push_back(floorMs(*vt, text, &rows));
        }
        const double c = median(clicks), f = median(floors);
        std::printf("%-24s %7.1f [%6.1f] %7.1f [%6.1f] %6.2f %6d\n", s.label, c, minimum(clicks), f, minimum(floors),
                    c / f, rows);
    }

    // Back to the whole tree, edit mode.
    form.findChild<QCheckBox *>(QStringLiteral("option2"))->setChecked(true);
    g::penceremodu = QStringLiteral("düzenleme");
    form.tree();
    form.data1()->setRecordSource(QStringLiteral("zelvoran"));
    form.data1()->refresh();

    std::vector<double> adds, deletes;
    auto *sil = form.findChild<MyButton *>(QStringLiteral("sil"));
    sil->setEnabled(true);
    // New titles on every run of the program, which keeps its archive.
    const qint64 stamp = QDateTime::currentMSecsSinceEpoch();
    for (int r = 0; r < rounds; ++r) {
        FrmEkleme window(&form);
        window.findChild<QLineEdit *>(QStringLiteral("bslk"))
            ->setText(QStringLiteral("Ölçüm Türküsü %1 %2").arg(stamp).arg(r + 1));
        auto *ekle = window.findChild<MyButton *>(QStringLiteral("ekle"));
        adds.push_back(timed([&] { ekle->click(); }));
        form.data1()->recordset()->setAbsolutePosition(songs / 2);
        deletes.push_back(timed([&] { sil->click(); }));
    }
    std::printf("add a record (insert, tree, refresh): %.1f [%.1f] ms\n", median(adds), minimum(adds));
    std::printf("delete the shown record:              %.1f [%.1f] ms\n", median(deletes), minimum(deletes));

    auto *title = form.findChild<QLineEdit *>(QStringLiteral("Text3"));
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(title, &in);
    title->end(false);
    std::vector<double> keys;
    const QString typed = QStringLiteral("yeni başlık için tuşlar");
    for (int r = 0; r < rounds; ++r) {
        for (const QChar c : typed)
            keys.push_back(timed([&] { typeKey(title, c); }));
    }
    std::printf("a key typed in the title box:         %.3f [%.3f] ms, max %.3f (%zu keys), node %s\n", median(keys),
                minimum(keys), *std::max_element(keys.begin(), keys.end()), keys.size(),
                qPrintable(form.tvw()->selectedNode()->key().right(12)));
    std::printf("message boxes answered: %d\n", boxes);
    return 0;
}
