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

} // namespace db
