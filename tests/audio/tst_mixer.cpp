#include "audiotestenv.h"
#include "mixer.h"

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

class TestMixer : public QObject {
    Q_OBJECT
private slots:
    // The slider's value over the mixer's whole range, the remainder dropped.
    void scaling_data()
    {
        QTest::addColumn<long>("min");
        QTest::addColumn<long>("max");
        QTest::addColumn<QList<long>>("raw"); // for -5, 0, 50, 100, 150

        QTest::newRow("0..65535") << 0L << 65535L << QList<long>{0, 0, 32767, 65535, 65535};
        QTest::newRow("0..31") << 0L << 31L << QList<long>{0, 0, 15, 31, 31};
        QTest::newRow("0..127") << 0L << 127L << QList<long>{0, 0, 63, 127, 127};
        QTest::newRow("-6000..0") << -6000L << 0L << QList<long>{-6000, -6000, -3000, 0, 0};
        QTest::newRow("10..20") << 10L << 20L << QList<long>{10, 10, 15, 20, 20};
        QTest::newRow("empty range") << 5L << 5L << QList<long>{5, 5, 5, 5, 5};
    }
    void scaling()
    {
        QFETCH(long, min);
        QFETCH(long, max);
        QFETCH(QList<long>, raw);
        const int values[] = {-5, 0, 50, 100, 150};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(audio::scaledVolume(values[i], min, max), raw.at(i));
    }

    // The real mixer code against the test plugin: both channels get the scaled value.
    void writesThroughTheMixer_data()
    {
        QTest::addColumn<long>("min");
        QTest::addColumn<long>("max");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("written");

        QTest::newRow("0..31 at 50") << 0L << 31L << 50 << u"15 15"_s;
        QTest::newRow("0..65535 at 100") << 0L << 65535L << 100 << u"65535 65535"_s;
        QTest::newRow("20..120 at 30") << 20L << 120L << 30 << u"50 50"_s;
        QTest::newRow("0..127 at 150") << 0L << 127L << 150 << u"127 127"_s;
    }
    void writesThroughTheMixer()
    {
        QFETCH(long, min);
        QFETCH(long, max);
        QFETCH(int, value);
        QFETCH(QString, written);
        audiotest::useTestMixer(min, max);
        QVERIFY(audio::applyVolume(value));
        // The simple mixer writes the channels one after the other.
        QCOMPARE(audiotest::mixerWrites().constLast(), written);
    }

    void eachApplicationOpensAnew()
    {
        audiotest::useTestMixer(0, 100);
        QVERIFY(audio::applyVolume(10));
        QCOMPARE(audiotest::mixerWrites().constLast(), u"10 10"_s);
        QVERIFY(audio::applyVolume(90));
        QCOMPARE(audiotest::mixerWrites().constLast(), u"90 90"_s);
        const qsizetype writes = audiotest::mixerWrites().size();
        audio::Mixer m;
        QVERIFY(!m.sesayarla(50)); // not open: nothing is written
        QCOMPARE(audiotest::mixerWrites().size(), writes);
    }

    // No mixer at all: false, no crash, and alsa-lib prints nothing.
    void noMixerIsQuiet()
    {
        audiotest::useNoMixer();
        fflush(stderr);
        const int saved = dup(2);
        char name[] = "/tmp/qel-mixer-stderr-XXXXXX";
        const int fd = mkstemp(name);
        QVERIFY(fd >= 0);
        dup2(fd, 2);
        const bool ok = audio::applyVolume(50);
        audio::Mixer m;
        const bool opened = m.mikserac();
        fflush(stderr);
        dup2(saved, 2);
        close(saved);
        const off_t size = lseek(fd, 0, SEEK_END);
        close(fd);
        unlink(name);
        QVERIFY(!ok);
        QVERIFY(!opened);
        QCOMPARE(size, off_t(0));
    }
};

QEL_AUDIO_TEST_MAIN(TestMixer)
#include "tst_mixer.moc"
