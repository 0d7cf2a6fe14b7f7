#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "benchmark/Run.h"
#include "benchmark/frmCanvas.h"
#include "cli/CliOptions.h"
#include "cli/Report.h"

// The program, the system and the counter, for the report's header.
RunContext SystemContext(const CliOptions& options, std::size_t textBytes);

// Draws on the interactive program's canvas, set up by its own run for
// every pass, and times passes with its own loop.
class CanvasBench {
public:
    CanvasBench(frmCanvas& canvas, const std::string& text);

    // The interactive program's run of count calls, as a press of Test.
    RunOutcome Run(const Configuration& config, std::int32_t count);
    // Sets the canvas up for config as a run does; false when the canvas
    // could not be shown.
    bool Prepare(const Configuration& config);
    // The face GetTextFace names on the prepared canvas.
    std::string RealizedFace() const;
    // Whether a character of the text reaches the prepared canvas's font as itself.
    bool Shows(const std::string& character) const;
    // Milliseconds for count calls, the canvas prepared anew for config first; with
    // referenceMs, the machine reference timed just before the calls.
    double Pass(const Configuration& config, std::int32_t count, bool flush, double* referenceMs = nullptr);

    // The text as drawn: in the ANSI code page, up to its first zero.
    const std::string& AnsiText() const { return ansi_; }
    std::size_t TextBytes() const { return static_cast<std::size_t>(length_); }

private:
    frmCanvas& canvas_;
    std::wstring text_;
    std::string ansi_;
    int length_ = 0;
};

// Milliseconds of a fixed loop that draws nothing: how fast the machine runs at the moment.
double MachineReferenceMs();

// Every configuration's count and warm-up, then the timed passes of all of them, drawn
// in slices that take turns, with the machine reference each slice saw.
std::vector<Measurement> MeasureSweep(CanvasBench& bench, const std::vector<Configuration>& configs,
                                      const CliOptions& options, std::vector<double>& referenceMs);

// The program's run path (RunBenchmark) against a bare counter-and-call loop
// on the same canvas, alternating; a table of their ratio per count.
std::string SelfCheck(CanvasBench& bench, frmCanvas& canvas, const Configuration& config, const CliOptions& options);
