// The measurement: the interactive program's canvas, one font per configuration, and its timed loop.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "benchmark/frmCanvas.h"
#include "cli/analysis/Results.h"
#include "cli/measure/Passes.h"
#include "cli/measure/TimedCalls.h"

// The interactive program's canvas with one font per configuration, made once; each
// pass prepares the canvas and times the interactive program's own loop.
class CanvasBench {
public:
    CanvasBench(const std::string& text, const std::vector<Configuration>& configs);

    // Milliseconds for count calls of configuration c; with referenceMs, the
    // machine reference timed just before the calls. Not a number when the
    // canvas could not be prepared.
    double Pass(std::size_t c, std::int32_t count, bool flush, double* referenceMs = nullptr);
    // What configuration c draws: the face GetTextFace names, the smoothing its pixels
    // show, the text's length, whether it runs past the canvas, and the characters its font
    // shows as others. None when the canvas cannot be prepared for it.
    std::optional<Measurement> Describe(std::size_t c);

    frmCanvas Canvas;
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
