#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "benchmark/RunRequest.h"
#include "benchmark/frmCanvas.h"
#include "cli/CliOptions.h"
#include "cli/Report.h"
#include "cli/TimedCalls.h"

// The interactive program's canvas with one request and one font per
// configuration, made once; each pass prepares the canvas and times the
// interactive program's own loop.
class CanvasBench {
public:
    CanvasBench(const std::string& text, const std::vector<Configuration>& configs);

    // False when the canvas or its bitmap cannot be made.
    bool Open();
    // Milliseconds for count calls of configuration c; with referenceMs, the
    // machine reference timed just before the calls. Not a number when the
    // canvas could not be prepared.
    double Pass(std::size_t c, std::int32_t count, bool flush, double* referenceMs = nullptr);
    // The face GetTextFace names once configuration c's font is selected.
    std::string RealizedFace(std::size_t c);
    // The --quality word for the smoothing configuration c's text shows drawn; empty: cannot tell.
    std::string DrawnQuality(std::size_t c);
    bool Clipped(std::size_t c);
    // The characters configuration c's call draws: GDI reads an ANSI call's bytes in the
    // code page of the font's character set, which need not be the ANSI one.
    std::size_t DrawnChars(std::size_t c);
    // The characters of the text that configuration c's font would show as others.
    std::vector<std::string> Misread(std::size_t c, const std::string& text);

    frmCanvas Canvas;
    std::vector<Configuration> Configs;
    std::vector<RunRequest> Requests;
    std::vector<SharedFont> Fonts;
    std::string Ansi;  // the text as given: in the ANSI code page, up to its first zero
    std::vector<CallText> Texts;  // each configuration's, at its length
    std::string TextError;        // why a length could not be made of the text
};

// The program, the system and the counter, for the report's header.
RunContext SystemContext(const CliOptions& options, std::size_t textBytes);

// Every configuration's count and warm-up, then the timed passes of all of them, drawn
// in slices that take turns, with the machine reference each slice saw.
std::vector<Measurement> MeasureSweep(CanvasBench& bench, const std::vector<Configuration>& configs,
                                      const CliOptions& options, std::vector<double>& referenceMs);

// The interactive program's run (RunBenchmark) against a bare counter-and-call loop
// on the same canvas, alternating; a table of their ratio per count.
std::string SelfCheck(CanvasBench& bench, const Configuration& config, const CliOptions& options);
