#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>

// A font as the windows and controls carry it; turned into a real font
// handle by the platform layer.
struct FontSpec {
    std::wstring Name;
    double Size = 0;  // points, may be fractional
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    std::uint8_t Charset = 1;  // DEFAULT_CHARSET: let the face decide
    std::uint8_t Quality = 0;  // lfQuality; DEFAULT_QUALITY, as both programs draw unless asked
    std::int16_t Weight = 0;   // lfWeight; 0: Bold's, 700 or 400

    auto Fields() const { return std::tie(Name, Size, Bold, Italic, Underline, Strikethrough, Charset, Quality, Weight); }
    bool operator==(const FontSpec& other) const { return Fields() == other.Fields(); }
};

// A LOGFONT's face holds this many characters before its terminator.
constexpr std::size_t kMaxFaceLength = 31;

// A positive LOGFONT height is taken as points; otherwise it is the
// character height in pixels at dpi.
double PointsFromLogFontHeight(std::int32_t height, int dpi);
// The negative pixel height of a size in points: never 0 (the mapper's
// default) and within 32 bits.
std::int32_t LogFontHeightFromPoints(double points, int dpi);

// Converts ANSI bytes (no terminator needed) to text.
using AnsiDecoder = std::wstring (*)(const char* bytes, std::size_t length);

// A LOGFONTA read into a FontSpec. A template over the structure, so that
// it is tested without <windows.h>.
template <typename LogFontA>
FontSpec FontFromLogFont(const LogFontA& logFont, int dpi, AnsiDecoder decode) {
    std::size_t length = 0;
    while (length < sizeof logFont.lfFaceName && logFont.lfFaceName[length] != '\0') ++length;
    FontSpec font;
    font.Name = decode(logFont.lfFaceName, length);
    font.Size = PointsFromLogFontHeight(logFont.lfHeight, dpi);
    font.Charset = logFont.lfCharSet;
    font.Italic = logFont.lfItalic != 0;
    font.Underline = logFont.lfUnderline != 0;
    font.Strikethrough = logFont.lfStrikeOut != 0;
    font.Bold = logFont.lfWeight > 400;
    return font;
}

// The fields of a LOGFONTW a FontSpec decides; the others stay as they are.
template <typename LogFontW>
void SetLogFont(LogFontW& logFont, const FontSpec& font, int dpi) {
    logFont.lfHeight = LogFontHeightFromPoints(font.Size, dpi);
    logFont.lfWeight = font.Weight ? font.Weight : font.Bold ? 700 : 400;
    logFont.lfItalic = font.Italic ? 1 : 0;
    logFont.lfUnderline = font.Underline ? 1 : 0;
    logFont.lfStrikeOut = font.Strikethrough ? 1 : 0;
    logFont.lfCharSet = font.Charset;
    logFont.lfFaceName[font.Name.copy(logFont.lfFaceName, kMaxFaceLength)] = 0;
}
