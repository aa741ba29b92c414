#include "qttranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

QString qtFile()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_tr.qm"_s;
}

QStringList yesNoTexts()
{
    QMessageBox box(QMessageBox::Question, u"t"_s, u"?"_s, QMessageBox::Yes | QMessageBox::No);
    return {box.button(QMessageBox::Yes)->text().remove(u'&'), box.button(QMessageBox::No)->text().remove(u'&')};
}

void removeTranslators()
{
    for (QTranslator *t : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

} // namespace

class TestQtTranslations : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { removeTranslators(); }

    void missingFileLeavesEnglish()
    {
        QTemporaryDir empty;
        QVERIFY(!qttranslations::install(empty.path()));
        QCOMPARE(yesNoTexts(), (QStringList{u"Yes"_s, u"No"_s}));
        QVERIFY(QCoreApplication::instance()->findChildren<QTranslator *>().isEmpty());
    }

    void fileThereGivesTurkish()
    {
        QVERIFY2(QFile::exists(qtFile()), "qt6-translations-l10n is not installed");
        QTemporaryDir dir;
        QVERIFY(QFile::copy(qtFile(), dir.filePath(u"qtbase_tr.qm"_s)));
        QVERIFY(qttranslations::install(dir.path()));
        QCOMPARE(yesNoTexts(), (QStringList{u"Evet"_s, u"Hayır"_s}));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"İptal"_s);
    }

    void defaultFolder()
    {
        QVERIFY(qttranslations::install());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"İptal"_s);
    }
};

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
