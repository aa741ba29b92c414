// One skinned paint of the delete button (121 x 25), and a full repaint of the main
// window's layout with its skinned buttons and the slider against the same layout with
// plain push buttons.
//   bench_controls [ROUNDS]   (QT_QPA_PLATFORM=offscreen)
#include "appfonts.h"
#include "appwindows.h"
#include "buttonpaint.h"
#include "formkinds.h"
#include "formloader.h"
#include "mybutton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Median of five runs of `rounds` calls, in microseconds per call.
template <typename F>
double perCall(int rounds, F &&f)
{
    std::vector<double> runs;
    for (int r = 0; r < 5; ++r) {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < rounds; ++i)
            f();
        runs.push_back(double(t.nsecsElapsed()) / 1000.0 / rounds);
    }
    std::sort(runs.begin(), runs.end());
    return runs[2];
}

QWidget *plainButton(const ControlSpec &entry, QWidget *parent)
{
    auto *b = new QPushButton(entry.caption, parent);
    const QString picture = entry.props.value(u"picture"_s).toString();
    if (!picture.isEmpty())
        b->setIcon(QIcon(picture));
    return b;
}

double repaint(QWidget &form, int rounds)
{
    QImage target(form.size(), QImage::Format_RGB32);
    return perCall(rounds, [&] {
        QPainter p(&target);
        form.render(&p);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? atoi(argv[1]) : 200;
    appfonts::install();
    appwindows::initResources();
    controls::registerFormKinds();

    const QImage skin = QImage(u":/images/skin.png"_s).convertToFormat(QImage::Format_RGB32);
    buttonpaint::ButtonLook sil;
    sil.skin = &skin;
    sil.text = u"Aktif Kaydı Sil..."_s;
    sil.textColorEnabled = 0x800000;
    sil.picture = buttonpaint::Picture::from(QImage(u":/images/sil16.png"_s));
    sil.font = QFont(u"Arial"_s);
    sil.font.setPointSizeF(8.4706);
    sil.font.setBold(true);
    QImage surface(121, 25, QImage::Format_RGB32);
    short state = 1;
    const double one = perCall(rounds * 20, [&] {
        buttonpaint::DrawButton(surface, sil, state);
        state = short(state % 5 + 1);
    });
    std::printf("skinned paint of sil (121 x 25), states 1-5: %.1f us\n", one);

    QWidget skinned;
    FormLoader::load(u":/forms/Form1.json"_s, &skinned);
    skinned.show();
    QApplication::processEvents();
    const int buttons = int(skinned.findChildren<MyButton *>().size());
    const double withSkin = repaint(skinned, rounds);

    FormLoader::registerKind(u"button"_s, plainButton);
    QWidget plain;
    FormLoader::load(u":/forms/Form1.json"_s, &plain);
    plain.show();
    QApplication::processEvents();
    const double withPlain = repaint(plain, rounds);

    std::printf("main window, %d skinned buttons and the slider: %.0f us per repaint\n", buttons, withSkin);
    std::printf("main window, plain push buttons:                %.0f us per repaint\n", withPlain);
    std::printf("ratio: %.2f\n", withSkin / withPlain);
    return 0;
}
