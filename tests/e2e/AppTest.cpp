#include "AppTest.h"

namespace e2e {

static std::wstring g_program;

const std::wstring& ProgramPath() { return g_program; }

void AppTest::SetUp() {
    app = std::make_unique<RunningApp>(ProgramPath());
    ASSERT_TRUE(app->Started()) << "cannot start " << Utf8(ProgramPath());
}

void AppTest::ActivateMain() {
    SetForegroundWindow(app->Main());
    app->Settle();
    WaitUntil([&] { return app->FocusedControl() != kControlCount; }, 5000);
}

Outcome AppTest::Submit() {
    const std::wstring before = app->ReportText();
    const int entries = app->ReportEntries();
    app->Press(VK_RETURN);
    Outcome outcome;
    HWND box = nullptr;
    WaitUntil([&] { return (box = app->FindMessageBox()) != nullptr || app->ReportEntries() > entries; });
    if (box) {
        outcome.message = app->MessageBoxText(box);
        EXPECT_TRUE(app->Dismiss(box));
        app->Settle();
        // Without a window manager the X server may hand the activation
        // elsewhere when the box goes; a click brings back the main window
        // and the focus it last had.
        if (GetForegroundWindow() != app->Main()) ActivateMain();
    } else {
        outcome.ran = app->ReportEntries() == entries + 1;
        ActivateMain();
    }
    outcome.focus = app->FocusedControl();
    const std::wstring after = app->ReportText();
    EXPECT_EQ(after.compare(0, before.size(), before), 0) << "earlier entries changed";
    EXPECT_TRUE(outcome.ran || after == before) << "a refused run changed the report";
    return outcome;
}

void AppTest::EmptyBox(wchar_t accessKey) {
    app->Alt(accessKey);
    app->Press(VK_BACK);
}

}  // namespace e2e

// Usage: e2e_tests <path of ExtTextOutBench.exe> [gtest options]
int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) return 2;
    e2e::g_program = argv[1];
    return RUN_ALL_TESTS();
}
