#include "report.h"

#include "appwindows.h"
#include "credits.h"
#include "database.h"
#include "reportstatement.h"
#include "turkish.h"

#include <QLocale>
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
        bool freshCredits = false;
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
            freshCredits = db->isReadOnly() && std::ranges::find(creditFields, -1) == creditFields.end();
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
            if (progress) {
                progress->rows.store(qint64(out.rows.size()), std::memory_order_relaxed);
                return !progress->stop.load(std::memory_order_relaxed);
            }
            return true;
        };
        db->readForward(sql, names, row);
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
