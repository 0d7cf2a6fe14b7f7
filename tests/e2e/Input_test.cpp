// The program driven from the keyboard, and with clicks.
#include "AppTest.h"

namespace e2e {
namespace {

class KeyboardTest : public AppTest {
protected:
    void ExpectExitsCleanly() {
        DWORD code = 1;
        ASSERT_TRUE(app->WaitForExit(10000, &code)) << "still running";
        EXPECT_EQ(code, 0u);
    }
};

TEST_F(KeyboardTest, AccessKeysFocusTheBoxAfterTheirLabel) {
    const struct {
        wchar_t key;
        Control box;
    } keys[] = {{L't', cmbTimes}, {L'f', cmbFont}, {L'h', cmbSize}, {L's', txtString}};
    for (const auto& k : keys) {
        app->Alt(k.key);
        EXPECT_EQ(app->FocusedControl(), k.box) << char(k.key);
    }
    // The whole text is selected, so typing replaces it.
    app->Type(L"Hi");
    EXPECT_EQ(TextOf(app->Get(txtString)), L"Hi");
    app->Alt(L'h');
    app->Type(L"9");
    EXPECT_EQ(TextOf(app->Get(cmbSize)), L"9");
    // Tab walks on from there.
    app->Press(VK_TAB);
    EXPECT_EQ(app->FocusedControl(), chkBold);
}

TEST_F(KeyboardTest, CountBoxTakesDigitsOnly) {
    EmptyBox(L't');
    EXPECT_EQ(TextOf(app->Get(cmbTimes)), L"");
    app->Type(L"1a2");
    EXPECT_EQ(TextOf(app->Get(cmbTimes)), L"12");
    app->Type(L"-e+,.5");
    EXPECT_EQ(TextOf(app->Get(cmbTimes)), L"12.5");
    app->Press(VK_BACK);
    EXPECT_EQ(TextOf(app->Get(cmbTimes)), L"12.");
}

TEST_F(KeyboardTest, EnterRunsOnceAndShowsTheReport) {
    app->Alt(L't');
    Outcome outcome = Submit();
    EXPECT_TRUE(outcome.ran);
    EXPECT_TRUE(outcome.message.empty());
    EXPECT_EQ(app->ReportEntries(), 1);
    EXPECT_NE(app->Canvas(), nullptr);
    // The report came up in front; back in the main window the focus is where it was.
    EXPECT_EQ(outcome.focus, cmbTimes);
}

TEST_F(KeyboardTest, AltGRuns) {
    app->Alt(L'g');
    EXPECT_TRUE(WaitUntil([&] { return app->ReportEntries() == 1; }));
    ActivateMain();
    app->Alt(L'g');
    EXPECT_TRUE(WaitUntil([&] { return app->ReportEntries() == 2; }));
}

TEST_F(KeyboardTest, EscapeClosesEveryWindowAndExits) {
    ASSERT_TRUE(Submit().ran);
    ASSERT_TRUE(app->Canvas() && app->Report());
    ActivateMain();
    app->Press(VK_ESCAPE);
    ExpectExitsCleanly();
}

TEST_F(KeyboardTest, AltXExits) {
    app->Alt(L'x');
    ExpectExitsCleanly();
}

TEST_F(KeyboardTest, ClicksToggleRunAndExit) {
    for (Control box : {chkBold, chkItalic, chkOpaque}) {
        app->Click(box);
        EXPECT_EQ(SendMessageW(app->Get(box), BM_GETCHECK, 0, 0), BST_CHECKED) << box;
    }
    app->Click(chkItalic);
    EXPECT_EQ(SendMessageW(app->Get(chkItalic), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    app->Click(cmdTest);
    EXPECT_EQ(app->ReportEntries(), 1);
    app->Click(cmdExit);
    ExpectExitsCleanly();
}

}  // namespace
}  // namespace e2e
