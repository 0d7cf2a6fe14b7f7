#include "cli/Measure.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "benchmark/Run.h"
#include "cli/AutoCount.h"
#include "cli/TextLength.h"
#include "platform/Dialogs.h"
#include "platform/System.h"
#include "platform/Text.h"
#include "timing/CounterServices.h"
#include "timing/clsTiming.h"

namespace {

// Extra warm-up passes at most, and how close two in a row must come.
constexpr int kMaxSettlingPasses = 5;
constexpr double kSettled = 0.02;

// A pass is drawn in slices of about this many milliseconds, the slices of all
// configurations in turns, so the machine's changes of speed hit them alike; each
// slice follows a reference of about 1 ms.
constexpr double kSliceMs = 25;
constexpr int kMaxSlices = 20;
constexpr int kReferenceReads = 100000;

// Where the reference loop's result goes, so the compiler keeps the loop.
volatile std::uint32_t g_referenceResult;

// Milliseconds of a fixed loop that draws nothing: how fast the machine runs at the moment.
double MachineReferenceMs() {
    // Scattered reads over 4 MiB, beyond the processor's own caches. On a shared virtual machine
    // the drawing slows and recovers with the memory system, which a loop in cache never sees.
    static const std::vector<std::uint32_t> buffer(1 << 20, 1);
    std::uint32_t x = 2463534242u, sum = 0;
    clsTiming timing;
    timing.Start();
    for (int i = 0; i < kReferenceReads; ++i) {
        x = x * 1664525u + 1013904223u;
        sum += buffer[x >> 12];
    }
    const double ms = timing.Elapsed();
    g_referenceResult = sum;
    return ms;
}

}  // namespace

// The text is drawn up to its first zero, as the run draws it.
CanvasBench::CanvasBench(const std::string& text, const std::vector<Configuration>& configs)
    : Configs(configs), Text(text), Ansi(ToAnsi(FromUtf8(text)).c_str()) {
    for (const Configuration& config : configs) {
        FontSpec font{FromUtf8(config.Face), config.Size, config.Bold, config.Italic};
        font.Quality = static_cast<std::uint8_t>(config.Quality);
        Fonts.push_back(MakeFont(font));
        // Cut or repeated once, and converted once, before anything is timed.
        const std::optional<SizedText> sized =
            TextOfLength(Ansi, config.LengthBytes ? config.LengthBytes : Ansi.size(),
                         [](unsigned char b) { return IsLeadByte(CP_ACP, b); }, TextError);
        const std::string bytes = sized ? sized->Bytes : std::string();
        Texts.push_back({bytes, FromAnsi(bytes.data(), bytes.size())});
    }
}

double CanvasBench::Pass(std::size_t c, std::int32_t count, bool flush, double* referenceMs) {
    // What the interactive program's message loop does between two runs.
    ProcessPendingMessages();
    HDC dc = Canvas.Prepare(Fonts[c], Configs[c].Opaque);
    if (!dc) return std::numeric_limits<double>::quiet_NaN();
    if (referenceMs) *referenceMs = MachineReferenceMs();
    return TimeCalls(Configs[c].Call, dc, Texts[c], count, flush);
}

bool CanvasBench::Describe(std::size_t c, Measurement& m) {
    HDC dc = Canvas.Prepare(Fonts[c], Configs[c].Opaque);
    if (!dc) return false;
    const CallText& text = Texts[c];
    m.Config = Configs[c];
    m.RealizedFace = ToUtf8(RealizedFace(dc));
    m.Substituted = !SameFace(FromUtf8(m.RealizedFace), FromUtf8(m.Config.Face));
    // The whole text, as a short length may hold no ink.
    const Smoothing drawn = DrawnSmoothing(dc, FromAnsi(Ansi.data(), Ansi.size()));
    m.DrawnQuality = drawn == Smoothing::None       ? QualityName(FontQuality::NonAntialiased)
                     : drawn == Smoothing::Gray     ? QualityName(FontQuality::Antialiased)
                     : drawn == Smoothing::Subpixel ? QualityName(FontQuality::ClearType)
                                                    : "";
    m.TextBytes = text.Ansi.size();
    m.Clipped = RunsPastBitmap(dc, text.Wide);
    // The wide call draws the characters themselves; GDI reads an ANSI call's bytes in the
    // code page of the font's character set, which need not be the ANSI one.
    m.TextChars = text.Wide.size();
    if (m.Config.Call == TextCall::ExtTextOutW) return !m.RealizedFace.empty();
    const unsigned codePage = TextCodePage(dc);
    m.TextChars = 0;
    for (std::size_t i = 0; i < text.Ansi.size(); ++m.TextChars)
        i += IsLeadByte(codePage, static_cast<unsigned char>(text.Ansi[i])) ? 2 : 1;
    m.Misread = CharactersRefused(Text, [&](const std::string& character) {
        return SurvivesAnsiTrip(FromUtf8(character), codePage);
    });
    return !m.RealizedFace.empty();
}

std::vector<Measurement> MeasureSweep(CanvasBench& bench, const CliOptions& options, std::vector<double>& referenceMs) {
    const std::vector<Configuration>& configs = bench.Configs;
    std::vector<Measurement> results(configs.size());
    double shortestPass = std::numeric_limits<double>::infinity();
    for (std::size_t c = 0; c < configs.size(); ++c) {
        Measurement& m = results[c];
        bench.Describe(c, m);
        auto pass = [&](std::int32_t count) { return bench.Pass(c, count, options.Flush); };
        m.Count = options.Count ? *options.Count : FindAutoCount(pass, options.TargetSeconds * 1000);
        // The first passes fill glyph and font caches; go on until two agree.
        double last = 0;
        for (int i = 0; i < options.Warmup + kMaxSettlingPasses; ++i) {
            const double ms = pass(m.Count);
            if (i >= options.Warmup && std::fabs(ms / last - 1) <= kSettled) break;
            last = ms;
        }
        shortestPass = std::min(shortestPass, last);
    }
    // Slices long enough that the reference's reads, which push the text's data out of the
    // caches, cost the slice next to nothing.
    const double fit = std::floor(shortestPass / kSliceMs);  // not a number if a pass failed
    const int slices = fit >= 1 ? static_cast<int>(std::min(fit, double{kMaxSlices})) : 1;
    for (int round = 0; round < options.Repetitions; ++round) {
        // A pass's reference weighs each slice by its time, so that time / reference is the
        // sum of the slices' own.
        std::vector<double> ms(configs.size()), inReferences(configs.size());
        for (int s = 0; s < slices; ++s)
            // Each round starts one configuration later, so none always follows the same one.
            for (std::size_t k = 0; k < configs.size(); ++k) {
                const std::size_t c = (k + static_cast<std::size_t>(round)) % configs.size();
                // The slices' counts add up to the pass's exactly.
                const std::int64_t count = results[c].Count;
                const auto calls = static_cast<std::int32_t>(count * (s + 1) / slices - count * s / slices);
                double reference = 0;
                const double slice = bench.Pass(c, calls, options.Flush, &reference);
                ms[c] += slice;
                inReferences[c] += slice / reference;
                referenceMs.push_back(reference);
            }
        for (std::size_t c = 0; c < configs.size(); ++c) {
            results[c].PerCallMs.push_back(ms[c] / results[c].Count);
            results[c].ReferenceMs.push_back(ms[c] / inReferences[c]);
        }
    }
    // Each pass as it would have taken with the machine at its typical speed of the run.
    const double typical = Summarize(referenceMs).Median;
    for (Measurement& m : results) {
        m.Stats = Summarize(m.PerCallMs);
        for (std::size_t i = 0; i < m.PerCallMs.size(); ++i)
            m.AdjustedMs.push_back(m.PerCallMs[i] * typical / m.ReferenceMs[i]);
        m.AdjustedCv = Summarize(m.AdjustedMs).Cv;
    }
    return results;
}

std::string SelfCheck(CanvasBench& bench, const Configuration& config, const CliOptions& options) {
    const int pairs = options.RepetitionsGiven ? options.Repetitions : 21;
    const std::vector<std::int32_t> counts =
        options.Count ? std::vector<std::int32_t>{*options.Count} : std::vector<std::int32_t>{100, 1000, 10000, 100000};
    RunRequest request{FromUtf8(options.Text), 0, bench.Fonts.front()->Description(), config.Opaque};
    const int length = static_cast<int>(bench.Ansi.size());

    std::string out = "Self-check: the program's run (RunBenchmark, as a press of Test) against a bare loop of\n"
                      "QueryPerformanceCounter and ExtTextOutA on the same canvas, alternating; " +
                      ConfigLabel(config) + ", " + std::to_string(pairs) +
                      " pairs a count.\nTimes are medians per call in microseconds; ratio = median of run / loop.\n\n";
    std::vector<std::vector<std::string>> rows = {{"count", "run", "loop", "ratio", "95% interval"}};
    for (std::int32_t count : counts) {
        request.Count = count;
        auto run = [&] { return ProcessPendingMessages(), RunBenchmark(nullptr, bench.Canvas, request).value_or(0); };
        // What the run does around its loop: the canvas prepared before, the window refreshed after.
        auto loop = [&] {
            ProcessPendingMessages();
            HDC dc = bench.Canvas.Prepare(bench.Fonts.front(), request.Opaque);
            CounterReading before, after, frequency;
            counter::Query(before);
            for (std::int32_t i = 0; i < count; ++i) ExtTextOutA(dc, 0, 0, 0, nullptr, bench.Ansi.c_str(), length, nullptr);
            counter::Query(after);
            bench.Canvas.Refresh();
            counter::QueryFrequency(frequency);
            auto value = [](const CounterReading& r) { return r.LowPart + r.HighPart * 4294967296.0; };
            return (value(after) - value(before)) * 1000 / value(frequency);
        };
        run();
        loop();
        std::vector<double> runs, loops, ratios;
        for (int p = 0; p < pairs; ++p) {
            // Either goes first in turn, so neither always follows the other.
            const double first = p % 2 ? run() : loop(), second = p % 2 ? loop() : run();
            runs.push_back((p % 2 ? first : second) * 1000 / count);
            loops.push_back((p % 2 ? second : first) * 1000 / count);
            ratios.push_back(runs.back() / loops.back());
        }
        const MedianInterval ratio = MedianWithInterval(ratios);
        rows.push_back({std::to_string(count), FormatSignificant(Summarize(runs).Median, 4),
                        FormatSignificant(Summarize(loops).Median, 4), FormatSignificant(ratio.Median, 4),
                        FormatSignificant(ratio.Low, 4) + "-" + FormatSignificant(ratio.High, 4)});
    }
    return out + AlignColumns(rows, {true, true, true, true, true});
}
