// The report road on a generated archive: the credits pass, the preview's first page of
// 1,000 songs, and the whole archive's report written to PDF against its floor (the same
// texts drawn at fixed places, nothing measured).
//   bench_report [DIR] [SONGS]      (defaults /tmp/qel-bench, 30000)
//   bench_report --show DIR         the query window on DIR's archive, for a screenshot
//   bench_report --preview DIR N    the preview of the first N songs, for a screenshot
//   bench_report --huge DIR MB      one song whose lyrics, title, region and credits hold
//                                   a line of MB megabytes (words, then one unbroken run)
//   bench_report --limit DIR SHAPE  the largest report the program makes, read and laid out in
//                                   the preview; SHAPE songs (the most songs, 40 lines each),
//                                   long (the most text, in songs of a megabyte) or endless
//                                   (a statement without end, cancelled after 3 s)
#include "appfonts.h"
#include "benchutil.h"
#include "credits.h"
#include "formkinds.h"
#include "frmsorgu.h"
#include "globals.h"
#include "report.h"
#include "songreport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kAll = u"SELECT Başlık, Yöresi, girişmodu, Sözler FROM Zelvoran ORDER By Başlık"_s;
const reportquery::Margins kMargins{1134, 567, 1134, 1134};

void pdfPrinter(QPrinter &printer, const QString &file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    QString why;
    report::setUpPrinter(printer, kMargins, QPageLayout::Portrait, &why);
}

// Each row's texts at fixed places, the lyrics one line each, a new page every four songs.
void floor(const std::vector<ReportRow> &rows, QPrinter &printer)
{
    QPainter p(&printer);
    const double s = printer.logicalDpiY() / 1440.0;
    int onPage = 0;
    for (const ReportRow &r : rows) {
        if (onPage == 4) {
            printer.newPage();
            onPage = 0;
        }
        const double y = onPage * 3000 * s;
        p.setFont(SongReport::titleFont());
        p.drawText(QPointF(0, y + 400 * s), r.baslik);
        p.setFont(SongReport::infoFont());
        p.drawText(QPointF(0, y + 600 * s), r.yoresi);
        p.drawText(QPointF(1304 * s, y + 600 * s), r.info);
        p.setFont(SongReport::lyricsFont());
        double ly = y + 900 * s;
        for (const QString &line : r.sozler.split(u'\n')) {
            p.drawText(QPointF(0, ly), line);
            ly += 180 * s;
        }
        ++onPage;
    }
}

double seconds(QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e9;
}

// One line of about `chars` characters: Turkish words, or one run without a break.
QString hugeLine(qsizetype chars, bool words)
{
    const QString word = words ? u"dağlar dağlar kurban olam "_s : u"dağlardağlarkurbanolam"_s;
    QString line;
    line.reserve(chars + word.size());
    while (line.size() < chars)
        line += word;
    return line;
}

void huge(const QString &dir, double megabytes)
{
    QDir().mkpath(dir);
    const auto chars = qsizetype(megabytes * 1024 * 1024);
    for (const bool words : {true, false}) {
        const QString line = hugeLine(chars, words);
        QElapsedTimer t;
        t.start();
        std::vector<ReportRow> rows = {{u"Başlık"_s, u"Yöre"_s, QString(), line}};
        QPrinter pdf(QPrinter::HighResolution);
        pdfPrinter(pdf, QDir(dir).filePath(u"uzun.pdf"_s));
        const int pages = SongReport(rows).render(&pdf);
        const double lyrics = seconds(t);
        // The preview's printer paints every page again for its pictures.
        const auto previewOf = [&](const std::vector<ReportRow> &songs) {
            QElapsedTimer clock;
            clock.start();
            QPrinter on(QPrinter::HighResolution);
            QString unused;
            report::setUpPrinter(on, kMargins, QPageLayout::Portrait, &unused);
            QPrintPreviewDialog preview(&on);
            const SongReport report(songs);
            QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&](QPrinter *p) {
                QPainter painter(p);
                report.render(painter, p);
            });
            double at = 0;
            QTimer::singleShot(0, &preview, [&] {
                at = seconds(clock);
                preview.close();
            });
            preview.exec();
            return at;
        };
        const double shown = previewOf(rows);
        const double regionShown = previewOf({{u"Başlık"_s, line, QString(), u"kısa"_s}});
        const double creditsShown = previewOf({{u"Başlık"_s, u"Yöre"_s, line, u"kısa"_s}});
        t.restart();
        rows = {{line, line, line, u"kısa"_s}};
        QPrinter boxes(QPrinter::HighResolution);
        pdfPrinter(boxes, QDir(dir).filePath(u"kutular.pdf"_s));
        SongReport(rows).render(&boxes);
        const double heads = seconds(t);
        const auto [rss, hwm] = memoryMiB();
        Q_UNUSED(rss);
        std::printf("%.1f MB line of %s: lyrics to PDF %.2f s (%d pages), preview shown %.2f s; "
                    "region alone shown %.2f s, credits alone shown %.2f s; "
                    "title, region and credits holding it, to PDF %.2f s; peak %.0f MiB\n",
                    megabytes, words ? "words" : "one unbroken run", lyrics, pages, shown, regionShown, creditsShown,
                    heads, hwm);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    appfonts::install();
    controls::registerFormKinds();
    const QStringList args = app.arguments();
    QElapsedTimer t;

    if (args.size() > 3 && args.at(1) == u"--huge"_s) {
        huge(args.at(2), args.at(3).toDouble());
        return 0;
    }
    if (args.size() > 2 && (args.at(1) == u"--show"_s || args.at(1) == u"--preview"_s)) {
        const int n = args.size() > 3 ? args.at(3).toInt() : 40;
        const QString archive = prepareArchive(args.at(2), std::max(n, 40), 300);
        g::vt = db::Database::open(archive);
        g::vtdosyasi = archive;
        if (args.at(1) == u"--show"_s) {
            frmsorgu::show(nullptr);
            return 0;
        }
        QString why;
        const auto rows = report::loadRows(archive, kAll).rows;
        report::preview(nullptr, rows, kMargins, QPageLayout::Portrait, &why);
        return 0;
    }

    if (args.size() > 3 && args.at(1) == u"--limit"_s) {
        const QString archive = prepareArchive(args.at(2), 40, 40);
        g::vt = db::Database::open(archive);
        g::vtdosyasi = archive;
        const QString shape = args.at(3);
        // A line of 38 letters and its line break for every 20 bytes of zeroblob.
        const QString lines = u"replace(hex(zeroblob(%1)), '0000000000000000000000000000000000000000', "
                              u"'Dağlar dağlar kurban olam yar yar yar' || char(10))"_s;
        const QString rows = shape == u"long"_s ? u"31"_s : u"19999"_s;
        const QString lyric = lines.arg(shape == u"long"_s ? 512 * 1024 : 800);
        QString sql = u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c%1) SELECT 'Türkü ' || x AS "
                      u"Başlık, 'Yöre' AS Yöresi, 'K:Ali  D:Veli' AS girişmodu, %2 AS Sözler FROM c"_s.arg(
                          shape == u"endless"_s ? QString() : u" LIMIT "_s + rows, lyric);
        if (shape == u"endless"_s)
            sql += u" ORDER BY x"_s;
        t.start();
        double stopped = 0;
        QTimer::singleShot(3000, [&] {
            if (auto *d = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget())) {
                t.restart();
                d->cancel();
            }
        });
        const report::Loaded loaded = report::loadRowsShowingProgress(nullptr, archive, sql);
        stopped = seconds(t);
        const double read = seconds(t);
        std::printf("%s: %zu rows read in %.2f s%s%s\n", qPrintable(shape), loaded.rows.size(), read,
                    loaded.cancelled ? qPrintable(u", cancelled, stopped %1 s after İptal"_s.arg(stopped, 0, 'f', 3))
                                     : "",
                    loaded.failure ? qPrintable(u", "_s + *loaded.failure) : "");
        if (!loaded.rows.empty()) {
            int pages = 0;
            QTimer::singleShot(0, [&] {
                if (auto *w = QApplication::activeModalWidget()) {
                    if (auto *preview = w->findChild<QPrintPreviewWidget *>())
                        pages = preview->pageCount();
                    w->close();
                }
            });
            t.restart();
            QString why;
            report::preview(nullptr, loaded.rows, kMargins, QPageLayout::Portrait, &why);
            std::printf("preview: %d pages in %.2f s\n", pages, seconds(t));
        }
        std::printf("peak %.0f MiB\n", memoryMiB().second);
        return 0;
    }

    const QString dir = args.size() > 1 ? args.at(1) : u"/tmp/qel-bench"_s;
    const int songs = args.size() > 2 ? args.at(2).toInt() : 30000;
    const QString archive = prepareArchive(dir, songs, 300);
    const QString small = prepareArchive(dir, 1000, 300);

    {
        auto vt = db::Database::open(archive);
        vt->execute(u"UPDATE Zelvoran SET girişmodu = Null"_s);
        t.start();
        credits::rewriteAll(*vt);
        const double fresh = seconds(t);
        t.restart();
        credits::rewriteAll(*vt);
        std::printf("credits pass, %d songs: %.3f s (all lines new), %.3f s (none changed)\n", songs, fresh,
                    seconds(t));
    }

    {
        auto vt = db::Database::open(small);
        g::vt = vt;
        g::vtdosyasi = small;
        t.start();
        credits::rewriteAll(*vt);
        QString why;
        const auto rows = report::loadRows(small, kAll).rows;
        QPrinter printer(QPrinter::HighResolution);
        report::setUpPrinter(printer, kMargins, QPageLayout::Portrait, &why);
        QPrintPreviewDialog dialog(&printer);
        const SongReport pages(rows);
        double shown = 0;
        int shownPages = 0;
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter *p) {
            QPainter painter(p);
            pages.render(painter, p);
        });
        QTimer::singleShot(0, &dialog, [&] {
            shown = seconds(t);
            if (auto *w = dialog.findChild<QPrintPreviewWidget *>())
                shownPages = w->pageCount();
            dialog.close();
        });
        dialog.exec();
        std::printf("preview of %zu songs (%d pages laid out), first page shown: %.3f s\n", rows.size(), shownPages,
                    shown);
        g::vt.reset();
    }

    {
        QString why;
        t.start();
        const auto rows = report::loadRows(archive, kAll).rows;
        const double load = seconds(t);
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, QDir(dir).filePath(u"rapor.pdf"_s));
        t.restart();
        const int n = SongReport(rows).render(&printer);
        const double layout = seconds(t);
        QPrinter floorPrinter(QPrinter::HighResolution);
        pdfPrinter(floorPrinter, QDir(dir).filePath(u"taban.pdf"_s));
        t.restart();
        floor(rows, floorPrinter);
        const double base = seconds(t);
        const auto [rss, hwm] = memoryMiB();
        std::printf("report of %zu songs to PDF: rows read %.2f s, %d pages in %.2f s; floor %.2f s (%.2fx); "
                    "peak %.0f MiB\n",
                    rows.size(), load, n, layout, base, layout / base, hwm);
        Q_UNUSED(rss);
    }
    return 0;
}
