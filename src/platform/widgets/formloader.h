#pragma once

#include "formspec.h"

#include <QFont>
#include <QString>
#include <functional>

class QWidget;

// Builds a window's controls from its layout file (resources/forms/<Form>.json) into a
// given widget: geometry from twips, containers, creation in file order (later above
// earlier), captions, fonts, colours, props, the tab chain, bindings of text boxes to
// data controls. Problems are reported with qWarning and in FormSpec::problems; the
// controls that could be built stay.
class FormLoader {
public:
    using Factory = std::function<QWidget *(const ControlSpec &spec, QWidget *parent)>;

    // Kinds made by the program (the skinned button, the slider).
    static void registerKind(const QString &kind, Factory factory);
    static void unregisterKind(const QString &kind);
    static bool hasKind(const QString &kind);

    // An unreadable file gives an invalid FormSpec and builds nothing.
    static FormSpec load(const QString &path, QWidget *form);
    static FormSpec loadData(const QByteArray &json, QWidget *form);
    static void build(FormSpec &spec, QWidget *form);
    // A layout file's font object ({"family", "size", "bold", ...}) applied over base.
    static QFont font(const QJsonObject &o, const QFont &base);
};
