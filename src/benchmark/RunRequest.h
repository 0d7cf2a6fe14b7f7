#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <variant>

#include "platform/LogFont.h"

// What both programs start with: the main window's text box and size box,
// and the console program's --text and --size.
inline const char kDefaultText[] = "The quick brown fox jumps over the lazy dog.";
constexpr double kDefaultSize = 12;

// The settings exactly as the main window's controls hold them.
struct RunSettings {
    std::wstring Text;
    std::wstring Count;
    std::wstring Face;
    std::wstring Size;
    int Bold = 0;  // check-box values: 0, 1 or 2 (grayed)
    int Italic = 0;
    int Opaque = 0;
};

// A run everything is known of: the text as typed, the count of calls, the
// canvas font and whether the text cells are filled.
struct RunRequest {
    std::wstring Text;
    std::int32_t Count = 0;
    FontSpec Font;
    bool Opaque = false;
};

enum class RunField { Count, Face, Size };

// A value that cannot be used: its box and what the user is told.
struct Refusal {
    RunField Field;
    std::wstring Message;
};

// Checks count, face and size in that order; the first that fails is the
// refusal. thousand is the user's group separator, which a pasted value may
// carry.
std::variant<RunRequest, Refusal> ReadRunSettings(const RunSettings& settings, const std::wstring& thousand,
                                                  const std::function<bool(const std::wstring&)>& isScreenFont);
