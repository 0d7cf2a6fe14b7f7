#include "platform/LogFont.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

LogFontFields LogFontFromFontSpec(const FontSpec& font, int dpi) {
    LogFontFields fields;
    double pixels = std::round(font.Size * dpi / 72.0);
    // A height of 0 would ask for the mapper's default size instead; one
    // past the 32-bit range would wrap into a height of the other kind.
    if (!(pixels >= 1)) pixels = 1;
    if (pixels > INT32_MAX) pixels = INT32_MAX;
    fields.Height = -static_cast<std::int32_t>(pixels);
    fields.Weight = font.Bold ? 700 : 400;
    fields.Italic = font.Italic ? 1 : 0;
    fields.Underline = font.Underline ? 1 : 0;
    fields.StrikeOut = font.Strikethrough ? 1 : 0;
    fields.CharSet = font.Charset;
    fields.FaceName = font.Name.substr(0, 31);
    return fields;
}

FontSpec FontFromLogFont(const LogFontARecord& logFont, int dpi, AnsiDecoder decode) {
    FontSpec font;
    std::size_t length = 0;
    while (length < sizeof logFont.lfFaceName && logFont.lfFaceName[length] != '\0') ++length;
    font.Name = decode(logFont.lfFaceName, length);
    if (logFont.lfHeight > 0)
        font.Size = logFont.lfHeight;
    else
        font.Size = std::fabs(72.0 / dpi * logFont.lfHeight);
    font.Charset = logFont.lfCharSet;
    font.Italic = logFont.lfItalic != 0;
    font.Underline = logFont.lfUnderline != 0;
    font.Strikethrough = logFont.lfStrikeOut != 0;
    font.Bold = logFont.lfWeight > 400;
    return font;
}
