#pragma once
#include <windows.h>

#include "platform/BackingBitmap.h"
#include "platform/Font.h"
#include "platform/Window.h"

// The window the benchmark draws on. Created on first use and again after
// the user closes it, each time with its initial properties.
class frmCanvas : public BaseWindow<frmCanvas> {
public:
    static constexpr COLORREF kBackColor = RGB(255, 255, 255);
    ~frmCanvas() override { DestroyOpenWindow(); }

    // Shows the canvas owned by owner (creating it if needed) and brings it
    // to the front.
    bool Show(HWND owner);
    void Close();

    const FontSpec& Font() const { return font_->Description(); }
    void SetFont(const FontSpec& font);
    // False when the backing bitmap cannot be made.
    bool SetAutoRedraw(bool on);
    void Cls();
    void SetFontTransparent(bool transparent);
    bool FontTransparent() const { return fontTransparent_; }
    // The backing bitmap's DC while AutoRedraw is on, the window's own otherwise.
    HDC hDC() const;
    void Refresh();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    bool Form_Load();
    void Form_Paint();
    void Form_Resize(int width, int height);
    void Form_Unload();
    void ApplyDrawingState(HDC dc);

    SharedFont font_ = MakeFont(DefaultGuiFontSpec());
    BackingBitmap backing_;
    bool autoRedraw_ = false;
    bool fontTransparent_ = true;
};
