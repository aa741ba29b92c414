#pragma once

#include <QString>
#include <stdexcept>

// A refused value given to a control's setter: its number and a short description.
class ControlError : public std::runtime_error {
public:
    enum Number : int {
        InvalidCall = 5,           // a value of the wrong kind
        Overflow = 6,              // does not fit the property's width
        DivisionByZero = 11,       // a drawing step divided by an empty size
        InvalidPropertyValue = 380 // a range the control cannot take
    };

    ControlError(int number, const QString &source, const QString &description)
        : std::runtime_error(description.toStdString()), m_number(number), m_source(source),
          m_description(description)
    {
    }

    int number() const { return m_number; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }

private:
    int m_number;
    QString m_source;
    QString m_description;
};
