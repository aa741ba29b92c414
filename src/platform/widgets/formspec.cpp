#include "formspec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

using namespace Qt::StringLiterals;

QRect ControlSpec::pixels() const
{
    return QRect(twipsToPixels(rectTwips.left()), twipsToPixels(rectTwips.top()), twipsToPixels(rectTwips.width()),
                 twipsToPixels(rectTwips.height()));
}

const ControlSpec *FormSpec::control(const QString &name) const
{
    for (const ControlSpec &c : controls) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

FormSpec FormSpec::parse(const QByteArray &json)
{
    FormSpec spec;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        spec.problems << u"JSON okunamadı (konum %1): %2"_s.arg(error.offset).arg(error.errorString());
        return spec;
    }
    const QJsonObject root = doc.object();
    if (!doc.isObject() || !root.value(u"form"_s).isObject()) {
        spec.problems << u"Dosyada \"form\" nesnesi yok."_s;
        return spec;
    }
    if (root.contains(u"controls"_s) && !root.value(u"controls"_s).isArray()) {
        spec.problems << u"\"controls\" bir liste değil."_s;
        return spec;
    }

    spec.form = root.value(u"form"_s).toObject();
    spec.name = spec.form.value(u"name"_s).toString();
    spec.caption = spec.form.value(u"caption"_s).toString();
    const QJsonArray client = spec.form.value(u"client"_s).toArray();
    if (client.size() == 2)
        spec.clientTwips = QSizeF(client.at(0).toDouble(), client.at(1).toDouble());
    spec.backColor = spec.form.value(u"backColor"_s).toString();
    spec.border = spec.form.value(u"border"_s).toString();
    spec.icon = spec.form.value(u"icon"_s).toString();
    spec.startup = spec.form.value(u"startup"_s).toString();

    const QJsonArray controls = root.value(u"controls"_s).toArray();
    for (qsizetype i = 0; i < controls.size(); ++i) {
        if (!controls.at(i).isObject()) {
            spec.problems << u"Denetim %1 bir nesne değil."_s.arg(i);
            continue;
        }
        const QJsonObject o = controls.at(i).toObject();
        ControlSpec c;
        c.raw = o;
        c.name = o.value(u"name"_s).toString();
        c.kind = o.value(u"kind"_s).toString();
        c.in = o.value(u"in"_s).toString();
        c.caption = o.value(u"caption"_s).toString();
        const QJsonArray rect = o.value(u"rect"_s).toArray();
        if (rect.size() == 4) {
            c.rectTwips = QRectF(rect.at(0).toDouble(), rect.at(1).toDouble(), rect.at(2).toDouble(),
                                 rect.at(3).toDouble());
            c.twips = QRect(int(std::lround(c.rectTwips.left())), int(std::lround(c.rectTwips.top())),
                            int(std::lround(c.rectTwips.width())), int(std::lround(c.rectTwips.height())));
        } else if (o.contains(u"rect"_s)) {
            spec.problems << u"%1: \"rect\" dört sayı değil."_s.arg(c.name);
        }
        c.tab = o.contains(u"tab"_s) ? o.value(u"tab"_s).toInt(-1) : -1;
        c.font = o.value(u"font"_s).toObject();
        c.props = o.value(u"props"_s).toObject();
        c.settings = o.value(u"settings"_s).toObject();
        c.foreColor = o.value(u"foreColor"_s).toString();
        c.backColor = o.value(u"backColor"_s).toString();
        if (c.name.isEmpty() || c.kind.isEmpty()) {
            spec.problems << u"Denetim %1 adsız ya da türsüz."_s.arg(i);
            continue;
        }
        spec.controls.push_back(std::move(c));
    }
    spec.valid = true;
    return spec;
}
