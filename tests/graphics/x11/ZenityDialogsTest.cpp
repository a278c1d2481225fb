// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/IGraphics.h"
#include "graphics/x11/ZenityDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool Has(const std::vector<std::string>& args, const std::string& arg)
{
    return std::find(args.begin(), args.end(), arg) != args.end();
}

TEST(ZenityDialogs, MessageKindsFollowTheButtons)
{
    auto args = ZenityDialogs::MessageArgs("Open the page?", "KELDRA", 4);
    EXPECT_EQ(args[0], "--question");
    EXPECT_TRUE(Has(args, "--ok-label=Yes"));
    EXPECT_TRUE(Has(args, "--cancel-label=No"));
    EXPECT_TRUE(Has(args, "--title=KELDRA"));
    EXPECT_TRUE(Has(args, "--text=Open the page?"));
    EXPECT_TRUE(Has(args, "--no-markup"));
    EXPECT_EQ(ZenityDialogs::MessageArgs("x", "y", 0)[0], "--info");
    EXPECT_EQ(ZenityDialogs::MessageArgs("x", "y", 0x10)[0], "--error");
    EXPECT_EQ(ZenityDialogs::MessageArgs("x", "y", 0x30)[0], "--warning");
    EXPECT_TRUE(Has(ZenityDialogs::MessageArgs("x", "y", 3), "--extra-button=Cancel"));
}

TEST(ZenityDialogs, TextIsOneArgumentWhateverItHolds)
{
    const auto args = ZenityDialogs::MessageArgs("a; rm -rf ~ & <b>", nullptr, 0);
    EXPECT_TRUE(Has(args, "--text=a; rm -rf ~ & <b>"));
    EXPECT_TRUE(Has(args, "--title="));
}

TEST(ZenityDialogs, DialogsStayAboveTheirOwner)
{
    EXPECT_TRUE(ZenityDialogs::OwnerArgs(0).empty());
    EXPECT_EQ(ZenityDialogs::OwnerArgs(0x2a00007),
              (std::vector<std::string>{"--modal", "--attach=44040199"}));
}

TEST(ZenityDialogs, AnswersFromExitCodes)
{
    EXPECT_EQ(ZenityDialogs::MessageAnswer(4, 0, ""), IGraphics::kMessageYes);
    EXPECT_EQ(ZenityDialogs::MessageAnswer(4, 1, ""), IGraphics::kMessageNo);
    EXPECT_EQ(ZenityDialogs::MessageAnswer(1, 0, ""), IGraphics::kMessageOk);
    EXPECT_EQ(ZenityDialogs::MessageAnswer(1, 5, ""), IGraphics::kMessageCancel);
    EXPECT_EQ(ZenityDialogs::MessageAnswer(3, 1, "Cancel\n"), IGraphics::kMessageCancel);
    EXPECT_EQ(ZenityDialogs::MessageAnswer(3, 1, ""), IGraphics::kMessageNo);
    EXPECT_EQ(ZenityDialogs::MessageAnswer(0, 1, ""), IGraphics::kMessageOk);
}

TEST(ZenityDialogs, CancelledAnswerDeclines)
{
    EXPECT_EQ(ZenityDialogs::CancelledAnswer(0), IGraphics::kMessageOk);
    EXPECT_EQ(ZenityDialogs::CancelledAnswer(4 | 0x20), IGraphics::kMessageNo);
    EXPECT_EQ(ZenityDialogs::CancelledAnswer(1), IGraphics::kMessageCancel);
    EXPECT_EQ(ZenityDialogs::CancelledAnswer(3), IGraphics::kMessageCancel);
}

TEST(ZenityDialogs, ColourAnswersInEveryFormKeepAlpha)
{
    ArgbColor c{128, 1, 2, 3};
    EXPECT_EQ(ZenityDialogs::ColourArgs(c, "Pick")[1], "--color=rgb(1,2,3)");
    ASSERT_TRUE(ZenityDialogs::ParseColour("rgb(10,20,30)\n", c));
    EXPECT_EQ(c.A, 128);
    EXPECT_EQ(c.R, 10);
    EXPECT_EQ(c.B, 30);
    ASSERT_TRUE(ZenityDialogs::ParseColour("rgba(255,0,7,0.5)\n", c));
    EXPECT_EQ(c.R, 255);
    EXPECT_EQ(c.B, 7);
    ASSERT_TRUE(ZenityDialogs::ParseColour("#0a0B0c", c));
    EXPECT_EQ(c.R, 10);
    EXPECT_EQ(c.G, 11);
    EXPECT_EQ(c.B, 12);
    EXPECT_EQ(c.A, 128);
}

TEST(ZenityDialogs, MalformedColoursChangeNothing)
{
    ArgbColor c{255, 1, 2, 3};
    for (const char* bad : {"", "rgb(300,0,0)", "rgb(-1,0,0)", "#12345", "blue", "rgb(1,2)"})
        EXPECT_FALSE(ZenityDialogs::ParseColour(bad, c)) << bad;
    EXPECT_EQ(c.R, 1);
    EXPECT_EQ(c.G, 2);
    EXPECT_EQ(c.B, 3);
}

TEST(ZenityDialogs, FileChooserStartsInTheFolderWithTheFilter)
{
    const FileDialogFilter filter = FileDialogFilter::FromExtensions("wav aif");
    auto args = ZenityDialogs::FileArgs(true, "/home/ann/", "take.wav", filter);
    EXPECT_TRUE(Has(args, "--save"));
    EXPECT_TRUE(Has(args, "--confirm-overwrite"));
    EXPECT_TRUE(Has(args, "--filename=/home/ann/take.wav"));
    EXPECT_TRUE(Has(args, "--file-filter=*.wav;*.aif | *.wav *.aif"));
    args = ZenityDialogs::FileArgs(false, "/home/ann/", "/abs/x.wav", FileDialogFilter{});
    EXPECT_FALSE(Has(args, "--save"));
    EXPECT_TRUE(Has(args, "--filename=/abs/x.wav"));
    EXPECT_EQ(ZenityDialogs::ChosenFile("/a/b c.wav\n"), "/a/b c.wav");
    EXPECT_EQ(ZenityDialogs::ChosenFile(""), "");
}

} // namespace
