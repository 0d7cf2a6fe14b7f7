#include "platform/Text.h"

#include <windows.h>

namespace {

// defaulted, when given, tells whether any character had no equivalent.
std::string Narrow(UINT codePage, const std::wstring& text, DWORD flags = 0, BOOL* defaulted = nullptr) {
    if (text.empty()) return {};
    const int wideLength = static_cast<int>(text.size());
    int length = WideCharToMultiByte(codePage, flags, text.data(), wideLength, nullptr, 0, nullptr, defaulted);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), wideLength, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring Widen(UINT codePage, const char* bytes, std::size_t length) {
    if (length == 0) return {};
    int wideLength = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(length), nullptr, 0);
    std::wstring text(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(length), text.data(), wideLength);
    return text;
}

}  // namespace

std::string ToAnsi(const std::wstring& text) { return Narrow(CP_ACP, text); }
std::wstring FromAnsi(const char* bytes, std::size_t length) { return Widen(CP_ACP, bytes, length); }
bool IsLeadByte(unsigned codePage, unsigned char byte) { return IsDBCSLeadByteEx(codePage, byte) != 0; }
std::string ToUtf8(const std::wstring& text) { return Narrow(CP_UTF8, text); }
std::wstring FromUtf8(const std::string& bytes) { return Widen(CP_UTF8, bytes.data(), bytes.size()); }

bool SurvivesAnsiTrip(const std::wstring& text, unsigned codePage) {
    BOOL defaulted = FALSE;
    const std::string bytes = Narrow(CP_ACP, text, WC_NO_BEST_FIT_CHARS, &defaulted);
    return !defaulted && Widen(codePage, bytes.data(), bytes.size()) == text;
}
