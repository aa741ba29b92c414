#pragma once

#include <QString>

// Helpers for putting user values into SQL text between apostrophes.
namespace db {

// The value with every apostrophe doubled: safe between '…'. A lone surrogate, which no
// stored text holds, becomes U+FFFD, so that it matches only itself.
QString quoted(const QString &value);
// A search word for a Like pattern between '*…*': apostrophes doubled and the
// wildcards * ? # [ bracketed so that they match themselves; a lone surrogate as in quoted().
QString likeLiteral(const QString &word);

// The text with every lone surrogate as U+FFFD: as UTF-8 it would become "?", which in a
// Like pattern matches any character.
QString withoutLoneSurrogates(const QString &text);

} // namespace db
