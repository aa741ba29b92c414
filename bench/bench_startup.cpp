// Time from process start to the first record shown, and memory then.
//   bench_startup [FOLDER] [SONGS]   (QT_QPA_PLATFORM=offscreen)
#include "benchutil.h"

#include "appfonts.h"
#include "form1.h"
#include "formkinds.h"
#include "globals.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>
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

int main(int argc, char *argv[])
{
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/qel-bench");
    const int songs = argc > 2 ? atoi(argv[2]) : 30000;
    if (argc <= 3) {
        // Make the archive in a first process, so that the measured one only opens it.
        QCoreApplication prep(argc, argv);
        prepareArchive(dir, songs, 300);
        QStringList args{dir, QString::number(songs), QStringLiteral("measure")};
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
        const double t = secondsSinceProcessStart();
        const auto [rss, hwm] = memoryMiB();
        std::printf("songs %d  first record \"%s\"  start to first record %.3f s  rss %.1f MiB  peak %.1f MiB\n",
                    songs, qPrintable(form.findChild<QLineEdit *>(QStringLiteral("Text3"))->text()), t, rss, hwm);
        app.quit();
    });
    form.show();
    return app.exec();
}
