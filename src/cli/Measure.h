#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "benchmark/frmCanvas.h"
#include "cli/CliOptions.h"
#include "cli/Report.h"

// The program, the system and the counter, for the report's header.
RunContext SystemContext(const CliOptions& options, std::size_t textBytes);

// The face the interactive program's list opens on: the menu font's,
// or the one the mapper shows for it when that is no screen font.
std::wstring DefaultFace();

// Draws on the interactive program's canvas, set up by its own run for
// every pass, and times passes with its own loop.
class CanvasBench {
public:
    CanvasBench(frmCanvas& canvas, const std::wstring& text);

    // Sets the canvas up for config as a run does; false when the canvas
    // could not be shown.
    bool Prepare(const Configuration& config);
    // The face GetTextFace names on the prepared canvas.
    std::wstring RealizedFace() const;
    // Milliseconds for count calls, the canvas prepared anew first.
    double Pass(std::int32_t count, bool flush);

    std::size_t TextBytes() const { return static_cast<std::size_t>(length_); }

private:
    frmCanvas& canvas_;
    std::wstring text_;
    std::string ansi_;
    int length_ = 0;
    Configuration config_;
};

// Warm-up, the count (found when options leave it to auto) and the timed
// passes of one configuration.
Measurement MeasureConfiguration(CanvasBench& bench, const Configuration& config, const CliOptions& options);
