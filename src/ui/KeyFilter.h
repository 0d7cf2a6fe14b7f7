#pragma once

// Characters the count and size boxes accept from the keyboard: digits,
// Backspace and the point. Everything else, Ctrl+V included, is refused.
inline bool IsAcceptedNumericKey(unsigned int code) {
    return (code >= '0' && code <= '9') || code == 8 || code == '.';
}
