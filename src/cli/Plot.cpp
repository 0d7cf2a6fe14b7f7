#include "cli/Plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kLeft = 80, kTop = 50, kPlotHeight = 300, kSlot = 34, kGroupGap = 24, kBottom = 110;

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : std::string(1, c);
    return out;
}

std::string Num(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Text(double x, double y, const std::string& text, const std::string& extra = "") {
    return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" " + extra + ">" + Escape(text) + "</text>\n";
}

std::string Line(double x1, double y1, double x2, double y2, const std::string& style) {
    return "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" + Num(y2) + "\" " +
           style + "/>\n";
}

// A step of 1, 2 or 5 times a power of ten that gives about five ticks.
double TickStep(double span) {
    const double raw = span / 5, unit = std::pow(10, std::floor(std::log10(raw)));
    return raw / unit < 1.5 ? unit : raw / unit < 3.5 ? 2 * unit : raw / unit < 7.5 ? 5 * unit : 10 * unit;
}

}  // namespace

std::string Chart(const std::string& title, const std::string& axis, const std::vector<ChartItem>& items,
                  std::optional<double> referenceLine) {
    double top = referenceLine.value_or(0), bottom = referenceLine.value_or(0);
    for (const ChartItem& item : items) {
        top = std::max(top, item.High);
        bottom = std::min(bottom, item.Low);
    }
    if (referenceLine) {
        const double pad = std::max((top - bottom) * 0.1, 0.005);
        top += pad;
        bottom -= pad;
    } else {
        top = top > 0 ? top * 1.08 : 1;
    }
    std::size_t groups = 0;
    for (std::size_t i = 0; i < items.size(); ++i) groups += i == 0 || items[i].Group != items[i - 1].Group;
    // Wide enough for the title too.
    const double width =
        std::max(kLeft + static_cast<double>(items.size()) * kSlot + static_cast<double>(groups) * kGroupGap,
                 kLeft + 7.5 * static_cast<double>(title.size())) +
        20;
    const double height = kTop + kPlotHeight + kBottom;
    auto y = [&](double v) { return kTop + kPlotHeight * (top - v) / (top - bottom); };

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(width) +
                      "\" height=\"" + Num(height) + "\" font-family=\"sans-serif\" font-size=\"11\">\n" +
                      "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" +
                      Text(kLeft, 24, title, "font-size=\"14\" font-weight=\"bold\"") +
                      Text(16, kTop + kPlotHeight / 2, axis,
                           "transform=\"rotate(-90 16 " + Num(kTop + kPlotHeight / 2) + ")\" text-anchor=\"middle\"");
    const double step = TickStep(top - bottom);
    for (double v = std::ceil(bottom / step) * step; v <= top; v += step) {
        svg += Line(kLeft - 4, y(v), width - 20, y(v), "stroke=\"#ddd\"");
        svg += Text(kLeft - 8, y(v) + 4, PreciseText(std::fabs(v) < step / 1e6 ? 0 : v), "text-anchor=\"end\"");
    }
    svg += Line(kLeft, kTop, kLeft, kTop + kPlotHeight, "stroke=\"black\"");
    if (referenceLine)
        svg +=
            Line(kLeft, y(*referenceLine), width - 20, y(*referenceLine), "stroke=\"#c00\" stroke-dasharray=\"4 3\"");

    double x = kLeft;
    double groupStart = x;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ChartItem& item = items[i];
        if (i == 0 || item.Group != items[i - 1].Group) groupStart = x += kGroupGap;
        const double mid = x + kSlot / 2;
        if (referenceLine) {
            svg += "<circle cx=\"" + Num(mid) + "\" cy=\"" + Num(y(item.Value)) + "\" r=\"4\" fill=\"#1f5fa8\"/>\n";
        } else {
            svg += "<rect x=\"" + Num(x + 5) + "\" y=\"" + Num(y(item.Value)) + "\" width=\"" + Num(kSlot - 10) +
                   "\" height=\"" + Num(y(0) - y(item.Value)) + "\" fill=\"#7fa7d6\"/>\n";
        }
        svg += Line(mid, y(item.Low), mid, y(item.High), "stroke=\"black\"");
        svg += Line(mid - 5, y(item.Low), mid + 5, y(item.Low), "stroke=\"black\"");
        svg += Line(mid - 5, y(item.High), mid + 5, y(item.High), "stroke=\"black\"");
        const double labelY = kTop + kPlotHeight + 12;
        svg += Text(mid, labelY, item.Label,
                    "transform=\"rotate(-45 " + Num(mid) + " " + Num(labelY) + ")\" text-anchor=\"end\"");
        x += kSlot;
        if (i + 1 == items.size() || items[i + 1].Group != item.Group)
            svg += Text((groupStart + x) / 2, height - 14, item.Group, "text-anchor=\"middle\" font-weight=\"bold\"");
    }
    return svg + "</svg>\n";
}

std::string SweepChart(const std::vector<Measurement>& results) {
    std::vector<ChartItem> items;
    for (const Measurement& m : results)
        items.push_back({m.Config.Face, PreciseText(m.Config.Size) + " " + StyleName(m.Config.Bold, m.Config.Italic) +
                                            (m.Config.Opaque ? " opaque" : ""),
                         m.Stats.Median, m.Stats.Min, m.Stats.Max});
    return Chart("ExtTextOutA, median time per call (whiskers: min to max)", "ms per call", items, std::nullopt);
}

std::string CompareChart(const Comparisons& compared) {
    std::vector<ChartItem> items;
    for (const ComparedRow& r : compared.Rows)
        if (const auto& a = r.Adjusted)
            items.push_back({r.Config.Face,
                             PreciseText(r.Config.Size) + " " + StyleName(r.Config.Bold, r.Config.Italic) +
                                 (r.Config.Opaque ? " opaque" : ""),
                             a->Ratio, a->Low, a->High});
    return Chart("New / old time per call, with 95% intervals (below 1 is faster)", "ratio", items, 1.0);
}
