#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "benchmark/RunRequest.h"
#include "benchmark/frmCanvas.h"
#include "cli/CliOptions.h"
#include "cli/Report.h"
#include "cli/TimedCalls.h"

// The interactive program's canvas with one font per configuration, made once; each
// pass prepares the canvas and times the interactive program's own loop.
class CanvasBench {
public:
    CanvasBench(const std::string& text, const std::vector<Configuration>& configs);

    // Milliseconds for count calls of configuration c; with referenceMs, the
    // machine reference timed just before the calls. Not a number when the
    // canvas could not be prepared.
    double Pass(std::size_t c, std::int32_t count, bool flush, double* referenceMs = nullptr);
    // What configuration c draws, into m: the face GetTextFace names, the smoothing its pixels
    // show, the text's length, whether it runs past the canvas, and the characters its font
    // shows as others. False when the canvas cannot be prepared for it.
    bool Describe(std::size_t c, Measurement& m);

    frmCanvas Canvas;
    std::vector<Configuration> Configs;
    std::vector<SharedFont> Fonts;
    std::string Text;             // UTF-8, as given
    std::string Ansi;             // in the ANSI code page, up to its first zero
    std::vector<CallText> Texts;  // each configuration's, at its length
    std::string TextError;        // why a length could not be made of the text
};

// Every configuration's count and warm-up, then the timed passes of all of them, drawn
// in slices that take turns, with the machine reference each slice saw.
std::vector<Measurement> MeasureSweep(CanvasBench& bench, const CliOptions& options, std::vector<double>& referenceMs);

// The interactive program's run (RunBenchmark) against a bare counter-and-call loop
// on the same canvas, alternating; a table of their ratio per count.
std::string SelfCheck(CanvasBench& bench, const Configuration& config, const CliOptions& options);
