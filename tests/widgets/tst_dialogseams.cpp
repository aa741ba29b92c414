#include "filedialog.h"
#include "messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(msg::Buttons)
Q_DECLARE_METATYPE(msg::Result)

namespace {

QString nul()
{
    return QString(QChar(u'\0'));
}

// Runs f on the modal dialog once it is open.
template <typename Dialog>
void whenOpen(std::function<void(Dialog *)> f)
{
    QTimer::singleShot(0, qApp, [f] {
        auto *d = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        QVERIFY(d);
        f(d);
    });
}

} // namespace

class TestDialogSeams : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void handlerAnswersTheBox();
    void realBox_data();
    void realBox();

    void nameFilters_data();
    void nameFilters();
    void handlerAnswersTheFileDialogs();
    void realOpenDialogAcceptsANewName();
};

void TestDialogSeams::initTestCase()
{
    QApplication::setApplicationDisplayName(u"Qel Zelvoran Veritabanı Uygulaması"_s);
}

void TestDialogSeams::cleanup()
{
    msg::clearHandler();
    fileopen::clearHandler();
}

void TestDialogSeams::handlerAnswersTheBox()
{
    QList<msg::Request> asked;
    msg::setHandler([&](const msg::Request &r) {
        asked << r;
        return msg::Result::No;
    });
    const auto answer = msg::box(u"[ Ali ] Kaydı silinecek. Emin misiniz?"_s, msg::Icon::None, msg::Buttons::YesNo);
    QCOMPARE(answer, msg::Result::No);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.at(0).text, u"[ Ali ] Kaydı silinecek. Emin misiniz?"_s);
    QCOMPARE(asked.at(0).icon, msg::Icon::None);
    QCOMPARE(asked.at(0).buttons, msg::Buttons::YesNo);

    msg::box(u"Başlık bölümünde Ayraç (') karakteri kullanılamaz!"_s, msg::Icon::Critical);
    QCOMPARE(asked.at(1).icon, msg::Icon::Critical);
    QCOMPARE(asked.at(1).buttons, msg::Buttons::Ok);
}

void TestDialogSeams::realBox_data()
{
    QTest::addColumn<msg::Buttons>("buttons");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("press");
    QTest::addColumn<msg::Result>("result");

    QTest::newRow("yes/no, no") << msg::Buttons::YesNo << QStringList() << QStringList{u"Evet"_s, u"Hayır"_s} << 1
                                << msg::Result::No;
    QTest::newRow("ok/cancel relabelled, second")
        << msg::Buttons::OkCancel << QStringList{u"Tamam"_s, u"Programdan Çık"_s}
        << QStringList{u"Tamam"_s, u"Programdan Çık"_s} << 1 << msg::Result::Cancel;
    QTest::newRow("ok") << msg::Buttons::Ok << QStringList() << QStringList{u"Tamam"_s} << 0 << msg::Result::Ok;
    QTest::newRow("yes/no/cancel, yes") << msg::Buttons::YesNoCancel << QStringList()
                                        << QStringList{u"Evet"_s, u"Hayır"_s, u"İptal"_s} << 0 << msg::Result::Yes;
}

void TestDialogSeams::realBox()
{
    QFETCH(msg::Buttons, buttons);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, shown);
    QFETCH(int, press);
    QFETCH(msg::Result, result);

    QString title;
    QString text;
    QStringList labels;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenOpen<QMessageBox>([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        QAbstractButton *target = nullptr;
        for (const QString &label : shown) {
            for (QAbstractButton *b : box->buttons()) {
                if (b->text() == label) {
                    labels << label;
                    if (labels.size() - 1 == press)
                        target = b;
                }
            }
        }
        QVERIFY(target);
        target->click();
    });
    const auto answer = msg::box(u"Bir dosya seçmelisiniz!"_s, msg::Icon::Exclamation, buttons, texts);
    QCOMPARE(answer, result);
    QCOMPARE(title, u"Qel Zelvoran Veritabanı Uygulaması"_s);
    QCOMPARE(text, u"Bir dosya seçmelisiniz!"_s);
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(labels, shown);
}

void TestDialogSeams::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("song database") << u"Türkü Veritabanı (*.qel)"_s + nul() + u"*.qel"_s + nul()
                                   << QStringList{u"Türkü Veritabanı (*.qel)"_s};
    QTest::newRow("audio files, patterns not in the description")
        << u"MP3 Dosyaları"_s + nul() + u"*.mp3"_s + nul() + u"Ses"_s + nul() + u"*.wav;*.wma"_s + nul()
        << QStringList{u"MP3 Dosyaları (*.mp3)"_s, u"Ses (*.wav *.wma)"_s};
    QTest::newRow("description naming other patterns")
        << u"Hepsi (*.*)"_s + nul() + u"*.mp3"_s + nul() << QStringList{u"Hepsi (*.*) (*.mp3)"_s};
    QTest::newRow("empty") << QString() << QStringList();
}

void TestDialogSeams::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(fileopen::nameFilters(filter), expected);
}

void TestDialogSeams::handlerAnswersTheFileDialogs()
{
    QTemporaryDir dir;
    QList<fileopen::Request> asked;
    fileopen::setHandler([&](const fileopen::Request &r) {
        asked << r;
        return r.kind == fileopen::Request::Kind::Folder ? dir.path() : QString();
    });
    const QString filter = u"Türkü Veritabanı (*.qel)"_s + nul() + u"*.qel"_s + nul();
    QCOMPARE(fileopen::getOpenFileName(u"/yok/böyle/bir/klasör"_s, filter, u"Dosya Aç"_s), QString());
    QCOMPARE(fileopen::getFolder(u"Müzik Klasörü"_s, dir.path()), dir.path());

    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.at(0).kind, fileopen::Request::Kind::OpenFile);
    QCOMPARE(asked.at(0).title, u"Dosya Aç"_s);
    QCOMPARE(asked.at(0).startFolder, QDir::homePath()); // the absent folder falls back
    QCOMPARE(asked.at(0).nameFilters, QStringList{u"Türkü Veritabanı (*.qel)"_s});
    QCOMPARE(asked.at(1).kind, fileopen::Request::Kind::Folder);
    QCOMPARE(asked.at(1).startFolder, dir.path());
}

void TestDialogSeams::realOpenDialogAcceptsANewName()
{
    QTemporaryDir dir;
    QString title;
    QStringList filters;
    QString folder;
    bool native = true;
    whenOpen<QFileDialog>([&](QFileDialog *d) {
        title = d->windowTitle();
        filters = d->nameFilters();
        folder = d->directory().absolutePath();
        native = !d->testOption(QFileDialog::DontUseNativeDialog);
        d->selectFile(u"yeni arşiv.qel"_s);
        QMetaObject::invokeMethod(d, "accept");
    });
    const QString chosen = fileopen::getOpenFileName(
        dir.path(), u"Türkü Veritabanı (*.qel)"_s + nul() + u"*.qel"_s + nul(), u"Dosya Aç"_s);
    QCOMPARE(title, u"Dosya Aç"_s);
    QCOMPARE(filters, QStringList{u"Türkü Veritabanı (*.qel)"_s});
    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    QVERIFY(!native);
    QCOMPARE(chosen, QDir(dir.path()).filePath(u"yeni arşiv.qel"_s));

    whenOpen<QFileDialog>([](QFileDialog *d) { d->reject(); });
    QCOMPARE(fileopen::getOpenFileName(dir.path(), QString(), u"Dosya Aç"_s), QString());
}

QTEST_MAIN(TestDialogSeams)
#include "tst_dialogseams.moc"
