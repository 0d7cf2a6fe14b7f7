// Values typed or pasted: each runs, or is refused with a message naming
// the box, the focus back in that box with its text selected.
#include "AppTest.h"

namespace e2e {
namespace {

class RefusalTest : public AppTest {};

TEST_F(RefusalTest, EachValueRunsOrIsRefusedWithTheFocusOnItsBox) {
    const std::wstring longText(30000, L'W');
    const struct {
        wchar_t key;
        Control box;
        bool pasted;
        const wchar_t* input;
        const wchar_t* refusal;  // a part of the message; nullptr: runs
    } cases[] = {
        {L't', cmbTimes, false, L"", L"「試行回数」が空です"},
        {L't', cmbTimes, false, L"1.2.3", L"-2,147,483,648 から 2,147,483,647"},
        {L't', cmbTimes, true, L"2147483647.5", L"「試行回数」"},
        {L't', cmbTimes, true, L"-5", nullptr},
        {L't', cmbTimes, true, L"1e3", nullptr},
        {L't', cmbTimes, false, L"0", nullptr},
        {L'h', cmbSize, false, L"0.5", L"1 から 1,000"},
        {L'h', cmbSize, true, L"-12", L"「サイズ」"},
        {L'h', cmbSize, false, L"10.5", nullptr},
        {L's', txtString, true, longText.c_str(), nullptr},
        {L's', txtString, false, L"€ 한국어 😀", nullptr},  // none of these is in code page 932
    };
    int entries = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(std::wstring(c.input).substr(0, 20)));
        ActivateMain();
        EmptyBox(c.key);
        HWND edit = c.box == txtString ? app->Get(txtString) : app->EditOf(c.box);
        if (c.pasted) app->Paste(edit, c.input);
        else app->Type(c.input);
        EXPECT_EQ(TextOf(edit), c.input);
        app->Press(VK_TAB);  // Enter from the next control: a refusal must bring the focus back
        const Outcome outcome = Submit();
        EXPECT_EQ(outcome.ran, !c.refusal);
        entries += outcome.ran;
        if (c.refusal) {
            EXPECT_NE(outcome.message.find(c.refusal), std::wstring::npos) << Utf8(outcome.message);
            EXPECT_EQ(outcome.focus, c.box);
            DWORD start = 1, end = 0;
            SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, wcslen(c.input));
        }
    }
    EXPECT_EQ(app->ReportEntries(), entries);
    EXPECT_NE(app->ReportText().find(L"平均時間: 計算できません (試行回数 0)\r\n\r\n"), std::wstring::npos);
}

}  // namespace
}  // namespace e2e
