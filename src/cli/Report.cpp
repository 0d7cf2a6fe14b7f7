#include "cli/Report.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>

#include "cli/Csv.h"
#include "cli/Json.h"

namespace {

std::wstring Widen(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

std::wstring Number(double value) { return JsonNumber(value, 15); }

// Times and the CV keep six digits in the machine-readable forms, enough
// for a comparison to see a change the table would round away.
std::wstring Precise(double value) { return JsonNumber(value, 6); }
std::wstring Precise(const std::optional<double>& value) { return value ? Precise(*value) : L"null"; }

std::wstring Rate(double value) {
    std::wstring text = FormatSignificant(value, 3);
    return text == L"-" ? L"null" : text;
}

std::wstring Percent(const std::optional<double>& fraction) {
    if (!fraction) return L"-";
    return FormatSignificant(*fraction * 100, 3) + L"%";
}

std::wstring Optional(const std::optional<double>& value) { return value ? FormatSignificant(*value, 3) : L"-"; }

std::wstring SystemText(const RunContext& context) {
    if (context.WineVersion.empty()) return L"Windows " + context.WindowsVersion;
    return L"Wine " + context.WineVersion + L" (reports Windows " + context.WindowsVersion + L")";
}

std::wstring CountText(const RunContext& context) {
    if (context.Count) return L"count " + std::to_wstring(*context.Count);
    return L"count auto (" + JsonNumber(context.TargetSeconds, 6) + L" s a pass)";
}

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

std::wstring FormatSignificant(double value, int digits) {
    if (!std::isfinite(value)) return L"-";
    if (value == 0) return L"0";
    // Let printf do the rounding, then read back where the digits start.
    char scientific[40];
    std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, value);
    const double rounded = std::strtod(scientific, nullptr);
    const int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
    const int decimals = digits - 1 - exponent;
    char plain[400];
    std::snprintf(plain, sizeof plain, "%.*f", decimals > 0 ? decimals : 0, rounded);
    return Widen(plain);
}

std::size_t DisplayWidth(const std::wstring& text) {
    std::size_t width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        }
        width += IsWide(c) ? 2 : 1;
    }
    return width;
}

std::wstring StyleName(bool bold, bool italic) {
    if (bold && italic) return L"bold italic";
    if (bold) return L"bold";
    if (italic) return L"italic";
    return L"regular";
}

std::wstring AlignColumns(const std::vector<std::vector<std::wstring>>& rows, const std::vector<bool>& rightAligned) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size());
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
    std::wstring out;
    for (const auto& row : rows) {
        std::wstring line;
        for (size_t c = 0; c < row.size(); ++c) {
            const std::wstring padding(widths[c] - DisplayWidth(row[c]), L' ');
            const bool right = c < rightAligned.size() && rightAligned[c];
            if (c > 0) line += L"  ";
            if (right) line += padding + row[c];
            else line += row[c] + (c + 1 < row.size() ? padding : L"");
        }
        out += line + L"\n";
    }
    return out;
}

std::wstring TableReport(const RunContext& context, const std::vector<Measurement>& results) {
    std::wstring out = std::wstring(kCliProgramName) + L" " + context.Version + L" (" +
                       std::to_wstring(context.Bits) + L"-bit) on " + SystemText(context) + L", ANSI code page " +
                       std::to_wstring(context.AnsiCodePage) + L", " + std::to_wstring(context.Dpi) +
                       L" dpi, counter " + std::to_wstring(context.CounterFrequency) + L" Hz, " + context.Date + L"\n";
    out += L"Text " + JsonQuote(context.Text) + L" (" + std::to_wstring(context.TextBytes) + L" bytes), " +
           CountText(context) + L", " + std::to_wstring(context.Repetitions) + L" timed passes after " +
           std::to_wstring(context.Warmup) + L" warm-up, GdiFlush " + (context.Flush ? L"on" : L"off") +
           L"; times per call in ms\n\n";

    std::vector<std::vector<std::wstring>> rows = {{L"face", L"size", L"style", L"background", L"count", L"reps",
                                                    L"min", L"median", L"mean", L"sd", L"cv", L"calls/s",
                                                    L"bytes/s", L"drawn with"}};
    bool anySubstituted = false;
    for (const Measurement& m : results) {
        anySubstituted = anySubstituted || m.Substituted;
        rows.push_back({m.Config.Face, JsonNumber(m.Config.Size, 6), StyleName(m.Config.Bold, m.Config.Italic),
                        m.Config.Opaque ? L"opaque" : L"transparent", std::to_wstring(m.Count),
                        std::to_wstring(m.Stats.N), FormatSignificant(m.Stats.Min, 3),
                        FormatSignificant(m.Stats.Median, 3), FormatSignificant(m.Stats.Mean, 3),
                        Optional(m.Stats.StdDev), Percent(m.Stats.Cv), FormatSignificant(m.CallsPerSecond(), 3),
                        FormatSignificant(m.CallsPerSecond() * static_cast<double>(context.TextBytes), 3),
                        m.RealizedFace + (m.Substituted ? L" *" : L"")});
    }
    out += AlignColumns(rows, {false, true, false, false, true, true, true, true, true, true, true, true, true, false});
    if (anySubstituted) out += L"\n* the font mapper drew another face than the one asked for\n";
    return out;
}

std::wstring CsvReport(const std::vector<Measurement>& results, std::size_t textBytes) {
    std::wstring out =
        L"face,realized_face,substituted,size,bold,italic,opaque,count,repetitions,min_ms,median_ms,mean_ms,"
        L"stddev_ms,cv,calls_per_second,bytes_per_second\n";
    auto flag = [](bool on) { return on ? L"true" : L"false"; };
    auto optional = [](const std::optional<double>& v) { return v ? Precise(*v) : L""; };
    for (const Measurement& m : results) {
        out += CsvField(m.Config.Face) + L"," + CsvField(m.RealizedFace) + L"," + flag(m.Substituted) + L"," +
               Number(m.Config.Size) + L"," + flag(m.Config.Bold) + L"," + flag(m.Config.Italic) + L"," +
               flag(m.Config.Opaque) + L"," + std::to_wstring(m.Count) + L"," + std::to_wstring(m.Stats.N) + L"," +
               Precise(m.Stats.Min) + L"," + Precise(m.Stats.Median) + L"," + Precise(m.Stats.Mean) + L"," +
               optional(m.Stats.StdDev) + L"," + optional(m.Stats.Cv) + L"," +
               FormatSignificant(m.CallsPerSecond(), 3) + L"," +
               FormatSignificant(m.CallsPerSecond() * static_cast<double>(textBytes), 3) + L"\n";
    }
    return out;
}

std::wstring JsonReport(const RunContext& context, const std::vector<Measurement>& results) {
    auto flag = [](bool on) { return on ? L"true" : L"false"; };
    std::wstring out = L"{\n  \"context\": {\n";
    out += L"    \"program\": " + JsonQuote(kCliProgramName) + L",\n";
    out += L"    \"version\": " + JsonQuote(context.Version) + L",\n";
    out += L"    \"architecture\": " + JsonQuote(std::to_wstring(context.Bits) + L"-bit") + L",\n";
    out += L"    \"windows_version\": " + JsonQuote(context.WindowsVersion) + L",\n";
    out += L"    \"wine_version\": " + (context.WineVersion.empty() ? L"null" : JsonQuote(context.WineVersion)) + L",\n";
    out += L"    \"ansi_code_page\": " + std::to_wstring(context.AnsiCodePage) + L",\n";
    out += L"    \"screen_dpi\": " + std::to_wstring(context.Dpi) + L",\n";
    out += L"    \"counter_frequency\": " + std::to_wstring(context.CounterFrequency) + L",\n";
    out += L"    \"date\": " + JsonQuote(context.Date) + L",\n";
    out += L"    \"text\": " + JsonQuote(context.Text) + L",\n";
    out += L"    \"text_bytes\": " + std::to_wstring(context.TextBytes) + L",\n";
    out += L"    \"count\": " + (context.Count ? std::to_wstring(*context.Count) : L"\"auto\"") + L",\n";
    out += L"    \"target_seconds\": " + Number(context.TargetSeconds) + L",\n";
    out += L"    \"repetitions\": " + std::to_wstring(context.Repetitions) + L",\n";
    out += L"    \"warmup\": " + std::to_wstring(context.Warmup) + L",\n";
    out += L"    \"flush\": " + std::wstring(flag(context.Flush)) + L"\n  },\n  \"results\": [";
    for (size_t i = 0; i < results.size(); ++i) {
        const Measurement& m = results[i];
        out += i ? L",\n    {" : L"\n    {";
        out += L"\"face\": " + JsonQuote(m.Config.Face) + L", \"realized_face\": " + JsonQuote(m.RealizedFace) +
               L", \"substituted\": " + flag(m.Substituted) + L", \"size\": " + Number(m.Config.Size) +
               L", \"bold\": " + flag(m.Config.Bold) + L", \"italic\": " + flag(m.Config.Italic) +
               L", \"opaque\": " + flag(m.Config.Opaque) + L",\n     \"count\": " + std::to_wstring(m.Count) +
               L", \"repetitions\": " + std::to_wstring(m.Stats.N) + L", \"min_ms\": " + Precise(m.Stats.Min) +
               L", \"median_ms\": " + Precise(m.Stats.Median) + L", \"mean_ms\": " + Precise(m.Stats.Mean) +
               L", \"stddev_ms\": " + Precise(m.Stats.StdDev) + L", \"cv\": " + Precise(m.Stats.Cv) +
               L",\n     \"calls_per_second\": " + Rate(m.CallsPerSecond()) + L", \"bytes_per_second\": " +
               Rate(m.CallsPerSecond() * static_cast<double>(context.TextBytes)) + L",\n     \"samples_ms\": [";
        for (size_t s = 0; s < m.PerCallMs.size(); ++s) out += (s ? L", " : L"") + Precise(m.PerCallMs[s]);
        out += L"]}";
    }
    out += results.empty() ? L"]\n}\n" : L"\n  ]\n}\n";
    return out;
}
