#include "AppTest.h"

#include <cstdio>

namespace e2e {

namespace {
std::wstring g_program;
}

const std::wstring& ProgramPath() { return g_program; }

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int wide = static_cast<int>(text.size());
    int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), wide, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), wide, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

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
    WaitUntil([&] {
        box = app->FindMessageBox();
        return box || app->ReportEntries() > entries;
    });
    if (box) {
        outcome.message = app->MessageBoxText(box);
        EXPECT_TRUE(app->Dismiss(box));
        app->Settle();
        // Under Wine without a window manager the X server may hand the
        // activation elsewhere when the box goes; a click brings it back,
        // and with it the focus the main window last had.
        if (GetForegroundWindow() != app->Main()) ActivateMain();
        outcome.focus = app->FocusedControl();
        EXPECT_EQ(app->ReportText(), before) << "a refused run changed the report";
    } else {
        outcome.ran = app->ReportEntries() == entries + 1;
        const std::wstring after = app->ReportText();
        EXPECT_EQ(after.compare(0, before.size(), before), 0) << "earlier entries changed";
        ActivateMain();
        outcome.focus = app->FocusedControl();
    }
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
    if (argc < 2) {
        std::fprintf(stderr, "usage: e2e_tests <path of ExtTextOutBench.exe>\n");
        return 2;
    }
    e2e::g_program = argv[1];
    return RUN_ALL_TESTS();
}
