// Time from process start to the first record shown, and memory then.
//   bench_startup [FOLDER] [SONGS] [floor]   (QT_QPA_PLATFORM=offscreen)
// With "floor", a bare program instead: it opens the same file, reads every title in one
// statement, fills a plain QTreeWidget with the same letter folders and titles (same
// pictures) and stops once that is shown; the window's start-up is measured against it.
#include "benchutil.h"

#include "appwindows.h"
#include "statement.h"
#include "titletree.h"

#include "appfonts.h"
#include "form1.h"
#include "formkinds.h"
#include "globals.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>
#include <QTreeWidget>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

static double secondsSinceProcessStart()
{
    // Field 22 of /proc/self/stat: start time in clock ticks after boot.
    QFile f(QStringLiteral("/proc/self/stat"));
    f.open(QIODevice::ReadOnly);
    const QByteArray stat = f.readAll();
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double start = fields.value(19).toDouble() / double(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9 - start;
}

static double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

static void report(const char *what, int songs, const QString &first)
{
    const double t = secondsSinceProcessStart();
    const auto [rss, hwm] = memoryMiB();
    std::printf(
        "%s songs %d  first record \"%s\"  start to first record %.3f s  cpu %.3f s  rss %.1f MiB  peak %.1f MiB\n",
        what, songs, qPrintable(first), t, cpuSeconds(), rss, hwm);
}

// The floor: the least a program must do to show the same tree from the same file.
static int runFloor(int argc, char *argv[], const QString &archive, int songs)
{
    QApplication app(argc, argv);
    appwindows::initResources();
    auto vt = db::Database::open(archive);
    QTreeWidget tree;
    tree.setColumnCount(1);
    tree.header()->hide();
    tree.setUniformRowHeights(true);
    tree.setIconSize(QSize(16, 16));
    const QIcon folder(QStringLiteral(":/images/folder.png"));
    const QIcon note(QStringLiteral(":/images/note.png"));
    QList<QTreeWidgetItem *> folders;
    QString first;
    {
        db::Statement st(*vt, QStringLiteral("SELECT Başlık FROM Zelvoran ORDER BY Başlık"));
        QString letter;
        QList<QTreeWidgetItem *> children;
        auto close = [&] {
            if (!folders.isEmpty())
                folders.last()->addChildren(std::exchange(children, {}));
        };
        while (st.step()) {
            const QString title = st.value(0).toString();
            const QString l = titletree::initial(title);
            if (folders.isEmpty() || l != letter) {
                close();
                letter = l;
                auto *f = new QTreeWidgetItem(QStringList{l});
                f->setIcon(0, folder);
                folders.append(f);
            }
            auto *t = new QTreeWidgetItem(QStringList{title});
            t->setIcon(0, note);
            children.append(t);
            if (first.isEmpty())
                first = title;
        }
        close();
    }
    tree.addTopLevelItems(folders);
    tree.resize(320, 400);
    tree.show();
    if (!folders.isEmpty() && folders.first()->childCount() > 0)
        tree.setCurrentItem(folders.first()->child(0));
    QTimer::singleShot(0, &app, [&] {
        report("floor", songs, first);
        app.quit();
    });
    return app.exec();
}

int main(int argc, char *argv[])
{
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/qel-bench");
    const int songs = argc > 2 ? atoi(argv[2]) : 30000;
    const bool floor = argc > 3 && qstrcmp(argv[3], "floor") == 0;
    if (argc <= 3 || qstrcmp(argv[3], "floor") == 0) {
        // Make the archive in a first process, so that the measured one only opens it.
        QCoreApplication prep(argc, argv);
        prepareArchive(dir, songs, 300);
        QStringList args{dir, QString::number(songs),
                         floor ? QStringLiteral("floor-measure") : QStringLiteral("measure")};
        execv(argv[0], [&] {
            static QList<QByteArray> keep;
            static std::vector<char *> v;
            keep = {QByteArray(argv[0])};
            for (const auto &a : args)
                keep << a.toLocal8Bit();
            for (auto &k : keep)
                v.push_back(k.data());
            v.push_back(nullptr);
            return v.data();
        }());
        return 1;
    }
    if (qstrcmp(argv[3], "floor-measure") == 0)
        return runFloor(argc, argv, QDir(dir).filePath(QStringLiteral("bench-%1-300.qel").arg(songs)), songs);

    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    appfonts::install();
    controls::registerFormKinds();
    songdb::setSettingsPath(QDir(dir).filePath(QStringLiteral("nsz.dll")));

    Form1 form;
    g::anaform = &form;
    if (!form.load())
        return 1;
    QObject::connect(&form, &Form1::firstActivationDone, &app, [&] {
        report("window", songs, form.findChild<QLineEdit *>(QStringLiteral("Text3"))->text());
        app.quit();
    });
    form.show();
    return app.exec();
}
