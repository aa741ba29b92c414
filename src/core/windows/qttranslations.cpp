#include "qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

using namespace Qt::StringLiterals;

namespace qttranslations {

bool install(const QString &folder)
{
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    const QString dir = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    if (!translator->load(u"qtbase_tr"_s, dir))
        return false;
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace qttranslations
