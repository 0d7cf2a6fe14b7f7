#include <algorithm>

#include "WindowTest.h"
#include "benchmark/ReportEntry.h"

namespace {

using namespace e2e;

std::wstring Report() {
    HWND box = FindWindowExW(FindWindowW(nullptr, L"レポート"), nullptr, L"Edit", nullptr);
    return box ? WindowText(box) : L"";
}

int Entries() {
    const std::wstring text = Report();
    int n = 0;
    for (size_t at = 0; (at = text.find(L"試行時間", at)) != std::wstring::npos; ++at) ++n;
    return n;
}

using LongSession = WindowTest;

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
        for (Control box : {chkBold, chkItalic, chkOpaque}) SendMessageW(controls[box], BM_SETCHECK, (run >> (box - chkBold)) & 1, 0);
        Click(cmdTest);
        const std::wstring now = Report(), entry = now.substr(report.size());
        ASSERT_EQ(now.compare(0, report.size(), report), 0) << "run " << run << " changed earlier entries";
        // The text after a label, up to the line's end.
        auto field = [&entry](const std::wstring& label) {
            const size_t at = entry.find(L"\r\n" + label) + 2 + label.size();
            return at < 2 + label.size() ? L"?" : entry.substr(at, entry.find(L'\r', at) - at);
        };
        const std::wstring total = field(L"試行時間: "), average = field(L"1回あたりの平均時間: ");
        const double count = std::wcstod(counts[run % 3], nullptr);
        EXPECT_EQ(total.substr(total.size() - 4), L" ミリ秒") << Utf8(entry);
        if (count == 0) {
            EXPECT_EQ(average, kNoAverageText) << run;
        } else {
            EXPECT_EQ(average.substr(average.size() - 4), L" ミリ秒") << Utf8(entry);
            EXPECT_NEAR(std::wcstod(average.c_str(), nullptr), std::wcstod(total.c_str(), nullptr) / count, 0.0005 + 1e-9);
        }
        EXPECT_EQ(std::count(entry.begin(), entry.end(), L'\n'), 4) << Utf8(entry);
        EXPECT_EQ(entry.substr(entry.size() - 4), L"\r\n\r\n") << Utf8(entry);
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
    const std::vector<std::wstring> rounds[] = {{}, {L"レンダリング"}, {L"レポート"}, {L"レンダリング", L"レポート"}, {L"レポート", L"レンダリング"}};
    Open();
    for (const auto& close : rounds) {
        Click(cmdTest);
        const int entries = Entries();
        for (const std::wstring& caption : close) Close(caption.c_str());
        EXPECT_EQ(ThreadWindows(), baseline + 3 - static_cast<int>(close.size()));
        Click(cmdTest);
        EXPECT_EQ(ThreadWindows(), baseline + 3);
        for (const wchar_t* caption : {L"レンダリング", L"レポート"}) EXPECT_EQ(GetWindow(FindWindowW(nullptr, caption), GW_OWNER), main->Handle());
        const bool reportClosed = std::count(close.begin(), close.end(), L"レポート") != 0;
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
