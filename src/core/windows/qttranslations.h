#pragma once

#include <QString>

namespace qttranslations {

// Loads Qt's own Turkish texts (dialog buttons, the file dialog, print preview) from the
// folder, by default Qt's translations folder, and installs them in the application.
// False, and nothing installed, when the file is missing or unreadable.
bool install(const QString &folder = {});

} // namespace qttranslations
