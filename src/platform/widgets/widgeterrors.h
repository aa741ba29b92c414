#pragma once

#include "dberror.h"

// Error numbers of the platform controls (tree, image list, scroll bar, status bar).
namespace widgeterrors {

enum : int {
    InvalidPropertyValue = 380,
    IndexOutOfBounds = 35600,
    ElementNotFound = 35601,
    KeyNotUnique = 35602,
    InvalidKey = 35603,
};

// The error with its Turkish description.
db::Error make(int number);

} // namespace widgeterrors
