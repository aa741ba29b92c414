#pragma once

#include "reportquery.h"
#include "songreport.h"

#include <QPageLayout>
#include <QString>
#include <vector>

class QPrinter;
class QWidget;

// The report road after the query window: its rows, read through a connection of its
// own in the provider's dialect (% and _ in Like), and its pages on a printer.
namespace report {

// The rows of the statement, in its order, from the song database at this path. A statement
// that writes is refused by the engine (InvalidOperation). Throws db::Error; a statement
// without the report's fields gives the message that names them in *refusal.
std::vector<ReportRow> loadRows(const QString &databasePath, const QString &sql, QString *refusal);

// A4 with these margins and this orientation; false with the reason when the printer keeps
// other margins than the ones asked for.
bool setUpPrinter(QPrinter &printer, const reportquery::Margins &margins, QPageLayout::Orientation orientation,
                  QString *why);

// Page size in twips of the report's paper (A4) in this orientation.
QSizeF pageTwips(QPageLayout::Orientation orientation);

// The report in a modal print preview captioned "Önizleme", from which the user prints.
// Returns when the preview closes; false with the reason when the printer refused the margins.
bool preview(QWidget *parent, const std::vector<ReportRow> &rows, const reportquery::Margins &margins,
             QPageLayout::Orientation orientation, QString *why);

} // namespace report
