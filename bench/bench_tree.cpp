// Each of the eight views' builds and 1,000 record steps, against a floor: the same rows
// read with one prepared statement and the same nodes added to a bare QTreeWidget.
//   bench_tree [FOLDER] [SONGS] [VALUES PER FIELD]   (QT_QPA_PLATFORM=offscreen)
#include "benchutil.h"

#include "appfonts.h"
#include "form1.h"
#include "formkinds.h"
#include "globals.h"
#include "recordscrollbar.h"
#include "treeview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QRadioButton>
#include <QTreeWidget>
#include <sqlite3.h>

namespace {

double floorMs(db::Database &vt, const QString &field)
{
    QElapsedTimer t;
    t.start();
    QTreeWidget tree;
    const QString sql = field.isEmpty()
        ? QStringLiteral("SELECT substr(Başlık, 1, 1), Başlık FROM Zelvoran ORDER BY Başlık")
        : QStringLiteral("SELECT %1, Başlık FROM Zelvoran ORDER BY %1, Başlık").arg(field);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(vt.handle(), sql.toUtf8().constData(), -1, &st, nullptr);
    QTreeWidgetItem *folder = nullptr;
    QString current;
    bool first = true;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const auto text = [st](int c) {
            const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, c));
            return p ? QString::fromUtf8(p) : QString();
        };
        const QString group = text(0);
        if (first || group != current) {
            folder = new QTreeWidgetItem(&tree, {group.isEmpty() ? QStringLiteral(" Bilinmeyen") : group});
            current = group;
            first = false;
        }
        new QTreeWidgetItem(folder, {text(1)});
    }
    sqlite3_finalize(st);
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    appfonts::install();
    controls::registerFormKinds();
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/qel-bench");
    const int songs = argc > 2 ? atoi(argv[2]) : 30000;
    const int distinct = argc > 3 ? atoi(argv[3]) : 300;
    const QString archive = prepareArchive(dir, songs, distinct);

    Form1 form;
    g::anaform = &form;
    if (!form.load())
        return 1;
    form.show();
    QEventLoop wait;
    QObject::connect(&form, &Form1::firstActivationDone, &wait, &QEventLoop::quit);
    wait.exec();

    auto vt = db::Database::open(archive);
    const struct { const char *option; const char *field; } views[] = {
        {"grnm_yore", "Yöresi"}, {"grnm_turu1", "Türü"}, {"grnm_turu2", "Türü2"}, {"grnm_kaynak", "KaynakKişi"},
        {"grnm_derleyen", "Derleyen"}, {"grnm_soz", "Söz"}, {"grnm_muzik", "Müzik"}, {"grnm_bslk", ""},
    };
    std::printf("%d songs, up to %d values per field\n", songs, distinct);
    std::printf("%-14s %10s %10s %7s %7s\n", "view", "build ms", "floor ms", "ratio", "nodes");
    for (const auto &v : views) {
        auto *option = form.findChild<QRadioButton *>(QString::fromUtf8(v.option));
        QElapsedTimer t;
        t.start();
        option->click();
        const double ms = t.nsecsElapsed() / 1e6;
        const double fl = floorMs(*vt, QString::fromUtf8(v.field));
        std::printf("%-14s %10.1f %10.1f %7.2f %7d\n", v.option, ms, fl, ms / fl, form.tvw()->count());
    }

    RecordScrollBar *bar = form.hscroll1();
    bar->setValueChecked(1);
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 1000; ++i)
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    const double steps = t.nsecsElapsed() / 1e6;
    std::printf("1000 record steps: %.1f ms (%.3f ms a step), now at %d\n", steps, steps / 1000, bar->value());
    return 0;
}
