// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelPixels.h"

#include "TemporaryFolder.h"
#include "raster/PIX_PngLoader.h"
#include "tools/PanelSnapshot.h"

#include <gtest/gtest.h>

#include <string>

std::vector<uint32_t> OffscreenPanelPixels(PluginInstance& plugin, double scale, const std::string& readout)
{
    std::vector<uint32_t> pixels;
    const TemporaryFolder folder("keldra-panel-");
    std::string error;
    EXPECT_TRUE(WritePanelSnapshot(plugin, {}, folder.Path("panel.png"), error, scale, readout)) << error;
    auto image = PIX_LoadPngFromFile(folder.Path("panel.png").c_str());
    if (!image)
        return pixels;
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x)
            pixels.push_back(image->Pixels()[y * image->RowStride() + x] & 0xFFFFFF);
    return pixels;
}

long FirstDifferentPixel(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    if (a.size() != b.size())
        return 0;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return static_cast<long>(i);
    return -1;
}
