#pragma once
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "platform/LogFont.h"

// A font description with its realised handle. Shared by every control
// that shows it, and freed when the last of them lets go.
class FontObject {
public:
    explicit FontObject(const FontSpec& description);
    const FontSpec& Description() const { return description_; }
    HFONT Handle() const { return handle_.get(); }

private:
    FontSpec description_;
    UniqueFont handle_;
};

using SharedFont = std::shared_ptr<const FontObject>;
SharedFont MakeFont(const FontSpec& description);

// The face names of the screen fonts, without vertical (@) variants.
std::vector<std::wstring> ScreenFontNames();
bool IsScreenFont(const std::wstring& face);

// The face the font mapper really picks for a font, or for the font selected into a DC.
std::wstring RealizedFace(HFONT font);
std::wstring RealizedFace(HDC dc);
// How text drawn in black on white in dc's font looks: from the pixels of text drawn at the
// origin of dc. Unknown when nothing is inked or the bitmap cannot be read.
enum class Smoothing { Unknown, None, Gray, Subpixel };
Smoothing DrawnSmoothing(HDC dc, const std::wstring& text);
// Whether text drawn at the origin of dc reaches past a surface width pixels wide.
bool RunsPast(HDC dc, const std::wstring& text, int width);
// The code page GDI reads ExtTextOutA's bytes in for the font selected into
// dc: its character set's.
unsigned TextCodePage(HDC dc);
// Ignoring case, as the font mapper does.
bool SameFace(const std::wstring& a, const std::wstring& b);

// The face both programs open on: the menu font's own face when it is a
// screen font, else the one the mapper draws it with (Wine's "MS Shell
// Dlg" is only a substitute name), else the first screen font.
std::wstring DefaultFace(const FontObject& menuFont);

// NONCLIENTMETRICSA as the system has filled it since before the padded
// border was added: the record is read in that size.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
static_assert(kNonClientMetricsSize == 340 && offsetof(NONCLIENTMETRICSA, lfMenuFont) == 160,
              "NONCLIENTMETRICSA layout");

// Reads the system's non-client metrics; tests replace it to make the
// call fail.
using NonClientMetricsReader = BOOL(WINAPI*)(UINT action, UINT size, PVOID record, UINT flags);
void SetNonClientMetricsReader(NonClientMetricsReader reader);

// The system's menu font at the screen's resolution, or the stock GUI font
// when the system gives none.
FontSpec SystemMenuFont();
