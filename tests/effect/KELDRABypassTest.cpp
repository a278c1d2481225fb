// SPDX-License-Identifier: GPL-3.0-or-later
// The IN switch and the host's bypass while a knob turns, through the VST3
// process call as a host makes it.
#include "ChainTestSignals.h"
#include "effect/KELDRA.h"
#include "host/HostApplication.h"
#include "host/HostParameterChanges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace chaintest;

constexpr int kBlock = 512;
constexpr double kRate = 48000.0;

enum class BypassKind { InSwitch, Host };

// KELDRA as a host sets it up: 48 kHz stereo in blocks of kBlock frames. The
// IN switch is driven in single precision into separate output arrays, the
// host's bypass in double precision in place, where a bypass that wrote the
// output first would lose its input.
class HostedKeldra {
public:
    HostedKeldra(BypassKind kind, double oversampling) : mKind(kind)
    {
        mEffect->initialize(&mApp);
        mEffect->activateBus(kAudio, kInput, 0, true);
        mEffect->activateBus(kAudio, kOutput, 0, true);
        ProcessSetup setup{kRealtime, single() ? kSample32 : kSample64, kBlock, kRate};
        mEffect->setupProcessing(setup);
        mEffect->setActive(true);
        mChanges.Add(ToIndex(KeldraParamId::kOversampling), oversampling);
    }
    ~HostedKeldra()
    {
        mEffect->setActive(false);
        mEffect->terminate();
        mEffect->release();
    }
    HostedKeldra(const HostedKeldra&) = delete;
    HostedKeldra& operator=(const HostedKeldra&) = delete;

    void bypass(bool on)
    {
        const ParamID id = mKind == BypassKind::Host ? IEffectVST3::kBypassParamId : ToIndex(KeldraParamId::kBypass);
        mChanges.Add(id, on ? 1.0 : 0.0);
    }
    void knob(KeldraParamId id, double normalized) { mChanges.Add(ToIndex(id), normalized); }

    // One process call over frames [start, start + kBlock) with the changes
    // made since the last one.
    void process(const std::vector<double>* in, std::vector<double>* out, int start)
    {
        std::vector<float> in32[2], out32[2];
        float* inArrays32[2];
        float* outArrays32[2];
        double* inPlace64[2];
        for (int c = 0; c < 2; ++c) {
            in32[c].assign(in[c].begin() + start, in[c].begin() + start + kBlock);
            out32[c].assign(kBlock, 0.0f);
            inArrays32[c] = in32[c].data();
            outArrays32[c] = out32[c].data();
            std::copy(in[c].begin() + start, in[c].begin() + start + kBlock, out[c].begin() + start);
            inPlace64[c] = out[c].data() + start;
        }
        AudioBusBuffers inBus, outBus;
        inBus.numChannels = outBus.numChannels = 2;
        if (single()) {
            inBus.channelBuffers32 = inArrays32;
            outBus.channelBuffers32 = outArrays32;
        } else {
            inBus.channelBuffers64 = outBus.channelBuffers64 = inPlace64;
        }
        ProcessData data;
        data.symbolicSampleSize = single() ? kSample32 : kSample64;
        data.numSamples = kBlock;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
        data.inputParameterChanges = &mChanges;
        mEffect->process(data);
        mChanges.Clear();
        for (int c = 0; c < 2 && single(); ++c)
            std::copy(out32[c].begin(), out32[c].end(), out[c].begin() + start);
    }

private:
    bool single() const { return mKind == BypassKind::InSwitch; }

    BypassKind mKind;
    HostApplication mApp;
    KELDRA* mEffect = new KELDRA(); // reference counted: released above
    HostParameterChanges mChanges;
};

// Before the fix the sections stood still under bypass while their
// coefficients glided on: GainL 1 → 0 left a burst of 238 at 0.1 in.
TEST(KeldraBypass, LeavingBypassAfterAKnobTurnedGivesExactlyTheOutputOfNeverBypassing)
{
    struct Turn {
        KeldraParamId knob;
        double from, to; // normalised
    };
    const Turn turns[] = {
        {KeldraParamId::kOut, 1.0, 0.0},      {KeldraParamId::kHighPass, 1.0, 0.0},
        {KeldraParamId::kLowPass, 0.0, 1.0},  {KeldraParamId::kGainHigh, 1.0, 0.0},
        {KeldraParamId::kGainMid, 1.0, 0.0},  {KeldraParamId::kGainLow, 1.0, 0.0},
        {KeldraParamId::kGainLow, 0.5, 0.4},
    };
    // A quarter second in, bypassed while the knob turns for 0.4 s, then a
    // quarter second in again (any difference shows at once); 0.1 peak,
    // float-exact, so single-precision hosts carry it unchanged.
    const int settleBlocks = 24, turnBlocks = 38, blocks = settleBlocks + turnBlocks + 24;
    const int frames = blocks * kBlock;
    std::vector<double> in[2] = {sine(frames, 0.1, 100.0, kRate), noise(frames, 0.1, 17)};
    for (std::vector<double>& channel : in)
        for (double& x : channel)
            x = static_cast<float>(x);
    const int bypassStart = settleBlocks * kBlock, bypassEnd = bypassStart + turnBlocks * kBlock;
    // Each switch cross-fades; the comparisons start where the fades end.
    const int fade = static_cast<int>(std::lround(BypassFade::kSeconds * kRate));

    for (const BypassKind kind : {BypassKind::InSwitch, BypassKind::Host}) {
        for (const double oversampling : {0.0, 1.0}) {
            for (const Turn& turn : turns) {
                HostedKeldra gesture(kind, oversampling), never(kind, oversampling);
                std::vector<double> out[2] = {in[0], in[1]}, reference[2] = {in[0], in[1]};
                for (int b = 0; b < blocks; ++b) {
                    const int turned = std::min(std::max(b - settleBlocks + 1, 0), turnBlocks);
                    const double position = turn.from + (turn.to - turn.from) * turned / turnBlocks;
                    for (HostedKeldra* effect : {&gesture, &never})
                        effect->knob(turn.knob, position);
                    if (b == settleBlocks || b == settleBlocks + turnBlocks)
                        gesture.bypass(b == settleBlocks);
                    gesture.process(in, out, b * kBlock);
                    never.process(in, reference, b * kBlock);
                }
                const std::string what = (kind == BypassKind::Host ? "host bypass, " : "IN switch, ") +
                                         std::string("oversampling ") + (oversampling != 0.0 ? "16" : "4") +
                                         ", parameter " + std::to_string(ToIndex(turn.knob)) + " from " +
                                         std::to_string(turn.from) + " to " + std::to_string(turn.to);
                for (int c = 0; c < 2; ++c) {
                    const size_t bypassed = (bypassEnd - bypassStart - fade) * sizeof(double);
                    const size_t after = (frames - bypassEnd - fade) * sizeof(double);
                    EXPECT_EQ(0, std::memcmp(out[c].data() + bypassStart + fade, in[c].data() + bypassStart + fade,
                                             bypassed))
                        << what;
                    EXPECT_EQ(0, std::memcmp(out[c].data() + bypassEnd + fade, reference[c].data() + bypassEnd + fade,
                                             after))
                        << what << ": peak after leaving bypass " << peak(out[c], bypassEnd)
                        << ", never bypassed " << peak(reference[c], bypassEnd);
                }
            }
        }
    }
}

} // namespace
