#pragma once

#include <QString>

// Which texts of the query window's SQL box may make a report.
namespace reportstatement {

// What the window says of a text that may not.
QString refusal();

// Empty when the text is one SELECT that only reads the song database at this path;
// otherwise the message to show: the refusal, or what the engine said of a text it cannot
// read or a file it cannot open.
QString check(const QString &databasePath, const QString &sql);

} // namespace reportstatement
