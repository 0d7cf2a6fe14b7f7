#include "cli/Csv.h"

std::wstring CsvField(const std::wstring& text) {
    if (text.find_first_of(L",\"\r\n") == std::wstring::npos) return text;
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'"') out += L'"';
        out += c;
    }
    return out + L"\"";
}

std::vector<std::vector<std::wstring>> ParseCsv(const std::wstring& text) {
    std::vector<std::vector<std::wstring>> rows;
    std::vector<std::wstring> row;
    std::wstring field;
    bool quoted = false;
    bool rowStarted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (quoted) {
            if (c != L'"') field += c;
            else if (i + 1 < text.size() && text[i + 1] == L'"') field += text[++i];
            else quoted = false;
            continue;
        }
        if (c == L'"') {
            quoted = true;
            rowStarted = true;
        } else if (c == L',') {
            row.push_back(std::move(field));
            field.clear();
            rowStarted = true;
        } else if (c == L'\n' || c == L'\r') {
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            rowStarted = false;
        } else {
            field += c;
            rowStarted = true;
        }
    }
    if (rowStarted || !field.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}
