// The console companion's surfaces in this process: the glyphs each draws, and what its timed interval holds.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/measure/CanvasBench.h"
#include "timing/clsTiming.h"

namespace {

// Every surface, at the canvas's size and larger, is prepared as the canvas is and timed with its loop.
TEST(Surfaces, DrawTheCanvasGlyphsAndTimeNothingButTheCalls) {
    std::vector<Configuration> configs;
    for (CanvasSize canvas : {CanvasSize{}, CanvasSize{1000, 700}})
        for (SurfaceKind surface : {SurfaceKind::Ddb, SurfaceKind::Dib32, SurfaceKind::Dib24, SurfaceKind::Window})
            configs.push_back({"IPAゴシック", 24, false, false, false, TextCall::ExtTextOutA, FontQuality::Antialiased,
                               surface, canvas});
    CanvasBench bench("日本語のテキスト", configs);
    ASSERT_EQ(bench.MakeSurfaces(), "");
    const auto drawn = [&](std::size_t c) {
        HDC dc = bench.Prepare(c);
        TimeCalls(TextCall::ExtTextOutA, dc, bench.Texts[c], 1, false);
        return ReadPixels(dc, 421, 113);
    };
    const std::vector<std::uint32_t> canvas = drawn(0);
    ASSERT_GT(std::count_if(canvas.begin(), canvas.end(), [](std::uint32_t p) { return p != 0xFFFFFF; }), 200);
    for (std::size_t c = 1; c < configs.size(); ++c) {
        SCOPED_TRACE(ConfigLabel(configs[c]));
        EXPECT_EQ(drawn(c), canvas);
        if (c < 4) continue;
        // Clearing a large surface takes a while; an interval of no calls holds none of it.
        clsTiming timing;
        timing.Start();
        bench.Prepare(c);
        const double prepared = timing.Elapsed();
        double empty = bench.Pass(c, 0, false);
        for (int i = 0; i < 4; ++i) empty = std::min(empty, bench.Pass(c, 0, false));
        EXPECT_LT(empty * 10, prepared);
    }
}

}  // namespace
