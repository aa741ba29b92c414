#include "formkinds.h"

#include "formloader.h"
#include "mybutton.h"
#include "ruvslider.h"

#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

bool hasKey(const QJsonObject &o, const QString &key)
{
    for (auto it = o.constBegin(); it != o.constEnd(); ++it) {
        if (it.key().compare(key, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QWidget *makeButton(const ControlSpec &entry, QWidget *parent)
{
    auto *button = new MyButton(parent);
    // The layout's caption and picture stand for the stored "Text" and "Picture".
    QJsonObject settings = entry.settings;
    if (!hasKey(settings, u"text"_s) && !entry.caption.isEmpty())
        settings.insert(u"text"_s, entry.caption);
    const QString picture = entry.props.value(u"picture"_s).toString();
    if (!hasKey(settings, u"picture"_s) && !picture.isEmpty())
        settings.insert(u"picture"_s, picture);
    button->applySettings(settings);
    if (entry.props.contains(u"tag"_s))
        button->setProperty("tag", entry.props.value(u"tag"_s).toString());
    return button;
}

QWidget *makeSlider(const ControlSpec &entry, QWidget *parent)
{
    auto *slider = new RuvSlider(parent);
    slider->applySettings(entry.settings);
    return slider;
}

} // namespace

namespace controls {

void registerFormKinds()
{
    FormLoader::registerKind(u"button"_s, makeButton);
    FormLoader::registerKind(u"slider"_s, makeSlider);
}

} // namespace controls
