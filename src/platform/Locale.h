#pragma once
#include <string>

#include "platform/NumberFormat.h"

// The current user's separators, from the Windows locale.
NumberSeparators UserNumberSeparators();

// The system's general date: the short date, a space, the long time; the
// date alone at exactly midnight.
inline std::wstring GeneralDateText(const std::wstring& shortDate, const std::wstring& longTime, bool midnight) {
    return midnight ? shortDate : shortDate + L" " + longTime;
}

// The current local date and time in the user's general date format.
std::wstring NowGeneralDateText();
