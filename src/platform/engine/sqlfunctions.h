#pragma once

#include "database.h"

#include <string>
#include <string_view>

struct sqlite3;

namespace db::sqlfn {

// Registers on one connection: the collation TURKCE, like(pattern, text) in the
// database's current dialect, and len(text) counting characters.
void install(sqlite3 *handle, const Database *owner);

// Like on folded code points: Jet * ? # [a-z] [!a-z], Ansi % _ with the same brackets.
bool likeMatch(std::u32string_view pattern, std::u32string_view text, LikeDialect dialect);

} // namespace db::sqlfn
