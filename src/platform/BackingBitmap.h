#pragma once
#include <windows.h>

#include "platform/Handles.h"

// The off-screen picture behind a window: drawing goes into it, painting
// copies it to the screen. It grows with the window and keeps its content.
class BackingBitmap {
public:
    BackingBitmap() = default;
    BackingBitmap(const BackingBitmap&) = delete;
    BackingBitmap& operator=(const BackingBitmap&) = delete;
    ~BackingBitmap() { Release(); }

    // Makes sure the bitmap covers width x height pixels; false, with the
    // old picture kept, when the system cannot make a larger one.
    bool Cover(int width, int height, COLORREF background);
    void Clear(COLORREF background);
    void Paint(HDC target, const RECT& area) const;
    void Release();

    HDC dc() const { return dc_.get(); }

private:
    // Declared so that destruction selects the bitmap out before deleting it.
    UniqueDC dc_;
    UniqueBitmap bitmap_;
    SelectGuard selected_;
    int width_ = 0;
    int height_ = 0;
};
