#include <gtest/gtest.h>

#include <cwctype>

#include "GdiHeadroom.h"
#include "platform/BackingBitmap.h"
#include "platform/Locale.h"
#include "platform/NumberFormat.h"
#include "platform/Text.h"

namespace {

TEST(AnsiText, UsesCodePage932) {
    ASSERT_EQ(GetACP(), 932u) << "tests expect a Japanese locale";
    EXPECT_EQ(ToAnsi(L"abc"), "abc");
    // Each double-byte character is two bytes.
    EXPECT_EQ(ToAnsi(L"日本語"), "\x93\xfa\x96\x7b\x8c\xea");
    EXPECT_EQ(lstrlenA(ToAnsi(L"aテキストb").c_str()), 10);
    // What the code page lacks becomes its default character.
    EXPECT_EQ(ToAnsi(L"a\x0100" L"b"), "a?b");
    EXPECT_EQ(ToAnsi(L"\U0001F600").find_first_not_of('?'), std::string::npos);
    EXPECT_EQ(ToAnsi(L""), "");
    std::string bytes = ToAnsi(L"漢字 and ASCII");
    EXPECT_EQ(FromAnsi(bytes.data(), bytes.size()), L"漢字 and ASCII");
}

TEST(AnsiText, EmbeddedNulEndsTheDrawLength) {
    std::string bytes = ToAnsi(std::wstring(L"ab\0cd", 5));
    EXPECT_EQ(bytes.size(), 5u);
    EXPECT_EQ(lstrlenA(bytes.c_str()), 2);
}

TEST(Locale, JapaneseSeparatorsAndGeneralDate) {
    NumberSeparators separators = UserNumberSeparators();
    EXPECT_EQ(separators.Decimal, L".");
    EXPECT_EQ(separators.Thousand, L",");
    EXPECT_EQ(FormatNumber3(1234567.5, separators), L"1,234,567.500");

    // yyyy/MM/dd H:mm:ss under ja-JP.
    std::wstring now = NowGeneralDateText();
    int year, month, day, hour, minute, second;
    ASSERT_EQ(swscanf(now.c_str(), L"%d/%d/%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second), 6)
        << std::string(now.begin(), now.end());
    SYSTEMTIME local;
    GetLocalTime(&local);
    EXPECT_EQ(year, local.wYear);
}

TEST(BackingBitmap, GrowsKeepingItsPictureAndFreesEverything) {
    const int before = GdiHandleHeadroom();
    {
        BackingBitmap bitmap;
        bitmap.Cover(10, 10, RGB(255, 255, 255));
        SetPixel(bitmap.dc(), 3, 4, RGB(0, 0, 0));
        bitmap.Cover(50, 40, RGB(255, 255, 255));
        EXPECT_EQ(GetPixel(bitmap.dc(), 3, 4), RGB(0, 0, 0));
        EXPECT_EQ(GetPixel(bitmap.dc(), 45, 35), RGB(255, 255, 255));
        bitmap.Cover(20, 20, RGB(255, 255, 255));  // never shrinks
        EXPECT_EQ(GetPixel(bitmap.dc(), 45, 35), RGB(255, 255, 255));
        bitmap.Clear(RGB(255, 255, 255));
        EXPECT_EQ(GetPixel(bitmap.dc(), 3, 4), RGB(255, 255, 255));
    }
    EXPECT_EQ(GdiHandleHeadroom(), before);
}

}  // namespace
