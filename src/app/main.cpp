#include "appfonts.h"
#include "form1.h"
#include "formkinds.h"
#include "globals.h"
#include "loadedwindows.h"
#include "qttranslations.h"
#include "splash.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Message boxes take the application's name as their title.
    QApplication::setApplicationName(QString::fromUtf16(g::kProgramTitle));
    QApplication::setWindowIcon(QIcon(u":/images/program.png"_s));
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    qttranslations::install();
    appfonts::install();
    controls::registerFormKinds();

    // The splash stays behind the main window until the program ends.
    Splash splash;
    loadedwindows::add(&splash);
    splash.show();

    Form1 form;
    g::anaform = &form;
    loadedwindows::add(&form);
    if (!form.load())
        return 0;
    form.show();
    return app.exec();
}
