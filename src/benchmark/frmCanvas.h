#pragma once
#include <windows.h>

#include "platform/BackingBitmap.h"
#include "platform/Font.h"
#include "platform/Window.h"

// The canvas's client area in pixels at the screen's resolution, as Show makes it.
SIZE CanvasClientSize();

// dc set up as every run draws: font (realised when it changes from selected, which then
// holds it), the background filled in the text cells or not, black text.
HDC SetUpText(HDC dc, const SharedFont& font, SharedFont& selected, bool opaque);

// The window the benchmark draws on: everything is drawn into its backing
// bitmap, which painting copies to the screen. Made on first use and again
// after the user closes it.
class frmCanvas : public BaseWindow<frmCanvas> {
public:
    ~frmCanvas() override { DestroyOpenWindow(); }

    // Shows the canvas owned by owner (creating it if needed) and brings it
    // to the front; false when the window or its bitmap cannot be made.
    bool Show(HWND owner);

    // The bitmap cleared and set up to draw text in font, filling the text
    // cells or not; nullptr when the bitmap cannot cover the window.
    HDC Prepare(const SharedFont& font, bool opaque);
    // The font the last Prepare selected, if the window still lives.
    const SharedFont& Font() const { return font_; }
    // Shows the bitmap on screen now.
    void Refresh();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    static constexpr COLORREF kBackColor = RGB(255, 255, 255);

private:
    bool OnCreate();
    void OnSize(int width, int height);
    void OnPaint();
    void OnDestroy();

    // Declared first, so that it outlives the bitmap's DC it is selected into.
    SharedFont font_;
    BackingBitmap backing_;
};
