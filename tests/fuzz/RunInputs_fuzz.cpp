// The count and size boxes' parsing, and the messages that refuse a value.
#include <cmath>
#include <cwchar>

#include "FuzzInput.h"
#include "benchmark/RunInputs.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == 0x3000; }

std::wstring Trimmed(const std::wstring& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// The C library's reading of the same characters, where it reads all of them.
bool LibraryReads(const std::wstring& text, double& value) {
    if (text.empty() || text.find_first_not_of(L"0123456789.eE+-") != std::wstring::npos) return false;
    wchar_t* end = nullptr;
    value = std::wcstod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

// The value shown in a refusal ends before "」"; a cut never splits a pair.
void CheckQuoted(const std::wstring& message, const std::wstring& text) {
    FUZZ_CHECK(!message.empty());
    if (text.empty()) {
        FUZZ_CHECK(message.find(L"」が空です。") != std::wstring::npos);
        return;
    }
    const size_t open = message.find(L"」の値「");
    FUZZ_CHECK(open != std::wstring::npos);
    const size_t start = open + 4;
    const size_t close = message.rfind(L"」は使えません。");
    FUZZ_CHECK(close != std::wstring::npos && close >= start);
    const std::wstring shown = message.substr(start, close - start);
    if (text.size() <= 40) {
        FUZZ_CHECK(shown == text);
        return;
    }
    // A long pasted value is cut, never in the middle of a surrogate pair.
    FUZZ_CHECK(shown.size() >= 2 && shown.size() <= 41 && shown.back() == L'…');
    FUZZ_CHECK(text.compare(0, shown.size() - 1, shown, 0, shown.size() - 1) == 0);
    const size_t kept = shown.size() - 1;
    FUZZ_CHECK(!(IsHighSurrogate(text[kept - 1]) && IsLowSurrogate(text[kept])));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::wstring text = input.Text(4096);

    const std::optional<double> decimal = ParseDecimal(text);
    if (decimal) FUZZ_CHECK(std::isfinite(*decimal));
    double library = 0;
    if (LibraryReads(Trimmed(text), library)) {
        FUZZ_CHECK(decimal.has_value());
        FUZZ_CHECK(*decimal == library);
    } else {
        FUZZ_CHECK(!decimal.has_value());
    }

    const std::optional<std::int32_t> count = ParseCount(text);
    if (count) {
        FUZZ_CHECK(decimal.has_value());
        const double off = *count - *decimal;
        FUZZ_CHECK(std::fabs(off) <= 0.5);
        if (std::fabs(off) == 0.5) FUZZ_CHECK(*count % 2 == 0);
    } else if (decimal) {
        FUZZ_CHECK(std::fabs(*decimal) > 2147483647.0);
    }

    const std::optional<double> points = ParseSize(text);
    FUZZ_CHECK(points.has_value() == (decimal && *decimal >= kMinFontSize && *decimal <= kMaxFontSize));
    if (points) FUZZ_CHECK(*points == *decimal);

    const std::wstring countMessage = CountRefusal(text);
    FUZZ_CHECK(countMessage.find(L"試行回数") != std::wstring::npos);
    CheckQuoted(countMessage, text);
    const std::wstring sizeMessage = SizeRefusal(text);
    FUZZ_CHECK(sizeMessage.find(L"サイズ") != std::wstring::npos);
    CheckQuoted(sizeMessage, text);
    // A face comes from the font list; whatever it is, the message names it.
    FUZZ_CHECK(FaceRefusal(text).find(text) != std::wstring::npos);
    return 0;
}
