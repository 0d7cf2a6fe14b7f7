#include "ui/frmMain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "GdiHeadroom.h"
#include "benchmark/ReportEntry.h"
#include "platform/Dialogs.h"
#include "platform/Font.h"

namespace {

BOOL CALLBACK CountWindow(HWND window, LPARAM context) {
    wchar_t cls[64] = L"";
    GetClassNameW(window, cls, static_cast<int>(std::size(cls)));
    // A combo box's drop-down list is a top-level window of its own, and
    // Wine gives each thread with windows a hidden input-method window.
    if (lstrcmpiW(cls, L"ComboLBox") != 0 && lstrcmpiW(cls, L"IME") != 0) ++*reinterpret_cast<int*>(context);
    return TRUE;
}

int ThreadTopLevelWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Takes frmMain's WM_QUIT out of the queue; true when there was one.
bool DrainQuit() {
    bool found = false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
    return found;
}

void DispatchPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The faces a user could pick, a few of them, always the same ones.
std::vector<std::wstring> SomeFaces() {
    const std::vector<std::wstring> installed = ScreenFontNames();
    std::vector<std::wstring> faces;
    for (const wchar_t* face : {L"IPAゴシック", L"IPAGothic", L"DejaVu Sans", L"Liberation Serif", L"Liberation Mono",
                                L"DejaVu Serif Condensed"})
        if (std::find(installed.begin(), installed.end(), face) != installed.end()) faces.push_back(face);
    for (size_t i = 0; faces.size() < 2 && i < installed.size(); ++i) faces.push_back(installed[i]);
    return faces;
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

const std::wstring kTotalLabel = L"試行時間: ";
const std::wstring kAverageLabel = L"1回あたりの平均時間: ";

std::wstring After(const std::wstring& line, const std::wstring& label) {
    return line.compare(0, label.size(), label) == 0 ? line.substr(label.size()) : L"<" + line + L">";
}

class LongSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHook([](HWND, const std::wstring& text, UINT) {
            std::string utf8(text.size() * 3, '\0');
            utf8.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                                utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
            ADD_FAILURE() << "message box: " << utf8;
            return IDOK;
        });
        baseline = ThreadTopLevelWindows();
        faces = SomeFaces();
        ASSERT_GE(faces.size(), 2u);
    }
    void TearDown() override {
        main.reset();
        DrainQuit();
        SetMessageBoxHook(nullptr);
    }

    frmMain& Open() {
        main = std::make_unique<frmMain>();
        EXPECT_TRUE(main->Create());
        ShowWindow(main->Handle(), SW_SHOWNORMAL);
        SetWindowTextW(main->txtString, L"Text 日本語");
        return *main;
    }

    // Fills the boxes as a user would for run i; runs i and i + 37 look alike.
    void Fill(int i, const wchar_t* count) {
        const int k = i % 37;
        const wchar_t* sizes[] = {L"9", L"10.5", L"12", L"18", L"36"};
        const std::wstring& face = faces[static_cast<size_t>(k) % faces.size()];
        LRESULT index = SendMessageW(main->cmbFont, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(face.c_str()));
        ASSERT_NE(index, CB_ERR);
        SendMessageW(main->cmbFont, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SetWindowTextW(main->cmbSize, sizes[k % 5]);
        SetWindowTextW(main->cmbTimes, count);
        SendMessageW(main->chkBold, BM_SETCHECK, k % 2 ? BST_CHECKED : BST_UNCHECKED, 0);
        SendMessageW(main->chkItalic, BM_SETCHECK, (k / 2) % 2 ? BST_CHECKED : BST_UNCHECKED, 0);
        SendMessageW(main->chkOpaque, BM_SETCHECK, (k / 3) % 2 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void ClickTest() {
        SendMessageW(main->cmdTest, BM_CLICK, 0, 0);
        DispatchPending();
    }
    std::wstring ReportText() const { return WindowText(main->Report().txtReport()); }
    void CloseWindow(HWND window) {
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        DispatchPending();
    }

    std::unique_ptr<frmMain> main;
    std::vector<std::wstring> faces;
    int baseline = 0;
};

TEST_F(LongSessionTest, AThousandRunsKeepEveryEntryAndLeakNothing) {
    // Wine's controls make a few objects once per process, the first time
    // they draw certain parts (a scroll bar's active arrows, for one). A
    // short session first, so that the count below sees only this one.
    Open();
    for (int i = 0; i < 8; ++i) {
        Fill(i, L"1");
        ClickTest();
    }
    SendMessageW(main->cmdExit, BM_CLICK, 0, 0);
    ASSERT_TRUE(DrainQuit());
    ASSERT_EQ(ThreadTopLevelWindows(), baseline);

    Open();
    std::wstring report;
    int afterFirst = 0;
    for (int i = 0; i < 1000; ++i) {
        const bool empty = i % 10 == 3;  // some runs of 0 calls, recognisable in the report
        Fill(i, empty ? L"0" : L"1");
        ClickTest();

        std::wstring now = ReportText();
        ASSERT_EQ(now.compare(0, report.size(), report), 0) << "run " << i << " changed earlier entries";
        const std::vector<std::wstring> added = Lines(now.substr(report.size()));
        ASSERT_EQ(added.size(), 5u) << "run " << i;
        EXPECT_FALSE(added[0].empty());
        const std::wstring total = After(added[1], kTotalLabel);
        EXPECT_EQ(After(added[2], kAverageLabel), empty ? std::wstring(kNoAverageText) : total) << "run " << i;
        EXPECT_TRUE(added[3].empty() && added[4].empty());
        report = std::move(now);

        if (i == 0) afterFirst = GdiHandleHeadroom();
    }
    EXPECT_EQ(GdiHandleHeadroom(), afterFirst);
    EXPECT_EQ(ThreadTopLevelWindows(), baseline + 3);
    EXPECT_EQ(Lines(report).size(), 4u * 1000 + 1);
}

TEST_F(LongSessionTest, ClosingCanvasAndReportInAnyOrderBetweenRuns) {
    enum Close { None, Canvas, Report, CanvasThenReport, ReportThenCanvas };
    Open();
    int run = 0;
    for (Close order : {None, Canvas, Report, CanvasThenReport, ReportThenCanvas, None, ReportThenCanvas}) {
        Fill(run++, L"1");
        ClickTest();
        ASSERT_EQ(ThreadTopLevelWindows(), baseline + 3);
        const std::wstring before = ReportText();

        HWND canvas = main->Canvas().Handle();
        HWND report = main->Report().Handle();
        if (order == Canvas || order == CanvasThenReport) CloseWindow(canvas);
        if (order == Report || order == CanvasThenReport || order == ReportThenCanvas) CloseWindow(report);
        if (order == ReportThenCanvas) CloseWindow(canvas);
        const bool canvasClosed = order != None && order != Report;
        const bool reportClosed = order != None && order != Canvas;
        EXPECT_EQ(IsWindow(canvas) != FALSE, !canvasClosed);
        EXPECT_EQ(IsWindow(report) != FALSE, !reportClosed);
        EXPECT_EQ(ThreadTopLevelWindows(), baseline + 3 - canvasClosed - reportClosed);
        EXPECT_FALSE(DrainQuit()) << "closing the canvas or the report must not end the program";

        Fill(run++, L"1");
        ClickTest();
        EXPECT_EQ(ThreadTopLevelWindows(), baseline + 3);
        EXPECT_EQ(GetWindow(main->Canvas().Handle(), GW_OWNER), main->Handle());
        EXPECT_EQ(GetWindow(main->Report().Handle(), GW_OWNER), main->Handle());
        // A report that was closed starts over; an open one keeps its entries.
        const size_t entries = Lines(ReportText()).size() / 4;
        EXPECT_EQ(entries, reportClosed ? 1u : Lines(before).size() / 4 + 1);
    }
}

TEST_F(LongSessionTest, ClosingTheMainWindowInEveryState) {
    enum How { ExitButton, SystemMenu };
    for (How how : {ExitButton, SystemMenu})
        for (int state = 0; state < 5; ++state) {  // 4: never ran
            SCOPED_TRACE(testing::Message() << "how " << how << ", state " << state);
            Open();
            if (state < 4) {
                Fill(state, L"1");
                ClickTest();
                if (state & 1) CloseWindow(main->Canvas().Handle());
                if (state & 2) CloseWindow(main->Report().Handle());
            }
            if (how == ExitButton) {
                SendMessageW(main->cmdExit, BM_CLICK, 0, 0);
                DispatchPending();
            } else {
                CloseWindow(main->Handle());
            }
            EXPECT_FALSE(main->IsOpen());
            EXPECT_FALSE(main->Canvas().IsOpen());
            EXPECT_FALSE(main->Report().IsOpen());
            EXPECT_EQ(ThreadTopLevelWindows(), baseline);
            EXPECT_TRUE(DrainQuit()) << "closing the main window ends the program";
            main.reset();
        }
}

}  // namespace
