#include "appfonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace appfonts {

void install()
{
    // Tahoma's free clone ships outside fontconfig's folders.
    for (const QString &file : {u"/usr/share/wine/fonts/tahoma.ttf"_s, u"/usr/share/wine/fonts/tahomabd.ttf"_s}) {
        if (QFile::exists(file))
            QFontDatabase::addApplicationFont(file);
    }
    QFont::insertSubstitutions(u"Tahoma"_s, {u"DejaVu Sans Condensed"_s, u"DejaVu Sans"_s});
    QFont::insertSubstitutions(u"Arial"_s, {u"Liberation Sans"_s, u"DejaVu Sans"_s});
    QFont::insertSubstitutions(u"Times New Roman"_s, {u"Liberation Serif"_s, u"DejaVu Serif"_s});
    QFont::insertSubstitutions(u"Comic Sans MS"_s, {u"Comic Neue"_s, u"DejaVu Sans"_s});
    QFont::insertSubstitutions(u"Verdana"_s, {u"DejaVu Sans"_s});
    QFont::insertSubstitutions(u"MS Sans Serif"_s, {u"Liberation Sans"_s, u"DejaVu Sans"_s});
}

} // namespace appfonts
