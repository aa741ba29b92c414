#pragma once

#include <QString>

// Helpers for putting user values into SQL text between apostrophes.
namespace db {

// The value with every apostrophe doubled: safe between '…'.
QString quoted(const QString &value);
// A search word for a Like pattern between '*…*': apostrophes doubled and the
// wildcards * ? # [ bracketed so that they match themselves.
QString likeLiteral(const QString &word);

} // namespace db
