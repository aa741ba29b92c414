#pragma once

#include <QJsonObject>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

#include "twips.h"

// One control of a window's layout file, as written.
struct ControlSpec {
    QString name;
    QString kind;
    QString in; // the container: a control's name, or the form's name
    QString caption;
    QRectF rectTwips; // left, top, width, height relative to the container
    QRect twips;      // the same, in whole twips
    int tab = -1;     // -1: not in the tab chain
    QJsonObject font;
    QJsonObject props;
    QJsonObject settings; // a custom control's persisted keys, untouched
    QString foreColor;
    QString backColor;
    QJsonObject raw; // the whole entry

    QRect pixels() const;
};

// A parsed layout file: the form's own properties and its controls in file order.
struct FormSpec {
    bool valid = false; // the file was read and has a form
    QString name;
    QString caption;
    QSizeF clientTwips;
    QString backColor;
    QString border;
    QString icon;
    QString startup;
    QJsonObject form; // the form entry as written
    std::vector<ControlSpec> controls;
    QStringList problems; // what could not be read or built

    bool ok() const { return valid && problems.isEmpty(); }
    const ControlSpec *control(const QString &name) const;

    // Parses a layout file's text; a bad text gives valid == false and the reason.
    static FormSpec parse(const QByteArray &json);
};
