#pragma once
#include <string>

// The current local date and time in the user's general date format.
std::wstring NowGeneralDateText();
