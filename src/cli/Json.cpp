#include "cli/Json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

const JsonValue* JsonValue::Find(const std::wstring& name) const {
    for (const auto& member : Members)
        if (member.first == name) return &member.second;
    return nullptr;
}

namespace {

// Deeper documents are not this program's output; the limit keeps a
// hostile file from exhausting the stack.
constexpr int kMaxDepth = 64;

class JsonReader {
public:
    explicit JsonReader(const std::wstring& text) : text_(text) {}

    std::optional<JsonValue> Document(std::wstring& error) {
        JsonValue value;
        Blank();
        if (Value(value, 0)) {
            Blank();
            if (pos_ == text_.size()) return value;
            Fail(L"unexpected text after the document");
        }
        error = error_ + L" at character " + std::to_wstring(pos_ + 1);
        return std::nullopt;
    }

private:
    bool Fail(const wchar_t* message) {
        if (error_.empty()) error_ = message;
        return false;
    }

    void Blank() {
        while (pos_ < text_.size() &&
               (text_[pos_] == L' ' || text_[pos_] == L'\t' || text_[pos_] == L'\n' || text_[pos_] == L'\r'))
            ++pos_;
    }

    bool Literal(const wchar_t* word) {
        for (size_t i = 0; word[i]; ++i, ++pos_)
            if (pos_ >= text_.size() || text_[pos_] != word[i]) return Fail(L"unknown word");
        return true;
    }

    bool Value(JsonValue& out, int depth) {
        if (depth > kMaxDepth) return Fail(L"nested too deeply");
        if (pos_ >= text_.size()) return Fail(L"unexpected end");
        switch (text_[pos_]) {
        case L'{': return Object(out, depth);
        case L'[': return Array(out, depth);
        case L'"': out.Kind = JsonValue::Type::String; return String(out.String);
        case L't': out.Kind = JsonValue::Type::Bool; out.Bool = true; return Literal(L"true");
        case L'f': out.Kind = JsonValue::Type::Bool; out.Bool = false; return Literal(L"false");
        case L'n': out.Kind = JsonValue::Type::Null; return Literal(L"null");
        default: out.Kind = JsonValue::Type::Number; return Number(out.Number);
        }
    }

    bool Object(JsonValue& out, int depth) {
        out.Kind = JsonValue::Type::Object;
        ++pos_;
        Blank();
        if (pos_ < text_.size() && text_[pos_] == L'}') return ++pos_, true;
        for (;;) {
            Blank();
            if (pos_ >= text_.size() || text_[pos_] != L'"') return Fail(L"expected a member name");
            std::wstring name;
            if (!String(name)) return false;
            Blank();
            if (pos_ >= text_.size() || text_[pos_] != L':') return Fail(L"expected ':'");
            ++pos_;
            Blank();
            JsonValue value;
            if (!Value(value, depth + 1)) return false;
            out.Members.emplace_back(std::move(name), std::move(value));
            Blank();
            if (pos_ < text_.size() && text_[pos_] == L',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == L'}') return ++pos_, true;
            return Fail(L"expected ',' or '}'");
        }
    }

    bool Array(JsonValue& out, int depth) {
        out.Kind = JsonValue::Type::Array;
        ++pos_;
        Blank();
        if (pos_ < text_.size() && text_[pos_] == L']') return ++pos_, true;
        for (;;) {
            Blank();
            JsonValue value;
            if (!Value(value, depth + 1)) return false;
            out.Items.push_back(std::move(value));
            Blank();
            if (pos_ < text_.size() && text_[pos_] == L',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == L']') return ++pos_, true;
            return Fail(L"expected ',' or ']'");
        }
    }

    bool Hex4(unsigned& value) {
        value = 0;
        for (int i = 0; i < 4; ++i, ++pos_) {
            if (pos_ >= text_.size()) return Fail(L"unexpected end");
            wchar_t c = text_[pos_];
            unsigned digit;
            if (c >= L'0' && c <= L'9') digit = c - L'0';
            else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
            else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
            else return Fail(L"bad \\u escape");
            value = value * 16 + digit;
        }
        return true;
    }

    void AppendCodePoint(std::wstring& out, unsigned c) {
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
    }

    bool String(std::wstring& out) {
        ++pos_;
        for (;;) {
            if (pos_ >= text_.size()) return Fail(L"unterminated string");
            wchar_t c = text_[pos_++];
            if (c == L'"') return true;
            if (static_cast<unsigned>(c) < 0x20) return Fail(L"control character in a string");
            if (c != L'\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) return Fail(L"unterminated string");
            switch (text_[pos_++]) {
            case L'"': out += L'"'; break;
            case L'\\': out += L'\\'; break;
            case L'/': out += L'/'; break;
            case L'b': out += L'\b'; break;
            case L'f': out += L'\f'; break;
            case L'n': out += L'\n'; break;
            case L'r': out += L'\r'; break;
            case L't': out += L'\t'; break;
            case L'u': {
                unsigned unit;
                if (!Hex4(unit)) return false;
                if (unit >= 0xD800 && unit <= 0xDBFF && pos_ + 1 < text_.size() && text_[pos_] == L'\\' &&
                    text_[pos_ + 1] == L'u') {
                    const size_t back = pos_;
                    pos_ += 2;
                    unsigned low;
                    if (!Hex4(low)) return false;
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                        break;
                    }
                    pos_ = back;
                }
                AppendCodePoint(out, unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
                break;
            }
            default: return Fail(L"bad escape");
            }
        }
    }

    bool Number(double& out) {
        const size_t start = pos_;
        auto digits = [&] {
            size_t first = pos_;
            while (pos_ < text_.size() && text_[pos_] >= L'0' && text_[pos_] <= L'9') ++pos_;
            return pos_ - first;
        };
        if (pos_ < text_.size() && text_[pos_] == L'-') ++pos_;
        const size_t intStart = pos_;
        const size_t intDigits = digits();
        if (intDigits == 0) return Fail(L"expected a value");
        if (intDigits > 1 && text_[intStart] == L'0') return Fail(L"leading zero in a number");
        if (pos_ < text_.size() && text_[pos_] == L'.') {
            ++pos_;
            if (digits() == 0) return Fail(L"expected digits after '.'");
        }
        if (pos_ < text_.size() && (text_[pos_] == L'e' || text_[pos_] == L'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == L'+' || text_[pos_] == L'-')) ++pos_;
            if (digits() == 0) return Fail(L"expected digits in the exponent");
        }
        std::string ascii(text_.begin() + static_cast<std::ptrdiff_t>(start),
                          text_.begin() + static_cast<std::ptrdiff_t>(pos_));
        out = std::strtod(ascii.c_str(), nullptr);
        return true;
    }

    const std::wstring& text_;
    size_t pos_ = 0;
    std::wstring error_;
};

}  // namespace

std::optional<JsonValue> ParseJson(const std::wstring& text, std::wstring& error) {
    return JsonReader(text).Document(error);
}

std::wstring JsonQuote(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        switch (c) {
        case L'"': out += L"\\\""; break;
        case L'\\': out += L"\\\\"; break;
        case L'\n': out += L"\\n"; break;
        case L'\r': out += L"\\r"; break;
        case L'\t': out += L"\\t"; break;
        default:
            if (static_cast<unsigned>(c) < 0x20) {
                wchar_t escape[8];
                std::swprintf(escape, 8, L"\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + L"\"";
}

std::wstring JsonNumber(double value, int digits) {
    if (!std::isfinite(value)) return L"null";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}
