// SPDX-License-Identifier: GPL-3.0-or-later
// Helper programs are started without a shell: fake `xdg-open` and `zenity`
// scripts placed first on PATH record the arguments they receive.
#include "graphics/IGraphics.h"
#include "graphics/x11/ChildProcess.h"
#include "graphics/x11/LinuxDesktop.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

struct LinuxDesktopTest : ::testing::Test {
    std::string dir;
    std::string savedPath;

    void SetUp() override
    {
        char pattern[] = "/tmp/keldra-desktop-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        const char* path = std::getenv("PATH");
        savedPath = path ? path : "/usr/bin:/bin";
    }

    void TearDown() override
    {
        setenv("PATH", savedPath.c_str(), 1);
        for (const char* name : {"xdg-open", "zenity", "args"}) std::remove((dir + "/" + name).c_str());
        rmdir(dir.c_str());
    }

    /// A program `name` that writes its argument count and arguments, one a
    /// line, to dir/args, prints `output` and exits with `exitCode`.
    void FakeProgram(const char* name, int exitCode, const std::string& output = "")
    {
        const std::string file = dir + "/" + name;
        std::ofstream script(file);
        script << "#!/bin/sh\n"
               << "printf '%s\\n' \"$#\" \"$@\" > '" << dir << "/args.tmp'\n"
               << "mv '" << dir << "/args.tmp' '" << dir << "/args'\n"
               << "printf '%s' '" << output << "'\n"
               << "exit " << exitCode << "\n";
        script.close();
        chmod(file.c_str(), 0755);
        setenv("PATH", (dir + ":" + savedPath).c_str(), 1);
    }

    /// The recorded lines, waiting up to 5 s for a program started in the background.
    std::vector<std::string> RecordedArgs()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        std::ifstream in;
        while (!in.is_open() && std::chrono::steady_clock::now() < deadline) {
            in.open(dir + "/args");
            if (!in.is_open()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};

TEST_F(LinuxDesktopTest, BrowserGetsTheAddressAsOneArgument)
{
    FakeProgram("xdg-open", 0);
    const char* url = "https://example.test/a b;$(touch x)&c=\"d\"";
    EXPECT_TRUE(LinuxDesktop::OpenUrl(url));
    EXPECT_EQ(RecordedArgs(), (std::vector<std::string>{"1", url}));
    ChildProcess::CollectFinished();
}

TEST_F(LinuxDesktopTest, MissingBrowserLauncherOrAddressOpensNothing)
{
    setenv("PATH", dir.c_str(), 1); // an empty folder
    EXPECT_FALSE(LinuxDesktop::OpenUrl("https://example.test/"));
    EXPECT_FALSE(LinuxDesktop::OpenUrl(""));
    EXPECT_FALSE(LinuxDesktop::OpenUrl(nullptr));
}

TEST_F(LinuxDesktopTest, WithoutZenityEveryDialogIsCancelled)
{
    setenv("PATH", dir.c_str(), 1);
    EXPECT_EQ(LinuxDesktop::ShowMessage("Open?", "T", 4), IGraphics::kMessageNo);
    ArgbColor colour{255, 1, 2, 3};
    EXPECT_FALSE(LinuxDesktop::ChooseColour(colour, "Pick"));
    EXPECT_EQ(colour.R, 1);
    std::string path = "x.wav";
    std::string folder = "/tmp/";
    LinuxDesktop::ChooseFile(path, 0, folder, "wav");
    EXPECT_EQ(path, "");
    EXPECT_EQ(folder, "/tmp/");
}

TEST_F(LinuxDesktopTest, ZenityAnswersAreRead)
{
    FakeProgram("zenity", 0);
    EXPECT_EQ(LinuxDesktop::ShowMessage("Open the page?", "KELDRA", 4), IGraphics::kMessageYes);
    const auto args = RecordedArgs();
    ASSERT_FALSE(args.empty());
    EXPECT_EQ(args[1], "--question");
    EXPECT_EQ(args.back(), "--text=Open the page?");

    FakeProgram("zenity", 1);
    EXPECT_EQ(LinuxDesktop::ShowMessage("Open?", "T", 4, 77), IGraphics::kMessageNo);
    EXPECT_EQ(RecordedArgs().back(), "--attach=77");

    FakeProgram("zenity", 0, "rgb(9,8,7)\n");
    ArgbColor colour{255, 0, 0, 0};
    EXPECT_TRUE(LinuxDesktop::ChooseColour(colour, "Pick"));
    EXPECT_EQ(colour.R, 9);
    EXPECT_EQ(colour.B, 7);
}

TEST_F(LinuxDesktopTest, ChosenFileSetsPathAndFolder)
{
    FakeProgram("zenity", 0, "/data/takes/b c.wav\n");
    std::string path;
    std::string folder = "/tmp/";
    LinuxDesktop::ChooseFile(path, 1, folder, "wav aif");
    EXPECT_EQ(path, "/data/takes/b c.wav");
    EXPECT_EQ(folder, "/data/takes/");
    const auto args = RecordedArgs();
    ASSERT_GE(args.size(), 4u);
    EXPECT_EQ(args[2], "--save");

    FakeProgram("zenity", 1);
    LinuxDesktop::ChooseFile(path, 0, folder, "wav");
    EXPECT_EQ(path, "");
    EXPECT_EQ(folder, "/data/takes/");
}

TEST_F(LinuxDesktopTest, FoldersEndInASlash)
{
    const std::string host = LinuxDesktop::HostFolder();
    ASSERT_FALSE(host.empty());
    EXPECT_EQ(host.back(), '/');
    char exe[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    EXPECT_EQ(std::string(exe).rfind(host, 0), 0u);
    const std::string plugin = LinuxDesktop::PluginFolder();
    ASSERT_FALSE(plugin.empty());
    EXPECT_EQ(plugin.back(), '/');
    EXPECT_EQ(LinuxDesktop::AppDataFolder(true).back(), '/');
}

TEST(ChildProcess, RunCollectsOutputAndExitCode)
{
    std::string output;
    int code = -2;
    ASSERT_TRUE(ChildProcess::Run({"sh", "-c", "printf 'a b'; exit 3"}, output, code));
    EXPECT_EQ(output, "a b");
    EXPECT_EQ(code, 3);
    EXPECT_FALSE(ChildProcess::Run({"keldra-no-such-program"}, output, code));
    EXPECT_FALSE(ChildProcess::Run({}, output, code));
    EXPECT_TRUE(ChildProcess::IsOnPath("sh"));
    EXPECT_FALSE(ChildProcess::IsOnPath("keldra-no-such-program"));
}

} // namespace
