#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace db {
class DataControl;
}

// Escape drops a record's pending edit, as in bound forms: in any box bound to the data
// control, while an edit is pending, it runs drop (which puts back the stored values of
// the whole record). An Escape with nothing pending goes on to the box.
namespace pendingedit {

void escapeDrops(QWidget *form, db::DataControl *data, std::function<void()> drop);

// The sentence a refused save's message ends with.
QString escapeHint();

} // namespace pendingedit
