#include "ui/frmMain.h"

#include <algorithm>

#include "WindowTest.h"
#include "benchmark/ReportEntry.h"

namespace {

using namespace e2e;

class LongSession : public WindowTest {
protected:
    void TearDown() override {
        main.reset();
        DispatchPending();
        WindowTest::TearDown();
    }
    void Open() {
        main = std::make_unique<frmMain>();
        ASSERT_TRUE(main->Create());
        ShowWindow(main->Handle(), SW_SHOWNORMAL);
        HWND child = GetWindow(main->Handle(), GW_CHILD);
        for (int i = 0; i < kControlCount; ++i, child = GetWindow(child, GW_HWNDNEXT)) controls[i] = child;
    }
    void Click(Control button) {
        SendMessageW(controls[button], BM_CLICK, 0, 0);
        quit |= DispatchPending();
    }
    void Close(const wchar_t* caption) {
        SendMessageW(FindWindowW(nullptr, caption), WM_SYSCOMMAND, SC_CLOSE, 0);
        quit |= DispatchPending();
    }
    std::wstring Report() const {
        HWND box = FindWindowExW(FindWindowW(nullptr, L"レポート"), nullptr, L"Edit", nullptr);
        return box ? WindowText(box) : L"";
    }
    int Entries() const {
        const std::wstring text = Report();
        int n = 0;
        for (size_t at = 0; (at = text.find(L"試行時間", at)) != std::wstring::npos; ++at) ++n;
        return n;
    }

    std::unique_ptr<frmMain> main;
    HWND controls[kControlCount] = {};
    bool quit = false;
};

// Past the report box's default limit, every entry kept in order, with
// nothing leaked on the way.
TEST_F(LongSession, RunsPastTheEditLimitKeepEveryEntryInOrderAndLeakNothing) {
    const int baseline = ThreadWindows();
    Open();
    const wchar_t* counts[] = {L"1", L"3", L"0"};
    const wchar_t* sizes[] = {L"9", L"10.5", L"36", L"12"};
    std::wstring report;
    int headroom = 0;
    for (int run = 0; run < 520; ++run) {
        SetWindowTextW(controls[cmbTimes], counts[run % 3]);
        SetWindowTextW(controls[cmbSize], sizes[run % 4]);
        for (Control box : {chkBold, chkItalic, chkOpaque})
            SendMessageW(controls[box], BM_SETCHECK, (run >> (box - chkBold)) & 1, 0);
        Click(cmdTest);
        const std::wstring now = Report();
        ASSERT_EQ(now.compare(0, report.size(), report), 0) << "run " << run << " changed earlier entries";
        const std::wstring entry = now.substr(report.size());
        // The text after a label, up to the line's end.
        auto field = [&entry](const std::wstring& label) {
            const size_t at = entry.find(L"\r\n" + label);
            return at == std::wstring::npos ? L"?" : entry.substr(at + 2 + label.size(), entry.find(L'\r', at + 2) - at - 2 - label.size());
        };
        const std::wstring total = field(L"試行時間: "), average = field(L"1回あたりの平均時間: ");
        const double ms = std::wcstod(total.c_str(), nullptr), count = std::wcstod(counts[run % 3], nullptr);
        EXPECT_EQ(total.substr(total.size() - 4), L" ミリ秒") << Utf8(entry);
        if (count == 0) {
            EXPECT_EQ(average, kNoAverageText) << run;
        } else {
            EXPECT_EQ(average.substr(average.size() - 4), L" ミリ秒") << Utf8(entry);
            EXPECT_NEAR(std::wcstod(average.c_str(), nullptr), ms / count, 0.0005 + 1e-9) << Utf8(entry);
        }
        EXPECT_EQ(entry.substr(entry.size() - 4), L"\r\n\r\n") << Utf8(entry);
        EXPECT_EQ(std::count(entry.begin(), entry.end(), L'\n'), 4) << Utf8(entry);
        report = now;
        if (run == 9) headroom = GdiHandleHeadroom();
    }
    EXPECT_GT(report.size(), 32767u);
    EXPECT_EQ(GdiHandleHeadroom(), headroom);
    EXPECT_EQ(ThreadWindows(), baseline + 3);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(quit);
}

// Canvas and report come back with the next run however they were closed;
// the main window, closed in any state, takes both along and ends the program.
TEST_F(LongSession, ClosedWindowsComeBackAndTheMainWindowTakesThemAlong) {
    const int baseline = ThreadWindows();
    const std::vector<const wchar_t*> rounds[] = {
        {}, {L"レンダリング"}, {L"レポート"}, {L"レンダリング", L"レポート"}, {L"レポート", L"レンダリング"}};
    Open();
    for (const auto& close : rounds) {
        Click(cmdTest);
        const int entries = Entries();
        for (const wchar_t* caption : close) Close(caption);
        EXPECT_EQ(ThreadWindows(), baseline + 3 - static_cast<int>(close.size()));
        Click(cmdTest);
        EXPECT_EQ(ThreadWindows(), baseline + 3);
        for (const wchar_t* caption : {L"レンダリング", L"レポート"})
            EXPECT_EQ(GetWindow(FindWindowW(nullptr, caption), GW_OWNER), main->Handle());
        const bool reportClosed = std::find(close.begin(), close.end(), std::wstring(L"レポート")) != close.end();
        EXPECT_EQ(Entries(), reportClosed ? 1 : entries + 1);  // a new report holds only the new entry
    }
    EXPECT_FALSE(quit) << "closing the canvas or the report must not end the program";
    Close(L"レンダリング");
    Click(cmdExit);
    EXPECT_EQ(ThreadWindows(), baseline);
    EXPECT_TRUE(quit);

    quit = false;
    Open();  // never ran
    Close(kMainCaption);
    EXPECT_EQ(ThreadWindows(), baseline);
    EXPECT_TRUE(quit);
}

}  // namespace
