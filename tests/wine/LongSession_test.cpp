#include <algorithm>
#include <cmath>
#include <regex>

#include "platform/Window.h"

#include "WindowTest.h"

namespace {

// How many more GDI objects this process could create right now.
// GetGuiResources is a stub under Wine, so count by filling the table.
int GdiHandleHeadroom() {
    std::vector<HRGN> regions;
    for (HRGN region; regions.size() < 200000 && (region = CreateRectRgn(0, 0, 1, 1));) regions.push_back(region);
    for (HRGN region : regions) DeleteObject(region);
    return static_cast<int>(regions.size());
}

// Top-level windows of this thread, without combo drop-downs and Wine's IME windows.
BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    wchar_t cls[64] = L"";
    GetClassNameW(window, cls, 64);
    return *reinterpret_cast<int*>(count) += lstrcmpiW(cls, L"ComboLBox") && lstrcmpiW(cls, L"IME"), TRUE;
}
int ThreadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::wstring Report() { return WindowText(FindWindowExW(FindWindowW(nullptr, L"レポート"), nullptr, L"Edit", nullptr)); }

// One entry: the date (with the time, except at midnight), total, average, an empty line.
const std::wregex kEntry(L"\\d{4}/\\d{1,2}/\\d{1,2}(?: \\d{1,2}:\\d{2}:\\d{2})?\r\n試行時間: (-?[\\d,]+\\.\\d{3}) ミリ秒\r\n"
                         L"1回あたりの平均時間: (?:(計算できません \\(試行回数 0\\))|(-?[\\d,]+\\.\\d{3}) ミリ秒)\r\n\r\n");

int Entries() {
    const std::wstring text = Report();
    return static_cast<int>(std::distance(std::wsregex_iterator(text.begin(), text.end(), kEntry), {}));
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
        std::wsmatch m;
        ASSERT_TRUE(std::regex_match(entry, m, kEntry)) << "run " << run << ": " << Utf8(entry);
        const double count = std::wcstod(counts[run % 3], nullptr);  // a few calls: far below 1,000 ms
        EXPECT_TRUE(count ? std::fabs(std::stod(m[3].str()) - std::stod(m[1].str()) / count) <= 0.0005 + 1e-9 : m[2].matched) << Utf8(entry);
        report = now;
        if (run == 9) headroom = GdiHandleHeadroom();
    }
    EXPECT_GT(report.size(), 32767u);
    EXPECT_EQ(GdiHandleHeadroom(), headroom);
    EXPECT_TRUE(ThreadWindows() == baseline + 3 && messages.empty() && !quit);
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
    EXPECT_TRUE(ThreadWindows() == baseline && quit);
    quit = false;
    Open();  // never ran
    Close(kMainCaption);
    EXPECT_TRUE(ThreadWindows() == baseline && quit);
}

}  // namespace
