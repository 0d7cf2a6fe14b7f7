// The report as the user reads it after runs.
#include <algorithm>
#include <regex>
#include <vector>

#include "AppTest.h"

namespace e2e {
namespace {

struct Entry {
    SYSTEMTIME when{};
    double totalMs = 0;
    double averageMs = 0;
    bool noAverage = false;
};

// One entry exactly as the report writes it, or a failure naming the line.
::testing::AssertionResult ParseEntry(const std::wstring& text, Entry& entry) {
    // The user's short date and long time: in Japanese yyyy/M/d (or
    // yyyy/MM/dd) and H:mm:ss; the date alone at midnight.
    static const std::wregex pattern(
        L"(\\d{4})/(\\d{1,2})/(\\d{1,2})(?: (\\d{1,2}):(\\d{2}):(\\d{2}))?\r\n"
        L"試行時間: (-?[\\d,]+\\.\\d{3}) ミリ秒\r\n"
        L"1回あたりの平均時間: (?:(-?[\\d,]+\\.\\d{3}) ミリ秒|(計算できません \\(試行回数 0\\)))\r\n\r\n");
    std::wsmatch m;
    if (!std::regex_match(text, m, pattern)) return ::testing::AssertionFailure() << "entry: [" << Utf8(text) << "]";
    auto number = [](std::wstring s) {
        s.erase(std::remove(s.begin(), s.end(), L','), s.end());
        return std::wcstod(s.c_str(), nullptr);
    };
    entry.when.wYear = static_cast<WORD>(std::stoi(m[1]));
    entry.when.wMonth = static_cast<WORD>(std::stoi(m[2]));
    entry.when.wDay = static_cast<WORD>(std::stoi(m[3]));
    if (m[4].matched) {
        entry.when.wHour = static_cast<WORD>(std::stoi(m[4]));
        entry.when.wMinute = static_cast<WORD>(std::stoi(m[5]));
        entry.when.wSecond = static_cast<WORD>(std::stoi(m[6]));
    }
    FILETIME check;
    if (entry.when.wMonth < 1 || entry.when.wMonth > 12 || entry.when.wHour > 23 || entry.when.wMinute > 59 ||
        entry.when.wSecond > 59 || !SystemTimeToFileTime(&entry.when, &check))
        return ::testing::AssertionFailure() << "no such date: [" << Utf8(text) << "]";
    entry.totalMs = number(m[7]);
    entry.noAverage = m[9].matched;
    if (m[8].matched) entry.averageMs = number(m[8]);
    return ::testing::AssertionSuccess();
}

// The report cut into entries: each ends with a blank line.
std::vector<std::wstring> Entries(const std::wstring& report) {
    std::vector<std::wstring> entries;
    size_t begin = 0;
    for (size_t end; (end = report.find(L"\r\n\r\n", begin)) != std::wstring::npos; begin = end + 4)
        entries.push_back(report.substr(begin, end + 4 - begin));
    if (begin != report.size()) entries.push_back(report.substr(begin));  // a torn last entry fails to parse
    return entries;
}

double SecondsSince(const SYSTEMTIME& when) {
    SYSTEMTIME nowTime;
    GetLocalTime(&nowTime);
    FILETIME then, now;
    SystemTimeToFileTime(&when, &then);
    SystemTimeToFileTime(&nowTime, &now);
    const auto ticks = [](const FILETIME& t) { return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(now) - ticks(then)) / 1e7;
}

class ReportTest : public AppTest {};

TEST_F(ReportTest, EachRunAddsOneEntryInOrder) {
    SYSTEMTIME started;
    GetLocalTime(&started);
    started.wMilliseconds = 0;

    app->Alt(L't');
    app->Type(L"1000");
    ASSERT_TRUE(Submit().ran);
    app->Alt(L't');
    app->Type(L"3");
    ASSERT_TRUE(Submit().ran);

    const std::vector<std::wstring> texts = Entries(app->ReportText());
    ASSERT_EQ(texts.size(), 2u);
    Entry first, second;
    ASSERT_TRUE(ParseEntry(texts[0], first));
    ASSERT_TRUE(ParseEntry(texts[1], second));
    for (const Entry* e : {&first, &second}) {
        EXPECT_LE(SecondsSince(e->when), SecondsSince(started));
        EXPECT_GE(SecondsSince(e->when), -1.0);
        EXPECT_GT(e->totalMs, 0);
        EXPECT_FALSE(e->noAverage);
    }
    EXPECT_LE(SecondsSince(second.when), SecondsSince(first.when));
    // The averages belong to the counts typed: total / 1000, then total / 3.
    EXPECT_NEAR(first.averageMs, first.totalMs / 1000, 0.0005 + 1e-9);
    EXPECT_NEAR(second.averageMs, second.totalMs / 3, 0.0005 + 1e-9);
    EXPECT_GT(first.totalMs, second.totalMs);
}

TEST_F(ReportTest, ClosedWindowsComeBackWithTheNextRun) {
    ASSERT_TRUE(Submit().ran);
    HWND canvas = app->Canvas();
    PostMessageW(canvas, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(canvas); }));

    ActivateMain();
    ASSERT_TRUE(Submit().ran);
    ASSERT_NE(app->Canvas(), nullptr);
    RECT client{};
    GetClientRect(app->Canvas(), &client);
    EXPECT_EQ(client.right, MulDiv(6315, ScreenDpi(), 1440));
    EXPECT_EQ(app->ReportEntries(), 2);

    HWND report = app->Report();
    PostMessageW(report, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(report); }));
    EXPECT_TRUE(app->Alive());
    EXPECT_NE(app->Canvas(), nullptr);  // closing one leaves the other

    ActivateMain();
    ASSERT_TRUE(Submit().ran);
    ASSERT_NE(app->Report(), nullptr);
    const std::vector<std::wstring> entries = Entries(app->ReportText());
    ASSERT_EQ(entries.size(), 1u);  // a new report holds only the new entry
    Entry entry;
    EXPECT_TRUE(ParseEntry(entries[0], entry));
}

TEST_F(ReportTest, KeepsTwoThousandEntries) {
    SetTextOf(app->Get(cmbTimes), L"1");
    constexpr int kRuns = 2000;
    // Test's own notification, sent: each run has finished when it returns.
    for (int i = 0; i < kRuns; ++i) {
        DWORD_PTR ignored;
        ASSERT_TRUE(SendMessageTimeoutW(app->Main(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                        reinterpret_cast<LPARAM>(app->Get(cmdTest)), SMTO_NORMAL, 10000, &ignored))
            << "run " << i;
    }
    ASSERT_EQ(app->FindMessageBox(), nullptr);
    const std::wstring report = app->ReportText();
    EXPECT_GT(report.size(), 100000u);  // well past an edit box's default limit
    const std::vector<std::wstring> entries = Entries(report);
    ASSERT_EQ(entries.size(), static_cast<size_t>(kRuns));
    Entry entry;
    EXPECT_TRUE(ParseEntry(entries.front(), entry));
    EXPECT_TRUE(ParseEntry(entries.back(), entry));
    EXPECT_NEAR(entry.averageMs, entry.totalMs, 1e-9);
}

}  // namespace
}  // namespace e2e
