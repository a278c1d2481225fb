// SPDX-License-Identifier: GPL-3.0-or-later
// Output files appear whole or not at all, even when the disk fills up.
#include "raster/PIX_MemBitmap.h"
#include "tools/PngWriter.h"
#include "tools/WavFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/resource.h>

namespace {

/// Runs `write` with files limited to `bytes` (writes beyond fail as on a
/// full disk), then lifts the limit again.
bool WithFileSizeLimit(rlim_t bytes, const std::function<bool()>& write)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    const bool result = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}

std::vector<std::string> FilesIn(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* entry = readdir(d))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        closedir(d);
    }
    return names;
}

std::string Contents(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST(WholeFile, AWriteThatRunsOutOfSpaceLeavesTheOldFileAndNoPartBehind)
{
    char folder[] = "/tmp/keldra-whole-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    const std::string png = dir + "/panel.png";
    const std::string wav = dir + "/out.wav";
    std::ofstream(png) << "old panel";

    PIX_MemBitmap noise;
    ASSERT_TRUE(noise.Resize(200, 200));
    std::srand(7);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            noise.Pixels()[y * noise.RowStride() + x] = (uint32_t(std::rand()) << 16) ^ uint32_t(std::rand());
    AudioClip clip;
    clip.channels = 2;
    clip.rate = 48000.0;
    clip.samples.assign(20000, 0.5f);

    std::string error;
    EXPECT_FALSE(WithFileSizeLimit(4096, [&] { return WritePng(noise, png, error); }));
    EXPECT_NE(error.find(png), std::string::npos) << error;
    EXPECT_FALSE(WithFileSizeLimit(4096, [&] { return WriteWav(wav, clip, error); }));
    EXPECT_NE(error.find(wav), std::string::npos) << error;
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>({"panel.png"}));
    EXPECT_TRUE(Contents(png) == "old panel") << "the old file was overwritten";

    ASSERT_TRUE(WritePng(noise, png, error)) << error;
    ASSERT_TRUE(WriteWav(wav, clip, error)) << error;
    EXPECT_EQ(FilesIn(dir).size(), 2u);
    std::system(("rm -rf '" + dir + "'").c_str());
}
