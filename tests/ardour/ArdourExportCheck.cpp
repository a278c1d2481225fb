// SPDX-License-Identifier: GPL-3.0-or-later
// keldra-ardour-check BUNDLE EXPORT.wav [NAME=VALUE]...
//
// Checks an export made by a real host: a stereo track fed by the host's
// 1 kHz, -18 dBFS sine generator through KELDRA with the given settings. The
// same sine is rendered through the bundle with the host library; once both
// have settled (after two seconds), every exported sample must match the reference (shifted by
// the generator's unknown start phase, a whole number of samples) within
// single-precision tolerance.
#include "host/PluginInstance.h"
#include "tools/OfflineRenderer.h"
#include "tools/OpenedPlugin.h"
#include "tools/RenderOptions.h"
#include "tools/WavFile.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double kToneHz = 1000.0;
constexpr float kToneDb = -18.0f;
constexpr double kTolerance = 1e-5;

int Fail(const std::string& message)
{
    std::fprintf(stderr, "keldra-ardour-check: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Fail("usage: keldra-ardour-check BUNDLE EXPORT.wav [NAME=VALUE]...");
    std::string error;
    long declared = 0;
    const auto exported = ReadWav(argv[2], declared, error);
    if (!exported)
        return Fail(error);
    if (declared != exported->Frames())
        return Fail("the export holds fewer frames than its header claims");
    const int period = static_cast<int>(std::lround(exported->rate / kToneHz));
    if (exported->channels != 2 || std::fabs(period * kToneHz - exported->rate) > 1e-9)
        return Fail("expected a stereo export at a multiple of 1 kHz");
    const long frames = exported->Frames();
    // The parameter smoothers settle with time constants below 80 ms; after
    // two seconds nothing of the approach is left in single precision.
    const long settled = static_cast<long>(2 * exported->rate);
    if (frames < settled + 10 * period)
        return Fail("export too short");

    RenderOptions options;
    for (int i = 3; i < argc; ++i) {
        const auto setting = ParseSetting(argv[i], error);
        if (!setting)
            return Fail(error);
        options.settings.push_back(*setting);
    }

    // The generator's sine: a float gain coefficient times a double sine,
    // stored as float.
    const double gain = std::pow(10.0f, kToneDb * 0.05f);
    AudioClip tone;
    tone.channels = 2;
    tone.rate = exported->rate;
    tone.samples.resize(static_cast<size_t>(2 * settled * 2));
    for (long n = 0; n < 2 * settled; ++n) {
        const float s = static_cast<float>(gain * std::sin(2.0 * M_PI * static_cast<double>(n % period) / period));
        tone.samples[2 * n] = tone.samples[2 * n + 1] = s;
    }

    auto opened = OpenedPlugin::Open(argv[1], "keldra-ardour-check", error);
    if (!opened)
        return Fail(error);
    PluginInstance& plugin = opened->Instance();
    const auto settings = ResolveSettings(plugin, options, error);
    if (!settings)
        return Fail(error);
    ProcessSettings setup;
    setup.sampleRate = tone.rate;
    setup.maxBlock = 512;
    setup.processMode = Steinberg::Vst::kOffline;
    if (!plugin.Setup(setup, error))
        return Fail(error);
    const AudioClip reference = RenderClip(plugin, tone, 512, *settings, {});

    // One settled period of the reference, then the best whole-sample shift.
    const long last = reference.Frames() - period;
    double best = 1e9;
    int bestShift = 0;
    double energy = 0.0;
    for (int shift = 0; shift < period; ++shift) {
        double worst = 0.0;
        for (long n = settled; n < frames && worst < best; ++n)
            for (int c = 0; c < 2; ++c) {
                const double want = reference.samples[2 * (last + (n + shift) % period) + c];
                worst = std::max(worst, std::fabs(exported->samples[2 * n + c] - want));
            }
        if (worst < best) {
            best = worst;
            bestShift = shift;
        }
    }
    long worstFrame = settled;
    double worstDiff = 0.0;
    for (long n = settled; n < frames; ++n) {
        energy += exported->samples[2 * n] * exported->samples[2 * n];
        for (int c = 0; c < 2; ++c) {
            const double diff = std::fabs(exported->samples[2 * n + c] -
                                          reference.samples[2 * (last + (n + bestShift) % period) + c]);
            if (diff > worstDiff) {
                worstDiff = diff;
                worstFrame = n;
            }
        }
    }
    std::printf("largest difference %.3g at %.4f s (shift %d of %d), export energy %.3g\n", best,
                static_cast<double>(worstFrame) / exported->rate, bestShift, period, energy);
    if (energy < 1.0)
        return Fail("the export is (nearly) silent");
    if (best > kTolerance)
        return Fail("the export differs from the host library's rendering");
    return 0;
}
