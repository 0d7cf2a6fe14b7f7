#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AppDriver.h"
#include "ui/frmMain.h"

using e2e::Utf8;

// How many more GDI objects this process could create right now.
// GetGuiResources is a stub under Wine, so count by filling the table.
int GdiHandleHeadroom();

// The pixels of a DC's area, 0x00RRGGBB; and how many are not white.
std::vector<DWORD> Pixels(HDC dc, int width, int height);
int Inked(const std::vector<DWORD>& pixels);

// Top-level windows of this thread, without combo drop-downs and Wine's IME windows.
int ThreadWindows();

// Message boxes are kept instead of shown; the main window is opened on demand.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Open();
    // Clicks a button or closes a window as its close box does, then handles
    // every message waiting; WM_QUIT sets quit.
    void Click(e2e::Control button) { SendMessageW(controls[button], BM_CLICK, 0, 0), DispatchPending(); }
    void Close(const wchar_t* caption) { SendMessageW(FindWindowW(nullptr, caption), WM_SYSCOMMAND, SC_CLOSE, 0), DispatchPending(); }
    void DispatchPending();

    std::vector<std::wstring> messages;
    std::unique_ptr<frmMain> main;
    HWND controls[e2e::kControlCount] = {};  // in tab order, found through the window
    bool quit = false;
};
