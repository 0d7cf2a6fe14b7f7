// The configurations a run measures: every combination of the options' values, their labels, the baseline.
#include "cli/sweep/Configuration.h"

#include <cmath>
#include <sstream>

#include <CLI/CLI.hpp>

#include "benchmark/RunInputs.h"
#include "cli/text/Numbers.h"

namespace {

std::wstring AsciiWide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Items of a comma list, trimmed; an empty one is kept.
std::vector<std::string> SplitList(const std::string& value) {
    std::vector<std::string> items;
    std::istringstream in(value + ",");  // the comma added ends the last item, so "12," reads "12" and ""
    for (std::string item; std::getline(in, item, ',');) items.push_back(CLI::detail::trim_copy(item, " \t"));
    return items;
}

// The value a name stands for, in any case.
template <typename T>
std::optional<T> Named(const std::vector<std::pair<std::string, T>>& names, const std::string& word) {
    for (const auto& [name, value] : names)
        if (CLI::detail::to_lower(name) == CLI::detail::to_lower(word)) return value;
    return std::nullopt;
}

// A --baseline part that names the configuration's call, quality, surface, canvas or length ("64 bytes").
bool NamesDimension(const std::string& part, const Configuration& config) {
    const std::string bytes = " bytes";
    const bool isLength =
        part.size() > bytes.size() && part.compare(part.size() - bytes.size(), bytes.size(), bytes) == 0;
    return Named(kCallNames, part) == config.Call || Named(kQualityNames, part) == config.Quality ||
           Named(kSurfaceNames, part) == config.Surface || ReadCanvas(part) == config.Canvas ||
           (isLength && ReadLength(part.substr(0, part.size() - bytes.size())) == config.LengthBytes);
}

template <typename T>
std::vector<T> OrDefault(const std::vector<T>& values, T otherwise) {
    return values.empty() ? std::vector<T>{otherwise} : values;
}

std::vector<bool> Values(Toggle t) {
    return t == Toggle::Both ? std::vector<bool>{false, true} : std::vector<bool>{t == Toggle::On};
}

}  // namespace

std::vector<Configuration> Configurations(const CliOptions& o, CanvasSize canvas) {
    std::vector<Configuration> all;
    for (const std::string& face : o.Faces)
        for (double size : OrDefault(o.Sizes, kDefaultSize))
            for (bool b : Values(o.Bold))
                for (bool i : Values(o.Italic))
                    for (bool op : Values(o.Opaque))
                        for (TextCall call : OrDefault(o.Calls, TextCall::ExtTextOutA))
                            for (FontQuality quality : OrDefault(o.Qualities, FontQuality::Default))
                                for (SurfaceKind surface : OrDefault(o.Surfaces, SurfaceKind::Ddb))
                                    for (CanvasSize sized : OrDefault(o.Canvases, canvas))
                                        for (std::size_t length : OrDefault(o.Lengths, std::size_t{0}))
                                            all.push_back({face, size, b, i, op, call, quality, surface, sized, length});
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
    const std::optional<double> number = ParseDecimal(AsciiWide(given));
    if (number && *number >= 1 && *number <= static_cast<double>(all.size()) && *number == std::floor(*number))
        return static_cast<std::size_t>(*number) - 1;
    std::vector<std::size_t> matches;
    for (std::size_t c = 0; c < all.size(); ++c) {
        const Configuration& k = all[c];
        bool fits = true;
        for (const std::string& item : SplitList(given)) {
            const std::string part = CLI::detail::to_lower(item);
            const std::optional<double> size = ParseDecimal(AsciiWide(part));
            fits = fits && (part == CLI::detail::to_lower(k.Face) || size == k.Size ||
                            (part == "regular" && !k.Bold && !k.Italic) || (part == "bold" && k.Bold) ||
                            (part == "italic" && k.Italic) || (part == "opaque" && k.Opaque) ||
                            (part == "transparent" && !k.Opaque) || (k.Repeat && part == "#" + std::to_string(k.Repeat)) ||
                            NamesDimension(part, k));
        }
        if (fits) matches.push_back(c);
    }
    if (matches.size() == 1) return matches.front();
    error = "--baseline: \"" + given + (matches.empty() ? "\" matches no configuration" : "\" matches more than one") +
            "; give a row number or face, size, style, background, call, quality, surface, canvas (\"1920x1080\") and "
            "length (\"64 bytes\"), comma-separated";
    return std::nullopt;
}

std::string StyleName(bool bold, bool italic) {
    return bold && italic ? "bold italic" : bold ? "bold" : italic ? "italic" : "regular";
}

std::string DimensionLabel(const Configuration& config) {
    std::string label;
    if (config.Call != TextCall::ExtTextOutA) label += " " + CallName(config.Call);
    if (config.Quality != FontQuality::Default) label += " " + QualityName(config.Quality);
    if (config.Surface != SurfaceKind::Ddb) label += " " + SurfaceName(config.Surface);
    if (!(config.Canvas == CanvasSize{})) label += " " + CanvasName(config.Canvas);
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
