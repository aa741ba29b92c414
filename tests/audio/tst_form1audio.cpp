#include "archivefixture.h"
#include "audiotestenv.h"

#include "database.h"
#include "datacontrol.h"
#include "dropdowncombo.h"
#include "form1.h"
#include "globals.h"
#include "mybutton.h"
#include "player.h"
#include "recordset.h"
#include "ruvslider.h"
#include "statusbar.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QTest>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

const QString kFirst = u"Aradığım Listede Yok..."_s;

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
}

template <typename T>
T *child(Form1 *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

QStringList items(const QComboBox *c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

// Opens the slot's list as the user does and closes it again.
QStringList dropDown(Form1 *w, int n)
{
    auto *list = child<DropDownCombo>(w, u"sec%1"_s.arg(n));
    list->showPopup();
    list->hidePopup();
    return items(list);
}

QString field(const QString &archive, const QString &title, const QString &name)
{
    auto vt = db::Database::open(archive);
    auto rs = vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = ?"_s, {title});
    return rs->eof() ? QString() : rs->text(name);
}

void clickButton(Form1 *w, const QString &name)
{
    auto *b = child<MyButton>(w, name);
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

} // namespace

class TestForm1Audio : public QObject {
    Q_OBJECT
private:
    QString m_archive;
    QTemporaryDir m_music;

    bool start(ArchiveFixture &f)
    {
        m_archive = f.makeArchive(u"arşiv.qel"_s, {Song{u"Gurbet Elde"_s, {}}, Song{u"Sevda"_s, {}}}, {u"G"_s, u"S"_s});
        f.makeSettings(m_archive);
        return f.start();
    }

private slots:
    void init() { g::secilenklasor.clear(); }

    void initTestCase()
    {
        for (int i = 0; i < 60; ++i)
            touch(m_music.filePath(u"Alt/%1 Gurbet.mp3"_s.arg(i, 2, 10, QChar(u'0'))));
        touch(m_music.filePath(u"Gurbet Elde.wma"_s));
        touch(m_music.filePath(u"sevda türküsü.WAV"_s));
    }

    void candidateLists()
    {
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        QCOMPARE(child<QLineEdit>(w, u"Text3"_s)->text(), u"Gurbet Elde"_s);
        child<QLineEdit>(w, u"mp3yol0"_s)->setText(m_music.path());

        QStringList list = dropDown(w, 1);
        QCOMPARE(list.size(), 51);
        QCOMPARE(list.value(0), kFirst);
        QCOMPARE(list.value(1), m_music.path() + u"/Gurbet Elde.wma"_s);
        // Another slot's list rebuilds the same index.
        QCOMPARE(dropDown(w, 3), list);
        QVERIFY(f.boxes.isEmpty());

        // A choice in view mode goes into the locked box and is saved with the record.
        auto *sec1 = child<DropDownCombo>(w, u"sec1"_s);
        auto *box1 = child<QLineEdit>(w, u"mp3yol1"_s);
        QVERIFY(box1->isReadOnly());
        QTest::keyClick(sec1, Qt::Key_Down);
        QCOMPARE(box1->text(), list.value(1));
        QCOMPARE(f.dialogCalls, 0);
        w->data1()->recordset()->moveNext();
        QCOMPARE(field(m_archive, u"Gurbet Elde"_s, u"mp3_1"_s), list.value(1));

        // Editable slots take no typed text as an item.
        auto *sec2 = child<DropDownCombo>(w, u"sec2"_s);
        QVERIFY(sec2->isEditable());
        const QStringList offered = dropDown(w, 2);
        QTest::keyClicks(sec2->lineEdit(), u"yazilan"_s);
        QTest::keyClick(sec2->lineEdit(), Qt::Key_Return);
        QCOMPARE(items(sec2), offered);

        // No file holds a word of this title.
        QCOMPARE(child<QLineEdit>(w, u"Text3"_s)->text(), u"Sevda"_s);
        // The list still holds the former song's files: a wheel turned over it in passing
        // chooses none of them.
        QVERIFY(!sec1->hasFocus());
        QWheelEvent wheel(QPointF(5, 5), sec1->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(sec1, &wheel);
        QCOMPARE(box1->text(), QString());
        child<QLineEdit>(w, u"uz2"_s)->setText(u"mp4"_s);
        QCOMPARE(dropDown(w, 1), QStringList{kFirst});
        child<QLineEdit>(w, u"uz2"_s)->setText(u"wav"_s);
        QCOMPARE(dropDown(w, 1), (QStringList{kFirst, m_music.path() + u"/sevda türküsü.WAV"_s}));

        // An empty music folder walks nothing.
        child<QLineEdit>(w, u"mp3yol0"_s)->setText(QString());
        QCOMPARE(dropDown(w, 1), QStringList{kFirst});
    }

    void closedListChoosesForTheShownSong_data()
    {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<int>("key");
        QTest::newRow("Down") << u"sec1"_s << int(Qt::Key_Down);
        QTest::newRow("PageDown") << u"sec1"_s << int(Qt::Key_PageDown);
        QTest::newRow("End") << u"sec1"_s << int(Qt::Key_End);
        QTest::newRow("Down, editable slot") << u"sec2"_s << int(Qt::Key_Down);
        QTest::newRow("wheel") << u"sec1"_s << 0;
    }

    // The list is built on one song, the record moves on; a key (or the wheel) on the
    // closed list chooses only from the shown song's files.
    void closedListChoosesForTheShownSong()
    {
        QFETCH(QString, slot);
        QFETCH(int, key);
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        child<QLineEdit>(w, u"mp3yol0"_s)->setText(m_music.path());
        const int n = slot.right(1).toInt();
        auto *list = child<DropDownCombo>(w, slot);
        auto *box = child<QLineEdit>(w, u"mp3yol%1"_s.arg(n));
        QCOMPARE(dropDown(w, n).size(), 51);
        w->data1()->recordset()->moveNext();
        QCOMPARE(child<QLineEdit>(w, u"Text3"_s)->text(), u"Sevda"_s);
        // Tabbed to: the list gets the focus and stays closed.
        w->activateWindow();
        list->setFocus(Qt::TabFocusReason);
        QVERIFY(list->hasFocus());

        if (key) {
            QTest::keyClick(list, Qt::Key(key));
        } else {
            QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &wheel);
        }
        const QString sevda = m_music.path() + u"/sevda türküsü.WAV"_s;
        QCOMPARE(items(list), (QStringList{kFirst, sevda}));
        QCOMPARE(box->text(), sevda);
        w->data1()->recordset()->movePrevious();
        QCOMPARE(field(m_archive, u"Sevda"_s, u"mp3_%1"_s.arg(n)), sevda);
        QCOMPARE(field(m_archive, u"Gurbet Elde"_s, u"mp3_%1"_s.arg(n)), QString());
        QVERIFY(f.boxes.isEmpty());
    }

    // The first entry asks for the file; a cancel changes nothing, a pick is kept as chosen.
    void fileByHand()
    {
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        child<QLineEdit>(w, u"mp3yol0"_s)->setText(m_music.path());
        auto *sec4 = child<DropDownCombo>(w, u"sec4"_s);
        auto *box4 = child<QLineEdit>(w, u"mp3yol4"_s);
        box4->setText(u"önceki.mp3"_s);
        dropDown(w, 4);
        QTest::keyClick(sec4, Qt::Key_Down);
        const QString picked = m_music.path() + u"/Alt/ Şarkı.MP3 "_s;
        audiotest::writeWav(picked, 2000);
        f.dialogAnswers = {QString(), picked};
        QTest::keyClick(sec4, Qt::Key_Up);
        QCOMPARE(f.dialogCalls, 1);
        QCOMPARE(f.dialogs.at(0).kind, fileopen::Request::Kind::OpenFile);
        QCOMPARE(f.dialogs.at(0).title, u"Dosya Aç"_s);
        QCOMPARE(f.dialogs.at(0).startFolder, m_music.path());
        QCOMPARE(f.dialogs.at(0).nameFilters,
                 (QStringList{u"Mpeg Audio Layer 3 (*.mp3)"_s, u"Microsoft Waveform Audio Files (*.wav)"_s,
                              u"Windows Media (*.wma)"_s}));
        QCOMPARE(box4->text(), m_music.path() + u"/Gurbet Elde.wma"_s); // the Down's choice
        QTest::keyClick(sec4, Qt::Key_Down);
        QTest::keyClick(sec4, Qt::Key_Up);
        QCOMPARE(f.dialogCalls, 2);
        QCOMPARE(box4->text(), picked);

        // The path plays as it was picked.
        clickButton(w, u"Play4"_s);
        QTRY_COMPARE_WITH_TIMEOUT(w->player()->mediaPlayer()->playbackState(), QMediaPlayer::PlayingState, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(w->player()->mediaPlayer()->position() > 0, 10000);
        QCOMPARE(w->player()->mediaPlayer()->source(), QUrl::fromLocalFile(picked));
        QVERIFY(f.boxes.isEmpty());
        QCOMPARE(w->stbar()->panelText(3), QString()); // only slot 1 shows in panel 3
    }

    void folderChooser()
    {
        const QString a = m_music.filePath(u"Alt"_s);
        const QString b = m_music.path();
        {
            ArchiveFixture f;
            QVERIFY(start(f));
            Form1 *w = f.form();
            auto *box = child<QLineEdit>(w, u"mp3yol0"_s);
            box->setText(u"yazılan"_s);
            clickButton(w, u"Command1"_s); // cancelled before any choice
            QCOMPARE(box->text(), u"yazılan"_s);
            f.dialogAnswers = {a};
            clickButton(w, u"Command1"_s);
            QCOMPARE(f.dialogs.value(1).kind, fileopen::Request::Kind::Folder);
            QCOMPARE(f.dialogs.value(1).title, u"Klasör Seç..."_s);
            QCOMPARE(box->text(), a);
            QCOMPARE(g::secilenklasor, a);
            box->setText(b);
            clickButton(w, u"Command1"_s); // cancelled after a choice: the typed folder stays
            QCOMPARE(f.dialogCalls, 3);
            QCOMPARE(box->text(), b);
            f.stop(); // a typed folder is kept at close
            QVERIFY(f.start());
            QCOMPARE(child<QLineEdit>(f.form(), u"mp3yol0"_s)->text(), b);
            f.dialogAnswers = {a};
            clickButton(f.form(), u"Command1"_s);
            // A chosen folder is saved at once, and shown again after a restart.
            auto vt = db::Database::open(m_archive);
            QCOMPARE(vt->openRecordset(u"ayarlar"_s)->text(u"yol"_s), a);
            f.stop();
            QVERIFY(f.start());
            QCOMPARE(child<QLineEdit>(f.form(), u"mp3yol0"_s)->text(), a);
        }
    }

    // Real playback of a file the test writes, with the volume through the test mixer.
    void playback()
    {
        const QString wav = m_music.filePath(u"çal ı.wav"_s);
        const QString other = m_music.filePath(u"öteki.wav"_s);
        audiotest::writeWav(wav, 4000);
        audiotest::writeWav(other, 4000);
        audiotest::useTestMixer(0, 31);
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        QCOMPARE(w->player()->mediaPlayer(), nullptr); // nothing made at start-up
        QVERIFY(audiotest::mixerWrites().isEmpty());

        child<QLineEdit>(w, u"mp3yol1"_s)->setText(wav);
        child<QLineEdit>(w, u"mp3yol2"_s)->setText(other);
        child<QLineEdit>(w, u"mp3yol4"_s)->setText(m_music.filePath(u"yok.mp3"_s));
        clickButton(w, u"Play1"_s);
        QCOMPARE(audiotest::mixerWrites().constLast(), u"15 15"_s);
        QTRY_COMPARE_WITH_TIMEOUT(w->stbar()->panelText(3), wav, 10000);
        QMediaPlayer *mp = w->player()->mediaPlayer();
        QTRY_VERIFY_WITH_TIMEOUT(mp->position() > 200, 10000);

        child<RuvSlider>(w, u"sldvolume"_s)->setValue(80);
        QCOMPARE(audiotest::mixerWrites().constLast(), u"24 24"_s);

        clickButton(w, u"MyButton3"_s);
        QTRY_COMPARE(mp->playbackState(), QMediaPlayer::PausedState);
        clickButton(w, u"MyButton3"_s);
        QTRY_COMPARE(mp->playbackState(), QMediaPlayer::PlayingState);

        // Slot 2 replaces slot 1; panel 3 keeps slot 1's path.
        clickButton(w, u"Play2"_s);
        QCOMPARE(mp->source(), QUrl::fromLocalFile(other));
        QTRY_VERIFY_WITH_TIMEOUT(mp->position() > 100, 10000);
        QCOMPARE(w->stbar()->panelText(3), wav);

        // An empty slot changes nothing.
        const qsizetype writes = audiotest::mixerWrites().size();
        clickButton(w, u"Play3"_s);
        QCOMPARE(mp->source(), QUrl::fromLocalFile(other));
        QCOMPARE(audiotest::mixerWrites().size(), writes);

        clickButton(w, u"stop"_s);
        QVERIFY(mp->source().isEmpty());
        QCOMPARE(w->stbar()->panelText(3), QString());

        // A missing file is said so, with its path; panel 3 stays empty.
        child<QLineEdit>(w, u"mp3yol1"_s)->setText(m_music.filePath(u"yok.mp3"_s));
        clickButton(w, u"Play1"_s);
        QTRY_COMPARE(f.boxes.size(), 1);
        QVERIFY(f.boxes.at(0).text.contains(m_music.filePath(u"yok.mp3"_s)));
        QVERIFY(f.boxes.at(0).text.contains(u"Dosya bulunamadı."_s));
        QCOMPARE(f.boxes.at(0).icon, msg::Icon::None);
        QCOMPARE(w->stbar()->panelText(3), QString());

        // Closing the window stops playback.
        clickButton(w, u"Play2"_s);
        QTRY_COMPARE_WITH_TIMEOUT(mp->playbackState(), QMediaPlayer::PlayingState, 10000);
        w->close();
        QCOMPARE(mp->playbackState(), QMediaPlayer::StoppedState);
        audiotest::useNoMixer();
    }

    void failedPlayClearsPanel3_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("slot 1, missing") << 1 << u"yok.mp3"_s << u"Dosya bulunamadı."_s;
        QTest::newRow("slot 1, picture") << 1 << u"resim.mp3"_s << u"Dosyada ses yok."_s;
        QTest::newRow("slot 2, picture") << 2 << u"resim.mp3"_s << u"Dosyada ses yok."_s;
    }
    // Whatever slot fails, the file played before is closed and panel 3 no longer names it.
    void failedPlayClearsPanel3()
    {
        QFETCH(int, slot);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString wav = m_music.filePath(u"önce.wav"_s);
        audiotest::writeWav(wav, 4000);
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(m_music.filePath(u"resim.mp3"_s), "PNG"));
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        child<QLineEdit>(w, u"mp3yol1"_s)->setText(wav);
        clickButton(w, u"Play1"_s);
        QTRY_COMPARE_WITH_TIMEOUT(w->stbar()->panelText(3), wav, 10000);

        const QString bad = m_music.filePath(name);
        child<QLineEdit>(w, u"mp3yol%1"_s.arg(slot))->setText(bad);
        clickButton(w, u"Play%1"_s.arg(slot));
        QTRY_COMPARE_WITH_TIMEOUT(f.boxes.size(), 1, 10000);
        QCOMPARE(f.boxes.at(0).text, u"Dosya çalınamadı:\n"_s + bad + u"\n"_s + reason);
        QCOMPARE(w->stbar()->panelText(3), QString());
        QVERIFY(w->player()->mediaPlayer()->source().isEmpty());
        QTest::qWait(200);
        QCOMPARE(w->stbar()->panelText(3), QString());
        QCOMPARE(f.boxes.size(), 1);
    }

    // An engine failure is told in a plain box, and the list keeps what it held.
    void engineFailures()
    {
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        child<QLineEdit>(w, u"mp3yol0"_s)->setText(m_music.path());
        const QStringList before = dropDown(w, 1);
        QCOMPARE(before.size(), 51);
        db::Database::open(m_archive)->executeNative(u"DROP TABLE muzik"_s);
        QCOMPARE(dropDown(w, 1), before);
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.at(0).icon, msg::Icon::None);
        QVERIFY(f.boxes.at(0).text.contains(u"muzik"_s));
    }
};

QEL_AUDIO_TEST_MAIN(TestForm1Audio)
#include "tst_form1audio.moc"
