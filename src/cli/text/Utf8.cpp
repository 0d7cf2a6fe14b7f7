// UTF-8 text: its characters, whether it is UTF-8 at all, and its width on a console.
#include "cli/text/Utf8.h"

#include <algorithm>
#include <cstdio>

namespace {

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

char32_t NextCodePoint(const std::string& text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = extra ? lead & (0x3F >> extra) : lead;
    for (int k = 1; k <= extra && i + k < text.size(); ++k) c = (c << 6) | (text[i + k] & 0x3F);
    i = std::min(text.size(), i + 1 + extra);
    return c;
}

std::size_t Utf8Prefix(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2
                                  : lead >= 0xF0 && lead <= 0xF4 ? 3 : 4;
        if (extra == 4 || (extra && i + extra >= text.size())) return i;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return i;
        std::size_t at = i;
        const char32_t c = NextCodePoint(text, at);
        const char32_t least = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if ((extra && c < least) || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return i;
        i = at;
    }
    return i;
}

std::size_t DisplayWidth(const std::string& text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) width += IsWide(NextCodePoint(text, i)) ? 2 : 1;
    return width;
}

std::size_t CharacterCount(const std::string& text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++n) NextCodePoint(text, i);
    return n;
}

std::string Abbreviated(const std::string& text, std::size_t characters) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < characters && i < text.size(); ++n) NextCodePoint(text, i);
    return i < text.size() ? text.substr(0, i) + "\u2026" : text;
}

std::vector<std::string> CharactersRefused(const std::string& text,
                                           const std::function<bool(const std::string&)>& keeps) {
    std::vector<std::string> refused;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        NextCodePoint(text, i);
        const std::string character = text.substr(start, i - start);
        if (std::find(refused.begin(), refused.end(), character) == refused.end() && !keeps(character))
            refused.push_back(character);
    }
    return refused;
}

std::string CharacterList(const std::vector<std::string>& characters) {
    std::string list;
    for (const std::string& character : characters) {
        std::size_t i = 0;
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(NextCodePoint(character, i)));
        list += (list.empty() ? "" : ", ") + std::string("\"") + character + "\" (" + code + ")";
    }
    return list;
}
