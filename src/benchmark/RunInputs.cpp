#include "benchmark/RunInputs.h"

#include <cmath>
#include <cstdlib>

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == 0x3000; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A group separator between two digits of the integer part, as a pasted
// "1,000" has it. A "." is always the decimal point.
bool IsGroupSeparatorAt(const std::wstring& text, size_t i, size_t end, const std::wstring& thousand) {
    if (thousand.empty() || thousand == L"." || i == 0 || !IsDigit(text[i - 1])) return false;
    const size_t next = i + thousand.size();
    return next < end && text.compare(i, thousand.size(), thousand) == 0 && IsDigit(text[next]);
}

}  // namespace

std::optional<double> ParseDecimal(const std::wstring& text, const std::wstring& thousand) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;

    std::string ascii;
    size_t i = begin;
    if (i < end && (text[i] == L'+' || text[i] == L'-')) ascii += static_cast<char>(text[i++]);
    // A separator groups only where three digits follow it, and no more than three come
    // before the first: "1,5" is one and a half in many locales, not fifteen.
    int digits = 0, group = 0;
    bool point = false, grouped = false;
    for (; i < end; ++i) {
        if (IsDigit(text[i])) {
            ++digits;
            ++group;
        } else if (text[i] == L'.' && !point && (!grouped || group == 3)) {
            point = true;
        } else if (!point && IsGroupSeparatorAt(text, i, end, thousand) && group <= 3 && (!grouped || group == 3)) {
            grouped = true;
            group = 0;
            i += thousand.size() - 1;
            continue;
        } else {
            break;
        }
        ascii += static_cast<char>(text[i]);
    }
    if (digits == 0 || (grouped && !point && group != 3)) return std::nullopt;
    if (i < end && (text[i] == L'e' || text[i] == L'E')) {
        ascii += 'e';
        ++i;
        if (i < end && (text[i] == L'+' || text[i] == L'-')) ascii += static_cast<char>(text[i++]);
        int exponentDigits = 0;
        for (; i < end && IsDigit(text[i]); ++i, ++exponentDigits) ascii += static_cast<char>(text[i]);
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != end) return std::nullopt;

    double value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseCount(const std::wstring& text, const std::wstring& thousand) {
    std::optional<double> value = ParseDecimal(text, thousand);
    if (!value) return std::nullopt;
    // nearbyint rounds halves to even in the default rounding mode.
    double rounded = std::nearbyint(*value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::optional<double> ParseSize(const std::wstring& text, const std::wstring& thousand) {
    std::optional<double> value = ParseDecimal(text, thousand);
    if (!value || *value < kMinFontSize || *value > kMaxFontSize) return std::nullopt;
    return value;
}

namespace {

std::wstring Quoted(const std::wstring& box, const std::wstring& text) {
    if (text.empty()) return L"「" + box + L"」が空です。";
    // A pasted text can be long; the message only needs its start, cut
    // between characters rather than inside a surrogate pair.
    std::wstring shown = text;
    if (text.size() > 40) {
        const bool splitsPair = IsHighSurrogate(text[39]) && IsLowSurrogate(text[40]);
        shown = text.substr(0, splitsPair ? 39 : 40) + L"…";
    }
    return L"「" + box + L"」の値「" + shown + L"」は使えません。";
}

}  // namespace

std::wstring CountRefusal(const std::wstring& text) {
    return Quoted(L"試行回数", text) +
           L"\r\n-2,147,483,648 から 2,147,483,647 までの数を入力してください (小数は最も近い整数に丸めます)。";
}

std::wstring SizeRefusal(const std::wstring& text) {
    return Quoted(L"サイズ", text) + L"\r\n1 から 1,000 までのポイント数を入力してください (10.5 のような小数も使えます)。";
}

std::wstring FaceRefusal(const std::wstring& face) {
    if (face.empty()) return L"「書体」が選ばれていません。\r\n一覧から書体を選んでください。";
    return L"書体「" + face + L"」はこのシステムにありません。\r\n一覧から書体を選んでください。";
}
