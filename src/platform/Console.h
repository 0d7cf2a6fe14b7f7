#pragma once
#include <string>

// UTF-8 text to standard output or standard error, whether a console, a
// pipe or a file.
void WriteStdout(const std::string& utf8);
void WriteStderr(const std::string& utf8);
