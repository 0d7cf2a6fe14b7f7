#include "platform/LogFont.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::wstring Latin1(const char* bytes, std::size_t length) {
    return std::wstring(reinterpret_cast<const unsigned char*>(bytes),
                        reinterpret_cast<const unsigned char*>(bytes) + length);
}

// A raw NONCLIENTMETRICSA as the system fills it, menu font at offset 160.
struct Metrics {
    unsigned char bytes[340] = {};
    LogFontARecord& menu() { return *reinterpret_cast<LogFontARecord*>(bytes + 160); }
    Metrics(std::int32_t height, std::int32_t weight, const char* face) {
        LogFontARecord lf{};
        lf.lfHeight = height;
        lf.lfWeight = weight;
        std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName);
        std::memcpy(bytes + 160, &lf, sizeof lf);
    }
    FontSpec Read(int dpi) {
        LogFontARecord lf;
        std::memcpy(&lf, bytes + 160, sizeof lf);
        return FontFromLogFont(lf, dpi, Latin1);
    }
};

TEST(FontFromLogFont, HeightBecomesPoints) {
    EXPECT_DOUBLE_EQ(Metrics(-12, 400, "Tahoma").Read(96).Size, 9);
    EXPECT_NEAR(Metrics(-16, 400, "Tahoma").Read(120).Size, 9.6, 1e-12);
    EXPECT_DOUBLE_EQ(Metrics(12, 400, "Tahoma").Read(96).Size, 12);
    EXPECT_DOUBLE_EQ(Metrics(12, 400, "Tahoma").Read(144).Size, 12);
    EXPECT_DOUBLE_EQ(Metrics(0, 400, "Tahoma").Read(96).Size, 0);
}

TEST(FontFromLogFont, WeightAndFlags) {
    EXPECT_FALSE(Metrics(-12, 400, "A").Read(96).Bold);
    EXPECT_TRUE(Metrics(-12, 401, "A").Read(96).Bold);
    EXPECT_TRUE(Metrics(-12, 700, "A").Read(96).Bold);

    Metrics m(-12, 400, "A");
    m.menu().lfItalic = 1;
    m.menu().lfUnderline = 255;
    m.menu().lfStrikeOut = 0;
    m.menu().lfCharSet = 128;
    FontSpec font = m.Read(96);
    EXPECT_TRUE(font.Italic);
    EXPECT_TRUE(font.Underline);
    EXPECT_FALSE(font.Strikethrough);
    EXPECT_EQ(font.Charset, 128);
    m.menu().lfStrikeOut = 1;
    EXPECT_TRUE(m.Read(96).Strikethrough);
}

TEST(FontFromLogFont, FaceNameEndsAtNulOrAfterThirtyTwoBytes) {
    EXPECT_EQ(Metrics(-12, 400, "Meiryo UI").Read(96).Name, L"Meiryo UI");
    Metrics full(-12, 400, "");
    std::memset(full.menu().lfFaceName, 'X', 32);
    full.bytes[160 + 60] = 'Y';  // the byte after the face must not be read
    EXPECT_EQ(full.Read(96).Name, std::wstring(32, L'X'));
}

TEST(LogFontFromFontSpec, PointsBecomeANegativePixelHeight) {
    FontSpec font;
    font.Name = L"Arial";
    font.Size = 12;
    EXPECT_EQ(LogFontFromFontSpec(font, 96).Height, -16);
    font.Size = 10.5;
    EXPECT_EQ(LogFontFromFontSpec(font, 96).Height, -14);
    EXPECT_EQ(LogFontFromFontSpec(font, 120).Height, -18);  // 17.5 rounds up
    font.Size = 0.01;
    EXPECT_EQ(LogFontFromFontSpec(font, 96).Height, -1);  // never the mapper's default

    font.Bold = true;
    font.Italic = true;
    font.Charset = 128;
    LogFontFields f = LogFontFromFontSpec(font, 96);
    EXPECT_EQ(f.Weight, 700);
    EXPECT_EQ(f.Italic, 1);
    EXPECT_EQ(f.CharSet, 128);
    font.Name = std::wstring(40, L'a');
    EXPECT_EQ(LogFontFromFontSpec(font, 96).FaceName.size(), 31u);
}

TEST(LogFontFromFontSpec, HeightsPastThirtyTwoBitsStayCharacterHeights) {
    // What a record with the largest pixel height reads as, and beyond.
    FontSpec font;
    for (double size : {1610612736.0, 1616904193.0, 1e300}) {
        font.Size = size;
        EXPECT_EQ(LogFontFromFontSpec(font, 96).Height, -2147483647) << size;
    }
    font.Size = 12;
    EXPECT_EQ(LogFontFromFontSpec(font, 0).Height, -1);
}

}  // namespace
