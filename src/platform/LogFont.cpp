#include "platform/LogFont.h"

#include <cmath>

double PointsFromLogFontHeight(std::int32_t height, int dpi) {
    return height > 0 ? height : std::fabs(72.0 / dpi * height);
}

std::int32_t LogFontHeightFromPoints(double points, int dpi) {
    double pixels = std::round(points * dpi / 72.0);
    // A height of 0 would ask for the mapper's default size instead; one
    // past the 32-bit range would wrap into a height of the other kind.
    if (!(pixels >= 1)) pixels = 1;
    if (pixels > INT32_MAX) pixels = INT32_MAX;
    return -static_cast<std::int32_t>(pixels);
}
