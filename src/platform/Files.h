#pragma once
#include <optional>
#include <string>

// Files named in UTF-8, whatever the ANSI code page could name.
// The whole file; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& utf8Path);
// False when the file could not be written in full.
bool WriteWholeFile(const std::string& utf8Path, const std::string& bytes);
// Whether the file can be written, found without changing it: one that did
// not exist is made and removed again.
bool CanWriteFile(const std::string& utf8Path);
