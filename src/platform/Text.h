#pragma once
#include <string>

// Text in the system's ANSI code page, with the code page's own default
// character for what it cannot represent.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const char* bytes, std::size_t length);
// Whether a byte starts a double-byte character in a code page (CP_ACP: the ANSI one).
bool IsLeadByte(unsigned codePage, unsigned char byte);

// UTF-8 for consoles, pipes, files and the libraries that read or write them.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& bytes);

// Whether text comes back unchanged from the trip ExtTextOutA's text makes:
// into the system's ANSI code page with no default or best-fit character,
// then read back in codePage, as GDI reads the bytes for a font.
bool SurvivesAnsiTrip(const std::wstring& text, unsigned codePage);
