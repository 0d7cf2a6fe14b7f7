// The measurement: the interactive program's canvas and the other surfaces, one font per configuration, and its timed loop.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "benchmark/frmCanvas.h"
#include "cli/analysis/Results.h"
#include "cli/measure/Passes.h"
#include "cli/measure/TimedCalls.h"
#include "platform/DrawingSurface.h"

// The interactive program's canvas with one font per configuration, made once, and the
// surfaces the configurations draw on; each pass prepares the surface as the canvas is
// prepared and times the interactive program's own loop.
class CanvasBench {
public:
    CanvasBench(const std::string& text, const std::vector<Configuration>& configs);

    // Shows the canvas and makes every configuration's surface, before anything is timed: a
    // line naming the surface the system will not make, else empty. The canvas's own bitmap
    // is the surface of ddb at its size.
    std::string MakeSurfaces();
    // Configuration c's surface cleared and set up to draw in font (its own by default);
    // nullptr when it cannot be.
    HDC Prepare(std::size_t c, const SharedFont& font = nullptr);

    // Milliseconds for count calls of configuration c; with referenceMs, the
    // machine reference timed just before the calls. Not a number when the
    // canvas could not be prepared.
    double Pass(std::size_t c, std::int32_t count, bool flush, double* referenceMs = nullptr);
    // What configuration c draws: the face GetTextFace names, the smoothing its pixels
    // show, the text's length, whether it runs past the canvas, and the characters its font
    // shows as others. None when the canvas cannot be prepared for it.
    std::optional<Measurement> Describe(std::size_t c);
    // The first call of fresh fonts on each configuration's surface, and their warm calls after
    // it; false when a surface cannot be prepared.
    bool FirstDraws(const CliOptions& options, std::vector<Measurement>& rows);
    // The pixels one call of configuration c draws in font, over the text's extent.
    std::vector<std::uint32_t> Glyphs(std::size_t c, const SharedFont& font);

    frmCanvas Canvas;
    // Canvas windows of other sizes for the window surface; declared before the surfaces that
    // hold their DCs.
    std::vector<std::unique_ptr<frmCanvas>> Windows;
    std::vector<std::unique_ptr<DrawingSurface>> Surfaces;
    std::vector<DrawingSurface*> SurfaceOf;  // each configuration's; nullptr: the canvas's bitmap
    std::vector<Configuration> Configs;
    std::vector<SharedFont> Fonts;
    std::string Text;             // UTF-8, as given
    std::string Ansi;             // in the ANSI code page, up to its first zero
    std::vector<CallText> Texts;  // each configuration's, at its length
    std::string TextError;        // why a length could not be made of the text
};

// What a sweep measured: each configuration described once, then its passes in rounds.
struct SweepMeasurement {
    std::vector<Measurement> Rows;
    std::vector<double> ReferenceMs;  // every slice's machine reference
    std::size_t Rounds = 0;
    StopReason Stopped = StopReason::Rounds;
    std::string Error;  // why the sweep could not go on; empty: it did not fail
};

// The passes as the plan says, stopped early at Ctrl+C; progress after each round.
SweepMeasurement MeasureSweep(CanvasBench& bench, const CliOptions& options, const PassPlan& plan,
                              const std::function<void(const TimedPasses&)>& progress);

// The interactive program's run (RunBenchmark) against a bare counter-and-call loop on
// the same canvas, alternating, at each count; none when the canvas cannot be opened.
std::vector<SelfCheckPairs> SelfCheck(CanvasBench& bench, const CliOptions& options);
int SelfCheckPairCount(const CliOptions& options);
