#include "platform/Font.h"

#include <algorithm>
#include <cstring>

#include "platform/Text.h"
#include "platform/Window.h"

FontObject::FontObject(const FontSpec& description) : description_(description) {
    LogFontFields fields = LogFontFromFontSpec(description, ScreenDpi());
    LOGFONTW lf{};
    lf.lfHeight = fields.Height;
    lf.lfWeight = fields.Weight;
    lf.lfItalic = fields.Italic;
    lf.lfUnderline = fields.Underline;
    lf.lfStrikeOut = fields.StrikeOut;
    lf.lfCharSet = fields.CharSet;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    fields.FaceName.copy(lf.lfFaceName, std::size(lf.lfFaceName) - 1);
    handle_.reset(CreateFontIndirectW(&lf));
}

SharedFont MakeFont(const FontSpec& description) { return std::make_shared<const FontObject>(description); }

namespace {

int CALLBACK CollectFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM context) {
    auto* names = reinterpret_cast<std::vector<std::wstring>*>(context);
    if (lf->lfFaceName[0] != L'@') names->emplace_back(lf->lfFaceName);
    return 1;
}

// Every screen font's face, or only those of one family: an empty face
// lists all of them.
std::vector<std::wstring> EnumerateFaces(const std::wstring& face) {
    std::vector<std::wstring> names;
    WindowDC screen(nullptr);
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    face.copy(query.lfFaceName, LF_FACESIZE - 1);
    EnumFontFamiliesExW(screen.get(), &query, CollectFace, reinterpret_cast<LPARAM>(&names), 0);
    return names;
}

}  // namespace

bool SameFace(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::vector<std::wstring> ScreenFontNames() {
    std::vector<std::wstring> names = EnumerateFaces(L"");
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

bool IsScreenFont(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    const std::vector<std::wstring> names = EnumerateFaces(face);
    return std::any_of(names.begin(), names.end(), [&](const std::wstring& name) { return SameFace(name, face); });
}

std::wstring RealizedFace(HFONT font) {
    WindowDC screen(nullptr);
    SelectGuard select(screen.get(), font);
    return RealizedFace(screen.get());
}

std::wstring RealizedFace(HDC dc) {
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, static_cast<int>(std::size(face)), face);
    return face;
}

unsigned TextCodePage(HDC dc) {
    const UINT charset = GetTextCharset(dc);
    CHARSETINFO info{};
    if (TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<DWORD_PTR>(charset)), &info, TCI_SRCCHARSET))
        return info.ciACP;
    return charset == OEM_CHARSET ? GetOEMCP() : CP_ACP;
}

std::wstring ScreenFaceOf(const FontObject& font) {
    const std::wstring& face = font.Description().Name;
    return IsScreenFont(face) ? face : RealizedFace(font.Handle());
}

FontSpec DefaultGuiFontSpec() {
    LOGFONTA lf{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    FontSpec font = FontFromLogFontBytes(reinterpret_cast<const unsigned char*>(&lf), ScreenDpi());
    font.Charset = DEFAULT_CHARSET;
    return font;
}

FontSpec FontFromLogFontBytes(const unsigned char* logFontA, int dpi) {
    LogFontARecord record;
    std::memcpy(&record, logFontA, sizeof record);
    return FontFromLogFont(record, dpi, FromAnsi);
}
