// The names of the text calls, font qualities, surfaces and their sizes.
#include "cli/options/TextCall.h"

namespace {

template <typename T>
std::string NameOf(const std::vector<std::pair<std::string, T>>& names, T value) {
    for (const auto& [name, named] : names)
        if (named == value) return name;
    return names.front().first;
}

}  // namespace

std::string CallName(TextCall call) { return NameOf(kCallNames, call); }
std::string QualityName(FontQuality quality) { return NameOf(kQualityNames, quality); }
std::string SurfaceName(SurfaceKind surface) { return NameOf(kSurfaceNames, surface); }
std::string CanvasName(const CanvasSize& canvas) {
    return std::to_string(canvas.Width) + "x" + std::to_string(canvas.Height);
}
