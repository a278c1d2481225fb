// SPDX-License-Identifier: GPL-3.0-or-later
// The front-panel image: written through the bundle's state, read back.
#include "ShellCommand.h"
#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_PngLoader.h"
#include "tools/PanelSnapshot.h"

#include <gtest/gtest.h>

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

    std::unique_ptr<PIX_MemBitmap> Snapshot(const std::vector<ResolvedSetting>& settings)
    {
        std::string error;
        EXPECT_TRUE(WritePanelSnapshot(*plugin, settings, path, error)) << error;
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
