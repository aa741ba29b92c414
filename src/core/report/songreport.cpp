#include "songreport.h"

#include "appfonts.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Detail section, in twips from its top left corner.
constexpr double kWidth = 4819;
constexpr double kLine1 = 113, kLine3 = 170, kLine2 = 680;
constexpr double kTitleTop = 227, kTitleHeight = 227;
constexpr double kRowTop = 454, kRegionWidth = 1304, kRegionHeight = 170, kInfoHeight = 180;
constexpr double kLyricsTop = 737, kLyricsHeight = 340;
constexpr double kSectionHeight = 1155;

const QColor kNavy(0x00, 0x00, 0x80);

QFont reportFont(const QString &family, double points, bool italic = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setItalic(italic);
    return appfonts::unjoined(f);
}

// Characters laid out at once: some kLinesAtOnce lines of the box's width, at most kWindow.
// A paragraph is laid out window by window, each window starting at the first line the
// previous one left unfinished, so that the lines come out as from one layout while a huge
// paragraph costs time in proportion to its length. Breaking a run without spaces costs
// time in proportion to the window for each line, hence a window of few lines.
constexpr qsizetype kWindow = 4096;
constexpr double kLinesAtOnce = 24;
constexpr qsizetype kKeptChars = 1 << 20;

qsizetype windowFor(const QFont &font, double width, QPaintDevice *device)
{
    const double perLine = width / std::max(1.0, QFontMetricsF(font, device).averageCharWidth());
    return std::clamp<qsizetype>(qsizetype(perLine * kLinesAtOnce), 256, kWindow);
}

// The grapheme boundary at or before `at`, looked for among the few characters before it
// (a longer run of marks is cut), and not before `floor`.
qsizetype graphemeStart(const QString &text, qsizetype at, qsizetype floor)
{
    constexpr qsizetype kNear = 32;
    const qsizetype from = std::max<qsizetype>(0, at - kNear);
    const qsizetype to = std::min(text.size(), at + kNear);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text.constData() + from, to - from);
    graphemes.setPosition(at - from);
    if (!graphemes.isAtBoundary())
        graphemes.toPreviousBoundary();
    return std::max(floor, from + std::max<qsizetype>(graphemes.position(), 0));
}

// The end of a window starting at `from`: a grapheme boundary, so that no letter loses its
// marks or a surrogate its pair where a window ends inside one line.
qsizetype windowEnd(const QString &text, qsizetype from, qsizetype window)
{
    if (text.size() - from <= window)
        return text.size();
    return graphemeStart(text, from + window, from + 1);
}

// The start of a title that holds more than fits on its one line.
QString titleShown(const QString &text)
{
    constexpr qsizetype kMost = 2000; // far more than the box's width holds
    if (text.size() <= kMost)
        return text;
    return text.left(graphemeStart(text, kMost, 1));
}

// A text wrapped to a width: its lines, paragraph by paragraph. The laid-out windows of a
// text up to kKeptChars long are kept for drawing; a longer one keeps only its lines' places
// and lays each window out again, the same way, when its lines are drawn, so that a huge
// value never holds the shaped glyphs of all its pages at once.
class Wrapped {
public:
    Wrapped(const QString &text, const QFont &font, double width, QPaintDevice *device)
        : m_font(font)
        , m_width(width)
        , m_device(device)
    {
        m_option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m_text = text;
        m_text.remove(u'\r');
        const qsizetype window = windowFor(font, width, device);
        double y = 0;
        for (qsizetype start = 0; start <= m_text.size();) {
            qsizetype end = m_text.indexOf(u'\n', start);
            if (end < 0)
                end = m_text.size();
            for (qsizetype from = start; from < end || from == start;) {
                const qsizetype to = std::min(end, windowEnd(m_text, from, window));
                auto layout = layOut(from, to);
                // The window's last line may go on past its end: the next window starts there,
                // unless it is the window's only line (no break in a whole window).
                int keep = layout->lineCount();
                if (to < end && keep > 1)
                    --keep;
                // The places are kept here: a line's own position is fixed-point and wraps
                // beyond some 33 million device pixels (a few thousand pages).
                for (int i = 0; i < keep; ++i) {
                    const double h = layout->lineAt(i).height();
                    m_lines.push_back({m_windows.size(), i, y, h});
                    y += h;
                }
                const qsizetype next = keep < layout->lineCount() ? from + layout->lineAt(keep).textStart() : to;
                m_windows.push_back({from, to, m_text.size() <= kKeptChars ? std::move(layout) : nullptr});
                if (next == start && end == start)
                    break;
                from = next;
            }
            start = end + 1;
        }
        m_height = y;
    }

    double height() const { return m_height; }
    size_t lineCount() const { return m_lines.size(); }
    double lineHeight(size_t i) const { return m_lines[i].height; }
    double lineY(size_t i) const { return m_lines[i].y; }

    // Line i with its top left corner at `at`.
    void drawLine(QPainter &p, size_t i, QPointF at) const
    {
        const Line &l = m_lines[i];
        if (const QTextLayout *kept = m_windows[l.window].kept.get())
            return kept->lineAt(l.inWindow).draw(&p, at);
        if (!m_shown || m_shownWindow != l.window) {
            m_shown = layOut(m_windows[l.window].from, m_windows[l.window].to);
            m_shownWindow = l.window;
        }
        m_shown->lineAt(l.inWindow).draw(&p, at);
    }

    void draw(QPainter &p, QPointF at) const
    {
        for (size_t i = 0; i < m_lines.size(); ++i)
            drawLine(p, i, at + QPointF(0, m_lines[i].y));
    }

private:
    std::unique_ptr<QTextLayout> layOut(qsizetype from, qsizetype to) const
    {
        auto layout = std::make_unique<QTextLayout>(m_text.mid(from, to - from), m_font, m_device);
        layout->setTextOption(m_option);
        layout->setCacheEnabled(true);
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(m_width);
            line.setPosition(QPointF(0, 0));
        }
        layout->endLayout();
        return layout;
    }

    struct Window {
        qsizetype from, to;
        std::unique_ptr<QTextLayout> kept;
    };
    struct Line {
        size_t window;
        int inWindow;
        double y, height;
    };
    QString m_text;
    QFont m_font;
    double m_width;
    QPaintDevice *m_device;
    QTextOption m_option;
    std::vector<Window> m_windows;
    std::vector<Line> m_lines;
    double m_height = 0;
    mutable std::unique_ptr<QTextLayout> m_shown; // the window last drawn from
    mutable size_t m_shownWindow = 0;
};

// Columns side by side that go on past the foot of the page, from `top` down: each column's
// lines go onto the following pages as the lyrics' do, page by page for all columns at once.
// Gives the foot of the lowest column on the last page.
double flowColumns(QPainter &p, std::initializer_list<std::pair<const Wrapped *, double>> columns, double top,
                   double pageHeight, const std::function<void()> &newPage)
{
    struct Placed {
        const Wrapped *column;
        size_t line;
        QPointF at;
        int page;
    };
    std::vector<Placed> placed;
    for (const auto &[column, x] : columns) {
        int page = 0;
        double offset = -top; // layout position minus place on the page
        for (size_t i = 0; i < column->lineCount(); ++i) {
            const double lineY = column->lineY(i);
            if (lineY - offset + column->lineHeight(i) > pageHeight && lineY - offset > 0) {
                ++page;
                offset = lineY;
            }
            placed.push_back({column, i, QPointF(x, lineY - offset), page});
        }
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) { return a.page < b.page; });
    int page = 0;
    double bottom = top;
    for (const Placed &l : placed) {
        if (l.page > page) {
            newPage();
            page = l.page;
            bottom = 0;
        }
        l.column->drawLine(p, l.line, l.at);
        bottom = std::max(bottom, l.at.y() + l.column->lineHeight(l.line));
    }
    return bottom;
}

} // namespace

SongReport::SongReport(const std::vector<ReportRow> &rows)
    : m_rows(rows)
{
}

QFont SongReport::titleFont()
{
    return reportFont(u"Arial"_s, 9.18);
}

QFont SongReport::infoFont()
{
    return reportFont(u"Times New Roman"_s, 8.47, true);
}

QFont SongReport::lyricsFont()
{
    return reportFont(u"Verdana"_s, 8.47);
}

int SongReport::render(QPagedPaintDevice *device) const
{
    QPainter painter(device);
    return render(painter, device);
}

int SongReport::render(QPainter &p, QPagedPaintDevice *device) const
{
    const double dpi = device->logicalDpiY();
    const double s = dpi / 1440.0; // device pixels per twip
    const QRectF page = device->pageLayout().paintRectPixels(device->logicalDpiX());
    const double pageHeight = page.height();
    const double width = kWidth * s;
    const QFont title = titleFont(), info = infoFont(), lyrics = lyricsFont();
    QPen navy(kNavy);
    navy.setWidthF(std::max(1.0, 15 * s)); // one screen pixel

    int pages = 1;
    double y = 0;
    auto newPage = [&] {
        device->newPage();
        ++pages;
        y = 0;
    };

    for (const ReportRow &row : m_rows) {
        const Wrapped region(row.yoresi, info, kRegionWidth * s, device);
        const Wrapped credits(row.info, info, (kWidth - kRegionWidth) * s, device);
        const Wrapped words(row.sozler, lyrics, width, device);

        const double regionBottom = kRowTop * s + std::max(kRegionHeight * s, region.height());
        const double infoBottom = kRowTop * s + std::max(kInfoHeight * s, credits.height());
        double grow = std::max(
            {0.0, regionBottom - (kRowTop + kRegionHeight) * s, infoBottom - (kRowTop + kInfoHeight) * s});
        double lyricsTop = kLyricsTop * s + grow;
        const double lyricsBox = std::max(kLyricsHeight * s, words.height());
        const double tail = (kSectionHeight - kLyricsTop - kLyricsHeight) * s;
        double total = lyricsTop + lyricsBox + tail;
        const double firstLine = words.lineCount() ? words.lineHeight(0) : 0;

        if (y > 0 && y + total > pageHeight) {
            // A song that fits on a page starts on a new one; a longer one starts here when
            // its head and a first line of its lyrics fit.
            if (total <= pageHeight || y + lyricsTop + firstLine > pageHeight)
                newPage();
        }

        p.setPen(navy);
        p.drawLine(QPointF(0, y + kLine1 * s), QPointF(width, y + kLine1 * s));
        p.drawLine(QPointF(0, y + kLine3 * s), QPointF(width, y + kLine3 * s));

        p.setFont(title);
        p.drawText(QRectF(0, y + kTitleTop * s, width, kTitleHeight * s),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, titleShown(row.baslik));

        p.setPen(Qt::black);
        if (y + std::max(regionBottom, infoBottom) <= pageHeight) {
            region.draw(p, QPointF(0, y + kRowTop * s));
            credits.draw(p, QPointF(kRegionWidth * s, y + kRowTop * s));
        } else {
            // A region or credits taller than the rest of the page goes on over the next pages;
            // the section carries on below the lower of the two.
            const double foot = flowColumns(p, {{&region, 0.0}, {&credits, kRegionWidth * s}}, y + kRowTop * s,
                                            pageHeight, newPage);
            y = foot - (kRowTop + kRegionHeight) * s;
            grow = 0;
            lyricsTop = kLyricsTop * s;
            total = lyricsTop + lyricsBox + tail;
        }
        p.setPen(navy);
        p.drawLine(QPointF(0, y + kLine2 * s + grow), QPointF(width, y + kLine2 * s + grow));
        p.setPen(Qt::black);

        if (y + total <= pageHeight) {
            words.draw(p, QPointF(0, y + lyricsTop));
            y += total;
            continue;
        }
        // Lyrics longer than the page: line by line, a new page where the next line does not fit.
        double offset = -(y + lyricsTop); // layout position minus place on the page
        double bottom = y + lyricsTop;
        for (size_t i = 0; i < words.lineCount(); ++i) {
            const double lineY = words.lineY(i);
            if (lineY - offset + words.lineHeight(i) > pageHeight) {
                newPage();
                offset = lineY;
            }
            words.drawLine(p, i, QPointF(0, lineY - offset));
            bottom = lineY - offset + words.lineHeight(i);
        }
        y = bottom + tail;
    }
    return pages;
}
