// The configurations a run measures: every combination of the options' values, their labels, the baseline.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/options/CliOptions.h"

// One cell of the sweep.
struct Configuration {
    std::string Face;
    double Size = kDefaultSize;
    bool Bold = false, Italic = false, Opaque = false;
    TextCall Call = TextCall::ExtTextOutA;
    FontQuality Quality = FontQuality::Default;
    std::size_t LengthBytes = 0;  // the text repeated or cut to this many bytes; 0: as given
    int Repeat = 0;  // 1, 2, ... where a value given twice makes the same configuration again; 0: once
    bool operator==(const Configuration& o) const {
        return Face == o.Face && Size == o.Size && Bold == o.Bold && Italic == o.Italic && Opaque == o.Opaque &&
               Call == o.Call && Quality == o.Quality && LengthBytes == o.LengthBytes && Repeat == o.Repeat;
    }
};

// Every combination of the options' faces, sizes, styles, calls, qualities and lengths,
// faces outermost and lengths innermost, in the order given; one that comes out more than
// once is measured each time, numbered.
std::vector<Configuration> Configurations(const CliOptions& options);

// The configuration --baseline names: its 1-based number, or comma-separated
// parts (face, size, regular/bold/italic, opaque/transparent, call, quality,
// "64 bytes", "#2") that only it matches. None, with a message, when no single one fits.
std::optional<std::size_t> FindBaseline(const std::string& given, const std::vector<Configuration>& all,
                                        std::string& error);

std::string StyleName(bool bold, bool italic);
// "IPAゴシック 12 bold opaque ExtTextOutW 64 B #2": the call, quality, length and repeat where
// they are not the defaults.
std::string ConfigLabel(const Configuration& config);
// " ExtTextOutW 64 B #2": the label's part after the background; empty where all are the defaults.
std::string DimensionLabel(const Configuration& config);

// The same configuration in two files; a length of 0 (not swept) pairs with any.
bool SameConfiguration(const Configuration& a, const Configuration& b);
