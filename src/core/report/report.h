#pragma once

#include "reportquery.h"
#include "songreport.h"

#include <QPageLayout>
#include <QString>
#include <atomic>
#include <optional>
#include <vector>

class QPrinter;
class QWidget;
namespace db {
class Error;
}

// The report road after the query window: its rows, read through a connection of its
// own in the provider's dialect (% and _ in Like), and its pages on a printer.
namespace report {

// The most a report holds: past either the reading stops, since the preview lays out every
// page at once and its pages of so many songs would not fit in memory.
constexpr qint64 kMaxRows = 20000;
constexpr qint64 kMaxTextBytes = 64 * 1024 * 1024; // of the rows' texts, two bytes a letter

// Shared with a reading under way, from another thread: stop asks it to end soon, rows
// counts the rows read so far.
struct Progress {
    std::atomic_bool stop{false};
    std::atomic<qint64> rows{0};
};

// What a reading came to: the rows, or why there are none.
struct Loaded {
    std::vector<ReportRow> rows;
    std::optional<QString> failure; // a refusal or a failure, said in Turkish
    bool cancelled = false;         // stopped through Progress::stop: nothing to say
};

// The rows of the statement, in its order, from the song database at this path. A statement
// that writes, one without the report's fields, an engine failure and a report past the
// limits above come back as a failure; nothing is thrown.
Loaded loadRows(const QString &databasePath, const QString &sql, Progress *progress = nullptr);

// The same in a thread of its own: the caller waits half a second at most, then a modal
// progress window over parent shows the rows read so far and stops the reading with "İptal".
Loaded loadRowsShowingProgress(QWidget *parent, const QString &databasePath, const QString &sql);

// What the query window says of a statement the engine refused.
QString failureText(const db::Error &e);

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
