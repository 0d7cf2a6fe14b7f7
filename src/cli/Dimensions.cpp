#include "cli/Dimensions.h"

#include <algorithm>
#include <map>
#include <sstream>

#include <CLI/CLI.hpp>

using Json = nlohmann::ordered_json;

namespace {

constexpr std::size_t kMaxLength = 65535;

// The value a name stands for, in any case.
template <typename T>
std::optional<T> Named(const std::vector<std::pair<std::string, T>>& names, const std::string& word) {
    for (const auto& [name, value] : names)
        if (CLI::detail::to_lower(name) == CLI::detail::to_lower(word)) return value;
    return std::nullopt;
}

template <typename T>
std::string NameOf(const std::vector<std::pair<std::string, T>>& names, T value) {
    for (const auto& [name, named] : names)
        if (named == value) return name;
    return names.front().first;
}

Configuration WithoutLength(Configuration config) {
    config.LengthBytes = 0;
    return config;
}

Json Interval(const Estimate& e) { return Json::array({Precise(e.Low), Precise(e.High)}); }

}  // namespace

std::string CallName(TextCall call) { return NameOf(kCallNames, call); }
std::string QualityName(FontQuality quality) { return NameOf(kQualityNames, quality); }

std::optional<std::size_t> ReadLength(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return {};
    const std::size_t value = std::stoul(text);
    return value >= 1 && value <= kMaxLength ? std::optional<std::size_t>(value) : std::nullopt;
}

std::vector<Configuration> WithDimensions(const std::vector<Configuration>& configs, const CliOptions& options) {
    const std::vector<TextCall> calls =
        options.Calls.empty() ? std::vector<TextCall>{TextCall::ExtTextOutA} : options.Calls;
    const std::vector<FontQuality> qualities =
        options.Qualities.empty() ? std::vector<FontQuality>{FontQuality::Default} : options.Qualities;
    const std::vector<std::size_t> lengths = options.Lengths.empty() ? std::vector<std::size_t>{0} : options.Lengths;
    std::vector<Configuration> all;
    for (Configuration config : configs)
        for (TextCall call : calls)
            for (FontQuality quality : qualities)
                for (std::size_t length : lengths) {
                    config.Call = call, config.Quality = quality, config.LengthBytes = length;
                    all.push_back(config);
                }
    return all;
}

bool NamesDimension(const std::string& part, const Configuration& config) {
    const std::string bytes = " bytes";
    const bool isLength =
        part.size() > bytes.size() && part.compare(part.size() - bytes.size(), bytes.size(), bytes) == 0;
    return Named(kCallNames, part) == config.Call || Named(kQualityNames, part) == config.Quality ||
           (isLength && ReadLength(part.substr(0, part.size() - bytes.size())) == config.LengthBytes);
}

std::string DimensionLabel(const Configuration& config) {
    std::string label;
    if (config.Call != TextCall::ExtTextOutA) label += " " + CallName(config.Call);
    if (config.Quality != FontQuality::Default) label += " " + QualityName(config.Quality);
    if (config.LengthBytes) label += " " + std::to_string(config.LengthBytes) + " B";
    return label;
}

bool SameConfiguration(const Configuration& a, const Configuration& b) {
    return WithoutLength(a) == WithoutLength(b) && (a.LengthBytes == b.LengthBytes || !a.LengthBytes || !b.LengthBytes);
}

bool ReadDimensionFields(const Json& row, const Json& context, Configuration& config, std::string& error) {
    const auto word = [&](const char* name, const char* otherwise) {
        const auto it = row.find(name);
        return it != row.end() && it->is_string() ? it->get<std::string>() : std::string(otherwise);
    };
    const std::optional<TextCall> call = Named(kCallNames, word("call", "ExtTextOutA"));
    const std::optional<FontQuality> quality = Named(kQualityNames, word("quality", "default"));
    const Json length = row.value("length_bytes", context.is_object() ? context.value("text_bytes", Json()) : Json());
    error = !call                                               ? "unknown call \"" + word("call", "") + "\""
            : !quality                                          ? "unknown quality \"" + word("quality", "") + "\""
            : !length.is_null() && !length.is_number_unsigned() ? "length_bytes is no length"
                                                                : "";
    if (!error.empty()) return false;
    config.Call = *call, config.Quality = *quality;
    config.LengthBytes = length.is_null() ? 0 : length.get<std::size_t>();
    return true;
}

std::vector<LengthFit> FitLengths(const std::vector<Measurement>& results, std::size_t textBytes) {
    std::vector<LengthFit> fits;
    std::map<std::size_t, std::vector<LengthSample>> passes;  // by fit
    for (std::size_t i = 0; i < results.size(); ++i) {
        const Measurement& m = results[i];
        if (!m.Config.LengthBytes) continue;
        std::size_t f = 0;
        while (f < fits.size() && !(fits[f].Config == WithoutLength(m.Config))) ++f;
        if (f == fits.size()) fits.push_back({WithoutLength(m.Config), std::nullopt, "", i, {}, 0});
        fits[f].Last = i;
        if (m.Clipped && (!fits[f].ClippedFrom || m.TextBytes < fits[f].ClippedFrom)) fits[f].ClippedFrom = m.TextBytes;
        for (double ms : m.PerCallMs) passes[f].push_back({m.TextBytes, m.TextChars, ms});
    }
    for (std::size_t f = 0; f < fits.size(); ++f)
        if ((fits[f].Model = FitCostModel(passes[f], fits[f].Reason)))
            fits[f].AtText = fits[f].Model->PerByte.Predict(static_cast<double>(textBytes));
    return fits;
}

std::string WithFitLines(const std::string& table, const std::vector<LengthFit>& fits) {
    std::istringstream in(table);
    std::string out, line;
    for (std::size_t row = 0; std::getline(in, line); ++row) {
        out += line + "\n";
        for (const LengthFit& fit : fits)
            if (row == fit.Last + 1)
                out += "    " + (fit.Model ? CostModelText(*fit.Model) : "no fit: " + fit.Reason) +
                       (fit.ClippedFrom ? "\n    from " + std::to_string(fit.ClippedFrom) +
                                              " bytes the text runs past the canvas, which cuts its glyphs off"
                                        : "") +
                       "\n";
    }
    return out;
}

Json FitsJson(const std::vector<LengthFit>& fits) {
    Json list = Json::array();
    for (const LengthFit& fit : fits) {
        const Configuration& k = fit.Config;
        Json entry = {{"face", k.Face},
                      {"size", k.Size},
                      {"bold", k.Bold},
                      {"italic", k.Italic},
                      {"opaque", k.Opaque},
                      {"call", CallName(k.Call)},
                      {"quality", QualityName(k.Quality)},
                      {"clipped_from_bytes", fit.ClippedFrom ? Json(fit.ClippedFrom) : Json()}};
        if (!fit.Model) {
            entry["no_fit"] = fit.Reason;
        } else {
            const LineFit &c = fit.Model->PerChar, &b = fit.Model->PerByte;
            entry.update({{"per_call_ms", Precise(c.Fixed.Value)},
                          {"per_call_ms_ci", Interval(c.Fixed)},
                          {"per_char_ms", Precise(c.PerUnit.Value)},
                          {"per_char_ms_ci", Interval(c.PerUnit)},
                          {"per_byte_ms", Precise(b.PerUnit.Value)},
                          {"per_byte_ms_ci", Interval(b.PerUnit)},
                          {"r2", Precise(c.R2)},
                          {"lengths", fit.Model->Lengths},
                          {"at_text_length_ms", Precise(fit.AtText.Value)},
                          {"at_text_length_ms_ci", Interval(fit.AtText)}});
        }
        list.push_back(entry);
    }
    return list;
}
