#include "cli/measure/TextLength.h"

#include <gtest/gtest.h>

namespace {

TEST(TextOfLength, RepeatsAndCutsWithoutSplittingACharacter) {
    auto cp932 = [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
    const std::string text = "a\x93\xFA\x96\x7B";  // "a" and two kanji; 0xFA, a trail byte here, is also a lead byte
    const struct { std::string text; std::size_t bytes; std::string expected; std::size_t chars; } cases[] = {
        {"abc", 7, "abcabca", 7}, {"", 0, "", 0},           {text, 1, "a", 1},
        {text, 2, "a ", 2},       {text, 4, "a\x93\xFA ", 3}, {text, 8, text + "a\x93\xFA", 5}};
    std::string reason;
    for (const auto& c : cases) {
        const SizedText sized = TextOfLength(c.text, c.bytes, cp932, reason).value();
        EXPECT_EQ(sized.Bytes + "|" + std::to_string(sized.Chars), c.expected + "|" + std::to_string(c.chars));
    }
    EXPECT_FALSE(TextOfLength("", 1, cp932, reason) || TextOfLength("a\x93", 4, cp932, reason));
}

}  // namespace
