// SPDX-License-Identifier: GPL-3.0-or-later
// keldra-render run as a program against the built bundle.
#include "ShellCommand.h"
#include "TemporaryFolder.h"
#include "tools/AudioClip.h"
#include "tools/WavFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

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
        const std::string command = runAs + "'" + KELDRA_RENDER_PATH + "' --plugin '" + KELDRA_BUNDLE_PATH + "' " +
                                    args + " >'" + out + "' 2>'" + err + "'";
        RunResult result;
        result.status = RunShellCommand(command);
        result.out = Slurp(out, true);  // what a render to '-' wrote
        result.err = Slurp(err);
        std::remove(out.c_str());
        std::remove(err.c_str());
        return result;
    }

    /// Files in the folder other than the ones a test wrote on purpose.
    int FileCount() const { return folder->EntryCount(); }

    /// The file's text, or with `binary` its bytes unchanged on every system.
    static std::string Slurp(const std::string& path, bool binary = false)
    {
        std::ifstream file(path, binary ? std::ios::binary : std::ios::in);
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

    /// Keeps the first `dataBytes` bytes of the file's audio data (the
    /// header, as libsndfile wrote it, still claims them all) and, when
    /// `claimedBytes` is given, makes the header claim that much instead.
    void CutData(const std::string& path, size_t dataBytes, std::optional<uint32_t> claimedBytes = {}) const
    {
        std::string bytes = Slurp(path, true);
        const size_t data = bytes.find("data");
        ASSERT_NE(data, std::string::npos);
        bytes.resize(data + 8 + dataBytes);
        if (claimedBytes)
            for (int i = 0; i < 4; ++i)
                bytes[data + 4 + i] = static_cast<char>(*claimedBytes >> (8 * i));
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

    /// Sets the header's 16- or 32-bit field at `offset` (from the file's start).
    void Patch(const std::string& path, size_t offset, uint32_t value, int bytes) const
    {
        std::string data = Slurp(path, true);
        for (int i = 0; i < bytes; ++i) data[offset + i] = static_cast<char>(value >> (8 * i));
        std::ofstream(path, std::ios::binary | std::ios::trunc) << data;
    }

    std::unique_ptr<TemporaryFolder> folder;
    std::string runAs;  ///< put before the program in the command line
};

AudioClip ReadBack(const std::string& path)
{
    std::string error;
    int64_t declared = 0;
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
    // Half a stereo float frame: the header is whole, no frame is.
    CutData(WriteClip("empty.wav", 2, 1000), 4);
#ifdef _WIN32
    ASSERT_TRUE(CreateHardLinkA(Path("alias.wav").c_str(), in.c_str(), nullptr));
#else
    ASSERT_EQ(link(in.c_str(), Path("alias.wav").c_str()), 0);
#endif
    // Folders where a file is to be written, one with a name of each kind.
    for (const char* name : {"plots.svg", "panel.png", "folder.wav"})
        ASSERT_TRUE(std::filesystem::create_directory(Path(name))) << name;
    const std::vector<float> original = ReadBack(in).samples;
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
        {"'" + in + "' '" + Path("folder.wav") + "'", Path("folder.wav") + " is a folder"},
        {"'" + in + "' '" + folder->Path() + "'", " is a folder"},
        {"--response '" + Path("plots.svg") + "'", Path("plots.svg") + " is a folder"},
        {"--panel '" + Path("panel.png") + "'", Path("panel.png") + " is a folder"},
        {"'" + Path("empty.wav") + "' '" + Path("out.wav") + "'", "holds no complete audio frame"},
        // The same file under another spelling or another name is still the input.
        {"'" + in + "' '" + folder->Path() + "/./in.wav'", "is the input file itself"},
        {"'" + in + "' '" + Path("alias.wav") + "'", "is the input file itself"},
        {"--panel '" + Path("alias.wav") + "' '" + in + "' '" + Path("out.wav") + "'", "is the input file itself"},
        {"--response '" + Path("out.png") + "'", "FILE.svg or FILE.csv"},
        {"--response '" + Path("no/such/folder/r.svg") + "'", "cannot write"},
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
    EXPECT_EQ(ReadBack(in).samples, original);

    // An output that cannot be opened gets the system's own words: on
    // Windows its message for the error ("The system cannot find the path
    // specified", which Wine words "Path not found"), not the C library's.
    const std::string missing = Run("'" + in + "' '" + Path("no/such/folder/out.wav") + "'").err;
#ifdef _WIN32
    EXPECT_TRUE(missing.find("cannot find the path") != std::string::npos ||
                missing.find("Path not found") != std::string::npos)
        << missing;
#else
    EXPECT_NE(missing.find("No such file or directory"), std::string::npos) << missing;
#endif
}

TEST_F(KeldraRender, InputShorterThanItsHeaderRendersWhatItHoldsAndSaysSo)
{
    // Cut inside the data (1000 frames claimed, 500 and a half held), and a
    // header that claims twice what the file holds.
    const std::string cut = WriteClip("cut.wav", 2, 1000);
    CutData(cut, 500 * 8 + 4);
    const std::string lying = WriteClip("lying.wav", 1, 1000);
    CutData(lying, 1000 * 4, 2000 * 4);
    struct Case {
        std::string in;
        long found;
        std::string note;
    };
    for (const Case& c : {Case{cut, 500, "1000 frames expected, 500 found"},
                          Case{lying, 1000, "2000 frames expected, 1000 found"}}) {
        const RunResult run = Run("'" + c.in + "' '" + Path("out.wav") + "'");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.err.find(c.note), std::string::npos) << run.err;
        EXPECT_EQ(ReadBack(Path("out.wav")).Frames(), c.found);
    }
    // A whole file says nothing.
    const RunResult whole = Run("'" + WriteClip("whole.wav", 2, 1000) + "' '" + Path("out.wav") + "'");
    ASSERT_EQ(whole.status, 0);
    EXPECT_EQ(whole.err, "");
}

TEST_F(KeldraRender, SamplesThatAreNotNumbersRenderAsSilenceAndAreCounted)
{
    // What 16-bit data labelled as float reads as: infinities and NaNs among
    // ordinary samples. They render exactly as zeros there would.
    const std::string clean = WriteClip("clean.wav", 2, 1000);
    AudioClip clip = ReadBack(clean);
    for (size_t i : {10u, 11u, 1501u}) clip.samples[i] = 0.0f;
    std::string error;
    ASSERT_TRUE(WriteWav(clean, clip, error)) << error;
    clip.samples[10] = INFINITY;
    clip.samples[11] = -INFINITY;
    clip.samples[1501] = NAN;
    ASSERT_TRUE(WriteWav(Path("odd.wav"), clip, error)) << error;

    const RunResult odd = Run("'" + Path("odd.wav") + "' '" + Path("odd-out.wav") + "'");
    ASSERT_EQ(odd.status, 0) << odd.err;
    EXPECT_NE(odd.err.find(Path("odd.wav") + ": 3 of its 2000 samples are not finite numbers; rendered as silence"),
              std::string::npos)
        << odd.err;
    const RunResult zeros = Run("'" + clean + "' '" + Path("clean-out.wav") + "'");
    ASSERT_EQ(zeros.status, 0) << zeros.err;
    EXPECT_EQ(zeros.err, "");
    EXPECT_EQ(ReadBack(Path("odd-out.wav")).samples, ReadBack(Path("clean-out.wav")).samples);
}

TEST_F(KeldraRender, FileNamesInAnyScriptAreReadAndWritten)
{
    // Latin, Cyrillic, CJK and an emoji outside the basic plane: no code
    // page holds them all, so only wide (or UTF-8) file functions pass them.
    const std::string in = WriteClip("Klänge-звук-音.wav", 2, 1000);
    const std::string out = Path("Ausgabe-出力-🎵.wav");
    const RunResult run = Run("'" + in + "' '" + out + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("wrote " + out + ": 2 channels"), std::string::npos) << run.out;
    EXPECT_EQ(ReadBack(out).Frames(), 1000);
    EXPECT_FALSE(ReadBack(in).samples.empty());
}

TEST_F(KeldraRender, MeasuredResponseShowsTheCircuitsStatedGains)
{
    const auto measure = [&](const std::string& name, const std::string& args) {
        const RunResult run = Run(args + " --response '" + Path(name) + "'");
        EXPECT_EQ(run.status, 0) << run.err;
        std::map<double, double> curve;
        std::istringstream csv(Slurp(Path(name)));
        std::string line;
        std::getline(csv, line);
        EXPECT_EQ(line, "frequency_hz,gain_db");
        double hz = 0.0, db = 0.0;
        char comma = 0;
        while (csv >> hz >> comma >> db)
            curve[hz] = db;
        return curve;
    };
    const auto flat = measure("default.csv", "");
    const auto treble = measure("treble.csv", "--set GainH=1");
    const auto mid = measure("mid.csv", "--set GainM=0.98");
    ASSERT_GT(flat.size(), 120u);
    // From below 20 Hz to 20 kHz, no step wider than 1/12 octave.
    EXPECT_LE(flat.begin()->first, 20.0);
    EXPECT_GE(flat.rbegin()->first, 19900.0);
    for (auto a = flat.begin(), b = std::next(a); b != flat.end(); ++a, ++b)
        EXPECT_LE(b->first / a->first, std::pow(2.0, 1.0 / 12.0)) << a->first;

    EXPECT_NEAR(flat.at(100.0), 1.60, 0.05);
    EXPECT_NEAR(flat.at(1000.0), 1.38, 0.05);
    EXPECT_NEAR(treble.at(10000.0) - flat.at(10000.0), 13.31, 0.05);
    double peak = -100.0;
    for (const auto& [hz, db] : mid)
        if (hz > 2000.0 && hz < 3200.0)
            peak = std::max(peak, db - flat.at(hz));
    EXPECT_NEAR(peak, 15.44, 0.05);
    // HPF 0 (the default) is 3 dB below the 1 kHz level at 12.4 Hz,
    // read between the points around it on a log frequency scale.
    const auto above = flat.lower_bound(12.4);
    ASSERT_NE(above, flat.begin());
    const auto below = std::prev(above);
    const double t = std::log(12.4 / below->first) / std::log(above->first / below->first);
    EXPECT_NEAR(below->second + t * (above->second - below->second) - flat.at(1000.0), -3.0, 0.05);
}

TEST_F(KeldraRender, ListShowsEveryPublishedParameter)
{
    const RunResult run = Run("--list");
    ASSERT_EQ(run.status, 0) << run.err;
    int lines = 0;
    for (char c : run.out)
        lines += c == '\n';
    EXPECT_EQ(lines, 11) << run.out;  // heading and ten parameters
    for (const char* text : {"0x70727374", "0x62706173", "OUT", "-15 .. 15", "0.00", "GainM", "0.02 .. 0.98", "0.0 dB",
                             "LPF", "-0.3 .. 0", "Oversampling"})
        EXPECT_NE(run.out.find(text), std::string::npos) << text << "\n" << run.out;
}

TEST_F(KeldraRender, OutputsThroughLinksPipesAndDevicesAreWrittenAndNeverReplaced)
{
    constexpr long kFrames = 4800;  // --demo 0.1 at 48 kHz: 38 kB, less than a pipe holds
    const auto expectRender = [&](const RunResult& run, const std::string& bytes, const std::string& what) {
        EXPECT_EQ(run.status, 0) << what << "\n" << run.err;
        std::ofstream(Path("received.wav"), std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_EQ(ReadBack(Path("received.wav")).Frames(), kFrames) << what;
    };
#ifndef _WIN32
    // As an ordinary user, as most runs are: a regression then cannot
    // replace /dev/null for the whole machine.
    if (geteuid() == 0) {
        runAs = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
        ASSERT_EQ(chmod(folder->Path().c_str(), 0777), 0);
    }
    // A symbolic link stays one; its target, a folder down, is replaced whole.
    ASSERT_TRUE(std::filesystem::create_directory(Path("takes")));
    ASSERT_EQ(chmod(Path("takes").c_str(), 0777), 0);
    std::ofstream(Path("takes/target.wav")) << "old take";
    ASSERT_EQ(chmod(Path("takes/target.wav").c_str(), 0666), 0);
    std::filesystem::create_symlink("takes/target.wav", Path("link.wav"));
    const RunResult toLink = Run("--demo 0.1 '" + Path("link.wav") + "'");
    expectRender(toLink, Slurp(Path("takes/target.wav"), true), "link");
    EXPECT_EQ(std::filesystem::read_symlink(Path("link.wav")), "takes/target.wav");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("takes")), {}), 1);

    // The pipe's reader gets the whole file; the pipe stays a pipe. Opened
    // here without waiting, so a run that never writes cannot hang the test.
    ASSERT_EQ(mkfifo(Path("pipe.wav").c_str(), 0666), 0);
    ASSERT_EQ(chmod(Path("pipe.wav").c_str(), 0666), 0);
    const int reader = open(Path("pipe.wav").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const RunResult toPipe = Run("--demo 0.1 '" + Path("pipe.wav") + "'");
    std::string piped;
    char buffer[4096];
    for (ssize_t got; (got = read(reader, buffer, sizeof buffer)) > 0;) piped.append(buffer, size_t(got));
    close(reader);
    expectRender(toPipe, piped, "pipe");

    // Neither a file, a pipe nor a device: refused, and left where it is.
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", Path("socket.wav").c_str());
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const RunResult toSocket = Run("--demo 0.1 '" + Path("socket.wav") + "'");
    EXPECT_NE(toSocket.status, 0);
    EXPECT_NE(toSocket.err.find(Path("socket.wav") + ": it is neither a regular file nor a pipe or character device"),
              std::string::npos)
        << toSocket.err;
    close(listener);

    struct stat info{};
    EXPECT_TRUE(lstat(Path("pipe.wav").c_str(), &info) == 0 && S_ISFIFO(info.st_mode));
    EXPECT_TRUE(lstat(Path("socket.wav").c_str(), &info) == 0 && S_ISSOCK(info.st_mode));
#endif
    // The null device (NUL on Windows) takes the file and stays a device.
    const RunResult toNull = Run("--demo 0.1 /dev/null");
    EXPECT_EQ(toNull.status, 0) << toNull.err;
    EXPECT_NE(toNull.out.find("levels out:"), std::string::npos) << toNull.out;
#ifndef _WIN32
    EXPECT_TRUE(stat("/dev/null", &info) == 0 && S_ISCHR(info.st_mode));
#endif
    // Standard output carries the file alone; the report goes to standard error.
    const RunResult toStandardOutput = Run("--demo 0.1 -");
    expectRender(toStandardOutput, toStandardOutput.out, "standard output");
    EXPECT_NE(toStandardOutput.err.find("levels out:"), std::string::npos) << toStandardOutput.err;
}

TEST_F(KeldraRender, DamagedHeadersAreRefusedNamingTheFault)
{
    // Offsets in the header WriteClip writes: the format chunk's id, then its
    // sample rate and block align.
    constexpr size_t kFormatId = 12;
    constexpr size_t kRate = 24;
    constexpr size_t kBlockAlign = 32;
    const std::string noFormat = WriteClip("no-format.wav", 2, 1000);
    Patch(noFormat, kFormatId, 0x6B6E756A, 4);  // "junk": a chunk readers skip
    const std::string rateZero = WriteClip("rate-0.wav", 2, 1000);
    Patch(rateZero, kRate, 0, 4);
    // Above 2^31 Hz: a signed 32-bit rate (and Windows' long) cannot hold it.
    const std::string rate4GHz = WriteClip("rate-4GHz.wav", 2, 1000);
    Patch(rate4GHz, kRate, 4000000000u, 4);
    struct Case {
        std::string in;
        std::string message;
    };
    for (const Case& c :
         {Case{noFormat, "it has no format chunk before its sample data"},
          Case{rateZero, "its header gives a sample rate of 0 Hz"},
          Case{rate4GHz, "its sample rate of 4000000000 Hz is above the highest it can take, 2147483647 Hz"}}) {
        const RunResult run = Run("'" + c.in + "' '" + Path("out.wav") + "'");
        EXPECT_NE(run.status, 0) << c.in;
        EXPECT_EQ(run.err, "keldra-render: cannot read " + c.in + ": " + c.message + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(Path("out.wav")));

    // A wrong block align says nothing: the frame size follows from the
    // channels and sample size, and the whole file renders.
    const std::string badAlign = WriteClip("align-1.wav", 2, 1000);
    Patch(badAlign, kBlockAlign, 1, 2);
    const RunResult run = Run("'" + badAlign + "' '" + Path("out.wav") + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadBack(Path("out.wav")).Frames(), 1000);
}
