// Builds the sample archive from the text sources, or a large generated archive.
//   qel-ornek DATA_DIR OUT_DIR                 OUT_DIR/ornek.qel and OUT_DIR/nsz.dll
//   qel-ornek --generate N OUT.qel [DEĞER]     N songs, up to DEĞER values per grouped field

#include "samplearchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "qel-ornek: %s\n", qPrintable(message));
    return 1;
}

int usage()
{
    std::fprintf(stderr, "%s",
                 qPrintable(u"Kullanım: qel-ornek VERİ_KLASÖRÜ ÇIKTI_KLASÖRÜ\n"
                            "          qel-ornek --generate TÜRKÜ_SAYISI ÇIKTI.qel [ALAN_BAŞINA_DEĞER]\n"_s));
    return 2;
}

bool readCount(const QString &text, int *out)
{
    bool ok = false;
    *out = text.toInt(&ok);
    return ok && *out > 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString error;

    if (!args.isEmpty() && args.first() == u"--generate"_s) {
        if (args.size() != 3 && args.size() != 4)
            return usage();
        int songs = 0;
        int distinct = 300;
        if (!readCount(args.at(1), &songs))
            return fail(u"Türkü sayısı pozitif bir tamsayı olmalı: %1"_s.arg(args.at(1)));
        if (args.size() == 4 && !readCount(args.at(3), &distinct))
            return fail(u"Alan başına değer sayısı pozitif bir tamsayı olmalı: %1"_s.arg(args.at(3)));
        if (!sample::generateArchive(args.at(2), songs, distinct, &error))
            return fail(error);
        return 0;
    }

    if (args.size() != 2 || args.first().startsWith(u'-'))
        return usage();
    const QString dataDir = args.at(0);
    const QDir out(args.at(1));
    if (!out.mkpath(u"."_s))
        return fail(u"%1 klasörü oluşturulamadı."_s.arg(QDir::toNativeSeparators(out.path())));
    const QString archive = QFileInfo(out.filePath(u"ornek.qel"_s)).absoluteFilePath();
    if (!sample::buildArchive(dataDir, archive, &error))
        return fail(error);
    if (!sample::buildSettings(out.filePath(u"nsz.dll"_s), QDir::toNativeSeparators(archive), dataDir, &error))
        return fail(error);
    return 0;
}
