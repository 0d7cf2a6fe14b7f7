// The text repeated or cut to a length in bytes, without splitting a character.
#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Whether a byte of the ANSI code page starts a double-byte character; the
// system's answer for the code page in use (IsDBCSLeadByteEx).
using LeadBytePredicate = std::function<bool(unsigned char)>;

struct SizedText {
    std::string Bytes;
    std::size_t Chars = 0;
};

// text repeated, or cut, to exactly `bytes` bytes, never splitting a
// double-byte character: one that would not fit whole gives way to a space,
// which keeps the length exact. None, with the reason, for no text to repeat
// or text that ends inside a double-byte character.
std::optional<SizedText> TextOfLength(const std::string& text, std::size_t bytes, const LeadBytePredicate& isLeadByte,
                                      std::string& reason);
