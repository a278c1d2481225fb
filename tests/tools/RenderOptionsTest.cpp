// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/RenderOptions.h"

#include <gtest/gtest.h>

namespace {

std::optional<RenderOptions> Parse(std::vector<std::string> args, std::string& error)
{
    return ParseRenderOptions(args, "/default/KELDRA.vst3", error);
}

} // namespace

TEST(RenderOptions, ReadsEveryOptionAndKeepsSettingsInOrder)
{
    std::string error;
    const auto options = Parse({"--plugin", "/p.vst3", "--set", "OUT=-6", "--set", "3=0.25", "--oversampling", "16",
                                "--bypass", "--block", "64", "--precision", "64", "in.wav", "out.wav"},
                               error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->plugin, "/p.vst3");
    ASSERT_EQ(options->settings.size(), 2u);
    EXPECT_EQ(options->settings[0].name, "OUT");
    EXPECT_EQ(options->settings[0].value, -6.0);
    EXPECT_EQ(options->settings[1].name, "3");
    EXPECT_EQ(options->oversampling, 16);
    EXPECT_TRUE(options->bypass);
    EXPECT_EQ(options->block, 64);
    EXPECT_EQ(options->precision, 64);
    EXPECT_EQ(options->input, "in.wav");
    EXPECT_EQ(options->output, "out.wav");
}

TEST(RenderOptions, DemoNeedsOnlyAnOutputAndDefaultsApply)
{
    std::string error;
    const auto options = Parse({"--demo", "2.5", "--rate", "44100", "out.wav"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->plugin, "/default/KELDRA.vst3");
    EXPECT_EQ(options->demoSeconds, 2.5);
    EXPECT_EQ(options->rate, 44100.0);
    EXPECT_TRUE(options->input.empty());
    EXPECT_EQ(options->block, 512);
    EXPECT_EQ(options->precision, 32);
    EXPECT_FALSE(Parse({"--demo", "1", "in.wav", "out.wav"}, error));
}

TEST(RenderOptions, ValuesThatAreNotNumbersAreRefusedWithTheirName)
{
    std::string error;
    EXPECT_FALSE(Parse({"--set", "OUT=loud", "in.wav", "out.wav"}, error));
    EXPECT_NE(error.find("OUT"), std::string::npos) << error;
    EXPECT_NE(error.find("not a number"), std::string::npos) << error;
    for (const char* bad : {"OUT=", "OUT=nan", "OUT=inf", "OUT=0x10", "OUT=1.5.2", "=3", "OUT"})
        EXPECT_FALSE(Parse({"--set", bad, "in.wav", "out.wav"}, error)) << bad;
    EXPECT_TRUE(Parse({"--set", "OUT=-1.5e1", "in.wav", "out.wav"}, error)) << error;
}

TEST(RenderOptions, OutOfRangeChoicesAndMissingFilesAreUsageErrors)
{
    std::string error;
    const std::vector<std::vector<std::string>> bad = {
        {"--oversampling", "8", "in.wav", "out.wav"}, {"--precision", "16", "in.wav", "out.wav"},
        {"--block", "0", "in.wav", "out.wav"},        {"--block", "1.5", "in.wav", "out.wav"},
        {"--block", "70000", "in.wav", "out.wav"},    {"--demo", "0", "out.wav"},
        {"--demo", "-1", "out.wav"},                  {"--rate", "100", "--demo", "1", "out.wav"},
        {"--frobnicate", "in.wav", "out.wav"},        {"out.wav"},
        {"a.wav", "b.wav", "c.wav"},                  {"--set"},
        {"--list", "out.wav"},
    };
    for (const auto& args : bad) {
        error.clear();
        EXPECT_FALSE(Parse(args, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(RenderOptions, ListAndHelpNeedNoFiles)
{
    std::string error;
    const auto list = Parse({"--list"}, error);
    ASSERT_TRUE(list) << error;
    EXPECT_TRUE(list->list);
    const auto help = Parse({"--help"}, error);
    ASSERT_TRUE(help) << error;
    EXPECT_TRUE(help->help);
}

TEST(RenderOptions, APanelAloneNeedsNoAudioFiles)
{
    std::string error;
    auto alone = Parse({"--panel", "p.png", "--set", "OUT=3"}, error);
    ASSERT_TRUE(alone) << error;
    EXPECT_EQ(alone->panel, "p.png");
    EXPECT_TRUE(alone->output.empty());

    auto both = Parse({"--panel", "p.png", "--demo", "1", "o.wav"}, error);
    ASSERT_TRUE(both) << error;
    EXPECT_EQ(both->output, "o.wav");

    EXPECT_FALSE(Parse({"--panel"}, error));
    EXPECT_NE(error.find("--panel"), std::string::npos);
    // One file is neither a panel-only run nor a render.
    EXPECT_FALSE(Parse({"--panel", "p.png", "in.wav"}, error));
}

TEST(RenderOptions, ResponseTakesAnSvgOrCsvNameAndNoAudio)
{
    std::string error;
    const auto options = Parse({"--set", "GainH=1", "--rate", "96000", "--response", "r.SVG"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->response, "r.SVG");
    EXPECT_TRUE(options->output.empty());
    EXPECT_TRUE(Parse({"--response", "r.csv"}, error)) << error;
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--response", "r.png"}, {"--response", ".svg"}, {"--response", "r.svg", "out.wav"},
             {"--response", "r.csv", "--demo", "1"}, {"--response"}})
        EXPECT_FALSE(Parse(bad, error)) << bad.back();
}
