#include "report.h"

#include "appwindows.h"
#include "credits.h"
#include "database.h"
#include "reportstatement.h"
#include "turkish.h"

#include <QLocale>
#include <QMultiHash>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace report {

namespace {

// The field's place among the statement's columns, as the recordset finds it: the spelling
// first, then without regard to case; -1 when it is not there.
int fieldIndex(const QStringList &fields, const QString &name)
{
    const int exact = int(fields.indexOf(name));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < fields.size(); ++i) {
        if (turkish::equal(fields.at(i), name))
            return i;
    }
    return -1;
}

QString tooBig()
{
    return u"Rapor çok büyük: en çok %1 türkü ya da %2 MB metin içerebilir. "
           u"Ölçütleri daraltıp yeniden deneyin."_s.arg(QLocale(QLocale::Turkish).toString(kMaxRows))
               .arg(kMaxTextBytes / (1024 * 1024));
}

// What a report row shows of its song, as the statement gave it.
struct Shown {
    QVariant baslik, yoresi, sozler, girismodu;
};

// On a file that cannot be written the stored credits lines may be stale. A statement that
// reads the four credit fields has its lines built from them; for one that does not, a row
// takes the line built from the song whose title, region, lyrics and stored line it shows,
// read in one pass over the songs. A row that fits no song, or songs whose lines differ,
// keeps what the statement gave.
void freshenCredits(db::Database &db, std::vector<ReportRow> &rows, const std::vector<Shown> &shown)
{
    QMultiHash<QString, size_t> byTitle;
    for (size_t i = 0; i < shown.size(); ++i)
        byTitle.insert(shown[i].baslik.toString(), i);
    enum class Fit { None, One, Several };
    std::vector<std::pair<Fit, QString>> fresh(rows.size(), {Fit::None, QString()});
    const auto same = [](const QVariant &a, const QVariant &b) {
        return a.isNull() == b.isNull() && a.toString() == b.toString();
    };
    const auto song = [&](const QVariantList &v) {
        for (auto it = byTitle.constFind(v[0].toString()); it != byTitle.cend() && it.key() == v[0].toString(); ++it) {
            const Shown &s = shown[*it];
            if (!same(s.baslik, v[0]) || !same(s.yoresi, v[1]) || !same(s.sozler, v[2]) || !same(s.girismodu, v[3]))
                continue;
            const QString line = credits::line(v[4], v[5], v[6], v[7]).toString();
            auto &[fit, text] = fresh[*it];
            if (fit == Fit::None)
                fresh[*it] = {Fit::One, line};
            else if (text != line)
                fit = Fit::Several;
        }
        return true;
    };
    db.readForward(
        u"SELECT Başlık, Yöresi, Sözler, girişmodu, KaynakKişi, Derleyen, Söz, Müzik FROM Zelvoran"_s,
        [](const QStringList &) {}, song);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (fresh[i].first == Fit::One)
            rows[i].info = fresh[i].second;
    }
}

} // namespace

QString failureText(const db::Error &e)
{
    if (e.number() == db::InvalidOperation)
        return u"Bu komut kayıtları değiştirir. "_s + reportstatement::refusal();
    return e.description();
}

Loaded loadRows(const QString &databasePath, const QString &sql, Progress *progress)
{
    Loaded out;
    bool full = false;
    try {
        auto db = db::Database::open(databasePath);
        db->setLikeDialect(db::LikeDialect::Ansi);
        if (progress)
            db->setStopFlag(&progress->stop);
        int baslik = -1, yoresi = -1, girismodu = -1, sozler = -1;
        std::array<int, 4> creditFields{-1, -1, -1, -1};
        bool freshCredits = false, lookUpCredits = false;
        std::vector<Shown> shown;
        const auto names = [&](const QStringList &fields) {
            const QStringList missing = reportquery::missingReportFields(fields);
            if (!missing.isEmpty())
                out.failure = u"Rapor için sorguda şu alanlar olmalı: "_s + missing.join(u", "_s);
            baslik = fieldIndex(fields, u"Başlık"_s);
            yoresi = fieldIndex(fields, u"Yöresi"_s);
            girismodu = fieldIndex(fields, u"girişmodu"_s);
            sozler = fieldIndex(fields, u"Sözler"_s);
            creditFields = {fieldIndex(fields, u"KaynakKişi"_s), fieldIndex(fields, u"Derleyen"_s),
                            fieldIndex(fields, u"Söz"_s), fieldIndex(fields, u"Müzik"_s)};
            // A file that cannot be written keeps its stored credits lines, which may be stale:
            // the lines are then built from the row's own fields where the statement reads them.
            const bool creditsRead = std::ranges::find(creditFields, -1) == creditFields.end();
            freshCredits = db->isReadOnly() && creditsRead;
            lookUpCredits = db->isReadOnly() && !creditsRead;
        };
        qint64 textBytes = 0;
        const auto row = [&](const QVariantList &v) {
            if (out.failure)
                return false;
            const QString info = freshCredits ? credits::line(v[creditFields[0]], v[creditFields[1]],
                                                              v[creditFields[2]], v[creditFields[3]])
                                                    .toString()
                                              : v[girismodu].toString();
            ReportRow r{v[baslik].toString(), v[yoresi].toString(), info, v[sozler].toString()};
            textBytes += 2 * (r.baslik.size() + r.yoresi.size() + r.info.size() + r.sozler.size());
            if (qint64(out.rows.size()) >= kMaxRows || textBytes > kMaxTextBytes) {
                full = true;
                return false;
            }
            out.rows.push_back(std::move(r));
            if (lookUpCredits)
                shown.push_back({v[baslik], v[yoresi], v[sozler], v[girismodu]});
            if (progress) {
                progress->rows.store(qint64(out.rows.size()), std::memory_order_relaxed);
                return !progress->stop.load(std::memory_order_relaxed);
            }
            return true;
        };
        db->readForward(sql, names, row);
        if (lookUpCredits && !out.failure && !full && !(progress && progress->stop))
            freshenCredits(*db, out.rows, shown);
    } catch (const db::Error &e) {
        if (e.number() == db::Interrupted && progress && progress->stop)
            out.cancelled = true;
        else
            out.failure = failureText(e);
    } catch (const std::bad_alloc &) {
        out.failure = tooBig();
    }
    if (progress && progress->stop)
        out.cancelled = true;
    if (full)
        out.failure = tooBig();
    if (out.failure || out.cancelled)
        std::vector<ReportRow>().swap(out.rows);
    return out;
}

QSizeF pageTwips(QPageLayout::Orientation orientation)
{
    const QSizeF points = QPageSize(QPageSize::A4).size(QPageSize::Point);
    const QSizeF twips = points * 20;
    return orientation == QPageLayout::Landscape ? twips.transposed() : twips;
}

bool setUpPrinter(QPrinter &printer, const reportquery::Margins &m, QPageLayout::Orientation orientation, QString *why)
{
    // Twips are twentieths of a point.
    const QMarginsF margins(m.left / 20.0, m.top / 20.0, m.right / 20.0, m.bottom / 20.0);
    const QPageLayout layout(QPageSize(QPageSize::A4), orientation, margins, QPageLayout::Point);
    // The printer keeps its old layout, without a word, when it does not take the new one.
    if (!printer.setPageLayout(layout) || printer.pageLayout().margins(QPageLayout::Point) != margins) {
        if (why)
            *why = u"Yazıcı bu kenar boşluklarını kabul etmedi; daha geniş boşluklar deneyin."_s;
        return false;
    }
    return true;
}

bool preview(QWidget *parent, const std::vector<ReportRow> &rows, const reportquery::Margins &margins,
             QPageLayout::Orientation orientation, QString *why)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!setUpPrinter(printer, margins, orientation, why))
        return false;
    auto *dialog = new QPrintPreviewDialog(&printer, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(u"Önizleme"_s);
    const SongReport pages(rows);
    // Laid out anew from the printer's page layout whenever the user changes paper or
    // orientation in the preview.
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [&pages](QPrinter *p) {
        QPainter painter(p);
        pages.render(painter, p);
    });
    appwindows::runModal(dialog);
    return true;
}

} // namespace report
