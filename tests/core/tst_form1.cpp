#include "archivefixture.h"

#include "appwindows.h"
#include "dialoganswers.h"

#include "database.h"
#include "datacontrol.h"
#include "form1.h"
#include "globals.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "statusbar.h"

#include "mybutton.h"
#include "valuetip.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

    void storedPathOpensWithoutDialog()
    {
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"Arşiv.qel"_s, sampleSongs());
        f.makeSettings(archive);
        QVERIFY(f.start());
        QCOMPARE(f.dialogCalls, 0);
        QVERIFY(f.boxes.isEmpty());
        Form1 *w = f.form();
        QCOMPARE(w->stbar()->panelText(1), u"Veritabanı Dosyası = "_s + archive);
        QCOMPARE(w->stbar()->panelText(5), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
        QCOMPARE(w->findChild<QLineEdit *>(u"Text3"_s)->text(), u"Ali Paşa"_s);
        QCOMPARE(w->stbar()->panelText(2), u"Kayıt : 1 / 5"_s);
        QCOMPARE(w->hscroll1()->minimum(), 1);
        QCOMPARE(w->hscroll1()->maximum(), 5);
        QCOMPARE(g::penceremodu, u"izleme"_s);
        QCOMPARE(g::raporsql, u"zelvoran"_s);
        QTRY_VERIFY(!w->stbar()->panelText(4).isEmpty());
    }

    // The buttons find the window's skin; their tip goes when the pointer reaches the
    // window's frames or its background.
    void buttonsAreSkinnedAndTheirTipCloses()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"Arşiv.qel"_s, sampleSongs()));
        QVERIFY(f.start());
        Form1 *w = f.form();
        const auto buttons = w->findChildren<MyButton *>();
        QCOMPARE(buttons.size(), 17);
        for (MyButton *b : buttons)
            QVERIFY2(b->skinPicture(), qPrintable(b->objectName()));
        auto *about = w->findChild<MyButton *>(u"about"_s);
        auto *frame = w->findChild<QWidget *>(u"Frame6"_s);
        QVERIFY(about && frame);
        about->clearFocus();
        for (QWidget *over : {frame, static_cast<QWidget *>(w)}) {
            QTest::mouseMove(about, QPoint(10, 10));
            QTest::mouseMove(about, about->rect().center());
            QVERIFY(ValueTip::isLoaded());
            QCOMPARE(ValueTip::instance()->label()->text(), u"Hakkında"_s);
            about->setFocus(); // a focused button keeps its tip when left
            QTest::mouseMove(over, QPoint(4, 45));
            QVERIFY(!ValueTip::isLoaded());
            about->clearFocus();
        }
    }

    // What the user picks after the stored path failed, and what follows.
    void startupChoice_data()
    {
        QTest::addColumn<QString>("stored");    // what nsz.dll holds
        QTest::addColumn<QString>("firstPick"); // the first file chosen
        QTest::addColumn<QString>("message");   // the message shown for it, empty: none

        QTest::newRow("missing file") << u"yok.qel"_s << u"Yok/Hiç.qel"_s << QString();
        QTest::newRow("random bytes") << u"yok.qel"_s << u"bozuk.qel"_s << u" bir veritabanı dosyası değil!"_s;
        QTest::newRow("empty file") << u"yok.qel"_s << u"bos.qel"_s << u" bir veritabanı dosyası değil!"_s;
        QTest::newRow("no songs table") << u"yok.qel"_s << u"tablosuz.qel"_s
                                        << u" geçerli bir türkü veritabanı değil!"_s;
        QTest::newRow("null stored path") << QString() << u"bos.qel"_s << u" bir veritabanı dosyası değil!"_s;
    }

    void startupChoice()
    {
        QFETCH(QString, stored);
        QFETCH(QString, firstPick);
        QFETCH(QString, message);
        ArchiveFixture f;
        const QString good = f.makeArchive(u"Doğru Arşiv.QEL"_s, sampleSongs());
        {
            QFile bad(f.path(u"bozuk.qel"_s));
            QVERIFY(bad.open(QIODevice::WriteOnly));
            bad.write(QByteArray(4096, '\x5a'));
            QFile empty(f.path(u"bos.qel"_s));
            QVERIFY(empty.open(QIODevice::WriteOnly));
            auto other = db::Database::create(f.path(u"tablosuz.qel"_s));
            other->executeNative(u"CREATE TABLE başka (x TEXT)"_s);
        }
        f.makeSettings(stored.isEmpty() ? QString() : f.path(stored));
        f.dialogAnswers = {f.path(firstPick), good};
        QVERIFY(f.start());
        QCOMPARE(f.dialogCalls, 2);
        if (message.isEmpty()) {
            QVERIFY(f.boxes.isEmpty());
        } else {
            QCOMPARE(f.boxes.size(), 1);
            QCOMPARE(f.boxes.first().text, f.path(firstPick) + message);
        }
        // Kept exactly as chosen, and stored only once it opened.
        QCOMPARE(g::vtdosyasi, good);
        QCOMPARE(f.storedPath(), good);
        QCOMPARE(f.form()->stbar()->panelText(1), u"Veritabanı Dosyası = "_s + good);
    }

    void cancellingAtStartupOffersToQuit()
    {
        ArchiveFixture f;
        f.makeSettings(f.path(u"yok.qel"_s));
        f.dialogAnswers = {QString(), QString()};
        f.boxAnswers = {msg::Result::Ok, msg::Result::Cancel};
        QVERIFY(!f.start());
        QCOMPARE(f.dialogCalls, 2);
        QCOMPARE(f.boxTexts(), QStringList({u"Bir dosya seçmelisiniz!"_s, u"Bir dosya seçmelisiniz!"_s}));
        QCOMPARE(f.boxes.first().buttons, msg::Buttons::OkCancel);
        QCOMPARE(f.storedPath(), f.path(u"yok.qel"_s));
    }

    void brokenSettingsFileIsRepaired_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("random bytes") << QByteArray(2048, '\x33');
    }

    void brokenSettingsFileIsRepaired()
    {
        QFETCH(QByteArray, content);
        ArchiveFixture f;
        const QString good = f.makeArchive(u"a.qel"_s, sampleSongs());
        if (!content.isEmpty()) {
            QFile file(f.path(u"nsz.dll"_s));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        f.dialogAnswers = {good};
        QVERIFY(f.start());
        QCOMPARE(f.dialogCalls, 1);
        QCOMPARE(f.storedPath(), good);
        if (!content.isEmpty())
            QVERIFY(QFile::exists(f.path(u"nsz.dll.bozuk"_s)));
    }

    // A settings file broken once more goes beside the one kept the first time.
    void brokenAgainKeepsTheFirstCopy()
    {
        ArchiveFixture f;
        const QString good = f.makeArchive(u"a.qel"_s, sampleSongs());
        const auto write = [&f](const QString &name, const QByteArray &bytes) {
            QFile file(f.path(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write(u"nsz.dll.bozuk"_s, "ilk bozuk dosya");
        write(u"nsz.dll"_s, QByteArray(2048, '\x44'));
        f.dialogAnswers = {good};
        QVERIFY(f.start());
        QCOMPARE(f.storedPath(), good);
        const auto read = [&f](const QString &name) {
            QFile file(f.path(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QCOMPARE(read(u"nsz.dll.bozuk"_s), QByteArray("ilk bozuk dosya"));
        QCOMPARE(read(u"nsz.dll.bozuk2"_s), QByteArray(2048, '\x44'));
    }

    void panelOneChoosesAnotherDatabase()
    {
        ArchiveFixture f;
        const QString first = f.makeArchive(u"bir.qel"_s, sampleSongs());
        const QString second = f.makeArchive(u"iki.qel"_s, {Song{u"Zeytin Dalı"_s, {}}, Song{u"Yemen"_s, {}}});
        f.makeSettings(first);
        QVERIFY(f.start());
        Form1 *w = f.form();
        auto *title = w->findChild<QLineEdit *>(u"Text3"_s);

        // Cancel: nothing changes.
        f.dialogAnswers = {QString()};
        emit w->stbar()->panelClick(1);
        QCOMPARE(g::vtdosyasi, first);
        QCOMPARE(w->data1()->databaseName(), first);

        // A file that is not a database, then cancel: the first stays bound.
        f.dialogAnswers = {f.path(u"nsz.dll"_s) + u"x"_s, QString()};
        emit w->stbar()->panelClick(1);
        QCOMPARE(g::vtdosyasi, first);
        QCOMPARE(f.storedPath(), first);

        // Other panels do nothing.
        const int calls = f.dialogCalls;
        for (int n = 2; n <= 5; ++n)
            emit w->stbar()->panelClick(n);
        QCOMPARE(f.dialogCalls, calls);

        // A pending edit that cannot be saved: told once, and the user is back at the
        // record as typed, on the first database, without the dialog again.
        f.boxes.clear();
        title->setText(u"Bülbülüm"_s);
        const int before = f.dialogCalls;
        f.dialogAnswers = {second, second};
        emit w->stbar()->panelClick(1);
        QCOMPARE(f.dialogCalls, before + 1);
        QCOMPARE(f.boxTexts(), QStringList(u"[ Bülbülüm ] başlığı ile başka bir kayıt zaten var!"_s));
        QCOMPARE(g::vtdosyasi, first);
        QCOMPARE(f.storedPath(), first);
        QCOMPARE(title->text(), u"Bülbülüm"_s);

        // A pending edit of the old database is saved before the swap.
        f.dialogAnswers.clear();
        title->setText(u"Ali Paşa Değişti"_s);
        f.dialogAnswers = {second};
        emit w->stbar()->panelClick(1);
        QCOMPARE(g::vtdosyasi, second);
        QCOMPARE(f.storedPath(), second);
        QCOMPARE(title->text(), u"Zeytin Dalı"_s);
        QCOMPARE(w->stbar()->panelText(1), u"Veritabanı Dosyası = "_s + second);
        auto old = db::Database::open(first);
        auto rs = old->openRecordset(u"Zelvoran"_s);
        QCOMPARE(rs->text(u"Başlık"_s), u"Ali Paşa Değişti"_s);
    }

    // The chosen file's settings cannot be read and the former file is gone too: the
    // user is told, and the window shows no song of either file.
    void switchThatCannotGoBack()
    {
        ArchiveFixture f;
        const QString first = f.makeArchive(u"bir.qel"_s, sampleSongs());
        const QString broken = f.makeArchive(u"kırık.qel"_s, {Song{u"Kırık"_s, {}}});
        {
            auto vt = db::Database::open(broken);
            vt->executeNative(u"DROP TABLE ayarlar"_s);
            vt->executeNative(u"CREATE VIEW ayarlar AS SELECT * FROM yok"_s);
        }
        f.makeSettings(first);
        QVERIFY(f.start());
        Form1 *w = f.form();
        auto *title = w->findChild<QLineEdit *>(u"Text3"_s);
        QVERIFY(!title->text().isEmpty());
        QVERIFY(QFile::remove(first));

        f.boxes.clear();
        f.dialogAnswers = {broken, QString()};
        emit w->stbar()->panelClick(1);
        const QStringList texts = f.boxTexts();
        QCOMPARE(texts.size(), 1);
        QVERIFY2(texts.first().contains(u"Önceki veritabanı da yeniden açılamadı"_s), qPrintable(texts.first()));
        QCOMPARE(g::vtdosyasi, first);
        QVERIFY(!w->data1()->recordset());
        QCOMPARE(title->text(), QString());
    }

    void closingSavesPendingEdit()
    {
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs());
        f.makeSettings(archive);
        QVERIFY(f.start());
        f.form()->findChild<QLineEdit *>(u"Text3"_s)->setText(u"Yeni Başlık"_s);
        f.stop();
        auto vt = db::Database::open(archive);
        QCOMPARE(vt->openRecordset(u"Zelvoran"_s)->text(u"Başlık"_s), u"Yeni Başlık"_s);
    }

    void closingWithRefusedSaveAsks()
    {
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs());
        f.makeSettings(archive);
        QVERIFY(f.start());
        f.form()->findChild<QLineEdit *>(u"Text3"_s)->setText(u"SARI GELİN"_s); // taken, other case
        f.boxAnswers = {msg::Result::No};
        QVERIFY(!f.form()->close());
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.first().buttons, msg::Buttons::YesNo);
        QVERIFY(f.form()->isVisible());
        f.boxAnswers = {msg::Result::Yes};
        QVERIFY(f.form()->close());
    }

    // The dictionary dropped by another program: the next record shows no idioms, not
    // those of the record before.
    void unreadableDictionaryShowsNoIdioms()
    {
        ArchiveFixture f;
        const QList<Song> songs = {{u"Bir"_s, {{u"Sözler"_s, u"bir kara sevda yeter"_s}}},
                                   {u"İki"_s, {{u"Sözler"_s, u"ak gün"_s}}}};
        const QString archive = f.makeArchive(u"Arşiv.qel"_s, songs, {}, {{u"kara sevda"_s, u"aşk"_s}});
        f.makeSettings(archive);
        QVERIFY(f.start());
        Form1 *w = f.form();
        auto *box = w->findChild<QPlainTextEdit *>(u"sozcuk"_s);
        QVERIFY(box);
        QCOMPARE(box->toPlainText().trimmed(), u"[kara sevda : aşk]"_s);
        db::Database::open(archive)->executeNative(u"DROP TABLE sozluk"_s);
        w->data1()->recordset()->moveNext();
        QCOMPARE(w->data1()->recordset()->text(u"Başlık"_s), u"İki"_s);
        QCOMPARE(box->toPlainText(), QString());
        QVERIFY(f.boxes.isEmpty());
    }

    void emptySongsTable()
    {
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"bos.qel"_s, {});
        f.makeSettings(archive);
        QVERIFY(f.start());
        QVERIFY(f.boxes.isEmpty());
        QCOMPARE(f.form()->findChild<QLineEdit *>(u"Text3"_s)->text(), QString());
        QCOMPARE(f.form()->stbar()->panelText(2), u"Kayıt : 0 / 0"_s);
    }

    // Each button opens its window modally, loaded anew at every opening.
    void windowOpeners_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::newRow("about") << u"about"_s << u"frmabout"_s << QString();
        QTest::newRow("add") << u"cmd_ekle"_s << u"frm_ekleme"_s << u"Yeni Kayıt Ekleme Formu"_s;
        QTest::newRow("notes") << u"hlp"_s << u"frm_help"_s << u"Birkaç Not"_s;
        QTest::newRow("forewords") << u"cmdonsoz"_s << u"onsoz"_s << u"Programa Dair Önsözler"_s;
        QTest::newRow("dictionary") << u"szlkac"_s << u"szlk"_s << u"SÖZLÜK"_s;
    }

    void windowOpeners()
    {
        QFETCH(QString, button);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs()));
        QVERIFY(f.start());
        for (int opening = 0; opening < 2; ++opening) {
            QPointer<QWidget> seen;
            bool modal = false;
            QTimer::singleShot(50, [&] {
                seen = QApplication::activeModalWidget();
                modal = seen && seen->isModal();
                if (seen)
                    seen->close();
            });
            QMetaObject::invokeMethod(f.form()->findChild<MyButton *>(button), "Click");
            QVERIFY(modal);
            QVERIFY(seen.isNull()); // closing unloads it
        }
        QTimer::singleShot(50, [&] {
            QWidget *w = QApplication::activeModalWidget();
            QCOMPARE(w ? w->objectName() : QString(), window);
            QCOMPARE(w ? w->windowTitle() : QString(), caption);
            if (w)
                w->close();
        });
        QMetaObject::invokeMethod(f.form()->findChild<MyButton *>(button), "Click");
        // The main window is left as it was.
        QCOMPARE(f.form()->stbar()->panelText(2), u"Kayıt : 1 / 5"_s);
    }

    // A layout that lacks a control the window needs makes no half-wired window: the start
    // stops with one message naming what is wrong.
    void layoutLackingAControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("change"); // "drop", or the kind it is given
        QTest::newRow("a slot list missing") << u"sec3"_s << u"drop"_s;
        QTest::newRow("a slot list of another kind") << u"sec3"_s << u"label"_s;
        QTest::newRow("a grouping missing") << u"grnm_soz"_s << u"drop"_s;
        QTest::newRow("a kind the loader cannot make") << u"Picture1"_s << u"nosuchkind"_s;
    }

    void layoutLackingAControl()
    {
        QFETCH(QString, control);
        QFETCH(QString, change);
        appwindows::initResources();
        QFile sound(u":/forms/Form1.json"_s);
        QVERIFY(sound.open(QIODevice::ReadOnly));
        QJsonObject layout = QJsonDocument::fromJson(sound.readAll()).object();
        QJsonArray controls;
        for (const QJsonValue &v : layout.value(u"controls"_s).toArray()) {
            QJsonObject c = v.toObject();
            if (c.value(u"name"_s).toString() == control) {
                if (change == u"drop"_s)
                    continue;
                c.insert(u"kind"_s, change);
            }
            controls.append(c);
        }
        layout.insert(u"controls"_s, controls);
        QTemporaryDir dir;
        QFile broken(dir.filePath(u"Form1.json"_s));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QJsonDocument(layout).toJson());
        broken.close();

        DialogAnswers answers;
        Form1 form(broken.fileName());
        QVERIFY(!form.load());
        QCOMPARE(answers.boxes.size(), 1);
        QCOMPARE(answers.boxes.first().icon, msg::Icon::Critical);
        QVERIFY2(answers.boxTexts().first().contains(control), qPrintable(answers.boxTexts().first()));
        QVERIFY(!form.isVisible());
    }

    void resizeSetsPanelWidths()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, sampleSongs()));
        QVERIFY(f.start());
        Form1 *w = f.form();
        w->resize(900, 700);
        QTest::qWait(10);
        const double outer = w->frameGeometry().width() * 15.0;
        QCOMPARE(w->stbar()->panelWidth(1), int(std::nearbyint(outer / 43.5)));
        QCOMPARE(w->stbar()->panelWidth(2), int(std::nearbyint(outer / 105.0)));
        QCOMPARE(w->stbar()->panelWidth(4), 75);
        QCOMPARE(w->findChild<QWidget *>(u"Frame4"_s)->geometry().topLeft(), QPoint(728, 56));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
