#include "dialoganswers.h"

DialogAnswers::DialogAnswers()
{
    fileopen::setHandler([this](const fileopen::Request &r) {
        ++dialogCalls;
        dialogs.append(r);
        return dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst();
    });
    msg::setHandler([this](const msg::Request &r) {
        boxes.append(r);
        if (!boxAnswers.isEmpty())
            return boxAnswers.takeFirst();
        return r.buttons == msg::Buttons::YesNo ? msg::Result::Yes : msg::Result::Ok;
    });
}

DialogAnswers::~DialogAnswers()
{
    msg::clearHandler();
    fileopen::clearHandler();
}

QStringList DialogAnswers::boxTexts() const
{
    QStringList texts;
    for (const auto &b : boxes)
        texts << b.text;
    return texts;
}
