#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AppDriver.h"
#include "platform/Dialogs.h"
#include "ui/frmMain.h"

using namespace e2e;

// Message boxes are kept instead of shown; the main window is opened on demand.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { SetMessageBoxHook([this](HWND, const std::wstring& text, UINT) { return messages.push_back(text), IDOK; }); }
    void TearDown() override {
        main.reset();
        DispatchPending();
        SetMessageBoxHook(nullptr);
    }
    void Open() {
        main = std::make_unique<frmMain>();
        ASSERT_TRUE(main->Create());
        ShowWindow(main->Handle(), SW_SHOWNORMAL);
        HWND child = GetWindow(main->Handle(), GW_CHILD);
        for (HWND& control : controls) control = child, child = GetWindow(child, GW_HWNDNEXT);
    }
    // Clicks a button or closes a window as its close box does, then handles what is waiting.
    void Click(Control button) { SendMessageW(controls[button], BM_CLICK, 0, 0), DispatchPending(); }
    void Close(const wchar_t* caption) { SendMessageW(FindWindowW(nullptr, caption), WM_SYSCOMMAND, SC_CLOSE, 0), DispatchPending(); }
    void DispatchPending() {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) quit |= msg.message == WM_QUIT, DispatchMessageW(&msg);
    }

    std::vector<std::wstring> messages;
    std::unique_ptr<frmMain> main;
    HWND controls[kControlCount] = {};  // in tab order, found through the window
    bool quit = false;
};
