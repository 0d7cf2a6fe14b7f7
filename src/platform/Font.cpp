#include "platform/Font.h"

#include <algorithm>
#include <cstdint>

#include "platform/DrawingSurface.h"
#include "platform/Text.h"
#include "platform/Window.h"

FontObject::FontObject(const FontSpec& description) : description_(description) {
    LOGFONTW lf{};  // the zero fields are the defaults: precision, quality, pitch
    SetLogFont(lf, description, ScreenDpi());
    lf.lfQuality = description.Quality;
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
    if (face.empty() || face.size() > kMaxFaceLength) return false;
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

Smoothing DrawnSmoothing(HDC dc, const std::wstring& text) {
    SIZE extent{};
    if (text.empty() || !GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent) ||
        extent.cx <= 0 || extent.cy <= 0)
        return Smoothing::Unknown;
    ExtTextOutW(dc, 0, 0, 0, nullptr, text.c_str(), static_cast<int>(text.size()), nullptr);
    const std::vector<std::uint32_t> pixels = ReadPixels(dc, std::min<int>(extent.cx, 2048), std::min<int>(extent.cy, 256));
    if (pixels.empty()) return Smoothing::Unknown;
    bool gray = false, inked = false;
    for (std::uint32_t pixel : pixels) {
        const std::uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        // Black text on white: coloured fringes are subpixel smoothing, grey is plain antialiasing.
        if (r != g || g != b) return Smoothing::Subpixel;
        inked = inked || r != 0xFF;
        gray = gray || (r != 0 && r != 0xFF);
    }
    return !inked ? Smoothing::Unknown : gray ? Smoothing::Gray : Smoothing::None;
}

bool RunsPast(HDC dc, const std::wstring& text, int width) {
    SIZE extent{};
    return GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent) && extent.cx > width;
}

unsigned TextCodePage(HDC dc) {
    const UINT charset = GetTextCharset(dc);
    CHARSETINFO info{};
    if (TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<DWORD_PTR>(charset)), &info, TCI_SRCCHARSET))
        return info.ciACP;
    return charset == OEM_CHARSET ? GetOEMCP() : CP_ACP;
}

std::wstring DefaultFace(const FontObject& menuFont) {
    const std::wstring& face = menuFont.Description().Name;
    if (IsScreenFont(face)) return face;
    const std::wstring realized = RealizedFace(menuFont.Handle());
    if (IsScreenFont(realized)) return realized;
    const std::vector<std::wstring> faces = ScreenFontNames();
    return faces.empty() ? realized : faces.front();
}

namespace {
NonClientMetricsReader g_reader = SystemParametersInfoA;
}

void SetNonClientMetricsReader(NonClientMetricsReader reader) { g_reader = reader ? reader : SystemParametersInfoA; }

FontSpec SystemMenuFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    g_reader(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0);
    FontSpec font = FontFromLogFont(metrics.lfMenuFont, ScreenDpi(), FromAnsi);
    // A record the system left empty names no face and no size: the stock
    // GUI font rather than the mapper's guess.
    if (!font.Name.empty() && font.Size > 0) return font;
    LOGFONTA gui{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    return FontFromLogFont(gui, ScreenDpi(), FromAnsi);
}
