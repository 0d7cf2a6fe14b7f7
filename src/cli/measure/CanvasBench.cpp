// The measurement: the interactive program's canvas and the other surfaces, one font per configuration, and its timed loop.
#include "cli/measure/CanvasBench.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <set>
#include <tuple>

#include "benchmark/Run.h"
#include "cli/measure/Passes.h"
#include "cli/measure/TextLength.h"
#include "cli/text/Utf8.h"
#include "platform/Console.h"
#include "platform/Dialogs.h"
#include "platform/System.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "timing/CounterServices.h"
#include "timing/clsTiming.h"

namespace {

// The machine reference: about 1 ms of reads before each slice.
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

std::string CanvasBench::MakeSurfaces() {
    RECT client{};
    // A canvas that cannot be opened stops the sweep, which says so.
    if (!Canvas.Show(nullptr) || !GetClientRect(Canvas.Handle(), &client)) return "";
    const CanvasSize own{client.right, client.bottom};
    SurfaceOf.assign(Configs.size(), nullptr);
    for (std::size_t c = 0; c < Configs.size(); ++c) {
        const Configuration& k = Configs[c];
        if (k.Surface == SurfaceKind::Ddb && k.Canvas == own) continue;
        // One surface of a kind and size for every configuration drawn on it.
        for (std::size_t d = 0; d < c && !SurfaceOf[c]; ++d)
            if (Configs[d].Surface == k.Surface && Configs[d].Canvas == k.Canvas) SurfaceOf[c] = SurfaceOf[d];
        if (SurfaceOf[c]) continue;
        const bool window = k.Surface == SurfaceKind::Window;
        if (window && !(k.Canvas == own)) {
            Windows.push_back(std::make_unique<frmCanvas>());
            if (!Windows.back()->Show(nullptr))
                return "--surface: a canvas window of " + CanvasName(k.Canvas) + " could not be opened";
        }
        const int bits = k.Surface == SurfaceKind::Dib32 ? 32 : k.Surface == SurfaceKind::Dib24 ? 24 : 0;
        Surfaces.push_back(window ? DrawingSurface::Window((k.Canvas == own ? Canvas : *Windows.back()).Handle(),
                                                           k.Canvas.Width, k.Canvas.Height)
                                  : DrawingSurface::Bitmap(bits, k.Canvas.Width, k.Canvas.Height));
        if (!Surfaces.back())
            return "--canvas: " + CanvasName(k.Canvas) + " is larger than this system makes a " +
                   (window ? "window (about the screen's size at most)" : SurfaceName(k.Surface) + " bitmap");
        SurfaceOf[c] = Surfaces.back().get();
    }
    // Canvas windows side by side along the top of the screen, so none covers another's text.
    std::vector<HWND> row{Canvas.Handle()};
    for (const auto& w : Windows) row.push_back(w->Handle());
    for (std::size_t i = 0, x = 0; i < row.size() && !Windows.empty(); ++i) {
        RECT frame{};
        GetWindowRect(row[i], &frame);
        SetWindowPos(row[i], nullptr, static_cast<int>(x), 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        x += static_cast<std::size_t>(frame.right - frame.left);
    }
    return "";
}

HDC CanvasBench::Prepare(std::size_t c, const SharedFont& font) {
    const SharedFont& drawn = font ? font : Fonts[c];
    DrawingSurface* surface = c < SurfaceOf.size() ? SurfaceOf[c] : nullptr;
    if (!surface) return Canvas.Prepare(drawn, Configs[c].Opaque);
    surface->Clear(frmCanvas::kBackColor);
    return SetUpText(surface->dc(), drawn, surface->Font, Configs[c].Opaque);
}

double CanvasBench::Pass(std::size_t c, std::int32_t count, bool flush, double* referenceMs) {
    // What the interactive program's message loop does between two runs.
    ProcessPendingMessages();
    HDC dc = Prepare(c);
    if (!dc) return std::numeric_limits<double>::quiet_NaN();
    if (referenceMs) *referenceMs = MachineReferenceMs();
    return TimeCalls(Configs[c].Call, dc, Texts[c], count, flush);
}

std::optional<Measurement> CanvasBench::Describe(std::size_t c) {
    HDC dc = Prepare(c);
    if (!dc) return std::nullopt;
    const CallText& text = Texts[c];
    Measurement m;
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
    const DrawingSurface* surface = c < SurfaceOf.size() ? SurfaceOf[c] : nullptr;
    m.Clipped = RunsPast(dc, text.Wide, surface ? surface->ShownWidth() : m.Config.Canvas.Width);
    // The wide call draws the characters themselves; GDI reads an ANSI call's bytes in the
    // code page of the font's character set, which need not be the ANSI one.
    m.TextChars = text.Wide.size();
    if (m.RealizedFace.empty()) return std::nullopt;
    if (m.Config.Call == TextCall::ExtTextOutW) return m;
    const unsigned codePage = TextCodePage(dc);
    m.TextChars = 0;
    for (std::size_t i = 0; i < text.Ansi.size(); ++m.TextChars)
        i += IsLeadByte(codePage, static_cast<unsigned char>(text.Ansi[i])) ? 2 : 1;
    m.Misread = CharactersRefused(Text, [&](const std::string& character) {
        return SurvivesAnsiTrip(FromUtf8(character), codePage);
    });
    return m;
}

std::vector<std::uint32_t> CanvasBench::Glyphs(std::size_t c, const SharedFont& font) {
    HDC dc = Prepare(c, font);
    if (!dc) return {};
    TimeCalls(Configs[c].Call, dc, Texts[c], 1, false);
    SIZE extent{};
    GetTextExtentPoint32W(dc, Texts[c].Wide.c_str(), static_cast<int>(Texts[c].Wide.size()), &extent);
    const CanvasSize& canvas = Configs[c].Canvas;
    return ReadPixels(dc, std::max(1, std::min<int>(extent.cx, canvas.Width)), std::max(1, std::min<int>(extent.cy, canvas.Height)));
}

bool CanvasBench::FirstDraws(const CliOptions& options, std::vector<Measurement>& rows) {
    // A fresh font is the configuration's own with a weight none has had: within 99 of its own,
    // the mapper picks the same face and draws the same glyphs, which each is checked for.
    std::set<std::tuple<std::string, double, bool, bool, FontQuality, int>> used;
    std::vector<std::vector<std::uint32_t>> own;
    for (std::size_t c = 0; c < Configs.size(); ++c) own.push_back(Glyphs(c, Fonts[c]));
    std::vector<int> steps(Configs.size());
    // The configurations take turns, so a change in the machine's speed reaches all alike.
    for (int pass = 0; pass < kFirstDraws; ++pass)
        for (std::size_t c = 0; c < Configs.size(); ++c) {
            if (InterruptRequested()) return true;
            const Configuration& k = Configs[c];
            const int base = k.Bold ? 700 : 400;
            int weight = base;
            // The nearest weights not yet drawn, above and below in turn: 401, 399, 402, ...
            while (steps[c] < 198 && (weight == base || !used.insert({k.Face, k.Size, k.Bold, k.Italic, k.Quality, weight}).second))
                ++steps[c], weight = base + (steps[c] % 2 ? 1 : -1) * ((steps[c] + 1) / 2);
            if (weight == base) continue;  // none left
            FontSpec spec{FromUtf8(k.Face), k.Size, k.Bold, k.Italic};
            spec.Quality = static_cast<std::uint8_t>(k.Quality);
            spec.Weight = static_cast<std::int16_t>(weight);
            const SharedFont font = MakeFont(spec);
            ProcessPendingMessages();
            // Prepared as every pass is, so the font is realised before its first call.
            HDC dc = Prepare(c, font);
            if (!dc) return false;
            const double cold = TimeCalls(k.Call, dc, Texts[c], 1, options.Flush);
            const double warm = TimeCalls(k.Call, dc, Texts[c], kFirstDrawWarmCalls, options.Flush) / kFirstDrawWarmCalls;
            if (Glyphs(c, font) != own[c]) continue;
            rows[c].FirstDrawMs.push_back(cold);
            rows[c].FirstDrawWarmMs.push_back(warm);
        }
    return true;
}

SweepMeasurement MeasureSweep(CanvasBench& bench, const CliOptions& options, const PassPlan& plan,
                              const std::function<void(const TimedPasses&)>& progress) {
    const auto start = std::chrono::steady_clock::now();
    SweepMeasurement out;
    if (!bench.Canvas.Show(nullptr)) return out.Error = "the canvas could not be opened", out;
    for (std::size_t c = 0; c < bench.Configs.size(); ++c) {
        std::optional<Measurement> described = bench.Describe(c);
        if (!described) return out.Error = "the canvas could not be set up for \"" + bench.Configs[c].Face + "\"", out;
        out.Rows.push_back(std::move(*described));
    }
    const PassTimer timer{[&](std::size_t c, std::int32_t count) { return bench.Pass(c, count, options.Flush); },
                          [&](std::size_t c, std::int32_t count) {
                              SliceTime slice;
                              slice.Ms = bench.Pass(c, count, options.Flush, &slice.ReferenceMs);
                              return slice;
                          },
                          [start] {
                              return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                          },
                          InterruptRequested, progress};
    const TimedPasses passes = TimePasses(out.Rows.size(), plan, timer);
    out.Rounds = passes.Rounds;
    out.Stopped = passes.Stopped;
    if (passes.Failed)
        return out.Error = "a pass of " + ConfigLabel(bench.Configs[*passes.Failed]) +
                           " could not be timed: the canvas could not be prepared for it",
               out;
    for (std::size_t c = 0; c < out.Rows.size(); ++c) {
        out.Rows[c].Count = passes.Counts[c];
        out.Rows[c].PerCallMs = passes.PerCallMs[c];
        out.Rows[c].ReferenceMs = passes.ReferenceMs[c];
    }
    out.ReferenceMs = passes.SliceReferenceMs;
    if (options.FirstDraw && passes.Stopped != StopReason::Interrupted && !bench.FirstDraws(options, out.Rows))
        out.Error = "a first draw could not be timed: the canvas could not be prepared for it";
    return out;
}

int SelfCheckPairCount(const CliOptions& options) { return options.RepetitionsGiven ? options.Repetitions : 21; }

std::vector<SelfCheckPairs> SelfCheck(CanvasBench& bench, const CliOptions& options) {
    if (!bench.Canvas.Show(nullptr)) return {};
    const int pairs = SelfCheckPairCount(options);
    const std::vector<std::int32_t> counts =
        options.Count ? std::vector<std::int32_t>{*options.Count} : std::vector<std::int32_t>{100, 1000, 10000, 100000};
    RunRequest request{FromUtf8(options.Text), 0, bench.Fonts.front()->Description(), bench.Configs.front().Opaque};
    const int length = static_cast<int>(bench.Ansi.size());
    std::vector<SelfCheckPairs> all;
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
        SelfCheckPairs measured{count, {}, {}};
        for (int p = 0; p < pairs; ++p) {
            // Either goes first in turn, so neither always follows the other.
            const double first = p % 2 ? run() : loop(), second = p % 2 ? loop() : run();
            measured.RunUs.push_back((p % 2 ? first : second) * 1000 / count);
            measured.LoopUs.push_back((p % 2 ? second : first) * 1000 / count);
        }
        all.push_back(std::move(measured));
    }
    return all;
}
