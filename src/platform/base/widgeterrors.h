#pragma once

#include "dberror.h"

// Error numbers of the platform controls (tree, image list, scroll bar, status bar) and
// of the program's own controls (button, slider).
namespace widgeterrors {

enum : int {
    InvalidCall = 5,            // a value of the wrong kind
    Overflow = 6,               // does not fit the property's width
    DivisionByZero = 11,        // a drawing step divided by an empty size
    InvalidPropertyValue = 380, // a value or range the control cannot take
    IndexOutOfBounds = 35600,
    ElementNotFound = 35601,
    KeyNotUnique = 35602,
    InvalidKey = 35603,
};

// The error with its Turkish description.
db::Error make(int number);

} // namespace widgeterrors
