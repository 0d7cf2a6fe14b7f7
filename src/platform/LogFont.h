#pragma once
#include <cstdint>
#include <string>

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

    bool operator==(const FontSpec& other) const {
        return Name == other.Name && Size == other.Size && Bold == other.Bold && Italic == other.Italic &&
               Underline == other.Underline && Strikethrough == other.Strikethrough && Charset == other.Charset;
    }
    bool operator!=(const FontSpec& other) const { return !(*this == other); }
};

// The LOGFONT fields a FontSpec decides; the rest stay at their defaults.
struct LogFontFields {
    std::int32_t Height = 0;  // negative: character height in pixels
    std::int32_t Weight = 400;
    std::uint8_t Italic = 0;
    std::uint8_t Underline = 0;
    std::uint8_t StrikeOut = 0;
    std::uint8_t CharSet = 1;
    std::wstring FaceName;  // at most 31 characters
};

LogFontFields LogFontFromFontSpec(const FontSpec& font, int dpi);

// LOGFONTA as it lies in memory (60 bytes), readable without <windows.h>.
struct LogFontARecord {
    std::int32_t lfHeight;
    std::int32_t lfWidth;
    std::int32_t lfEscapement;
    std::int32_t lfOrientation;
    std::int32_t lfWeight;
    std::uint8_t lfItalic;
    std::uint8_t lfUnderline;
    std::uint8_t lfStrikeOut;
    std::uint8_t lfCharSet;
    std::uint8_t lfOutPrecision;
    std::uint8_t lfClipPrecision;
    std::uint8_t lfQuality;
    std::uint8_t lfPitchAndFamily;
    char lfFaceName[32];
};
static_assert(sizeof(LogFontARecord) == 60, "LOGFONTA layout");

// Converts ANSI bytes (no terminator needed) to text.
using AnsiDecoder = std::wstring (*)(const char* bytes, std::size_t length);

// Reads a LOGFONTA into a FontSpec. A positive height is taken as points;
// otherwise the character height in pixels is converted with dpi.
FontSpec FontFromLogFont(const LogFontARecord& logFont, int dpi, AnsiDecoder decode);
