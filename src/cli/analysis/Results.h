// The result model: what a run measured, and what analysis makes of it once, before any output.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/analysis/CostModel.h"
#include "cli/analysis/Statistics.h"
#include "cli/sweep/Configuration.h"
#include "platform/SystemDescription.h"

// What the machine reference is; files with another one cannot be set against it.
constexpr const char* kMachineReference = "4 MiB scattered reads";

// Where and how the figures were taken: the system, and what was asked of the program.
struct RunContext : SystemDescription {
    std::string Program, Version;
    std::string Commit;         // empty: built without git, or a file from before commits were recorded
    int Bits = 0;               // 32 or 64
    CliOptions Options;         // the text, count, passes and pass conditions asked for
    std::size_t TextBytes = 0;  // in the ANSI code page, as drawn
    std::vector<std::string> NotInCodePage;  // the text's characters the ANSI code page cannot hold
    // A fixed loop of memory reads timed beside every slice: how fast the machine itself ran.
    std::vector<double> ReferenceMs;
    std::string ReferenceKind = kMachineReference;
    // What a file read back did not record of text, architecture, code page and count mode.
    std::vector<std::string> Unrecorded;
    // How the rounds ended: "rounds" (as many as asked), "decided", "time" or "interrupted".
    std::size_t Rounds = 0;
    std::string Stopped = "rounds";
    double Seconds = 0;         // the measurement took, counting and warm-up included
    double Confidence = 0.95;   // of the verdicts' intervals, at the look that ended the rounds
};

// With --first-draw: the fresh fonts timed for each configuration, and the warm calls timed in
// one piece after each one's first.
constexpr int kFirstDraws = 20, kFirstDrawWarmCalls = 20;

// One configuration as measured.
struct Measurement {
    Configuration Config;
    std::string RealizedFace;  // what GetTextFace names once the font is selected
    bool Substituted = false;  // RealizedFace is not the face asked for
    // The text's characters that reach the font as others: its character set reads the
    // ANSI bytes in another code page, or the ANSI code page cannot hold them.
    std::vector<std::string> Misread;
    std::int32_t Count = 0;
    std::vector<double> PerCallMs;    // one per timed pass, pass i drawn in round i
    std::vector<double> ReferenceMs;  // the machine reference each pass saw
    // The text as drawn, and the smoothing its pixels show (a --quality word; empty: cannot tell).
    std::size_t TextBytes = 0, TextChars = 0;
    bool Clipped = false;  // the text runs past the canvas, where its glyphs are cut off
    std::string DrawnQuality;
    // With --first-draw, one a fresh font: its first call, and its warm calls just after, per call.
    std::vector<double> FirstDrawMs, FirstDrawWarmMs;
};

// One configuration with its figures.
struct Result : Measurement {
    Summary Stats;
    std::optional<double> AdjustedCv;  // of the passes scaled to the run's typical machine speed
    bool Judged = false;               // the run has a baseline
    std::optional<Comparison> VsBaseline;
    std::string Verdict = "-";  // its word, read from VsBaseline's interval
    // The median first call of a fresh font, and of each font's first call over its own warm ones.
    std::optional<double> FirstDraw;
    MedianInterval FirstDrawRatio;

    double CallsPerSecond() const { return Stats.Median > 0 ? 1000 / Stats.Median : 0; }
    double BytesPerSecond() const { return CallsPerSecond() * static_cast<double>(TextBytes); }
};

// A configuration swept over lengths, and what its passes fit.
struct LengthFit {
    Configuration Config;  // LengthBytes 0
    std::optional<CostModel> Model;
    std::string Reason;             // why there is no model
    std::vector<std::size_t> Rows;  // its rows, in order
    Estimate AtText;                // the fitted time at the length of the text as given
    std::size_t ClippedFrom = 0;    // the shortest length whose text runs past the canvas; 0: none
};

struct RunResults {
    RunContext Context;
    std::vector<Result> Rows;
    bool Judged = false;  // a baseline was given
    std::vector<LengthFit> Fits;  // one a configuration measured at several lengths
};

// The self-check's pairs at one count: the program's run and a bare loop of the calls, alternating.
struct SelfCheckPairs {
    std::int32_t Count = 0;
    std::vector<double> RunUs, LoopUs;  // per call
};

struct SelfCheckRow {
    std::int32_t Count = 0;
    double RunUs = 0, LoopUs = 0;  // medians
    MedianInterval Ratio;          // of run / loop, pair by pair
};
SelfCheckRow AnalyseSelfCheck(const SelfCheckPairs& pairs);

// Statistics, verdicts against the baseline (pass against pass of the same round, at the
// context's confidence) and the length fits, each computed once.
RunResults Analyse(RunContext context, std::vector<Measurement> measured, std::optional<std::size_t> baseline);

// The fewest rounds that can carry a verdict at this confidence.
std::size_t RoundsNeeded(double confidence);

// How many configurations the rounds so far leave open at this confidence: a verdict against the
// baseline not yet faster, slower or within margin, or, without a baseline, a median not yet known
// to within 1%.
std::size_t Undecided(const std::vector<std::vector<double>>& perCallMs, std::optional<std::size_t> baseline,
                      double margin, double confidence);
