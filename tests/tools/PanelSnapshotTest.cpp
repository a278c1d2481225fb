// SPDX-License-Identifier: GPL-3.0-or-later
// The front-panel image: written through the bundle's state, read back.
#include "ShellCommand.h"
#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_PngLoader.h"
#include "tools/OfflineRenderer.h"
#include "tools/PanelSnapshot.h"
#include "tools/RenderOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

uint32_t PixelAt(const PIX_IBitmap& bitmap, int x, int y)
{
    const int row = bitmap.IsBottomUp() ? bitmap.Height() - 1 - y : y;
    return bitmap.Pixels()[row * bitmap.RowStride() + x];
}

/// Counts the opaque pixels of frame `frame` (1-based) of a vertical strip
/// that the panel shows unchanged at (x, y); −1 at the first that differs.
int OpaqueMatches(const PIX_IBitmap& panel, const PIX_IBitmap& strip, int frames, int frame, int x, int y)
{
    const int frameHeight = strip.Height() / frames;
    const int top = (frame - 1) * frameHeight;
    int matches = 0;
    for (int sy = 0; sy < frameHeight; ++sy) {
        for (int sx = 0; sx < strip.Width(); ++sx) {
            const uint32_t source = PixelAt(strip, sx, top + sy);
            if ((source >> 24) != 0xFF || x + sx < 0 || x + sx >= panel.Width()) continue;
            if (PixelAt(panel, x + sx, y + sy) != source) return -1;
            ++matches;
        }
    }
    return matches;
}

/// Largest difference of one byte of two pixel words.
int ByteDifference(uint32_t a, uint32_t b)
{
    int largest = 0;
    for (int shift = 0; shift < 32; shift += 8)
        largest = std::max(largest, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return largest;
}

/// How a picture at twice the resolution, averaged over 2 x 2 blocks, differs
/// from the one at 1x: `mean` of the largest byte difference per pixel, and
/// the share of pixels where it exceeds 48.
struct HalvedDifference {
    double mean = 0.0;
    double farShare = 0.0;
};

/// `large` from (0, largeTop) and `small` from (0, smallTop), `small`'s width
/// by `rows` rows.
HalvedDifference CompareHalved(const PIX_IBitmap& large, int largeTop, const PIX_IBitmap& small, int smallTop,
                               int rows)
{
    double sum = 0.0;
    int far = 0;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < small.Width(); ++x) {
            uint32_t halved = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                int total = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        total += (PixelAt(large, 2 * x + dx, largeTop + 2 * y + dy) >> shift) & 0xFF;
                halved |= uint32_t((total + 2) / 4) << shift;
            }
            const int difference = ByteDifference(halved, PixelAt(small, x, smallTop + y));
            sum += difference;
            far += difference > 48;
        }
    }
    const double pixels = double(rows) * small.Width();
    return {sum / pixels, far / pixels};
}

/// Of the strong edges between horizontal neighbours x, x + 1 of the 1x
/// `small` picture, the share whose window pixels in `shown` (at `scale`)
/// hold two equal neighbours over those two editor pixels, as an image
/// enlarged by repeating pixels always does. Edges beside a flat stretch of
/// the 1x picture (x - 1 like x, or x + 2 like x + 1) do not count: equal
/// window pixels are right there.
double RepeatedShareAtEdges(const PIX_IBitmap& shown, const PIX_IBitmap& small, double scale)
{
    int edges = 0, repeated = 0;
    for (int y = 0; y < small.Height(); ++y) {
        const int row = int((y + 0.5) * scale);
        for (int x = 1; x + 2 < small.Width(); ++x) {
            if (ByteDifference(PixelAt(small, x, y), PixelAt(small, x + 1, y)) < 64) continue;
            if (PixelAt(small, x - 1, y) == PixelAt(small, x, y)) continue;
            if (PixelAt(small, x + 2, y) == PixelAt(small, x + 1, y)) continue;
            ++edges;
            const int first = int(x * scale);
            const int last = std::min(int(std::ceil((x + 2) * scale)), shown.Width()) - 1;
            bool same = false;
            for (int column = first; column < last; ++column)
                same = same || PixelAt(shown, column, row) == PixelAt(shown, column + 1, row);
            repeated += same;
        }
    }
    return edges ? double(repeated) / edges : 1.0;
}

class PanelSnapshot : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        module = PluginModule::Load(KELDRA_BUNDLE_PATH, error);
        ASSERT_TRUE(module) << error;
        plugin = PluginInstance::Create(*module, app, handler, error);
        ASSERT_TRUE(plugin) << error;
        ASSERT_TRUE(plugin->Setup(ProcessSettings{}, error)) << error;
        path = "/tmp/keldra-panel-" + std::to_string(::getpid()) + ".png";
    }
    void TearDown() override
    {
        std::remove(path.c_str());
        plugin.reset();
        module.reset();
    }

    std::unique_ptr<PIX_MemBitmap> Snapshot(const std::vector<ResolvedSetting>& settings, double scale = 1.0)
    {
        std::string error;
        EXPECT_TRUE(WritePanelSnapshot(*plugin, settings, path, error, scale)) << error;
        return PIX_LoadPngFromFile(path.c_str());
    }

    HostApplication app{"panel-test"};
    HostComponentHandler handler;
    std::unique_ptr<PluginModule> module;
    std::unique_ptr<PluginInstance> plugin;
    std::string path;
};

}  // namespace

TEST_F(PanelSnapshot, ShowsTheKnobAndSwitchFramesOfTheSettings)
{
    // GainH fully up, Bypass on, oversampling on; OUT stays at 0 dB.
    auto panel = Snapshot({{3, 1.0}, {6, 1.0}, {7, 1.0}});
    ASSERT_TRUE(panel);
    ASSERT_EQ(panel->Width(), 300);
    ASSERT_EQ(panel->Height(), 570);

    auto gainH = PIX_LoadPngResource(107, "resources/img/GainH.png");
    auto out = PIX_LoadPngResource(113, "resources/img/OUT.png");
    auto in = PIX_LoadPngResource(102, "resources/img/by.png");
    auto over = PIX_LoadPngResource(114, "resources/img/OVER.png");
    ASSERT_TRUE(gainH && out && in && over);
    EXPECT_GT(OpaqueMatches(*panel, *gainH, 31, 31, 182, 62), 100);
    EXPECT_EQ(OpaqueMatches(*panel, *gainH, 31, 16, 182, 62), -1);
    EXPECT_GT(OpaqueMatches(*panel, *out, 31, 16, 32, 309), 100);
    EXPECT_GT(OpaqueMatches(*panel, *in, 2, 2, -2, 430), 100);
    EXPECT_GT(OpaqueMatches(*panel, *over, 2, 2, 0, 543), 100);
}

TEST_F(PanelSnapshot, WithoutSettingsShowsTheInitialValues)
{
    auto panel = Snapshot({});
    ASSERT_TRUE(panel);
    auto gainH = PIX_LoadPngResource(107, "resources/img/GainH.png");
    auto over = PIX_LoadPngResource(114, "resources/img/OVER.png");
    EXPECT_GT(OpaqueMatches(*panel, *gainH, 31, 16, 182, 62), 100);
    EXPECT_GT(OpaqueMatches(*panel, *over, 2, 1, 0, 543), 100);
}

TEST_F(PanelSnapshot, AtScaleOneThePanelIsThePictureOfBefore)
{
    // docs/panel.png was drawn before the panel had other scales, with the
    // settings the README gives.
    const auto before = PIX_LoadPngFromFile(KELDRA_DOCS_PATH "/panel.png");
    ASSERT_TRUE(before);
    RenderOptions options;
    options.settings = {{"GainH", 0.8}, {"HPF", 0.3}, {"OUT", 6.0}};
    options.oversampling = 16;
    std::string error;
    const auto settings = ResolveSettings(*plugin, options, error);
    ASSERT_TRUE(settings) << error;
    const auto panel = Snapshot(*settings);
    ASSERT_TRUE(panel);
    ASSERT_EQ(panel->Width(), before->Width());
    ASSERT_EQ(panel->Height(), before->Height());
    for (int y = 0; y < panel->Height(); ++y)
        for (int x = 0; x < panel->Width(); ++x)
            ASSERT_EQ(PixelAt(*panel, x, y), PixelAt(*before, x, y)) << x << "," << y;
}

TEST_F(PanelSnapshot, EveryScaledFrameHalvedIsItsFrameAtOne)
{
    struct Strip { int id; int frames; };
    for (const Strip strip : {Strip{101, 1}, Strip{102, 2}, Strip{107, 31}, Strip{109, 31}, Strip{110, 31},
                              Strip{111, 31}, Strip{112, 31}, Strip{113, 31}, Strip{114, 2}}) {
        const auto small = PIX_LoadPngResource(strip.id, "one.png");
        const auto large = PIX_LoadPngResource(strip.id + 1000, "two.png");
        ASSERT_TRUE(small && large) << strip.id;
        ASSERT_EQ(large->Width(), 2 * small->Width()) << strip.id;
        ASSERT_EQ(large->Height(), 2 * small->Height()) << strip.id;
        const int rows = small->Height() / strip.frames;
        for (int frame = 0; frame < strip.frames; ++frame) {
            const HalvedDifference d = CompareHalved(*large, 2 * frame * rows, *small, frame * rows, rows);
            EXPECT_LT(d.mean, 4.0) << strip.id << " frame " << frame;
            EXPECT_LT(d.farShare, 0.001) << strip.id << " frame " << frame;
        }
    }
    // The whole panel at 2 lines up with the panel at 1 the same way.
    const std::vector<ResolvedSetting> settings{{3, 1.0}, {5, 0.0}, {6, 1.0}, {7, 1.0}};
    const auto small = Snapshot(settings);
    const auto large = Snapshot(settings, 2.0);
    ASSERT_TRUE(small && large);
    ASSERT_EQ(large->Width(), 600);
    ASSERT_EQ(large->Height(), 1140);
    const HalvedDifference d = CompareHalved(*large, 0, *small, 0, small->Height());
    EXPECT_LT(d.mean, 4.0);
    EXPECT_LT(d.farShare, 0.001);
}

TEST_F(PanelSnapshot, AtOneAndAHalfThePanelFills450By855PixelsWithoutRepeatedPixelsAtEdges)
{
    const std::vector<ResolvedSetting> settings{{3, 0.8}, {1, 0.3}, {6, 1.0}};
    const auto small = Snapshot(settings);
    const auto shown = Snapshot(settings, 1.5);
    ASSERT_TRUE(small && shown);
    ASSERT_EQ(shown->Width(), 450);
    ASSERT_EQ(shown->Height(), 855);
    // Enlarging by repeating pixels repeats one at every such edge; the
    // drawing at 2 reduced keeps equal neighbours only where its own strokes
    // are solid across two window pixels (about 6 % of the edges).
    EXPECT_LT(RepeatedShareAtEdges(*shown, *small, 1.5), 0.1);
}

TEST(PanelOption, TheProgramWritesOnlyThePanelAndRefusesUnknownSettings)
{
    const std::string path = "/tmp/keldra-panel-cli-" + std::to_string(::getpid()) + ".png";
    const std::string program = std::string("'") + KELDRA_RENDER_PATH + "' --plugin '" + KELDRA_BUNDLE_PATH + "'";
    ASSERT_EQ(RunShellCommand(program + " --panel '" + path + "' --set GainH=1 >/dev/null"), 0);
    auto panel = PIX_LoadPngFromFile(path.c_str());
    std::remove(path.c_str());
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->Width(), 300);
    EXPECT_EQ(panel->Height(), 570);

    EXPECT_NE(RunShellCommand(program + " --panel '" + path + "' --set Nope=1 2>/dev/null"), 0);
    EXPECT_FALSE(PIX_LoadPngFromFile(path.c_str()));
}
