// Keys through the program's own message loop, as typed.
#include "AppTest.h"

namespace e2e {
namespace {

class KeyboardTest : public AppTest {};

TEST_F(KeyboardTest, TabOrderAccessKeysAndTheNumberBoxesKeyFilter) {
    EXPECT_EQ(app->FocusedControl(), txtString);  // the first tab stop
    for (Control next : {cmbTimes, cmbFont, cmbSize, chkBold, chkItalic, cmdTest, cmdExit, chkOpaque, txtString}) {
        app->Press(VK_TAB);
        EXPECT_EQ(app->FocusedControl(), next);
    }
    // An access key focuses the box after its label with the whole text
    // selected, so typing replaces it; the number boxes take digits,
    // Backspace and the point, the text box everything.
    const struct {
        wchar_t key;
        Control box;
        const wchar_t *typed, *shown;
    } cases[] = {{L't', cmbTimes, L"1a2-e+,.5", L"12.5"}, {L'h', cmbSize, L"9x\b8", L"8"},
                 {L'f', cmbFont, nullptr, nullptr},      {L's', txtString, L"a-b,1e", L"a-b,1e"}};
    for (const auto& c : cases) {
        app->Alt(c.key);
        EXPECT_EQ(app->FocusedControl(), c.box) << char(c.key);
        if (!c.typed) continue;
        app->Type(c.typed);
        EXPECT_EQ(TextOf(app->Get(c.box)), c.shown) << char(c.key);
    }
}

TEST_F(KeyboardTest, EnterAndAltGRunTheFocusStaysEscapeAltXAndExitEndTheProgram) {
    app->Alt(L't');
    const Outcome outcome = Submit();  // Test is the default button
    EXPECT_TRUE(outcome.ran);
    EXPECT_EQ(outcome.focus, cmbTimes);
    EXPECT_NE(app->Canvas(), nullptr);
    app->Alt(L'g');
    EXPECT_TRUE(WaitUntil([&] { return app->ReportEntries() == 2; }));
    ActivateMain();
    app->Press(VK_ESCAPE);
    DWORD code = 1;
    EXPECT_TRUE(app->WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);

    for (int how = 0; how < 2; ++how) {
        app = std::make_unique<RunningApp>(ProgramPath());
        ASSERT_TRUE(app->Started());
        if (how == 0) app->Alt(L'x');
        else app->Click(cmdExit);
        code = 1;
        EXPECT_TRUE(app->WaitForExit(10000, &code)) << how;
        EXPECT_EQ(code, 0u);
    }
}

}  // namespace
}  // namespace e2e
