#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/Font.h"
#include "platform/Window.h"

// Collects one entry per run. The text lives as long as the window.
class frmReport : public BaseWindow<frmReport> {
public:
    ~frmReport() override { DestroyOpenWindow(); }

    // The window that owns the report once it opens.
    void SetOwner(HWND owner) { owner_ = owner; }

    // One entry for a run, the window opened or brought to the front first;
    // the text is shown in font.
    void AppendResult(double elapsedMs, std::int32_t count, const SharedFont& font);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    bool Show();
    bool Form_Load();
    void Form_Resize();
    void Form_Unload();

    HWND owner_ = nullptr;
    HWND txtReport_ = nullptr;  // child, destroyed with the window
    SharedFont font_;           // shared with the main window's text box
};
