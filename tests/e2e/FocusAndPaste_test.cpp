// The default button as a dialog shows it, and long pasted text, with real
// key and mouse messages through the program's own message loop.
#include <functional>

#include "AppTest.h"

namespace e2e {
namespace {

class FocusAndPasteTest : public AppTest {
protected:
    bool IsDefault(Control button) const {
        return (GetWindowLongW(app->Get(button), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    }
    // Shift must be down in the program's key state, so this goes in as input.
    void ShiftTab() {
        INPUT keys[4] = {};
        const WORD vks[4] = {VK_SHIFT, VK_TAB, VK_TAB, VK_SHIFT};
        for (int i = 0; i < 4; ++i) {
            keys[i].type = INPUT_KEYBOARD;
            keys[i].ki.wVk = vks[i];
            keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
        }
        SendInput(4, keys, sizeof(INPUT));
    }
    // Pressed on the button, released beside it: the focus moves, nothing is clicked.
    void PressBeside(Control button) {
        PostMessageW(app->Get(button), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessageW(app->Get(button), WM_LBUTTONUP, 0, MAKELPARAM(-20, -20));
        app->Settle();
    }
    void ActivateAnotherWindowAndBack() {
        HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                                     nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other);
        WaitUntil([&] { return app->FocusedControl() == kControlCount; }, 5000);
        ActivateMain();
        DestroyWindow(other);
    }
};

TEST_F(FocusAndPasteTest, TheDefaultBorderFollowsTheFocusAsInADialog) {
    const struct {
        const char* move;
        std::function<void()> act;
        Control focus;
    } steps[] = {
        {"start", [] {}, txtString},
        {"Tab", [&] { app->Press(VK_TAB); }, cmbTimes},
        {"Alt+F", [&] { app->Alt(L'f'); }, cmbFont},
        {"Alt+H, Tab", [&] { app->Alt(L'h'), app->Press(VK_TAB); }, chkBold},
        {"Tab, Tab", [&] { app->Press(VK_TAB), app->Press(VK_TAB); }, cmdTest},
        {"Tab", [&] { app->Press(VK_TAB); }, cmdExit},
        {"Tab", [&] { app->Press(VK_TAB); }, chkOpaque},
        {"Shift+Tab", [&] { ShiftTab(); }, cmdExit},
        {"Shift+Tab", [&] { ShiftTab(); }, cmdTest},
        {"press on Exit", [&] { PressBeside(cmdExit); }, cmdExit},
        {"click on Bold", [&] { app->Click(chkBold); }, chkBold},
        {"press on Exit", [&] { PressBeside(cmdExit); }, cmdExit},
        {"activation", [&] { ActivateAnotherWindowAndBack(); }, cmdExit},
        {"Alt+S", [&] { app->Alt(L's'); }, txtString},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_TRUE(WaitUntil([&] { return app->FocusedControl() == step.focus; }, 5000)) << step.move;
        app->Settle();  // the key that moved the focus is handled to its end
        EXPECT_EQ(IsDefault(cmdTest), step.focus != cmdExit) << step.move;
        EXPECT_EQ(IsDefault(cmdExit), step.focus == cmdExit) << step.move;
    }
}

TEST_F(FocusAndPasteTest, A40000CharacterTextAndAGroupedCountArePastedAndRun) {
    std::wstring text;
    for (int i = 0; i < 40000; ++i) text += static_cast<wchar_t>(L'a' + i % 26);
    app->Paste(app->Get(txtString), text);
    const std::wstring kept = TextOf(app->Get(txtString));
    EXPECT_EQ(kept.size(), text.size());
    EXPECT_TRUE(kept == text);
    app->Paste(app->EditOf(cmbTimes), L"1,000");
    const Outcome outcome = Submit();
    EXPECT_TRUE(outcome.ran) << Utf8(outcome.message);
}

}  // namespace
}  // namespace e2e
