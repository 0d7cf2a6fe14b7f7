// The configurations a run measures: every combination of the options' values, their labels, the baseline.
#include "cli/sweep/Configuration.h"

#include <cmath>
#include <sstream>

#include <CLI/CLI.hpp>

#include "benchmark/RunInputs.h"
#include "cli/text/Numbers.h"

namespace {

std::optional<double> Decimal(const std::string& text) { return ParseDecimal(std::wstring(text.begin(), text.end())); }

// Whether a --baseline part, in lower case, names this configuration's face, size, style,
// background, call, quality, length ("64 bytes") or repeat ("#2").
bool Names(const std::string& part, const Configuration& k) {
    const std::string bytes = " bytes";
    const bool isLength =
        part.size() > bytes.size() && part.compare(part.size() - bytes.size(), bytes.size(), bytes) == 0;
    return part == CLI::detail::to_lower(k.Face) || Decimal(part) == k.Size ||
           (part == "regular" && !k.Bold && !k.Italic) || (part == "bold" && k.Bold) ||
           (part == "italic" && k.Italic) || (part == "opaque" && k.Opaque) || (part == "transparent" && !k.Opaque) ||
           (k.Repeat && part == "#" + std::to_string(k.Repeat)) || part == CLI::detail::to_lower(CallName(k.Call)) ||
           part == CLI::detail::to_lower(QualityName(k.Quality)) ||
           (isLength && ReadLength(part.substr(0, part.size() - bytes.size())) == k.LengthBytes);
}

template <typename T>
std::vector<T> OrDefault(const std::vector<T>& values, T otherwise) {
    return values.empty() ? std::vector<T>{otherwise} : values;
}

std::vector<bool> Values(Toggle t) {
    return t == Toggle::Both ? std::vector<bool>{false, true} : std::vector<bool>{t == Toggle::On};
}

}  // namespace

std::vector<Configuration> Configurations(const CliOptions& o) {
    std::vector<Configuration> all;
    for (const std::string& face : o.Faces)
        for (double size : OrDefault(o.Sizes, kDefaultSize))
            for (bool b : Values(o.Bold))
                for (bool i : Values(o.Italic))
                    for (bool op : Values(o.Opaque))
                        for (TextCall call : OrDefault(o.Calls, TextCall::ExtTextOutA))
                            for (FontQuality quality : OrDefault(o.Qualities, FontQuality::Default))
                                for (std::size_t length : OrDefault(o.Lengths, std::size_t{0}))
                                    all.push_back({face, size, b, i, op, call, quality, length});
    // An A/A check of the machine and of the method: the same configuration twice, told apart.
    for (std::size_t c = 0; c < all.size(); ++c) {
        const Configuration first = all[c];
        for (std::size_t d = c + 1, n = 1; d < all.size() && !first.Repeat; ++d)
            if (all[d] == first) all[c].Repeat = 1, all[d].Repeat = static_cast<int>(++n);
    }
    return all;
}

std::optional<std::size_t> FindBaseline(const std::string& given, const std::vector<Configuration>& all,
                                        std::string& error) {
    const std::optional<double> number = Decimal(given);
    if (number && *number >= 1 && *number <= static_cast<double>(all.size()) && *number == std::floor(*number))
        return static_cast<std::size_t>(*number) - 1;
    std::vector<std::size_t> matches;
    for (std::size_t c = 0; c < all.size(); ++c) {
        bool fits = true;
        // The comma added ends the last part, so "12," reads "12" and "", which names nothing.
        std::istringstream parts(given + ",");
        for (std::string part; fits && std::getline(parts, part, ',');)
            fits = Names(CLI::detail::to_lower(CLI::detail::trim_copy(part, " \t")), all[c]);
        if (fits) matches.push_back(c);
    }
    if (matches.size() == 1) return matches.front();
    error = "--baseline: \"" + given + (matches.empty() ? "\" matches no configuration" : "\" matches more than one") +
            "; give a row number or face, size, style, background, call, quality and length (\"64 bytes\"), "
            "comma-separated";
    return std::nullopt;
}

std::string StyleName(bool bold, bool italic) {
    return bold && italic ? "bold italic" : bold ? "bold" : italic ? "italic" : "regular";
}

std::string DimensionLabel(const Configuration& config) {
    std::string label;
    if (config.Call != TextCall::ExtTextOutA) label += " " + CallName(config.Call);
    if (config.Quality != FontQuality::Default) label += " " + QualityName(config.Quality);
    if (config.LengthBytes) label += " " + std::to_string(config.LengthBytes) + " B";
    if (config.Repeat) label += " #" + std::to_string(config.Repeat);
    return label;
}

std::string ConfigLabel(const Configuration& config) {
    return config.Face + " " + PreciseText(config.Size) + " " + StyleName(config.Bold, config.Italic) +
           (config.Opaque ? " opaque" : "") + DimensionLabel(config);
}

bool SameConfiguration(const Configuration& a, const Configuration& b) {
    Configuration unsized = a;
    unsized.LengthBytes = b.LengthBytes;
    return unsized == b && (a.LengthBytes == b.LengthBytes || !a.LengthBytes || !b.LengthBytes);
}
