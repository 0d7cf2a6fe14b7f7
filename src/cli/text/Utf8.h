// UTF-8 text: its characters, whether it is UTF-8 at all, and its width on a console.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The code point of UTF-8 text at i, and i moved past it.
char32_t NextCodePoint(const std::string& text, std::size_t& i);
// How many bytes from the start are well-formed UTF-8: no stray continuation byte, overlong
// form, surrogate or code point past U+10FFFF.
std::size_t Utf8Prefix(const std::string& text);
// Columns a console gives the text: East Asian wide characters take two.
std::size_t DisplayWidth(const std::string& text);
// The first `characters` characters of the text, and "…" where it goes on.
std::string Abbreviated(const std::string& text, std::size_t characters);
std::size_t CharacterCount(const std::string& text);

// The characters of text that keeps refuses, each once, in the order they first appear.
std::vector<std::string> CharactersRefused(const std::string& text,
                                           const std::function<bool(const std::string&)>& keeps);
// "日" (U+65E5), "€" (U+20AC)
std::string CharacterList(const std::vector<std::string>& characters);
