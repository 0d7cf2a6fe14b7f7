// The result files' schema, once: what the JSON (and so the CSV) output writes, and what --compare reads back.
#include "cli/analysis/Schema.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>

#include "cli/text/Numbers.h"

namespace {

Json PreciseList(const std::vector<double>& values) {
    Json list = Json::array();
    for (double v : values) list.push_back(Precise(v));
    return list;
}

// Rates keep three digits, as whole numbers where they are.
Json Rate(double value) {
    if (!std::isfinite(value)) return Json();
    const double rounded = std::stod(FormatSignificant(value, 3));
    return rounded >= 1000 ? Json(static_cast<std::int64_t>(rounded)) : Json(rounded);
}

Json Interval(const Estimate& e) { return Json::array({Precise(e.Low), Precise(e.High)}); }

// A field an earlier file may lack or hold null for. A value of the wrong kind throws nlohmann's
// type_error; whole numbers are checked here, as the library would cast them unchecked.
template <typename T>
void Optional(const Json& j, const char* name, T& target) {
    const auto it = j.find(name);
    if (it == j.end() || it->is_null()) return;
    if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>)
        if (!it->is_number_integer() || it->get<std::int64_t>() < 0 ||
            static_cast<std::uint64_t>(it->get<std::int64_t>()) > std::numeric_limits<T>::max())
            throw SchemaError(std::string(name) + " is not a whole number in range");
    it->get_to(target);
}

template <typename T>
T Word(const Json& j, const char* name, const std::vector<std::pair<std::string, T>>& names) {
    std::string word = names.front().first;
    Optional(j, name, word);
    for (const auto& [known, value] : names)
        if (known == word) return value;
    throw SchemaError("unknown " + std::string(name) + " \"" + word + "\"");
}

// nlohmann's message without its "[json.exception.type_error.302] " tag, the field it names
// from within the object at `within`: "(/context/machine_reference_ms/1) type must be ..." reads
// "machine_reference_ms/1: type must be ...".
std::string Reason(const std::exception& e, const std::string& within) {
    std::string what = e.what();
    if (what.rfind("[json.exception.", 0) == 0) what = what.substr(what.find(']') + 2);
    const std::string path = "(" + within;
    if (what.rfind(path, 0) == 0 && what.find(") ") != std::string::npos)
        what = what.substr(path.size(), what.find(") ") - path.size()) + ": " + what.substr(what.find(") ") + 2);
    return what;
}

}  // namespace

Json Precise(double value) {
    return std::isfinite(value) ? Json(std::strtod(PreciseText(value).c_str(), nullptr)) : Json();
}

void to_json(Json& j, const RunContext& c) {
    const CliOptions& o = c.Options;
    j = {{"program", c.Program}, {"version", c.Version}, {"commit", c.Commit.empty() ? Json() : Json(c.Commit)},
         {"architecture", std::to_string(c.Bits) + "-bit"},
         {"windows_version", c.WindowsVersion}, {"wine_version", c.WineVersion.empty() ? Json() : Json(c.WineVersion)},
         {"ansi_code_page", c.AnsiCodePage}, {"screen_dpi", c.Dpi}, {"counter_frequency", c.CounterFrequency},
         {"date", c.Date}, {"text", o.Text}, {"text_bytes", c.TextBytes},
         {"count", o.Count ? Json(*o.Count) : Json("auto")}, {"target_seconds", o.TargetSeconds},
         {"repetitions", o.Repetitions}, {"warmup", o.Warmup}, {"flush", o.Flush},
         {"priority", o.HighPriority ? "high" : "normal"}, {"cpu", o.Cpu ? Json(*o.Cpu) : Json()},
         {"max_time_seconds", o.MaxSeconds > 0 ? Json(o.MaxSeconds) : Json()}, {"rounds", c.Rounds},
         {"stopped", c.Stopped}, {"interrupted", c.Stopped == "interrupted"}, {"seconds", Precise(c.Seconds)},
         {"confidence", Precise(c.Confidence)}, {"machine_reference", c.ReferenceKind},
         {"machine_reference_ms", PreciseList(c.ReferenceMs)}};
}

void to_json(Json& j, const Result& r) {
    const Summary& s = r.Stats;
    j = {{"face", r.Config.Face}, {"realized_face", r.RealizedFace}, {"substituted", r.Substituted},
         {"text_fits_font", r.Misread.empty()}, {"size", r.Config.Size}, {"bold", r.Config.Bold},
         {"italic", r.Config.Italic}, {"opaque", r.Config.Opaque}, {"count", r.Count}, {"repetitions", s.N},
         {"min_ms", Precise(s.Min)}, {"median_ms", Precise(s.Median)}, {"mean_ms", Precise(s.Mean)},
         {"stddev_ms", Precise(s.StdDev.value_or(NAN))}, {"cv", Precise(s.Cv.value_or(NAN))},
         {"adjusted_cv", Precise(r.AdjustedCv.value_or(NAN))}, {"calls_per_second", Rate(r.CallsPerSecond())},
         {"bytes_per_second", Rate(r.BytesPerSecond())}, {"max_ms", Precise(s.Max)},
         {"call", CallName(r.Config.Call)}, {"quality", QualityName(r.Config.Quality)},
         {"drawn_quality", r.DrawnQuality.empty() ? Json() : Json(r.DrawnQuality)},
         {"length_bytes", r.TextBytes}, {"length_chars", r.TextChars}, {"clipped", r.Clipped},
         {"repeat", r.Config.Repeat}, {"surface", SurfaceName(r.Config.Surface)},
         {"canvas_width", r.Config.Canvas.Width}, {"canvas_height", r.Config.Canvas.Height}};
    if (r.FirstDraw)
        j.update({{"first_draw_ms", Precise(*r.FirstDraw)}, {"first_draw_ratio", Precise(r.FirstDrawRatio.Median)},
                  {"first_draw_ratio_ci", Json::array({Precise(r.FirstDrawRatio.Low), Precise(r.FirstDrawRatio.High)})}});
    const Comparison c = r.VsBaseline.value_or(kNoComparison);
    if (r.Judged)
        j.update({{"ratio", Precise(c.Ratio)}, {"ratio_low", Precise(c.Low)}, {"ratio_high", Precise(c.High)},
                  {"p", Precise(c.P)}, {"verdict", r.Verdict}});
    j["samples_ms"] = PreciseList(r.PerCallMs);
    j["reference_ms"] = PreciseList(r.ReferenceMs);
    if (r.FirstDraw) {
        j["first_draw_samples_ms"] = PreciseList(r.FirstDrawMs);
        j["first_draw_warm_ms"] = PreciseList(r.FirstDrawWarmMs);
    }
}

void to_json(Json& j, const LengthFit& fit) {
    const Configuration& k = fit.Config;
    j = {{"face", k.Face}, {"size", k.Size}, {"bold", k.Bold}, {"italic", k.Italic}, {"opaque", k.Opaque},
         {"call", CallName(k.Call)}, {"quality", QualityName(k.Quality)}, {"surface", SurfaceName(k.Surface)},
         {"canvas_width", k.Canvas.Width}, {"canvas_height", k.Canvas.Height},
         {"clipped_from_bytes", fit.ClippedFrom ? Json(fit.ClippedFrom) : Json()}};
    if (!fit.Model) {
        j["no_fit"] = fit.Reason;
        return;
    }
    const LineFit &c = fit.Model->PerChar, &b = fit.Model->PerByte;
    j.update({{"per_call_ms", Precise(c.Fixed.Value)}, {"per_call_ms_ci", Interval(c.Fixed)},
              {"per_char_ms", Precise(c.PerUnit.Value)}, {"per_char_ms_ci", Interval(c.PerUnit)},
              {"per_byte_ms", Precise(b.PerUnit.Value)}, {"per_byte_ms_ci", Interval(b.PerUnit)},
              {"r2", Precise(c.R2)}, {"lengths", fit.Model->Lengths}, {"at_text_length_ms", Precise(fit.AtText.Value)},
              {"at_text_length_ms_ci", Interval(fit.AtText)}});
}

void to_json(Json& j, const RunResults& results) {
    j = {{"context", results.Context}, {"results", results.Rows}, {"fits", results.Fits}};
}

void from_json(const Json& j, RunContext& c) {
    std::string architecture;
    Optional(j, "program", c.Program);
    Optional(j, "version", c.Version);
    Optional(j, "commit", c.Commit);
    Optional(j, "architecture", architecture);
    Optional(j, "wine_version", c.WineVersion);
    Optional(j, "ansi_code_page", c.AnsiCodePage);
    Optional(j, "date", c.Date);
    Optional(j, "text", c.Options.Text);
    Optional(j, "text_bytes", c.TextBytes);
    c.Bits = architecture == "32-bit" ? 32 : architecture == "64-bit" ? 64 : 0;
    if (j.contains("count") && j.at("count").is_number()) Optional(j, "count", c.Options.Count.emplace());
    c.ReferenceKind.clear();  // older files named none
    Optional(j, "machine_reference", c.ReferenceKind);
    Optional(j, "machine_reference_ms", c.ReferenceMs);
    const std::pair<const char*, const char*> terms[] = {{"text", "text"}, {"architecture", "architecture"},
                                                         {"ansi_code_page", "ANSI code page"}, {"count", "count mode"}};
    for (const auto& [field, term] : terms)
        if (!j.contains(field) || j[field].is_null() || (field == terms[1].first && !c.Bits))
            c.Unrecorded.push_back(term);
}

void from_json(const Json& j, Result& r) {
    for (const char* required : {"face", "size", "median_ms"})
        if (!j.contains(required)) throw SchemaError(std::string("no ") + required);
    j["face"].get_to(r.Config.Face);
    j["size"].get_to(r.Config.Size);
    j["median_ms"].get_to(r.Stats.Median);
    Optional(j, "bold", r.Config.Bold);
    Optional(j, "italic", r.Config.Italic);
    Optional(j, "opaque", r.Config.Opaque);
    r.Config.Call = Word(j, "call", kCallNames);
    r.Config.Quality = Word(j, "quality", kQualityNames);
    r.Config.Surface = Word(j, "surface", kSurfaceNames);
    Optional(j, "canvas_width", r.Config.Canvas.Width);
    Optional(j, "canvas_height", r.Config.Canvas.Height);
    if (!ReadCanvas(CanvasName(r.Config.Canvas))) throw SchemaError("canvas_width or canvas_height out of range");
    Optional(j, "realized_face", r.RealizedFace);
    Optional(j, "count", r.Count);
    Optional(j, "length_bytes", r.TextBytes);
    Optional(j, "length_chars", r.TextChars);
    Optional(j, "clipped", r.Clipped);
    Optional(j, "repeat", r.Config.Repeat);
    Optional(j, "samples_ms", r.PerCallMs);
    Optional(j, "reference_ms", r.ReferenceMs);
    r.Stats.N = r.PerCallMs.size();
}

// Older files and other programs' JSON: what does not read is said in a line.
void from_json(const Json& j, RunResults& results) {
    const auto rows = j.find("results");
    if (!j.is_object() || rows == j.end() || !rows->is_array()) throw SchemaError("no \"results\" array");
    // A file without a context recorded none of it.
    static const Json kNone = Json::object();
    const auto context = j.find("context");
    try {
        (context != j.end() && context->is_object() ? *context : kNone).get_to(results.Context);
    } catch (const std::exception& e) {
        throw SchemaError(std::string("context: ") + Reason(e, "/context/"));
    }
    std::set<std::size_t> lengths;
    for (std::size_t i = 0; i < rows->size(); ++i) {
        const Json& row = (*rows)[i];
        try {
            if (!row.is_object()) throw SchemaError("not an object");
            results.Rows.push_back(row.get<Result>());
        } catch (const std::exception& e) {
            throw SchemaError("result " + std::to_string(i + 1) + ": " +
                              Reason(e, "/results/" + std::to_string(i) + "/"));
        }
        if (!row.contains("length_bytes")) results.Rows.back().TextBytes = results.Context.TextBytes;
        lengths.insert(results.Rows.back().TextBytes);
    }
    // Only a swept length tells rows apart: runs of texts of different lengths still pair.
    if (lengths.size() > 1)
        for (Result& r : results.Rows) r.Config.LengthBytes = r.TextBytes;
}
