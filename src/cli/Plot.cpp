#include "cli/Plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

constexpr double kLeft = 80, kTop = 50, kPlotHeight = 300, kSlot = 34, kGroupGap = 24, kBottom = 110;

// One mark of a chart: a value with a range around it, in a group.
struct ChartItem {
    std::string Group;
    std::string Label;
    double Value = 0;
    double Low = 0;
    double High = 0;
};

ChartItem Item(const Configuration& config, double value, double low, double high) {
    return {config.Face, ConfigLabel(config).substr(config.Face.size() + 1), value, low, high};
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

// Bars from zero, or (with a reference line) points, each with a whisker from
// Low to High; items of one group stand together under its name.
std::string Chart(const std::string& title, const std::string& axis, const std::vector<ChartItem>& items,
                  std::optional<double> referenceLine) {
    double top = referenceLine.value_or(0), bottom = top;
    std::size_t groups = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        top = std::max(top, items[i].High);
        bottom = std::min(bottom, items[i].Low);
        groups += i == 0 || items[i].Group != items[i - 1].Group;
    }
    const double pad = referenceLine ? std::max((top - bottom) * 0.1, 0.005) : 0;
    top = referenceLine ? top + pad : top > 0 ? top * 1.08 : 1;
    bottom -= pad;
    // Wide enough for the title too.
    const double width = std::max(kLeft + static_cast<double>(items.size()) * kSlot + groups * kGroupGap,
                                  kLeft + 7.5 * static_cast<double>(title.size())) +
                         20;
    const double height = kTop + kPlotHeight + kBottom, middle = kTop + kPlotHeight / 2;
    auto y = [&](double v) { return kTop + kPlotHeight * (top - v) / (top - bottom); };

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(width) + "\" height=\"" + Num(height) +
                      "\" font-family=\"sans-serif\" font-size=\"11\">\n" +
                      "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" +
                      Text(kLeft, 24, title, "font-size=\"14\" font-weight=\"bold\"") +
                      Text(16, middle, axis, "transform=\"rotate(-90 16 " + Num(middle) + ")\" text-anchor=\"middle\"");
    // A step of 1, 2 or 5 times a power of ten that gives about five ticks.
    const double raw = (top - bottom) / 5, unit = std::pow(10, std::floor(std::log10(raw)));
    const double step = unit * (raw / unit < 1.5 ? 1 : raw / unit < 3.5 ? 2 : raw / unit < 7.5 ? 5 : 10);
    for (double v = std::ceil(bottom / step) * step; v <= top; v += step)
        svg += Line(kLeft - 4, y(v), width - 20, y(v), "stroke=\"#ddd\"") +
               Text(kLeft - 8, y(v) + 4, PreciseText(std::fabs(v) < step / 1e6 ? 0 : v), "text-anchor=\"end\"");
    svg += Line(kLeft, kTop, kLeft, kTop + kPlotHeight);
    if (referenceLine)
        svg +=
            Line(kLeft, y(*referenceLine), width - 20, y(*referenceLine), "stroke=\"#c00\" stroke-dasharray=\"4 3\"");

    double x = kLeft, groupStart = x;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ChartItem& item = items[i];
        if (i == 0 || item.Group != items[i - 1].Group) groupStart = x += kGroupGap;
        const double mid = x + kSlot / 2, labelY = kTop + kPlotHeight + 12;
        if (referenceLine)
            svg += "<circle cx=\"" + Num(mid) + "\" cy=\"" + Num(y(item.Value)) + "\" r=\"4\" fill=\"#1f5fa8\"/>\n";
        else
            svg += "<rect x=\"" + Num(x + 5) + "\" y=\"" + Num(y(item.Value)) + "\" width=\"" + Num(kSlot - 10) +
                   "\" height=\"" + Num(y(0) - y(item.Value)) + "\" fill=\"#7fa7d6\"/>\n";
        svg += Line(mid, y(item.Low), mid, y(item.High)) + Line(mid - 5, y(item.Low), mid + 5, y(item.Low)) +
               Line(mid - 5, y(item.High), mid + 5, y(item.High)) +
               Text(mid, labelY, item.Label,
                    "transform=\"rotate(-45 " + Num(mid) + " " + Num(labelY) + ")\" text-anchor=\"end\"");
        x += kSlot;
        if (i + 1 == items.size() || items[i + 1].Group != item.Group)
            svg += Text((groupStart + x) / 2, height - 14, item.Group, "text-anchor=\"middle\" font-weight=\"bold\"");
    }
    return svg + "</svg>\n";
}

}  // namespace

std::string SweepChart(const std::vector<Measurement>& results) {
    std::vector<ChartItem> items;
    for (const Measurement& m : results) items.push_back(Item(m.Config, m.Stats.Median, m.Stats.Min, m.Stats.Max));
    return Chart("ExtTextOutA, median time per call (whiskers: min to max)", "ms per call", items, std::nullopt);
}

std::string CompareChart(const Comparisons& compared) {
    std::vector<ChartItem> items;
    for (const ComparedRow& r : compared.Rows)
        if (const auto& a = r.Adjusted) items.push_back(Item(r.Config, a->Ratio, a->Low, a->High));
    return Chart("New / old time per call, with 95% intervals (below 1 is faster)", "ratio", items, 1.0);
}
