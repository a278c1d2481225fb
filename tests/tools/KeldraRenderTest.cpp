// SPDX-License-Identifier: GPL-3.0-or-later
// keldra-render run as a program against the built bundle.
#include "ShellCommand.h"
#include "TemporaryFolder.h"
#include "tools/AudioClip.h"
#include "tools/WavFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

class KeldraRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::make_unique<TemporaryFolder>("keldra-render-");
        ASSERT_FALSE(folder->Path().empty());
    }
    void TearDown() override { folder.reset(); }

    std::string Path(const std::string& name) const { return folder->Path(name); }

    RunResult Run(const std::string& args) const
    {
        const std::string out = Path("stdout.txt");
        const std::string err = Path("stderr.txt");
        const std::string command = std::string("'") + KELDRA_RENDER_PATH + "' --plugin '" + KELDRA_BUNDLE_PATH +
                                    "' " + args + " >'" + out + "' 2>'" + err + "'";
        RunResult result;
        result.status = RunShellCommand(command);
        result.out = Slurp(out);
        result.err = Slurp(err);
        std::remove(out.c_str());
        std::remove(err.c_str());
        return result;
    }

    /// Files in the folder other than the ones a test wrote on purpose.
    int FileCount() const { return folder->EntryCount(); }

    static std::string Slurp(const std::string& path)
    {
        std::ifstream file(path);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::string WriteClip(const std::string& name, int channels, long frames, double rate = 44100.0) const
    {
        AudioClip clip;
        clip.channels = channels;
        clip.rate = rate;
        clip.samples.resize(static_cast<size_t>(channels * frames));
        for (long i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c)
                clip.samples[i * channels + c] = static_cast<float>(0.4 * std::sin(0.02 * i * (c + 1)));
        std::string error;
        EXPECT_TRUE(WriteWav(Path(name), clip, error)) << error;
        return Path(name);
    }

    std::unique_ptr<TemporaryFolder> folder;
};

AudioClip ReadBack(const std::string& path)
{
    std::string error;
    long declared = 0;
    auto clip = ReadWav(path, declared, error);
    EXPECT_TRUE(clip) << error;
    EXPECT_EQ(declared, clip ? clip->Frames() : -1) << path;
    return clip ? *clip : AudioClip{};
}

} // namespace

TEST_F(KeldraRender, StereoInputKeepsRateChannelsAndLengthAndReportsLevels)
{
    const std::string in = WriteClip("in.wav", 2, 10000, 44100.0);
    const RunResult run = Run("'" + in + "' '" + Path("out.wav") + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("levels in:"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("levels out:"), std::string::npos) << run.out;
    const AudioClip out = ReadBack(Path("out.wav"));
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.rate, 44100.0);
    EXPECT_EQ(out.Frames(), 10000);
}

TEST_F(KeldraRender, MonoInputStaysMonoInBothPrecisions)
{
    const std::string in = WriteClip("mono.wav", 1, 3000);
    ASSERT_EQ(Run("'" + in + "' '" + Path("o32.wav") + "'").status, 0);
    ASSERT_EQ(Run("--precision 64 --block 100 '" + in + "' '" + Path("o64.wav") + "'").status, 0);
    const AudioClip a = ReadBack(Path("o32.wav"));
    const AudioClip b = ReadBack(Path("o64.wav"));
    ASSERT_EQ(a.channels, 1);
    ASSERT_EQ(b.channels, 1);
    ASSERT_EQ(a.samples.size(), b.samples.size());
    for (size_t i = 0; i < a.samples.size(); ++i)
        ASSERT_NEAR(a.samples[i], b.samples[i], 1e-5) << "frame " << i;
}

TEST_F(KeldraRender, HostBypassCopiesTheInputExactly)
{
    const std::string in = WriteClip("in.wav", 2, 5000);
    ASSERT_EQ(Run("--bypass '" + in + "' '" + Path("out.wav") + "'").status, 0);
    EXPECT_EQ(ReadBack(Path("out.wav")).samples, ReadBack(in).samples);
}

TEST_F(KeldraRender, OutputGainScalesTheRenderedSignal)
{
    ASSERT_EQ(Run("--demo 0.5 '" + Path("flat.wav") + "'").status, 0);
    ASSERT_EQ(Run("--demo 0.5 --set OUT=-6 '" + Path("quiet.wav") + "'").status, 0);
    const AudioClip flat = ReadBack(Path("flat.wav"));
    const AudioClip quiet = ReadBack(Path("quiet.wav"));
    ASSERT_EQ(flat.samples.size(), quiet.samples.size());
    const double gain = std::pow(10.0, -6.0 / 20.0);
    double energy = 0.0;
    for (size_t i = 0; i < flat.samples.size(); ++i) {
        ASSERT_NEAR(quiet.samples[i], gain * flat.samples[i], 1e-5) << "sample " << i;
        energy += flat.samples[i] * flat.samples[i];
    }
    EXPECT_GT(energy, 100.0);
}

TEST_F(KeldraRender, BadInputsEndWithOneMessageAndNoOutputFile)
{
    const std::string three = Path("three.wav");
    {
        AudioClip clip;
        clip.channels = 3;
        clip.rate = 48000.0;
        clip.samples.assign(300, 0.1f);
        std::string error;
        ASSERT_TRUE(WriteWav(three, clip, error)) << error;
    }
    const std::string in = WriteClip("in.wav", 2, 1000);
    std::ofstream(Path("junk.wav")) << "RIFF but not really";
    const int before = FileCount();
    struct Case {
        std::string args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"'" + Path("missing.wav") + "' '" + Path("out.wav") + "'", "cannot read"},
        {"'" + Path("junk.wav") + "' '" + Path("out.wav") + "'", "cannot read"},
        {"'" + three + "' '" + Path("out.wav") + "'", "3 channels"},
        {"--set Loudness=3 '" + in + "' '" + Path("out.wav") + "'", "unknown parameter 'Loudness'"},
        {"--set 12=0 '" + in + "' '" + Path("out.wav") + "'", "unknown parameter '12'"},
        {"--set OUT=99 '" + in + "' '" + Path("out.wav") + "'", "outside its range"},
        {"--set OUT=abc '" + in + "' '" + Path("out.wav") + "'", "not a number"},
        {"'" + in + "' '" + Path("no/such/folder/out.wav") + "'", "cannot write"},
        // A later --plugin replaces the one every run is given.
        {"--plugin /no/such/KELDRA.vst3 '" + in + "' '" + Path("out.wav") + "'", "cannot load plug-in"},
    };
    for (const Case& c : cases) {
        const RunResult run = Run(c.args);
        EXPECT_NE(run.status, 0) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
        EXPECT_EQ(run.err.find("keldra-render: "), 0u) << run.err;
        EXPECT_EQ(FileCount(), before) << c.args;
    }
}

TEST_F(KeldraRender, ListShowsEveryPublishedParameter)
{
    const RunResult run = Run("--list");
    ASSERT_EQ(run.status, 0) << run.err;
    int lines = 0;
    for (char c : run.out)
        lines += c == '\n';
    EXPECT_EQ(lines, 11) << run.out;  // heading and ten parameters
    for (const char* text : {"0x70727374", "0x62706173", "OUT", "-15 .. 15", "0.00", "GainM", "0.02 .. 0.98", "0.50",
                             "LPF", "-0.3 .. 0", "(none)"})
        EXPECT_NE(run.out.find(text), std::string::npos) << text << "\n" << run.out;
}
