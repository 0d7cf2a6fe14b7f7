// The text calls the console program can time, the font qualities and the surfaces drawn on, with their names.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The text calls the console program times, each once per iteration at the canvas origin;
// the extent call lays the text out without drawing it.
enum class TextCall { ExtTextOutA, ExtTextOutW, TextOutA, PolyTextOutA, GetTextExtentPoint32A };

// The font's lfQuality, with LOGFONT's own values.
enum class FontQuality : std::uint8_t { Default = 0, NonAntialiased = 3, Antialiased = 4, ClearType = 5 };

// The names options and files use, read in any case; the first is the default.
inline const std::vector<std::pair<std::string, TextCall>> kCallNames = {
    {"ExtTextOutA", TextCall::ExtTextOutA}, {"ExtTextOutW", TextCall::ExtTextOutW}, {"TextOutA", TextCall::TextOutA},
    {"PolyTextOutA", TextCall::PolyTextOutA}, {"GetTextExtentPoint32A", TextCall::GetTextExtentPoint32A}};
inline const std::vector<std::pair<std::string, FontQuality>> kQualityNames = {
    {"default", FontQuality::Default}, {"nonantialiased", FontQuality::NonAntialiased},
    {"antialiased", FontQuality::Antialiased}, {"cleartype", FontQuality::ClearType}};

// What the text is drawn on: a bitmap compatible with the screen (the interactive program's
// canvas), a 32-bit or a 24-bit top-down DIB section, or the canvas window's own DC on screen.
enum class SurfaceKind { Ddb, Dib32, Dib24, Window };
inline const std::vector<std::pair<std::string, SurfaceKind>> kSurfaceNames = {
    {"ddb", SurfaceKind::Ddb}, {"dib32", SurfaceKind::Dib32}, {"dib24", SurfaceKind::Dib24},
    {"window", SurfaceKind::Window}};

// A surface's size in pixels; the default is the interactive program's canvas at 96 dpi.
struct CanvasSize {
    int Width = 421, Height = 113;
    bool operator==(const CanvasSize& o) const { return Width == o.Width && Height == o.Height; }
};
// The largest surface asked for: 256 MiB at 32 bits a pixel, within GDI's 16-bit coordinates on a
// side, so several fit a 32-bit process's address space. The system may still refuse less.
constexpr int kMaxCanvasSide = 32767;
constexpr long long kMaxCanvasPixels = 1LL << 26;

std::string CallName(TextCall call);
std::string QualityName(FontQuality quality);
std::string SurfaceName(SurfaceKind surface);
std::string CanvasName(const CanvasSize& canvas);  // "1920x1080"
