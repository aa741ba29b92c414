#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Message boxes of the program. No title is passed: the window title is the
// application's display name. Tests answer the boxes through setHandler.
namespace msg {

enum class Icon { None, Critical, Information, Question, Exclamation };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Result { Ok, Cancel, Yes, No };

struct Request {
    QString text;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    QStringList buttonTexts;
};

// buttonTexts, when given, relabel the buttons in their order (Ok, Cancel / Yes, No, Cancel).
Result box(const QString &text, Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
           const QStringList &buttonTexts = {});

// Replaces the modal box until clearHandler.
void setHandler(std::function<Result(const Request &)> handler);
void clearHandler();

} // namespace msg
