#pragma once

#include <QString>
#include <memory>

namespace db {
class Database;
}
class Form1;

// State shared by the windows and modules; texts start empty, numbers at 0.
namespace g {

inline std::shared_ptr<db::Database> vt;     // the song database
inline std::shared_ptr<db::Database> ayarvt; // the settings database nsz.dll
inline QString vtdosyasi;                    // path of the song database, as chosen
inline QString siralamasql;                  // the report query's sort clause
inline QString agacmodu;                     // "arama" while search results are shown
inline QString penceremodu;                  // "izleme" or "düzenleme"
inline QString raporsql;                     // the report's record source
inline QString secilenklasor;                // folder last chosen in the folder dialog
inline short ilkacilis = 0;                  // 1 once the main window's first activation ran
inline Form1 *anaform = nullptr;             // the one main window

// Everything above back to its start (closes the databases held here).
inline void reset()
{
    vt.reset();
    ayarvt.reset();
    vtdosyasi.clear();
    siralamasql.clear();
    agacmodu.clear();
    penceremodu.clear();
    raporsql.clear();
    secilenklasor.clear();
    ilkacilis = 0;
    anaform = nullptr;
}

// The program's title, shown on every message box.
inline constexpr char16_t kProgramTitle[] = u"Qel Zelvoran";

} // namespace g
