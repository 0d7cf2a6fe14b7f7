// The program driven from another process with real key and mouse messages
// through its own message loop.
#include <gtest/gtest.h>

#include <memory>

#include "AppDriver.h"

namespace e2e {
namespace {

std::wstring g_program;  // from the command line

// Each test gets a freshly started program, ended afterwards if still running.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app->Started()) << "cannot start " << Utf8(g_program); }
    // Presses Enter: true when exactly one entry was added; a message box is read into message and dismissed.
    bool Submit(std::wstring& message) {
        const int entries = app->ReportEntries();
        app->Press(VK_RETURN);
        HWND box = nullptr;
        WaitUntil([&] { return (box = app->FindMessageBox()) != nullptr || app->ReportEntries() > entries; });
        if (box) message = app->MessageBoxText(box), app->Dismiss(box), app->Settle();
        // Without a window manager the X server may hand the activation elsewhere when the box goes.
        if (!box || GetForegroundWindow() != app->Main()) app->Activate();
        return !box && app->ReportEntries() == entries + 1;
    }
    bool IsDefault(Control button) const { return (GetWindowLongW(app->Get(button), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }

    std::unique_ptr<RunningApp> app = std::make_unique<RunningApp>(g_program);
};

// Tab order, access keys and the default button's border, which follows the
// focus as in a dialog. Moves: Tab, '<' Shift+Tab, a letter Alt+letter,
// 'P' a press on Exit released beside it, 'B' a click on Bold, 'A' activation.
TEST_F(AppTest, TabOrderAccessKeysAndTheDefaultBorderFollowTheFocus) {
    const struct { wchar_t move; Control focus; } steps[] = {{0, txtString}, {'\t', cmbTimes}, {'\t', cmbFont}, {'\t', cmbSize}, {'\t', chkBold}, {'\t', chkItalic},
                 {'\t', cmdTest}, {'\t', cmdExit}, {'\t', chkOpaque}, {'\t', txtString}, {'f', cmbFont}, {'h', cmbSize},
                 {'t', cmbTimes}, {'<', txtString}, {'<', chkOpaque}, {'<', cmdExit}, {'<', cmdTest}, {'P', cmdExit},
                 {'B', chkBold}, {'P', cmdExit}, {'A', cmdExit}, {'s', txtString}};
    for (const auto& step : steps) {
        const wchar_t m = step.move;
        m == '\t' ? app->Press(VK_TAB) : m == '<' ? app->ShiftTab() : m == 'P' ? app->PressBeside(cmdExit)
            : m == 'B' ? app->Click(chkBold) : m == 'A' ? app->ActivateAnotherWindowAndBack() : m ? app->Alt(m) : void();
        EXPECT_TRUE(WaitUntil([&] { return app->FocusedControl() == step.focus; }, 5000)) << char(m) << step.focus << " focus " << app->FocusedControl();
        app->Settle();  // the key that moved the focus is handled to its end
        EXPECT_TRUE(IsDefault(cmdTest) == (step.focus != cmdExit) && IsDefault(cmdExit) == (step.focus == cmdExit)) << char(m) << step.focus;
    }
}

// Values typed through the number boxes' key filter or pasted: each runs, or
// is refused with a message naming the box, the focus back in that box with
// its text selected.
TEST_F(AppTest, EachValueRunsOrIsRefusedWithTheFocusOnItsBox) {
    const std::wstring longText(40000, L'W');
    const struct {  // the box's access key; refusal: a part of the message, nullptr: runs
        wchar_t key; Control box; bool pasted; const wchar_t *input, *shown, *refusal;
    } cases[] = {
        {'t', cmbTimes, false, L"", L"", L"「試行回数」が空です"},
        {'t', cmbTimes, false, L"1.2.3", L"1.2.3", L"-2,147,483,648 から 2,147,483,647"},
        {'t', cmbTimes, true, L"2147483647.5", L"2147483647.5", L"「試行回数」"},
        {'t', cmbTimes, true, L"1,000", L"1,000", nullptr},
        {'t', cmbTimes, false, L"1a2-e+,.5", L"12.5", nullptr},
        {'t', cmbTimes, false, L"0", L"0", nullptr},
        {'h', cmbSize, false, L"0.5", L"0.5", L"1 から 1,000"},
        {'h', cmbSize, true, L"-12", L"-12", L"「サイズ」"},
        {'h', cmbSize, false, L"9x\b10.5", L"10.5", nullptr},
        {'s', txtString, true, longText.c_str(), longText.c_str(), nullptr},
        {'s', txtString, false, L"a-b,1e € 한국어 😀", L"a-b,1e € 한국어 😀", nullptr},  // none but ASCII in code page 932
    };
    int entries = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(std::wstring(c.input).substr(0, 20)));
        app->Activate();
        app->Alt(c.key);  // selects the whole text, so Backspace empties the box
        app->Press(VK_BACK);
        HWND edit = c.box == txtString ? app->Get(txtString) : app->EditOf(c.box);
        c.pasted ? app->Paste(edit, c.input) : app->Type(c.input);
        EXPECT_TRUE(TextOf(edit) == c.shown);
        app->Press(VK_TAB);  // Enter from the next control: a refusal must bring the focus back
        std::wstring message;
        const bool ran = Submit(message);
        EXPECT_EQ(ran, !c.refusal) << Utf8(message);
        entries += ran;
        if (!c.refusal) continue;
        DWORD start = 1, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_TRUE(message.find(c.refusal) != std::wstring::npos && app->FocusedControl() == c.box && start == 0 && end == wcslen(c.input)) << Utf8(message);
    }
    EXPECT_EQ(app->ReportEntries(), entries);
    EXPECT_NE(app->ReportText().find(L"平均時間: 計算できません (試行回数 0)\r\n\r\n"), std::wstring::npos);
}

// The canvas and report come to the front with every run, but the main
// window keeps the keyboard, so Enter runs again; Tab still selects a box's text.
TEST_F(AppTest, EnterRunsAgainAfterEachRunAltGRunsEscapeAltXAndExitEndTheProgram) {
    app->Alt(L't');
    for (int entries = 1; entries <= 3; ++entries) {
        app->Press(VK_RETURN);  // Test is the default button
        EXPECT_TRUE(WaitUntil([&] { return app->ReportEntries() == entries; }));
        app->Settle();
        EXPECT_TRUE(GetForegroundWindow() == app->Main() && app->FocusedControl() == cmbTimes && app->Canvas()) << entries;
    }
    app->Alt(L'g');
    EXPECT_TRUE(WaitUntil([&] { return app->ReportEntries() == 4; }));
    for (Control box : {cmbTimes, cmbSize}) {
        app->Alt(box == cmbTimes ? L's' : L'f'), app->Press(VK_TAB);
        DWORD start = 1, end = 0;
        SendMessageW(app->EditOf(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_TRUE(app->FocusedControl() == box && start == 0 && end == TextOf(app->EditOf(box)).size()) << box;
    }
    for (int how = 0; how < 3; ++how) {
        if (how) app = std::make_unique<RunningApp>(g_program);
        ASSERT_TRUE(app->Started());
        how == 0 ? (app->Activate(), app->Press(VK_ESCAPE)) : how == 1 ? app->Alt(L'x') : app->Click(cmdExit);
        DWORD code = 1;
        EXPECT_TRUE(app->WaitForExit(10000, &code) && code == 0) << how;
    }
}

}  // namespace
}  // namespace e2e

// Usage: e2e_tests <path of ExtTextOutBench.exe> [gtest options]
int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) return 2;
    e2e::g_program = argv[1];
    return RUN_ALL_TESTS();
}
