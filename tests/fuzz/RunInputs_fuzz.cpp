// The count and size boxes' reading of any text, against the C library's.
#include <cmath>
#include <cwchar>

#include "FuzzInput.h"
#include "benchmark/RunInputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input{data, size};
    const std::wstring text = input.Text(4096);
    const std::optional<double> decimal = ParseDecimal(text);

    // Blanks around, then only what wcstod reads in full: sign, digits, one point, exponent.
    const size_t begin = text.find_first_not_of(L" \t\x3000"), end = text.find_last_not_of(L" \t\x3000");
    const std::wstring core = begin == std::wstring::npos ? L"" : text.substr(begin, end - begin + 1);
    wchar_t* stop = nullptr;
    const double library = std::wcstod(core.c_str(), &stop);
    const bool reads = !core.empty() && core.find_first_not_of(L"0123456789.eE+-") == std::wstring::npos &&
                       stop == core.c_str() + core.size() && std::isfinite(library);
    FUZZ_CHECK(decimal == (reads ? std::optional<double>(library) : std::nullopt));

    const std::optional<std::int32_t> count = ParseCount(text);
    FUZZ_CHECK(count.has_value() == (decimal && std::fabs(std::nearbyint(*decimal)) <= 2147483647.0 + (*decimal < 0)));
    if (count) FUZZ_CHECK(std::fabs(*count - *decimal) < 0.5 || (std::fabs(*count - *decimal) == 0.5 && *count % 2 == 0));
    const std::optional<double> points = ParseSize(text);
    FUZZ_CHECK(points == (decimal && *decimal >= 1 && *decimal <= 1000 ? decimal : std::nullopt));

    FUZZ_CHECK(CountRefusal(text).find(L"「試行回数」") != std::wstring::npos);
    FUZZ_CHECK(SizeRefusal(text).find(L"「サイズ」") != std::wstring::npos);
    return 0;
}
