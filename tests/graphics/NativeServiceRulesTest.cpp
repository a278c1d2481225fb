// SPDX-License-Identifier: GPL-3.0-or-later
// The platform-neutral rules of the native services: file-dialog filters,
// folder derivation and the steps of opening a web page.
#include "graphics/FileDialogFilter.h"
#include "graphics/FolderRules.h"
#include "graphics/IGraphics.h"
#include "graphics/WebPageOpening.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

TEST(FileDialogFilter, ExtensionsBecomeStarPatterns)
{
    const FileDialogFilter f = FileDialogFilter::FromExtensions("wav  aif flac");
    EXPECT_EQ(f.description, "*.wav;*.aif;*.flac");
    EXPECT_EQ(f.patterns, (std::vector<std::string>{"*.wav", "*.aif", "*.flac"}));
}

TEST(FileDialogFilter, EmptyOrMissingListsGiveNoFilter)
{
    EXPECT_TRUE(FileDialogFilter::FromExtensions(nullptr).patterns.empty());
    EXPECT_TRUE(FileDialogFilter::FromExtensions("   ").description.empty());
}

TEST(FileDialogFilter, AnOverlongFilterEndsOnAWholePattern)
{
    // 60 extensions of 4 characters make 60 × 6 + 59 = 419 characters: only
    // whole patterns up to 255 remain.
    std::string many;
    for (int i = 0; i < 60; ++i) many += "abcd ";
    const FileDialogFilter f = FileDialogFilter::FromExtensions(many.c_str());
    EXPECT_LE(f.description.size(), FileDialogFilter::kMaxFilterLength);
    EXPECT_EQ(f.patterns.size(), 36u); // 36 × 7 − 1 = 251
    EXPECT_EQ(f.description.substr(f.description.size() - 6), "*.abcd");
}

TEST(FolderRules, FolderOfPathKeepsTheLastSeparator)
{
    EXPECT_EQ(FolderRules::FolderOfPath("/usr/bin/host"), "/usr/bin/");
    EXPECT_EQ(FolderRules::FolderOfPath("/host"), "/");
    EXPECT_EQ(FolderRules::FolderOfPath("host"), "");
    EXPECT_EQ(FolderRules::FolderOfPath("/usr/bin/"), "");
    EXPECT_EQ(FolderRules::FolderOfPath("C:\\Hosts\\host.exe", '\\'), "C:\\Hosts\\");
    EXPECT_EQ(FolderRules::FolderOfPath("host.exe", '\\'), "");
}

struct FakeEnv {
    std::map<std::string, std::string> values;
    FolderRules::EnvLookup Lookup() const
    {
        return [this](const char* name) -> const char* {
            const auto it = values.find(name);
            return it == values.end() ? nullptr : it->second.c_str();
        };
    }
};

TEST(FolderRules, DesktopComesFromUserDirsOrHome)
{
    FakeEnv env{{{"HOME", "/home/ann"}}};
    EXPECT_EQ(FolderRules::DesktopFolder(env.Lookup(), ""), "/home/ann/Desktop/");
    EXPECT_EQ(FolderRules::DesktopFolder(env.Lookup(),
                                         "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"),
              "/home/ann/Schreibtisch/");
    EXPECT_EQ(FolderRules::DesktopFolder(env.Lookup(), "XDG_DESKTOP_DIR=\"/data/desk\""),
              "/data/desk/");
    // A relative or unquoted entry is not a folder; the default stands.
    EXPECT_EQ(FolderRules::DesktopFolder(env.Lookup(), "XDG_DESKTOP_DIR=\"desk\""),
              "/home/ann/Desktop/");
    EXPECT_EQ(FolderRules::DesktopFolder(env.Lookup(), "XDG_DESKTOP_DIR=$HOME/x"),
              "/home/ann/Desktop/");
    EXPECT_EQ(FolderRules::DesktopFolder(env.Lookup(), "XDG_DESKTOP_DIR=\"$HOMEx/y\""),
              "/home/ann/Desktop/");
    FakeEnv homeless;
    EXPECT_EQ(FolderRules::DesktopFolder(homeless.Lookup(), ""), "");
}

TEST(FolderRules, UserDirsFileFollowsTheConfigHome)
{
    FakeEnv env{{{"HOME", "/home/ann"}}};
    EXPECT_EQ(FolderRules::UserDirsFile(env.Lookup()), "/home/ann/.config/user-dirs.dirs");
    env.values["XDG_CONFIG_HOME"] = "/cfg/";
    EXPECT_EQ(FolderRules::UserDirsFile(env.Lookup()), "/cfg/user-dirs.dirs");
    env.values["XDG_CONFIG_HOME"] = "relative";
    EXPECT_EQ(FolderRules::UserDirsFile(env.Lookup()), "/home/ann/.config/user-dirs.dirs");
}

TEST(FolderRules, AppDataForUserAndSystem)
{
    FakeEnv env{{{"HOME", "/home/ann"}}};
    EXPECT_EQ(FolderRules::AppDataFolder(env.Lookup(), false), "/home/ann/.local/share/");
    EXPECT_EQ(FolderRules::AppDataFolder(env.Lookup(), true), "/usr/local/share/");
    env.values["XDG_DATA_HOME"] = "/data/ann";
    env.values["XDG_DATA_DIRS"] = "rel:/opt/share:/usr/share";
    EXPECT_EQ(FolderRules::AppDataFolder(env.Lookup(), false), "/data/ann/");
    EXPECT_EQ(FolderRules::AppDataFolder(env.Lookup(), true), "/opt/share/");
    FakeEnv homeless;
    EXPECT_EQ(FolderRules::AppDataFolder(homeless.Lookup(), false), "");
}

/// Platform services that record what was asked of them.
struct FakeWebServices {
    int answer = IGraphics::kMessageYes;
    bool connected = true;
    bool accepts = true;
    std::vector<std::string> calls;

    WebPageServices Services()
    {
        WebPageServices s;
        s.showMessage = [this](const char* text, const char* caption, int type) {
            calls.push_back("message " + std::string(text) + "|" + (caption ? caption : "") + "|"
                            + std::to_string(type));
            return answer;
        };
        s.isConnected = [this] {
            calls.push_back("connected?");
            return connected;
        };
        s.launch = [this](const char* url) {
            calls.push_back(std::string("launch ") + url);
            return accepts;
        };
        return s;
    }
};

TEST(OpenWebPageSteps, OpensWithoutQuestionsWhenNoConfirmationIsAsked)
{
    FakeWebServices f;
    EXPECT_TRUE(OpenWebPageSteps("https://x.test/", "T", nullptr, nullptr, f.Services()));
    EXPECT_EQ(f.calls, (std::vector<std::string>{"connected?", "launch https://x.test/"}));
}

TEST(OpenWebPageSteps, AnsweringNoOpensNothing)
{
    FakeWebServices f;
    f.answer = IGraphics::kMessageNo;
    EXPECT_FALSE(OpenWebPageSteps("https://x.test/", "T", "Open?", "Failed", f.Services()));
    EXPECT_EQ(f.calls, (std::vector<std::string>{"message Open?|T|4"}));
}

TEST(OpenWebPageSteps, FailureTextIsShownWhenOfflineOrRefused)
{
    FakeWebServices offline;
    offline.connected = false;
    EXPECT_FALSE(OpenWebPageSteps("https://x.test/", "T", nullptr, "Failed", offline.Services()));
    EXPECT_EQ(offline.calls, (std::vector<std::string>{"connected?", "message Failed|T|0"}));

    FakeWebServices refused;
    refused.accepts = false;
    EXPECT_FALSE(OpenWebPageSteps("https://x.test/", "T", "Open?", nullptr, refused.Services()));
    EXPECT_EQ(refused.calls, (std::vector<std::string>{"message Open?|T|4", "connected?",
                                                       "launch https://x.test/"}));
}

TEST(OpenWebPageSteps, EmptyAddressOpensNothing)
{
    FakeWebServices f;
    EXPECT_FALSE(OpenWebPageSteps("", "T", nullptr, "Failed", f.Services()));
    EXPECT_FALSE(OpenWebPageSteps(nullptr, "T", nullptr, nullptr, f.Services()));
    EXPECT_TRUE(f.calls.empty());
}

} // namespace
