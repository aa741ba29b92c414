#include "messagebox.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace msg {

namespace {

std::function<Result(const Request &)> &handler()
{
    static std::function<Result(const Request &)> h;
    return h;
}

struct Choice {
    Result result;
    QMessageBox::ButtonRole role;
    QString text;
};

std::vector<Choice> choices(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return {{Result::Ok, QMessageBox::AcceptRole, u"Tamam"_s}};
    case Buttons::OkCancel:
        return {{Result::Ok, QMessageBox::AcceptRole, u"Tamam"_s},
                {Result::Cancel, QMessageBox::RejectRole, u"İptal"_s}};
    case Buttons::YesNo:
        return {{Result::Yes, QMessageBox::YesRole, u"Evet"_s}, {Result::No, QMessageBox::NoRole, u"Hayır"_s}};
    case Buttons::YesNoCancel:
        return {{Result::Yes, QMessageBox::YesRole, u"Evet"_s},
                {Result::No, QMessageBox::NoRole, u"Hayır"_s},
                {Result::Cancel, QMessageBox::RejectRole, u"İptal"_s}};
    }
    return {};
}

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::None:
        return QMessageBox::NoIcon;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Result box(const QString &text, Icon icon, Buttons buttons, const QStringList &buttonTexts)
{
    if (handler())
        return handler()(Request{text, icon, buttons, buttonTexts});

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QGuiApplication::applicationDisplayName());
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(boxIcon(icon));

    std::vector<Choice> list = choices(buttons);
    std::vector<std::pair<QAbstractButton *, Result>> made;
    for (size_t i = 0; i < list.size(); ++i) {
        const QString label = int(i) < buttonTexts.size() ? buttonTexts.at(int(i)) : list[i].text;
        QPushButton *b = box.addButton(label, list[i].role);
        made.emplace_back(b, list[i].result);
        if (i == 0)
            box.setDefaultButton(b);
    }
    // Escape answers Cancel where there is one, and Ok on a box with only Ok.
    for (const auto &[button, result] : made) {
        if (result == Result::Cancel || (buttons == Buttons::Ok && result == Result::Ok))
            box.setEscapeButton(button);
    }
    box.exec();
    for (const auto &[button, result] : made) {
        if (box.clickedButton() == button)
            return result;
    }
    // Closed without a button (a Yes/No box has no Escape answer).
    switch (buttons) {
    case Buttons::Ok:
        return Result::Ok;
    case Buttons::YesNo:
        return Result::No;
    default:
        return Result::Cancel;
    }
}

void setHandler(std::function<Result(const Request &)> h)
{
    handler() = std::move(h);
}

void clearHandler()
{
    handler() = nullptr;
}

} // namespace msg
