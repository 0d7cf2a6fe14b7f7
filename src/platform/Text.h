#pragma once
#include <string>

// Text in the system's ANSI code page, with the code page's own default
// character for what it cannot represent.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const char* bytes, std::size_t length);
