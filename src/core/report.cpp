#include "report.h"

#include "appwindows.h"
#include "credits.h"
#include "database.h"
#include "recordset.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace report {

std::vector<ReportRow> loadRows(const QString &databasePath, const QString &sql, QString *refusal)
{
    auto db = db::Database::open(databasePath);
    db->setLikeDialect(db::LikeDialect::Ansi);
    auto rs = db->openRecordset(sql);
    const QStringList missing = reportquery::missingReportFields(rs->fieldNames());
    if (!missing.isEmpty()) {
        if (refusal)
            *refusal = u"Rapor için sorguda şu alanlar olmalı: "_s + missing.join(u", "_s);
        return {};
    }
    std::vector<ReportRow> rows;
    rows.reserve(size_t(rs->recordCount()));
    // A file that cannot be written keeps its stored credits lines, which may be stale:
    // the lines are then built from the row's own fields where the statement reads them.
    const QStringList names = rs->fieldNames();
    const bool freshCredits = db->isReadOnly() && names.contains(u"KaynakKişi"_s) && names.contains(u"Derleyen"_s)
        && names.contains(u"Söz"_s) && names.contains(u"Müzik"_s);
    db::Database::ReadTransaction read(*db);
    for (; !rs->eof(); rs->moveNext()) {
        const QString info = freshCredits ? credits::line(rs->field(u"KaynakKişi"_s), rs->field(u"Derleyen"_s),
                                                          rs->field(u"Söz"_s), rs->field(u"Müzik"_s)).toString()
                                          : rs->text(u"girişmodu"_s);
        rows.push_back({rs->text(u"Başlık"_s), rs->text(u"Yöresi"_s), info, rs->text(u"Sözler"_s)});
    }
    return rows;
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
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [&pages](QPrinter *p) {
                         QPainter painter(p);
                         pages.render(painter, p);
                     });
    appwindows::runModal(dialog);
    return true;
}

} // namespace report
