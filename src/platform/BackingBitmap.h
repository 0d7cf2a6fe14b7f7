#pragma once
#include <windows.h>

#include "platform/Handles.h"

// The off-screen picture behind a window: drawing goes into it, painting
// copies it to the screen. It grows with the window and keeps its content.
class BackingBitmap {
public:
    // Makes sure the bitmap covers width x height pixels; false, with the
    // old picture kept, when the system cannot make a larger one.
    bool Cover(int width, int height, COLORREF background);
    void Clear(COLORREF background);
    void Paint(HDC target, const RECT& area) const;
    void Release();

    HDC dc() const { return dc_.get(); }

private:
    // Declared so that the DC goes first: the bitmap is deleted once no DC
    // holds it.
    UniqueBitmap bitmap_;
    UniqueDC dc_;
    int width_ = 0;
    int height_ = 0;
};
