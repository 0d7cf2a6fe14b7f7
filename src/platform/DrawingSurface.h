// Surfaces text can be drawn on besides the canvas's own bitmap: a bitmap of a kind and size in a memory DC, or a window's DC.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Font.h"
#include "platform/Handles.h"

// Made once, and drawn on as often as asked; the DC keeps its drawing state between draws.
class DrawingSurface {
public:
    // width x height pixels, bitsPerPixel 0 for a bitmap compatible with the screen, 24 or 32
    // for a top-down DIB section; none when the system will not make it.
    static std::unique_ptr<DrawingSurface> Bitmap(int bitsPerPixel, int width, int height);
    // The window's own DC, its client area made width x height first; none when the system
    // will not give the window that size.
    static std::unique_ptr<DrawingSurface> Window(HWND window, int width, int height);
    ~DrawingSurface();

    HDC dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The width text can be seen in: a window's client area as far as it lies on the screen.
    int ShownWidth() const;
    void Clear(COLORREF background);

    // The font selected into dc, held while it is; declared first, so it outlives the DC.
    SharedFont Font;

private:
    DrawingSurface() = default;
    UniqueBitmap bitmap_;
    UniqueDC memory_;
    std::unique_ptr<WindowDC> window_;
    HWND shown_ = nullptr;
    HGDIOBJ previous_ = nullptr;  // what the memory DC held before the bitmap
    HDC dc_ = nullptr;
    int width_ = 0, height_ = 0;
};

// dc's pixels from its origin as 0x00RRGGBB, row by row from the top, copied into a 32-bit
// DIB section (a bitmap selected into a DC is not to be read directly); empty when they cannot be read.
std::vector<std::uint32_t> ReadPixels(HDC dc, int width, int height);
