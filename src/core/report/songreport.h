#pragma once

#include <QFont>
#include <QString>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// One song as the report prints it.
struct ReportRow {
    QString baslik;
    QString yoresi;
    QString info; // the credits line
    QString sozler;
};

// The song report's pages: one detail section per song (a double navy rule, the title,
// the region beside the credits line, a navy rule, the lyrics). Boxes that grow with
// their text push what lies below them down; a song is kept on one page when it fits, and
// lyrics longer than a page continue on the next at a line's end. Laid out in twips scaled
// by the device's resolution, inside the device's page layout (margins, paper, orientation).
class SongReport {
public:
    explicit SongReport(const std::vector<ReportRow> &rows);

    // Paints every page on the device with a painter of its own; the number of pages.
    int render(QPagedPaintDevice *device) const;
    // Paints on a painter already begun on the device (the preview's printer).
    int render(QPainter &painter, QPagedPaintDevice *device) const;

    static QFont titleFont();
    static QFont infoFont();
    static QFont lyricsFont();

private:
    const std::vector<ReportRow> &m_rows;
};
