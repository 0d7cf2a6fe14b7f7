#pragma once
#include <cstdint>
#include <optional>
#include <string>

// The text calls the console program times, each once per iteration at the canvas origin;
// the extent call lays the text out without drawing it.
enum class TextCall { ExtTextOutA, ExtTextOutW, TextOutA, PolyTextOutA, GetTextExtentPoint32A };

// The font's lfQuality, with LOGFONT's own values.
enum class FontQuality : std::uint8_t { Default = 0, NonAntialiased = 3, Antialiased = 4, ClearType = 5 };

std::string CallName(TextCall call);
std::string QualityName(FontQuality quality);
// Either name, in any case; none for a word that names none.
std::optional<TextCall> ReadCall(const std::string& word);
std::optional<FontQuality> ReadQuality(const std::string& word);
