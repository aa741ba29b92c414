#pragma once

#include <QVariant>

namespace db {
class Database;
}

// The credits line of a song (field girişmodu): from whom it was taken, who collected
// it, who wrote its words and its music. Derived from four fields, never typed.
namespace credits {

// "K:" source, "  D:" collector, then one of "   SM:" (same lyricist and composer),
// "   S:" … "  M:" …, "  M:" alone or "  S:" alone. Values are copied as stored; an empty
// text counts as no value. Null when no entry applies, never the empty text.
QVariant line(const QVariant &kaynakKisi, const QVariant &derleyen, const QVariant &soz, const QVariant &muzik);

// Rewrites the credits line of every song of the file in one transaction: a failure
// leaves every line as it was (and throws db::Error). A file that cannot be written keeps
// its stored lines without an error; so does an empty songs table.
void rewriteAll(db::Database &db);

} // namespace credits
