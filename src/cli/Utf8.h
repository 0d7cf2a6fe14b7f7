#pragma once
#include <string>

// UTF-8 for the console, pipes and files. wchar_t holds UTF-16 on Windows
// and UTF-32 elsewhere; both are handled. Malformed input becomes U+FFFD.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& bytes);
