// Values a user may type or paste: each one runs or is refused with a
// message naming the box, and nothing else is lost.
#include <cstdio>

#include "AppTest.h"

namespace e2e {
namespace {

enum class How { Typed, Pasted };

struct Case {
    const wchar_t* input;
    How how;
    const wchar_t* shown;  // what the box holds then (the count and size boxes filter keys)
    bool runs;
};

const char* ControlName(Control c) {
    static const char* const names[] = {"lblString", "txtString", "lblTimes", "cmbTimes", "lblFace",
                                        "cmbFont",   "lblSize",   "cmbSize",  "chkBold",  "chkItalic",
                                        "cmdTest",   "cmdExit",   "chkOpaque", "(none)"};
    return names[c];
}

// One line per case, for the record of what the program does with it.
void Log(const char* box, const std::wstring& input, How how, const std::wstring& shown, const Outcome& outcome) {
    std::string what = outcome.ran ? "runs" : "refused: " + Utf8(outcome.message.substr(0, outcome.message.find(L'\r')));
    const std::string quoted = input.size() > 20 ? std::to_string(input.size()) + " chars" : "\"" + Utf8(input) + "\"";
    std::printf("[ table    ] %-8s %-6s %-16s shows %-18s -> %s (focus %s)\n", box,
                how == How::Typed ? "typed" : "pasted", quoted.c_str(),
                shown.size() > 20 ? (std::to_string(shown.size()) + " chars").c_str() : ("\"" + Utf8(shown) + "\"").c_str(),
                what.c_str(), ControlName(outcome.focus));
}

class BadInputTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        if (HasFatalFailure()) return;
        // Something in the report that must survive every refusal.
        ASSERT_TRUE(Submit().ran);
    }

    // Enters a value into a box the user reaches with accessKey and presses Enter.
    Outcome Enter(wchar_t accessKey, Control box, const Case& c, const char* name) {
        ActivateMain();
        EmptyBox(accessKey);
        HWND edit = box == txtString ? app->Get(txtString) : app->EditOf(box);
        if (c.how == How::Typed) app->Type(c.input);
        else app->Paste(edit, c.input);
        const std::wstring shown = TextOf(edit);
        EXPECT_EQ(shown, c.shown);
        Outcome outcome = Submit();
        Log(name, c.input, c.how, shown, outcome);
        EXPECT_EQ(outcome.ran, c.runs);
        EXPECT_TRUE(app->Alive());
        if (!outcome.ran) {
            EXPECT_EQ(outcome.focus, box);
            // Selected, so the next keys replace the refused value.
            DWORD start = 1, end = 0;
            SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, shown.size());
        }
        return outcome;
    }

    void ExpectStillUsable() {
        ActivateMain();
        EmptyBox(L't');
        app->Type(L"5");
        EmptyBox(L'h');
        app->Type(L"12");
        EmptyBox(L's');
        app->Type(L"ok");
        EXPECT_TRUE(Submit().ran);
    }
};

TEST_F(BadInputTest, CountBox) {
    const Case cases[] = {
        {L"", How::Typed, L"", false},
        {L".", How::Typed, L".", false},
        {L"1.2.3", How::Typed, L"1.2.3", false},
        {L"99999999999", How::Typed, L"99999999999", false},
        {L"2147483647.5", How::Typed, L"2147483647.5", false},  // rounds to even: 2^31
        {L"0", How::Typed, L"0", true},
        {L"-5", How::Typed, L"5", true},
        {L"1e3", How::Typed, L"13", true},
        {L"-5", How::Pasted, L"-5", true},
        {L"1e3", How::Pasted, L"1e3", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.input));
        Outcome outcome = Enter(L't', cmbTimes, c, "count");
        if (!outcome.ran) {
            EXPECT_NE(outcome.message.find(L"「試行回数」"), std::wstring::npos);
            EXPECT_NE(outcome.message.find(L"-2,147,483,648 から 2,147,483,647"), std::wstring::npos);
        }
    }
    const std::wstring report = app->ReportText();
    EXPECT_NE(report.find(L"1回あたりの平均時間: 計算できません (試行回数 0)\r\n\r\n"), std::wstring::npos);
    EXPECT_EQ(app->ReportEntries(), 6);
    ExpectStillUsable();
}

TEST_F(BadInputTest, SizeBox) {
    const Case cases[] = {
        {L"", How::Typed, L"", false},      {L".", How::Typed, L".", false},
        {L"0", How::Typed, L"0", false},    {L"0.01", How::Typed, L"0.01", false},
        {L"1001", How::Typed, L"1001", false}, {L"10.5", How::Typed, L"10.5", true},
        {L"1", How::Typed, L"1", true},     {L"1000", How::Typed, L"1000", true},
        {L"-12", How::Pasted, L"-12", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.input));
        Outcome outcome = Enter(L'h', cmbSize, c, "size");
        if (!outcome.ran) {
            EXPECT_NE(outcome.message.find(L"「サイズ」"), std::wstring::npos);
            EXPECT_NE(outcome.message.find(L"1 から 1,000"), std::wstring::npos);
        }
    }
    EXPECT_EQ(app->ReportEntries(), 4);
    ExpectStillUsable();
}

TEST_F(BadInputTest, TextBox) {
    const std::wstring longest(30000, L'W');
    const Case cases[] = {
        {L"", How::Typed, L"", true},
        {L"x", How::Typed, L"x", true},
        {longest.c_str(), How::Pasted, longest.c_str(), true},
        {L"日本語のテキスト", How::Typed, L"日本語のテキスト", true},
        {L"€ 한국어 😀", How::Typed, L"€ 한국어 😀", true},  // none of these is in code page 932
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(wcslen(c.input)) + " characters");
        Enter(L's', txtString, c, "text");
    }
    EXPECT_EQ(app->ReportEntries(), 6);

    // The box keeps the edit control's default limit: a longer paste is cut there.
    ActivateMain();
    EmptyBox(L's');
    app->Paste(app->Get(txtString), longest + L"XYZ");
    const std::wstring kept = TextOf(app->Get(txtString));
    std::printf("[ table    ] text     pasted 30003 chars keeps %zu chars\n", kept.size());
    EXPECT_GE(kept.size(), longest.size());
    EXPECT_EQ(kept.compare(0, longest.size(), longest), 0);
    ExpectStillUsable();
}

}  // namespace
}  // namespace e2e
