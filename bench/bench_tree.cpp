// Each of the eight views' builds and 1,000 record steps, against two floors: the same rows
// read with one prepared statement and the same nodes (text and picture) built apart and
// added at once to a bare QTreeWidget, either a new one or one whose former nodes go
// first (as every view replaces the tree before it). Every view is built ROUNDS times,
// in turn with the others; medians are shown, minima in brackets.
//   bench_tree [FOLDER] [SONGS] [VALUES PER FIELD] [ROUNDS]   (QT_QPA_PLATFORM=offscreen)
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
#include <algorithm>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace {

QIcon solidIcon(const QColor &c)
{
    QPixmap pm(16, 16);
    pm.fill(c);
    return QIcon(pm);
}

// With a tree, its nodes are replaced; without, a new tree is made (and dropped untimed).
[[gnu::noinline]] double floorMs(QTreeWidget *replaced, db::Database &vt, const QString &field)
{
    static const QIcon folderIcon = solidIcon(Qt::yellow);
    static const QIcon titleIcon = solidIcon(Qt::white);
    QElapsedTimer t;
    t.start();
    std::unique_ptr<QTreeWidget> made;
    if (!replaced)
        made = std::make_unique<QTreeWidget>();
    QTreeWidget &tree = replaced ? *replaced : *made;
    tree.clear();
    const QString sql = field.isEmpty()
                            ? QStringLiteral("SELECT substr(Başlık, 1, 1), Başlık FROM Zelvoran ORDER BY Başlık")
                            : QStringLiteral("SELECT %1, Başlık FROM Zelvoran ORDER BY %1, Başlık").arg(field);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(vt.handle(), sql.toUtf8().constData(), -1, &st, nullptr);
    QList<QTreeWidgetItem *> top;
    QTreeWidgetItem *folder = nullptr;
    QString current;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const auto text = [st](int c) {
            const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, c));
            return p ? QString::fromUtf8(p) : QString();
        };
        const QString group = text(0);
        if (!folder || group != current) {
            folder = new QTreeWidgetItem({group.isEmpty() ? QStringLiteral(" Bilinmeyen") : group});
            folder->setIcon(0, folderIcon);
            top.append(folder);
            current = group;
        }
        auto *item = new QTreeWidgetItem({text(1)});
        item->setIcon(0, titleIcon);
        folder->addChild(item);
    }
    sqlite3_finalize(st);
    tree.addTopLevelItems(top);
    const double ms = t.nsecsElapsed() / 1e6;
    return ms;
}

// Apart, so that a profiler can tell the two floors.
[[gnu::noinline]] double newTreeFloorMs(db::Database &vt, const QString &field)
{
    return floorMs(nullptr, vt, field);
}

[[gnu::noinline]] double replacedTreeFloorMs(QTreeWidget &tree, db::Database &vt, const QString &field)
{
    return floorMs(&tree, vt, field);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double minimum(const std::vector<double> &v)
{
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
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
    const int rounds = argc > 4 ? std::max(1, atoi(argv[4])) : 7;
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
    QTreeWidget floorTree;
    floorTree.resize(form.tvw()->size());
    floorTree.show();
    const struct {
        const char *option;
        const char *field;
    } views[] = {
        {"grnm_yore", "Yöresi"},       {"grnm_turu1", "Türü"}, {"grnm_turu2", "Türü2"}, {"grnm_kaynak", "KaynakKişi"},
        {"grnm_derleyen", "Derleyen"}, {"grnm_soz", "Söz"},    {"grnm_muzik", "Müzik"}, {"grnm_bslk", ""},
    };
    constexpr int viewCount = int(std::size(views));
    std::vector<double> builds[viewCount], floors[viewCount], replacing[viewCount];
    double first[viewCount] = {};
    int nodes[viewCount] = {};
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < viewCount; ++i) {
            auto *option = form.findChild<QRadioButton *>(QString::fromUtf8(views[i].option));
            QElapsedTimer t;
            t.start();
            option->click();
            const double ms = t.nsecsElapsed() / 1e6;
            // The first build of a grouped view also writes Null over the empty texts.
            if (round == 0)
                first[i] = ms;
            else
                builds[i].push_back(ms);
            nodes[i] = form.tvw()->count();
            floors[i].push_back(newTreeFloorMs(*vt, QString::fromUtf8(views[i].field)));
            replacing[i].push_back(replacedTreeFloorMs(floorTree, *vt, QString::fromUtf8(views[i].field)));
        }
    }

    std::printf("%d songs, up to %d values per field, %d rounds (medians; minima in brackets)\n", songs, distinct,
                rounds);
    std::printf("%-14s %8s %15s %15s %6s %15s %6s %6s\n", "view", "first", "build", "new tree", "ratio", "replaced",
                "ratio", "nodes");
    for (int i = 0; i < viewCount; ++i) {
        const double b = builds[i].empty() ? first[i] : median(builds[i]);
        const double f = median(floors[i]);
        const double r = median(replacing[i]);
        std::printf("%-14s %8.1f %6.1f [%6.1f] %6.1f [%6.1f] %6.2f %6.1f [%6.1f] %6.2f %6d\n", views[i].option,
                    first[i], b, builds[i].empty() ? first[i] : minimum(builds[i]), f, minimum(floors[i]), b / f, r,
                    minimum(replacing[i]), b / r, nodes[i]);
    }
    std::printf("(milliseconds; \"first\" also writes Null over the empty texts of a new archive)\n");

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
