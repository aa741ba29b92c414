#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The texts of the report: the query built from the criterion columns, its wildcards for
// the report's provider, the fields the report needs, and the page margins.
namespace reportquery {

inline constexpr int kColumns = 7;
inline constexpr int kTwipsPerCm = 567;
inline constexpr int kMaxMarginCm = 57;
inline constexpr int kColumnWidthTwips = 4819; // the report's boxes and rules

// One criterion column: the operator box's text and the criterion text as typed.
struct Criterion {
    QString op;
    QString text;
};

// The operators offered, "Hepsi" (no criterion) first.
QStringList operators();

// The query of the columns title, lyrics, region, type 1, type 2, lyricist, composer
// with the sort clause; * is the Like wildcard. A column applies when its text is not
// empty and its operator one of the four comparisons; apostrophes in a text are doubled.
QString build(const std::array<Criterion, kColumns> &columns, const QString &siralama);

// The sort clause of sort option i (0..6); empty for the lyrics, which are no sort key.
QString sortClause(int i);

// The query in the report provider's dialect: inside each Like pattern * ? # become % _
// [0-9], and % _ of the pattern become literal, whatever its quotes, brackets or comments;
// texts joined by || become one text. Nothing outside Like patterns changes, nor a Like with
// ESCAPE, which reads % and _ in both dialects. A pattern that is no text (a field, a
// function, a text joined to a field) cannot be converted: *unreadable then holds the
// message naming the first such Like, else it is emptied.
QString toAnsiLike(const QString &sql, QString *unreadable = nullptr);

// The fields the report prints, among the given names (Turkish case ignored): the missing ones.
QStringList missingReportFields(const QStringList &fieldNames);

// Margins in twips: top, bottom, left, right.
struct Margins {
    int top = 0, bottom = 0, left = 0, right = 0;
};

// The margin boxes' captions, in the order top, bottom, left, right.
QStringList marginNames();

// A margin box's text in the Turkish locale ("2,0", "2,5"), rounded halves to even to whole
// centimetres; nullopt when it is no number or lies outside 0 to 57.
std::optional<int> marginCm(const QString &text);

// The four margins checked against a page of this size in twips: each a number from 0 to
// 57 cm, the report's column between left and right, a song's first lines between top and
// bottom. The message names the box when one fails; empty when they are good.
QString checkMargins(const std::array<QString, 4> &texts, double pageWidthTwips, double pageHeightTwips, Margins *out);

} // namespace reportquery
