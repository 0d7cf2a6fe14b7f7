// SVG charts of a run's results and of a comparison.
#include "cli/chart/Plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "cli/text/Numbers.h"

namespace {

constexpr double kLeft = 80, kRight = 20, kTop = 70, kPlotHeight = 300, kBottom = 110;
constexpr double kMinSlot = 34, kMaxBar = 48, kGroupGap = 24, kMinWidth = 560;
constexpr char kBar[] = "#7fa7d6", kPoint[] = "#1f5fa8", kMarker[] = "#c46a00";
// The length chart's plot area, and a colour for each configuration on it.
constexpr double kLengthTop = 50, kLengthWidth = 520, kLengthHeight = 320;
const char* const kColours[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e", "#8c564b", "#e377c2", "#17becf"};

// One mark of a chart: a value with a range around it, in a group, and a second value shown
// as a hollow marker where there is one.
struct ChartItem {
    std::string Group, Label;
    double Value = 0, Low = 0, High = 0, Marker = NAN;
};

// What a chart shows, in words: the title, the axis, and a legend entry for each kind of mark.
struct ChartText {
    std::string Title, Axis, Value, Range, Marker;  // no Marker: no markers
};

ChartItem Item(const Configuration& config, double value, double low, double high, double marker = NAN) {
    return {config.Face, ConfigLabel(config).substr(config.Face.size() + 1), value, low, high, marker};
}

std::string Num(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Text(double x, double y, const std::string& text, const std::string& extra) {
    std::string escaped;
    for (char c : text)
        escaped += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : std::string(1, c);
    return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" " + extra + ">" + escaped + "</text>\n";
}

std::string Line(double x1, double y1, double x2, double y2, const std::string& style = "stroke=\"black\"") {
    return "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" + Num(y2) + "\" " +
           style + "/>\n";
}

std::string Whisker(double x, double y1, double y2) {
    return Line(x, y1, x, y2) + Line(x - 5, y1, x + 5, y1) + Line(x - 5, y2, x + 5, y2);
}

std::string Point(double x, double y, const std::string& fill = kPoint, double r = 4) {
    return "<circle cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"" + Num(r) + "\" fill=\"" + fill + "\"/>\n";
}

std::string Diamond(double x, double y) {
    return "<path d=\"M" + Num(x) + " " + Num(y - 6) + "l6 6l-6 6l-6 -6z\" fill=\"none\" stroke=\"" + kMarker +
           "\" stroke-width=\"1.5\"/>\n";
}

std::string Bar(double x, double y, double width, double height, const std::string& fill = kBar) {
    return "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(width) + "\" height=\"" + Num(height) +
           "\" fill=\"" + fill + "\"/>\n";
}

// The document's start, a white page, the title, and the value axis's name beside the plot's middle.
std::string Page(double width, double height, const std::string& title, const std::string& axis, double middle) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(width) + "\" height=\"" + Num(height) +
           "\" font-family=\"sans-serif\" font-size=\"11\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" +
           Text(16, 24, title, "font-size=\"14\" font-weight=\"bold\"") +
           Text(16, middle, axis, "transform=\"rotate(-90 16 " + Num(middle) + ")\" text-anchor=\"middle\"");
}

// About five steps of 1, 2 or 5 times a power of ten.
double Step(double range) {
    const double raw = range / 5, unit = std::pow(10, std::floor(std::log10(raw)));
    return unit * (raw / unit < 1.5 ? 1 : raw / unit < 3.5 ? 2 : raw / unit < 7.5 ? 5 : 10);
}

// Bars from zero, or (with a reference line) points, each with a whisker from Low to High;
// items of one group stand together under its name, spread over the chart's width.
std::string Chart(const ChartText& words, const std::vector<ChartItem>& items, std::optional<double> referenceLine) {
    double top = referenceLine.value_or(0), bottom = top;
    std::size_t groups = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        for (double v : {items[i].Value, items[i].Low, items[i].High, items[i].Marker})
            if (std::isfinite(v)) top = std::max(top, v), bottom = std::min(bottom, v);
        groups += i == 0 || items[i].Group != items[i - 1].Group;
    }
    const double pad = referenceLine ? std::max((top - bottom) * 0.1, 0.005) : 0;
    top = referenceLine ? top + pad : top > 0 ? top * 1.08 : 1;
    bottom -= pad;
    const std::size_t legendChars = words.Value.size() + words.Range.size() + words.Marker.size() + 12;
    const double gaps = static_cast<double>(groups) * kGroupGap, count = static_cast<double>(items.size());
    const double width = std::max({kLeft + count * kMinSlot + gaps + kRight, 30 + 8.6 * words.Title.size(),
                                   30 + 6.2 * static_cast<double>(legendChars), kMinWidth});
    const double slot = count > 0 ? (width - kLeft - kRight - gaps) / count : 0;
    const double height = kTop + kPlotHeight + kBottom, middle = kTop + kPlotHeight / 2;
    auto y = [&](double v) { return kTop + kPlotHeight * (top - v) / (top - bottom); };

    std::string svg = Page(width, height, words.Title, words.Axis, middle);
    // The legend: each kind of mark beside what it is.
    double legendX = 24;
    const auto entry = [&](const std::string& mark, const std::string& text) {
        svg += mark + Text(legendX + 12, 48, text, "");
        legendX += 24 + 6.2 * static_cast<double>(text.size());
    };
    entry(referenceLine ? Point(legendX, 44) : Bar(legendX - 5, 38, 10, 12), words.Value);
    entry(Whisker(legendX, 38, 50), words.Range);
    if (!words.Marker.empty()) entry(Diamond(legendX, 44), words.Marker);

    const double step = Step(top - bottom);
    for (double v = std::ceil(bottom / step) * step; v <= top; v += step)
        svg += Line(kLeft - 4, y(v), width - kRight, y(v), "stroke=\"#ddd\"") +
               Text(kLeft - 8, y(v) + 4, PreciseText(std::fabs(v) < step / 1e6 ? 0 : v), "text-anchor=\"end\"");
    svg += Line(kLeft, kTop, kLeft, kTop + kPlotHeight);
    if (referenceLine)
        svg += Line(kLeft, y(*referenceLine), width - kRight, y(*referenceLine),
                    "stroke=\"#c00\" stroke-dasharray=\"4 3\"");

    double x = kLeft, groupStart = x;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ChartItem& item = items[i];
        if (i == 0 || item.Group != items[i - 1].Group) groupStart = x += kGroupGap;
        const double mid = x + slot / 2, labelY = kTop + kPlotHeight + 12, bar = std::min(slot - 10, kMaxBar);
        svg += referenceLine ? Point(mid, y(item.Value)) : Bar(mid - bar / 2, y(item.Value), bar, y(0) - y(item.Value));
        if (std::isfinite(item.Low)) svg += Whisker(mid, y(item.Low), y(item.High));
        if (std::isfinite(item.Marker)) svg += Diamond(mid, y(item.Marker));
        svg += Text(mid, labelY, item.Label,
                    "transform=\"rotate(-45 " + Num(mid) + " " + Num(labelY) + ")\" text-anchor=\"end\"");
        x += slot;
        if (i + 1 == items.size() || items[i + 1].Group != item.Group)
            svg += Text((groupStart + x) / 2, height - 14, item.Group, "text-anchor=\"middle\" font-weight=\"bold\"");
    }
    return svg + "</svg>\n";
}

}  // namespace

std::string SweepChart(const RunResults& results) {
    std::vector<ChartItem> items;
    std::size_t passes = 0;
    std::string call = results.Rows.empty() ? "" : CallName(results.Rows.front().Config.Call);  // the title's, when one
    for (const Result& m : results.Rows) {
        items.push_back(Item(m.Config, m.Stats.Median, m.Stats.Min, m.Stats.Max));
        passes = std::max(passes, m.Stats.N);
        if (CallName(m.Config.Call) != call) call = "Text calls";
    }
    return Chart({call + ": median time per call, by configuration", "median ms per call",
                  "median of " + std::to_string(passes) + " timed passes", "fastest to slowest pass", ""},
                 items, std::nullopt);
}

std::string CompareChart(const Comparisons& compared) {
    std::vector<ChartItem> items;
    for (const ComparedRow& r : compared.Rows) {
        if (!r.Old || !r.New) continue;
        const Comparison a = r.Adjusted.value_or(kNoComparison);
        items.push_back(Item(r.Config, a.Ratio, a.Low, a.High, *r.New / *r.Old));
    }
    const std::string estimate = compared.Machine ? "adjusted ratio (median of pass ratios in machine-reference units)"
                                                  : "median of new / old pass ratios";
    return Chart({"New / old time per call, by configuration (below 1: new is faster)", "new / old time per call",
                  estimate, "its 95% interval", "plain ratio of the medians"},
                 items, 1.0);
}

std::string LengthChart(const RunResults& results) {
    const std::vector<LengthFit>& fits = results.Fits;
    double maxX = 1, maxY = 0, legend = 0;  // legend: wide enough for the longest label
    for (const Result& m : results.Rows) {
        maxX = std::max(maxX, static_cast<double>(m.TextBytes));
        maxY = std::max(maxY, m.Stats.Max);
    }
    for (const LengthFit& fit : fits) {
        if (fit.Model) maxY = std::max(maxY, fit.Model->PerByte.Predict(maxX).High);
        legend = std::max(legend, 60 + 6.5 * static_cast<double>(ConfigLabel(fit.Config).size()));
    }
    maxY = maxY > 0 ? maxY * 1.08 : 1;
    const double right = kLeft + kLengthWidth, bottom = kLengthTop + kLengthHeight;
    auto x = [&](double bytes) { return kLeft + kLengthWidth * bytes / maxX; };
    auto y = [&](double ms) { return kLengthTop + kLengthHeight * (1 - ms / maxY); };

    const std::string title =
        "Time per call against text length: medians (whiskers min to max), fitted lines with 95% bands";
    std::string svg = Page(std::max(right + legend, 30 + 8.6 * static_cast<double>(title.size())),
                           std::max(bottom + 60, kLengthTop + 20 + 18.0 * static_cast<double>(fits.size())), title,
                           "ms per call", kLengthTop + kLengthHeight / 2);
    for (double v = 0, step = Step(maxY); v <= maxY; v += step)
        svg += Line(kLeft - 4, y(v), right, y(v), "stroke=\"#ddd\"") +
               Text(kLeft - 8, y(v) + 4, PreciseText(v), "text-anchor=\"end\"");
    for (double v = 0, step = Step(maxX); v <= maxX; v += step)
        svg += Text(x(v), bottom + 16, PreciseText(v), "text-anchor=\"middle\"");
    svg += Line(kLeft, kLengthTop, kLeft, bottom) + Line(kLeft, bottom, right, bottom) +
           Text(kLeft + kLengthWidth / 2, bottom + 40, "text length, bytes in the ANSI code page",
                "text-anchor=\"middle\"");

    for (std::size_t f = 0; f < fits.size(); ++f) {
        const std::string colour = kColours[f % std::size(kColours)], stroke = "stroke=\"" + colour + "\"";
        const double legendY = kLengthTop + 10 + 18 * static_cast<double>(f);
        svg += Bar(right + 20, legendY - 9, 12, 12, colour) +
               Text(right + 38, legendY + 1, ConfigLabel(fits[f].Config) + (fits[f].Model ? "" : " (no fit)"), "");
        if (const std::optional<CostModel>& model = fits[f].Model) {
            // The band is drawn out along the upper edge and back along the lower.
            const double from = static_cast<double>(model->Lengths.front()),
                         to = static_cast<double>(model->Lengths.back());
            std::string upper, lower;
            for (int i = 0; i <= 40; ++i) {
                const double bytes = from + (to - from) * i / 40;
                const Estimate e = model->PerByte.Predict(bytes);
                upper += (i ? "L" : "M") + Num(x(bytes)) + " " + Num(y(e.High));
                lower = "L" + Num(x(bytes)) + " " + Num(y(e.Low)) + lower;
            }
            svg += "<path d=\"" + upper + lower + "Z\" fill=\"" + colour + "\" fill-opacity=\"0.2\"/>\n" +
                   Line(x(from), y(model->PerByte.At(from)), x(to), y(model->PerByte.At(to)), stroke);
        }
        for (std::size_t row : fits[f].Rows) {
            const Result& m = results.Rows[row];
            const double at = x(static_cast<double>(m.TextBytes));
            svg += Line(at, y(m.Stats.Min), at, y(m.Stats.Max), stroke) + Point(at, y(m.Stats.Median), colour, 3);
        }
    }
    return svg + "</svg>\n";
}
