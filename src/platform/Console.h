#pragma once
#include <string>

// UTF-8 text to standard output or standard error, whether a console, a
// pipe or a file.
void WriteStdout(const std::string& utf8);
void WriteStderr(const std::string& utf8);

// Standard error is a console, where a line can be rewritten in place.
bool StderrIsConsole();

// From the first call on, Ctrl+C and Ctrl+Break only raise the flag InterruptRequested reads,
// so a run can stop between two calls and still write what it measured.
void CatchInterrupt();
bool InterruptRequested();
