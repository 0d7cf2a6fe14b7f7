#include "cli/Plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

constexpr double kLeft = 80, kRight = 20, kTop = 70, kPlotHeight = 300, kBottom = 110;
constexpr double kMinSlot = 34, kMaxBar = 48, kGroupGap = 24, kMinWidth = 560;
constexpr char kBar[] = "#7fa7d6", kPoint[] = "#1f5fa8", kMarker[] = "#c46a00";

// One mark of a chart: a value with a range around it, in a group, and a second value shown
// as a hollow marker where there is one.
struct ChartItem {
    std::string Group;
    std::string Label;
    double Value = 0;
    double Low = 0;
    double High = 0;
    double Marker = NAN;
};

// What a chart shows, in words: the title, the axis, and a legend entry for each kind of mark.
struct ChartText {
    std::string Title;
    std::string Axis;
    std::string Value;
    std::string Range;
    std::string Marker;  // empty: no markers
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

std::string Point(double x, double y) {
    return "<circle cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"4\" fill=\"" + kPoint + "\"/>\n";
}

std::string Diamond(double x, double y) {
    return "<path d=\"M" + Num(x) + " " + Num(y - 6) + "l6 6l-6 6l-6 -6z\" fill=\"none\" stroke=\"" + kMarker +
           "\" stroke-width=\"1.5\"/>\n";
}

std::string Bar(double x, double y, double width, double height) {
    return "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(width) + "\" height=\"" + Num(height) +
           "\" fill=\"" + kBar + "\"/>\n";
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

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(width) + "\" height=\"" +
                      Num(height) + "\" font-family=\"sans-serif\" font-size=\"11\">\n" +
                      "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" +
                      Text(16, 24, words.Title, "font-size=\"14\" font-weight=\"bold\"") +
                      Text(16, middle, words.Axis,
                           "transform=\"rotate(-90 16 " + Num(middle) + ")\" text-anchor=\"middle\"");
    // The legend: each kind of mark beside what it is.
    double legendX = 24;
    const auto entry = [&](const std::string& mark, const std::string& text) {
        svg += mark + Text(legendX + 12, 48, text, "");
        legendX += 24 + 6.2 * static_cast<double>(text.size());
    };
    entry(referenceLine ? Point(legendX, 44) : Bar(legendX - 5, 38, 10, 12), words.Value);
    entry(Whisker(legendX, 38, 50), words.Range);
    if (!words.Marker.empty()) entry(Diamond(legendX, 44), words.Marker);

    // A step of 1, 2 or 5 times a power of ten that gives about five ticks.
    const double raw = (top - bottom) / 5, unit = std::pow(10, std::floor(std::log10(raw)));
    const double step = unit * (raw / unit < 1.5 ? 1 : raw / unit < 3.5 ? 2 : raw / unit < 7.5 ? 5 : 10);
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

std::string SweepChart(const std::vector<Measurement>& results) {
    std::vector<ChartItem> items;
    std::size_t passes = 0;
    for (const Measurement& m : results) {
        items.push_back(Item(m.Config, m.Stats.Median, m.Stats.Min, m.Stats.Max));
        passes = std::max(passes, m.Stats.N);
    }
    return Chart({"ExtTextOutA: median time per call, by configuration", "median ms per call",
                  "median of " + std::to_string(passes) + " timed passes", "fastest to slowest pass", ""},
                 items, std::nullopt);
}

std::string CompareChart(const Comparisons& compared) {
    std::vector<ChartItem> items;
    for (const ComparedRow& r : compared.Rows) {
        if (!r.Old || !r.New) continue;
        const Comparison a = r.Adjusted.value_or(Comparison{NAN, NAN, NAN});
        items.push_back(Item(r.Config, a.Ratio, a.Low, a.High, *r.New / *r.Old));
    }
    const std::string estimate = compared.Machine ? "adjusted ratio (median of pass ratios in machine-reference units)"
                                                  : "median of new / old pass ratios";
    return Chart({"New / old time per call, by configuration (below 1: new is faster)", "new / old time per call",
                  estimate, "its 95% interval", "plain ratio of the medians"},
                 items, 1.0);
}
