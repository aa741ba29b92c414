#pragma once

#include "database.h"
#include "samplearchive.h"
#include "schema.h"
#include "songdatabase.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>

// A generated archive and a settings file pointing at it, made once in the given folder.
inline QString prepareArchive(const QString &dir, int songs, int distinct)
{
    QDir().mkpath(dir);
    const QString archive = QDir(dir).filePath(QStringLiteral("bench-%1-%2.qel").arg(songs).arg(distinct));
    if (!QFile::exists(archive)) {
        QString error;
        if (!sample::generateArchive(archive, songs, distinct, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
    }
    const QString settings = QDir(dir).filePath(QStringLiteral("nsz.dll"));
    QFile::remove(settings);
    auto ayar = db::Database::create(settings);
    schema::createSettingsDatabase(*ayar, archive);
    songdb::setSettingsPath(settings);
    return archive;
}

// Resident and peak memory in MiB, from /proc.
inline QPair<double, double> memoryMiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    double rss = 0, hwm = 0;
    if (f.open(QIODevice::ReadOnly)) {
        QTextStream in(&f);
        for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
            const auto parts = line.simplified().split(u' ');
            if (parts.size() >= 2 && parts[0] == QStringLiteral("VmRSS:"))
                rss = parts[1].toDouble() / 1024.0;
            if (parts.size() >= 2 && parts[0] == QStringLiteral("VmHWM:"))
                hwm = parts[1].toDouble() / 1024.0;
        }
    }
    return {rss, hwm};
}
