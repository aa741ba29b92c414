// The music-folder walk against find(1), a whole candidate list, the start of a play, and
// the longest stall of the event loop while a file is refused.
//   bench_audio [FOLDER]   (QT_QPA_PLATFORM=offscreen; makes FOLDER/muzik once: 200 folders of 100 files)
#include "database.h"
#include "musicindex.h"
#include "player.h"
#include "recordset.h"
#include "schema.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QMediaPlayer>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QStringList kExtensions = {u"mp3"_s, u"wav"_s, u"wma"_s};

double medianMs(int runs, const std::function<void()> &f)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        f();
        t.push_back(double(e.nsecsElapsed()) / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void makeWav(const QString &path, int seconds)
{
    const quint32 rate = 8000, samples = rate * quint32(seconds);
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << quint32(rate * 2) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    f.write(QByteArray(int(samples * 2), '\0'));
}

void makeMusic(const QString &root)
{
    if (QFileInfo::exists(root + u"/199"_s))
        return;
    const QStringList words = {u"Gurbet"_s, u"Sevda"_s, u"Dağlar"_s, u"Yayla"_s, u"Kara"_s,
                               u"Tren"_s,   u"Sarı"_s,  u"Gelin"_s,  u"Çeşme"_s, u"Ağıt"_s};
    const QStringList ext = {u".mp3"_s, u".wav"_s, u".wma"_s, u".jpg"_s};
    for (int d = 0; d < 200; ++d) {
        const QString folder = root + u"/%1"_s.arg(d, 3, 10, QChar(u'0'));
        QDir().mkpath(folder);
        for (int i = 0; i < 100; ++i) {
            QFile f(folder
                    + u"/%1 %2 %3%4"_s.arg(i, 2, 10, QChar(u'0'))
                          .arg(words.at((d + i) % 10), words.at((d * 7 + i * 3) % 10), ext.at(i % 4)));
            f.open(QIODevice::WriteOnly);
        }
    }
}

// Time from a play to the player's word that the file opened and plays, and to the first
// position past 0 (Qt reports positions every 100 ms or so).
double g_opened = 0;
double playStart(audio::Player &p, const QString &path)
{
    QEventLoop loop;
    QElapsedTimer e;
    QMetaObject::Connection c1;
    const auto c0 = QObject::connect(&p, &audio::Player::started, &loop, [&] {
        g_opened = double(e.nsecsElapsed()) / 1e6;
        c1 = QObject::connect(p.mediaPlayer(), &QMediaPlayer::positionChanged, &loop, [&](qint64 pos) {
            if (pos > 0)
                loop.quit();
        });
    });
    const auto c2 = QObject::connect(&p, &audio::Player::failed, &loop, [&](int, const QString &, const QString &r) {
        std::fprintf(stderr, "çalınamadı: %s\n", qPrintable(r));
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    e.start();
    p.mp3cal(path, 1);
    loop.exec();
    QObject::disconnect(c0);
    QObject::disconnect(c1);
    QObject::disconnect(c2);
    return double(e.nsecsElapsed()) / 1e6;
}

// The longest time the event loop stood still from a play to its failure, the play's own
// call and the deletes it left included.
double refusedStall(audio::Player &p, const QString &path)
{
    QEventLoop loop;
    QElapsedTimer tick;
    double longest = 0;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        longest = std::max(longest, double(tick.nsecsElapsed()) / 1e6);
        tick.restart();
    });
    const auto c = QObject::connect(&p, &audio::Player::failed, &loop, [&] {
        longest = std::max(longest, double(tick.nsecsElapsed()) / 1e6);
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    timer.start();
    tick.start();
    p.mp3cal(path, 1);
    loop.exec();
    QObject::disconnect(c);
    // What the play left to delete goes too.
    tick.restart();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    longest = std::max(longest, double(tick.nsecsElapsed()) / 1e6);
    return longest;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/tmp/qel-bench-audio"_s;
    const QString root = dir + u"/muzik"_s;
    makeMusic(root);

    audio::walk(root); // warm the cache
    const double find = medianMs(5, [&] {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(u"find"_s, {root, u"-type"_s, u"f"_s});
        p.waitForFinished();
    });
    size_t files = 0;
    const double walk = medianMs(5, [&] { files = audio::walk(root).files.size(); });
    std::printf("walk of %zu files: %.1f ms; find -type f: %.1f ms (%.2fx)\n", files, walk, find, walk / find);

    const QString archive = dir + u"/bench-audio.qel"_s;
    QFile::remove(archive);
    auto vt = db::Database::create(archive);
    schema::createSongDatabase(*vt);
    QStringList list;
    const double whole = medianMs(
        5, [&] { list = audio::candidateList(*vt, u"Gurbet Elde Kara Tren"_s, root, kExtensions); });
    const double index = medianMs(5, [&] { audio::klasortara(*vt, u"Gurbet Elde Kara Tren"_s, kExtensions, root); });
    std::printf("whole drop-down (walk, %d rows, query, %lld entries): %.1f ms; walk and index alone: %.1f ms\n",
                int(vt->openRecordset(u"SELECT * FROM muzik"_s)->recordCount()), qlonglong(list.size()), whole, index);

    const QString a = dir + u"/a.wav"_s, b = dir + u"/b.wav"_s;
    makeWav(a, 5);
    makeWav(b, 5);
    audio::Player player;
    const double first = playStart(player, a);
    std::vector<double> opened;
    const double second = medianMs(5, [&] {
        playStart(player, b);
        opened.push_back(g_opened);
    });
    std::sort(opened.begin(), opened.end());
    QElapsedTimer e;
    e.start();
    player.stop();
    std::printf("play: first %.1f ms to a position (player made); later plays opened and playing after %.1f ms, "
                "first position after %.1f ms; stop %.1f ms\n",
                first, opened[opened.size() / 2], second, double(e.nsecsElapsed()) / 1e6);

    const QString noise = dir + u"/bozuk.mp3"_s, picture = dir + u"/resim.mp3"_s;
    {
        QFile f(noise);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(QByteArray(20000, 'x'));
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.save(picture, "PNG");
    }
    for (const QString &path : {noise, picture}) {
        playStart(player, a);
        const double stall = medianMs(3, [&] { std::printf("%.1f ", refusedStall(player, path)); });
        Q_UNUSED(stall);
        std::printf("ms: longest stall refusing %s\n", qPrintable(QFileInfo(path).fileName()));
    }
    return 0;
}
