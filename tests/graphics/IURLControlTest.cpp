// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicsTestSupport.h"

#include "graphics/IURLControl.h"
#include "raster/PIX_SysBitmap.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Opens pages successfully, unlike the off-screen host.
class OpeningGraphics : public IGraphicsOffscreen {
public:
    using IGraphicsOffscreen::IGraphicsOffscreen;
    bool OpenWebPage(const char* url, const char* title, const char* confirm, const char* failure) override
    {
        IGraphicsOffscreen::OpenWebPage(url, title, confirm, failure);
        return true;
    }
};

void AddUrl(IGraphics& g, const char* url, const char* backup)
{
    Attach<IURLControl>(g, nullptr, PixelRect{203, 540, 303, 640}, url, backup);
}

}  // namespace

TEST(IURLControl, EmptyAddressesDoNothing)
{
    IGraphicsOffscreen g(nullptr, 300, 570, 25);
    AddUrl(g, "", nullptr);
    g.HandleMouseDown(250, 560, {});
    EXPECT_TRUE(g.RequestedPages().empty());
}

TEST(IURLControl, AnyButtonOpensThePageAndAFailureFallsBackToTheBackup)
{
    IGraphicsOffscreen g(nullptr, 300, 570, 25);
    AddUrl(g, "https://example.org/product/keldra/", "https://backup.example.org/");
    MouseMods middle;  // neither left nor right
    g.HandleMouseDown(250, 560, middle);
    EXPECT_EQ(g.RequestedPages(), (std::vector<std::string>{"https://example.org/product/keldra/",
                                                            "https://backup.example.org/"}));
}

TEST(IURLControl, BackupIsNotTriedWhenTheFirstPageOpened)
{
    OpeningGraphics g(nullptr, 300, 570, 25);
    AddUrl(g, "https://example.org/", "https://backup.example.org/");
    g.HandleMouseDown(250, 560, {});
    EXPECT_EQ(g.RequestedPages(), std::vector<std::string>{"https://example.org/"});

    OpeningGraphics g2(nullptr, 300, 570, 25);
    AddUrl(g2, nullptr, "https://backup.example.org/");
    g2.HandleMouseDown(250, 560, {});
    EXPECT_EQ(g2.RequestedPages(), std::vector<std::string>{"https://backup.example.org/"});
}

TEST(IURLControl, TextsAreCutToTheirBuffersAndDrawingDoesNothing)
{
    const std::string longUrl(400, 'a');
    IURLControl c(nullptr, {0, 0, 1, 1}, longUrl.c_str());
    EXPECT_EQ(std::strlen(c.Url()), 255u);
    EXPECT_STREQ(c.BackupUrl(), "");
    EXPECT_STREQ(c.ErrorText(), "");
    EXPECT_EQ(c.ParamIdx(), -1);

    IGraphicsOffscreen g(nullptr, 4, 4, 25);
    g.PrepareDrawSurface();
    FillWith(*g.DrawSurface(), 0x12345678);
    Attach<IURLControl>(g, nullptr, PixelRect{0, 0, 4, 4}, "https://example.org/");
    g.DrawArea({0, 0, 4, 4});
    EXPECT_EQ(PixelAt(*g.DrawSurface(), 1, 1), 0x12345678u);
}
