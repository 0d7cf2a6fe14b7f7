#include "cli/LengthPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cli/Dimensions.h"

namespace {

constexpr double kLeft = 80, kTop = 50, kWidth = 520, kHeight = 320;
const char* const kColours[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e", "#8c564b", "#e377c2", "#17becf"};

std::string Num(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}

// About five steps of 1, 2 or 5 times a power of ten.
double Step(double range) {
    const double raw = range / 5, unit = std::pow(10, std::floor(std::log10(raw)));
    return unit * (raw / unit < 1.5 ? 1 : raw / unit < 3.5 ? 2 : raw / unit < 7.5 ? 5 : 10);
}

}  // namespace

std::string LengthChart(const std::vector<Measurement>& results) {
    const std::vector<LengthFit> fits = FitLengths(results, 0);
    double maxX = 1, maxY = 0;
    for (const Measurement& m : results) {
        maxX = std::max(maxX, static_cast<double>(m.TextBytes));
        maxY = std::max(maxY, m.Stats.Max);
    }
    for (const LengthFit& fit : fits)
        if (fit.Model) maxY = std::max(maxY, fit.Model->PerByte.Predict(maxX).High);
    maxY = maxY > 0 ? maxY * 1.08 : 1;
    double legend = 0;  // wide enough for the longest label
    for (const LengthFit& fit : fits)
        legend = std::max(legend, 60 + 6.5 * static_cast<double>(ConfigLabel(fit.Config).size()));
    auto x = [&](double bytes) { return kLeft + kWidth * bytes / maxX; };
    auto y = [&](double ms) { return kTop + kHeight * (1 - ms / maxY); };

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(kLeft + kWidth + legend) +
                      "\" height=\"" +
                      Num(std::max(kTop + kHeight + 60, kTop + 20 + 18.0 * static_cast<double>(fits.size()))) +
                      "\" font-family=\"sans-serif\" font-size=\"11\">\n" +
                      "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n<text x=\"" + Num(kLeft) +
                      "\" y=\"24\" font-size=\"14\" font-weight=\"bold\">Time per call against text length: medians "
                      "(whiskers min to max), fitted lines with 95% bands</text>\n";
    for (double v = 0, step = Step(maxY); v <= maxY; v += step)
        svg += "<line x1=\"" + Num(kLeft - 4) + "\" y1=\"" + Num(y(v)) + "\" x2=\"" + Num(kLeft + kWidth) + "\" y2=\"" +
               Num(y(v)) + "\" stroke=\"#ddd\"/><text x=\"" + Num(kLeft - 8) + "\" y=\"" + Num(y(v) + 4) +
               "\" text-anchor=\"end\">" + PreciseText(v) + "</text>\n";
    for (double v = 0, step = Step(maxX); v <= maxX; v += step)
        svg += "<text x=\"" + Num(x(v)) + "\" y=\"" + Num(kTop + kHeight + 16) + "\" text-anchor=\"middle\">" +
               PreciseText(v) + "</text>\n";
    svg += "<path d=\"M" + Num(kLeft) + " " + Num(kTop) + "V" + Num(kTop + kHeight) + "H" + Num(kLeft + kWidth) +
           "\" fill=\"none\" stroke=\"black\"/>\n<text x=\"" + Num(kLeft + kWidth / 2) + "\" y=\"" +
           Num(kTop + kHeight + 40) + "\" text-anchor=\"middle\">text length, bytes in the ANSI code page</text>\n" +
           "<text x=\"16\" y=\"" + Num(kTop + kHeight / 2) + "\" transform=\"rotate(-90 16 " + Num(kTop + kHeight / 2) +
           ")\" text-anchor=\"middle\">ms per call</text>\n";

    for (std::size_t f = 0; f < fits.size(); ++f) {
        const std::string colour = kColours[f % std::size(kColours)];
        const double legendY = kTop + 10 + 18 * static_cast<double>(f);
        svg += "<rect x=\"" + Num(kLeft + kWidth + 20) + "\" y=\"" + Num(legendY - 9) +
               "\" width=\"12\" height=\"12\" fill=\"" + colour + "\"/><text x=\"" + Num(kLeft + kWidth + 38) +
               "\" y=\"" + Num(legendY + 1) + "\">" + Escaped(ConfigLabel(fits[f].Config)) +
               (fits[f].Model ? "" : " (no fit)") + "</text>\n";
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
                   "<line x1=\"" + Num(x(from)) + "\" y1=\"" + Num(y(model->PerByte.At(from))) + "\" x2=\"" +
                   Num(x(to)) + "\" y2=\"" + Num(y(model->PerByte.At(to))) + "\" stroke=\"" + colour + "\"/>\n";
        }
        for (const Measurement& m : results) {
            if (!SameConfiguration(m.Config, fits[f].Config)) continue;
            const double at = x(static_cast<double>(m.TextBytes));
            svg += "<line x1=\"" + Num(at) + "\" y1=\"" + Num(y(m.Stats.Min)) + "\" x2=\"" + Num(at) + "\" y2=\"" +
                   Num(y(m.Stats.Max)) + "\" stroke=\"" + colour + "\"/><circle cx=\"" + Num(at) + "\" cy=\"" +
                   Num(y(m.Stats.Median)) + "\" r=\"3\" fill=\"" + colour + "\"/>\n";
        }
    }
    return svg + "</svg>\n";
}
