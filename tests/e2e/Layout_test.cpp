// What the user sees before touching anything: windows, places, lists.
#include <algorithm>
#include <vector>

#include "AppTest.h"

namespace e2e {
namespace {

int Px(int twips) { return MulDiv(twips, ScreenDpi(), 1440); }

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

RECT RectIn(HWND parent, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<std::wstring> ListItems(HWND combo) {
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
    if (font->lfFaceName[0] != L'@') reinterpret_cast<std::vector<std::wstring>*>(faces)->push_back(font->lfFaceName);
    return 1;
}

std::vector<std::wstring> ScreenFaces() {
    std::vector<std::wstring> faces;
    HDC screen = GetDC(nullptr);
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(screen, &query, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, screen);
    std::sort(faces.begin(), faces.end());
    faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
    return faces;
}

class LayoutTest : public AppTest {};

TEST_F(LayoutTest, WindowsHaveTheirCaptionsAndClientSizes) {
    EXPECT_EQ(TextOf(app->Main()), kMainCaption);
    EXPECT_EQ(ClientSize(app->Main()).cx, Px(4680));
    EXPECT_EQ(ClientSize(app->Main()).cy, Px(2550));
    EXPECT_EQ(app->Canvas(), nullptr);  // both open with the first run
    EXPECT_EQ(app->Report(), nullptr);

    ASSERT_TRUE(Submit().ran);
    HWND canvas = app->Canvas();
    HWND report = app->Report();
    ASSERT_TRUE(canvas && report);
    EXPECT_EQ(GetWindow(canvas, GW_OWNER), app->Main());
    EXPECT_EQ(GetWindow(report, GW_OWNER), app->Main());
    EXPECT_EQ(ClientSize(canvas).cx, Px(6315));
    EXPECT_EQ(ClientSize(canvas).cy, Px(1695));
    EXPECT_EQ(ClientSize(report).cx, Px(3795));
    EXPECT_EQ(ClientSize(report).cy, Px(3780));
    // The report's text fills its window.
    const RECT box = RectIn(report, app->ReportBox());
    EXPECT_EQ(box.right - box.left, ClientSize(report).cx);
    EXPECT_EQ(box.bottom - box.top, ClientSize(report).cy);

    if (ScreenDpi() == 96) {
        EXPECT_EQ(ClientSize(app->Main()).cx, 312);
        EXPECT_EQ(ClientSize(app->Main()).cy, 170);
        EXPECT_EQ(ClientSize(report).cx, 253);
        EXPECT_EQ(ClientSize(report).cy, 252);
        EXPECT_EQ(ClientSize(canvas).cx, 421);
        EXPECT_EQ(ClientSize(canvas).cy, 113);
    }
}

TEST_F(LayoutTest, ControlsSitWhereTheLayoutPutsThem) {
    struct Expected {
        Control control;
        const wchar_t* text;  // nullptr: not checked (lists, the text box)
        int left, top, width, height;  // twips; 0: sized by the control or the system
    } expected[] = {
        {lblString, L"文字列(&S):", 180, 240, 0, 0},
        {txtString, L"The quick brown fox jumps over the lazy dog.", 1260, 180, 3255, 315},
        {lblTimes, L"試行回数(&T):", 180, 660, 0, 0},
        {cmbTimes, nullptr, 1260, 600, 1275, 0},
        {lblFace, L"書体(&F):", 180, 1080, 0, 0},
        {cmbFont, nullptr, 1260, 1020, 2175, 0},
        {lblSize, L"サイズ(&H)", 180, 1500, 0, 0},
        {cmbSize, nullptr, 1260, 1440, 1275, 0},
        {chkBold, L"太字", 2700, 1440, 855, 315},
        {chkItalic, L"斜体", 3720, 1440, 795, 315},
        {cmdTest, L"テスト(&G)", 1380, 1920, 1395, 375},
        {cmdExit, L"終了(&X)", 2940, 1920, 1395, 375},
        {chkOpaque, L"OPAQUE", 2700, 660, 1275, 255},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.control);
        HWND control = app->Get(e.control);
        if (e.text) {
            EXPECT_EQ(TextOf(control), e.text);
        }
        const RECT rect = RectIn(app->Main(), control);
        EXPECT_EQ(rect.left, Px(e.left));
        EXPECT_EQ(rect.top, Px(e.top));
        if (e.width) {
            EXPECT_EQ(rect.right - rect.left, Px(e.width));
        }
        if (e.height) {
            EXPECT_EQ(rect.bottom - rect.top, Px(e.height));
        }
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_TRUE(IsWindowEnabled(control));
    }
    // Labels are fitted to their text and stay clear of the boxes.
    for (Control label : {lblString, lblTimes, lblFace, lblSize})
        EXPECT_LE(RectIn(app->Main(), app->Get(label)).right, Px(1260)) << label;
    for (Control check : {chkBold, chkItalic, chkOpaque})
        EXPECT_EQ(SendMessageW(app->Get(check), BM_GETCHECK, 0, 0), BST_UNCHECKED) << check;
    EXPECT_EQ(app->FocusedControl(), txtString);  // the first tab stop
}

TEST_F(LayoutTest, ListsOfferTheirChoices) {
    std::vector<std::wstring> counts = ListItems(app->Get(cmbTimes));
    ASSERT_EQ(counts.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(counts[i], std::to_wstring(i + 1));
    EXPECT_EQ(TextOf(app->Get(cmbTimes)), L"10");

    std::vector<std::wstring> sizes = ListItems(app->Get(cmbSize));
    ASSERT_EQ(sizes.size(), 12u);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(sizes[i], std::to_wstring(i + 7));
    EXPECT_EQ(TextOf(app->Get(cmbSize)), L"12");

    // Every screen font once, none of the vertical (@) ones, in the list's sort order.
    std::vector<std::wstring> faces = ListItems(app->Get(cmbFont));
    std::vector<std::wstring> listed = faces;
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, ScreenFaces());
    for (size_t i = 1; i < faces.size(); ++i)
        EXPECT_NE(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, faces[i - 1].c_str(), -1, faces[i].c_str(), -1),
                  CSTR_GREATER_THAN)
            << Utf8(faces[i - 1]) << " before " << Utf8(faces[i]);
    const LRESULT selected = SendMessageW(app->Get(cmbFont), CB_GETCURSEL, 0, 0);
    ASSERT_NE(selected, CB_ERR);
    EXPECT_EQ(TextOf(app->Get(cmbFont)), faces[static_cast<size_t>(selected)]);
}

}  // namespace
}  // namespace e2e
