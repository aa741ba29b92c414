#include "audiotestenv.h"
#include "player.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMediaPlayer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Real playback through GStreamer's fake sink, which plays in real time.
class TestPlayer : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_long;  // 4 s
    QString m_short; // 1.5 s

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_long = m_dir.filePath(u"Uzun Hava.wav"_s);
        m_short = m_dir.filePath(u"kısa.wav"_s);
        audiotest::writeWav(m_long, 4000);
        audiotest::writeWav(m_short, 1500);
    }

    void madeOnTheFirstPlay()
    {
        audio::Player p;
        QVERIFY(!p.mediaPlayer());
        p.stop();
        p.mp3duraklat();
        QVERIFY(!p.mediaPlayer());
    }

    void playPauseResumeStop()
    {
        audio::Player p;
        QSignalSpy started(&p, &audio::Player::started);
        QSignalSpy failed(&p, &audio::Player::failed);
        p.mp3cal(m_long, 2);
        QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 10000);
        QCOMPARE(started.at(0).at(0).toInt(), 2);
        QCOMPARE(started.at(0).at(1).toString(), m_long);
        QMediaPlayer *mp = p.mediaPlayer();
        QTRY_VERIFY_WITH_TIMEOUT(mp->position() > 300, 10000);

        p.mp3duraklat();
        QVERIFY(p.duraklatildi());
        QTest::qWait(150);
        const qint64 held = mp->position();
        QTest::qWait(400);
        QVERIFY2(std::abs(mp->position() - held) < 60, qPrintable(u"%1 -> %2"_s.arg(held).arg(mp->position())));

        p.mp3duraklat();
        QVERIFY(!p.duraklatildi());
        QTRY_VERIFY_WITH_TIMEOUT(mp->position() > held + 200, 10000);

        p.stop();
        QVERIFY(mp->source().isEmpty());
        QCOMPARE(mp->playbackState(), QMediaPlayer::StoppedState);
        QVERIFY(failed.isEmpty());
    }

    // A play or a stop ends a pause: the next press of the pause button pauses.
    void pauseFollowsPlayAndStop()
    {
        audio::Player p;
        QSignalSpy started(&p, &audio::Player::started);
        p.mp3cal(m_long, 1);
        QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 10000);
        p.mp3duraklat();
        QVERIFY(p.duraklatildi());
        p.mp3cal(m_short, 3);
        QVERIFY(!p.duraklatildi());
        QTRY_COMPARE_WITH_TIMEOUT(started.count(), 2, 10000);
        QCOMPARE(p.mediaPlayer()->source(), QUrl::fromLocalFile(m_short));
        p.mp3duraklat();
        QTRY_COMPARE(p.mediaPlayer()->playbackState(), QMediaPlayer::PausedState);
        p.stop();
        QVERIFY(!p.duraklatildi());
        p.mp3duraklat();
        QVERIFY(p.duraklatildi());
    }

    void unplayableFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // none: the file is not made
        QTest::addColumn<QString>("reason");     // empty: the player's own

        QTest::newRow("missing") << u"yok.mp3"_s << QByteArray() << u"Dosya bulunamadı."_s;
        QTest::newRow("a folder") << u"klasör.wav"_s << QByteArray("/") << u"Bir dosya değil."_s;
        QTest::newRow("not audio") << u"bozuk.mp3"_s << QByteArray(20000, 'x') << QString();
        // Pictures open as a stream with no sound.
        QTest::newRow("PNG") << u"resim.mp3"_s << QByteArray("PNG") << u"Dosyada ses yok."_s;
        QTest::newRow("JPEG") << u"foto.mp3"_s << QByteArray("JPG") << u"Dosyada ses yok."_s;
    }
    void unplayableFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString path = m_dir.filePath(name);
        if (content == "/") {
            QVERIFY(QDir().mkpath(path));
        } else if (content == "PNG" || content == "JPG") {
            QImage image(64, 48, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            QVERIFY(image.save(path, content.constData()));
        } else if (!content.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        audio::Player p;
        QSignalSpy started(&p, &audio::Player::started);
        QSignalSpy failed(&p, &audio::Player::failed);
        p.mp3cal(path, 1);
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 10000);
        QCOMPARE(failed.at(0).at(1).toString(), path);
        const QString said = failed.at(0).at(2).toString();
        QVERIFY(!said.isEmpty());
        if (!reason.isEmpty())
            QCOMPARE(said, reason);
        QTest::qWait(200);
        QCOMPARE(started.count(), 0);
        QCOMPARE(failed.count(), 1);
    }

    // The player that refused a file is replaced: the next file plays.
    void playsAfterARefusedFile()
    {
        const QString noise = m_dir.filePath(u"gürültü.mp3"_s);
        QFile f(noise);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(20000, 'x'));
        f.close();
        audio::Player p;
        QSignalSpy started(&p, &audio::Player::started);
        QSignalSpy failed(&p, &audio::Player::failed);
        p.mp3cal(noise, 1);
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 10000);
        QVERIFY(p.mediaPlayer()->source().isEmpty());
        p.mp3cal(m_short, 2);
        QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(p.mediaPlayer()->position() > 100, 10000);
        QCOMPARE(failed.count(), 1);
        p.mp3duraklat();
        QTRY_COMPARE(p.mediaPlayer()->playbackState(), QMediaPlayer::PausedState);
    }

    // A failed play still closes what played before.
    void failedPlayClosesThePrevious()
    {
        audio::Player p;
        QSignalSpy started(&p, &audio::Player::started);
        p.mp3cal(m_long, 1);
        QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 10000);
        p.mp3cal(m_dir.filePath(u"hiç.mp3"_s), 1);
        QVERIFY(p.mediaPlayer()->source().isEmpty());
        QCOMPARE(p.mediaPlayer()->playbackState(), QMediaPlayer::StoppedState);
    }
};

QEL_AUDIO_TEST_MAIN(TestPlayer)
#include "tst_player.moc"
