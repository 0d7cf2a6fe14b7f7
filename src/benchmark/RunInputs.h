#pragma once
#include <cstdint>
#include <optional>
#include <string>

// Sizes outside this range either fall below one pixel at ordinary
// resolutions or ask the font mapper for glyphs larger than any screen.
constexpr double kMinFontSize = 1;
constexpr double kMaxFontSize = 1000;

// Parses a decimal number as the count and size boxes hold it: optional
// sign, digits with at most one ".", an optional exponent, surrounding
// blanks ignored. The integer part may be grouped with thousand (the
// locale's separator, as a pasted "1,000" has it) in groups of three, and
// only so: "1,5" is refused. Nothing else (no hex).
std::optional<double> ParseDecimal(const std::wstring& text, const std::wstring& thousand = L"");

// The count: rounded to the nearest integer, halves to even, and within a
// signed 32-bit integer.
std::optional<std::int32_t> ParseCount(const std::wstring& text, const std::wstring& thousand = L"");

// The size in points, within kMinFontSize..kMaxFontSize.
std::optional<double> ParseSize(const std::wstring& text, const std::wstring& thousand = L"");

// What the user is told when a value cannot be used: which box, what it
// holds, and what it accepts.
std::wstring CountRefusal(const std::wstring& text);
std::wstring SizeRefusal(const std::wstring& text);
std::wstring FaceRefusal(const std::wstring& face);
