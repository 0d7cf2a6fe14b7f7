#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Just enough JSON to read this program's own output back: any valid
// document parses, numbers become doubles.
struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type Kind = Type::Null;
    bool Bool = false;
    double Number = 0;
    std::wstring String;
    std::vector<JsonValue> Items;
    std::vector<std::pair<std::wstring, JsonValue>> Members;

    // The first member with this name, or nullptr (also when not an object).
    const JsonValue* Find(const std::wstring& name) const;
};

// Fails with a message naming the character offset where reading stopped.
std::optional<JsonValue> ParseJson(const std::wstring& text, std::wstring& error);

// A quoted JSON string: quotes, backslashes and control characters escaped,
// everything else kept as it is.
std::wstring JsonQuote(const std::wstring& text);

// A JSON number with up to `digits` significant digits; null when not finite.
std::wstring JsonNumber(double value, int digits = 15);
