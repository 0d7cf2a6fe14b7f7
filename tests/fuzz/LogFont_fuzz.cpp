// Font records as GetObject hands them over, read into a font description
// and turned back into the fields a font is made from.
#include <cmath>
#include <cstring>

#include "FuzzInput.h"
#include "platform/LogFont.h"

namespace {

// One character per byte: the decoder's own work is not under test here.
std::wstring Bytes(const char* bytes, std::size_t length) {
    std::wstring text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(LogFontARecord)) return 0;
    // A record exactly as large as the real one, so reading past it is caught.
    auto* record = new LogFontARecord;
    std::memcpy(record, data, sizeof *record);
    FuzzInput rest(data + sizeof *record, size - sizeof *record);
    const int dpiChoices[] = {96, 120, 144, 192, 72};
    const std::uint8_t pick = rest.Take<std::uint8_t>();
    const int dpi = pick < 5 ? dpiChoices[pick] : rest.Left() ? rest.Take<std::int32_t>() : 96;

    const FontSpec font = FontFromLogFont(*record, dpi, Bytes);
    FUZZ_CHECK(font.Name.size() == strnlen(record->lfFaceName, sizeof record->lfFaceName));
    FUZZ_CHECK(font.Bold == (record->lfWeight > 400));
    FUZZ_CHECK(font.Italic == (record->lfItalic != 0));
    FUZZ_CHECK(font.Underline == (record->lfUnderline != 0));
    FUZZ_CHECK(font.Strikethrough == (record->lfStrikeOut != 0));
    FUZZ_CHECK(font.Charset == record->lfCharSet);
    if (dpi > 0) FUZZ_CHECK(std::isfinite(font.Size) && font.Size >= 0);

    const LogFontFields fields = LogFontFromFontSpec(font, dpi);
    FUZZ_CHECK(fields.Height < 0);
    FUZZ_CHECK(fields.Weight == (font.Bold ? 700 : 400));
    FUZZ_CHECK(fields.FaceName.size() <= 31);
    FUZZ_CHECK(fields.FaceName == font.Name.substr(0, 31));
    // A height given in pixels comes back as the same pixels.
    if (dpi > 0 && dpi <= 10000 && record->lfHeight < 0 && record->lfHeight > -1000000)
        FUZZ_CHECK(fields.Height == record->lfHeight);
    delete record;
    return 0;
}
