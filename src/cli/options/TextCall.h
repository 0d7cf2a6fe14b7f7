// The text calls the console program can time, and the font qualities, with their names.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The text calls the console program times, each once per iteration at the canvas origin;
// the extent call lays the text out without drawing it.
enum class TextCall { ExtTextOutA, ExtTextOutW, TextOutA, PolyTextOutA, GetTextExtentPoint32A };

// The font's lfQuality, with LOGFONT's own values.
enum class FontQuality : std::uint8_t { Default = 0, NonAntialiased = 3, Antialiased = 4, ClearType = 5 };

// The names options and files use, read in any case; the first is the default.
inline const std::vector<std::pair<std::string, TextCall>> kCallNames = {
    {"ExtTextOutA", TextCall::ExtTextOutA}, {"ExtTextOutW", TextCall::ExtTextOutW}, {"TextOutA", TextCall::TextOutA},
    {"PolyTextOutA", TextCall::PolyTextOutA}, {"GetTextExtentPoint32A", TextCall::GetTextExtentPoint32A}};
inline const std::vector<std::pair<std::string, FontQuality>> kQualityNames = {
    {"default", FontQuality::Default}, {"nonantialiased", FontQuality::NonAntialiased},
    {"antialiased", FontQuality::Antialiased}, {"cleartype", FontQuality::ClearType}};

std::string CallName(TextCall call);
std::string QualityName(FontQuality quality);
