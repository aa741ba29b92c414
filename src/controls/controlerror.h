#pragma once

#include "widgeterrors.h"

// A refused value given to a control's setter: a numbered error like every other, with
// the control and property that refused it.
class ControlError : public db::Error {
public:
    enum Number : int {
        InvalidCall = widgeterrors::InvalidCall,
        Overflow = widgeterrors::Overflow,
        DivisionByZero = widgeterrors::DivisionByZero,
        InvalidPropertyValue = widgeterrors::InvalidPropertyValue,
    };

    ControlError(int number, const QString &source, const QString &description)
        : db::Error(number, description)
        , m_source(source)
    {
    }

    const QString &source() const { return m_source; }

private:
    QString m_source;
};
