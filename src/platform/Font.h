#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/LogFont.h"
#include "platform/Handles.h"

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
// The code page GDI reads ExtTextOutA's bytes in for the font selected into
// dc: its character set's.
unsigned TextCodePage(HDC dc);
// Ignoring case, as the font mapper does.
bool SameFace(const std::wstring& a, const std::wstring& b);

// The screen font a font is drawn with: its own face when that is one,
// else the face the mapper stands in with (Wine's "MS Shell Dlg"). Both
// programs start on this face of the menu font.
std::wstring ScreenFaceOf(const FontObject& font);

// The stock GUI font as a description, for windows that have none yet.
FontSpec DefaultGuiFontSpec();

// Reads a LOGFONTA from a byte record.
FontSpec FontFromLogFontBytes(const unsigned char* logFontA, int dpi);
