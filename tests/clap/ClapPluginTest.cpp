// SPDX-License-Identifier: GPL-3.0-or-later
// KELDRA.clap through its C entry point alone, as a CLAP host drives it:
// identity, ports, parameter events at their sample offsets, flush, texts
// and a process call that allocates nothing.
#include "AllocationCounter.h"
#include "ClapTestHost.h"
#include "framework/BypassFade.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr clap_id kOut = 0;
constexpr clap_id kGainHigh = 3;
constexpr clap_id kHostBypass = 0x62706173;
constexpr double kTwoPi = 6.283185307179586;

/// Two channels of `frames` samples: a decaying 1 kHz tone, different per channel.
std::vector<std::vector<double>> TestSignal(int frames)
{
    std::vector<std::vector<double>> signal(2, std::vector<double>(static_cast<size_t>(frames)));
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < frames; ++i)
            signal[c][i] = 0.3 * std::sin(kTwoPi * 1000.0 * i / 48000.0 + c) * std::exp(-i / 3000.0);
    return signal;
}

/// Renders `signal` in 64-bit through a fresh instance, in calls of the
/// given lengths, each with its own events (times relative to the call).
std::vector<std::vector<double>> Render(const std::vector<std::vector<double>>& signal,
                                        const std::vector<uint32_t>& calls,
                                        const std::vector<ClapTestHost::ParamValues>& events)
{
    ClapTestHost host(KELDRA_CLAP_PATH);
    EXPECT_TRUE(host.Ready()) << host.Error();
    EXPECT_TRUE(host.Activate(48000.0, 512));
    std::vector<std::vector<double>> out(2, std::vector<double>(signal[0].size()));
    std::vector<double> in0 = signal[0], in1 = signal[1];
    uint32_t done = 0;
    for (size_t k = 0; k < calls.size(); ++k) {
        double* in[2] = {in0.data() + done, in1.data() + done};
        double* result[2] = {out[0].data() + done, out[1].data() + done};
        EXPECT_EQ(host.Process(nullptr, nullptr, in, result, calls[k], events[k]), CLAP_PROCESS_CONTINUE);
        done += calls[k];
    }
    return out;
}

} // namespace

TEST(ClapPlugin, DescribesKeldraWithStereoPortsAndNoLatency)
{
    ClapTestHost host(KELDRA_CLAP_PATH);
    ASSERT_TRUE(host.Ready()) << host.Error();
    EXPECT_EQ(host.Entry().clap_version.major, 1u);
    const clap_plugin_factory_t& factory = host.Factory();
    ASSERT_EQ(factory.get_plugin_count(&factory), 1u);
    const clap_plugin_descriptor_t* descriptor = factory.get_plugin_descriptor(&factory, 0);
    ASSERT_NE(descriptor, nullptr);
    EXPECT_STREQ(descriptor->id, "com.brackenfold.keldra");
    EXPECT_STREQ(descriptor->name, "KELDRA");
    EXPECT_STREQ(descriptor->vendor, "Brackenfold");
    EXPECT_STREQ(descriptor->version, "3.0.0");
    std::vector<std::string> features;
    for (const char* const* f = descriptor->features; *f != nullptr; ++f)
        features.emplace_back(*f);
    EXPECT_EQ(features, (std::vector<std::string>{"audio-effect", "equalizer", "stereo"}));
    EXPECT_EQ(factory.get_plugin_descriptor(&factory, 1), nullptr);
    EXPECT_EQ(factory.create_plugin(&factory, nullptr, "com.brackenfold.keldra"), nullptr);
    ClapTestHost other(KELDRA_CLAP_PATH, "com.brackenfold.other");
    EXPECT_FALSE(other.Ready());

    const clap_plugin_t* plugin = host.Plugin();
    const auto* ports = static_cast<const clap_plugin_audio_ports_t*>(plugin->get_extension(plugin, CLAP_EXT_AUDIO_PORTS));
    ASSERT_NE(ports, nullptr);
    for (bool isInput : {true, false}) {
        ASSERT_EQ(ports->count(plugin, isInput), 1u);
        clap_audio_port_info_t info{};
        ASSERT_TRUE(ports->get(plugin, 0, isInput, &info));
        EXPECT_EQ(info.channel_count, 2u);
        EXPECT_STREQ(info.port_type, CLAP_PORT_STEREO);
        EXPECT_NE(info.flags & CLAP_AUDIO_PORT_IS_MAIN, 0u);
        EXPECT_NE(info.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS, 0u);
        EXPECT_FALSE(ports->get(plugin, 1, isInput, &info));
    }
    const auto* latency = static_cast<const clap_plugin_latency_t*>(plugin->get_extension(plugin, CLAP_EXT_LATENCY));
    ASSERT_NE(latency, nullptr);
    EXPECT_EQ(latency->get(plugin), 0u);
    EXPECT_EQ(plugin->get_extension(plugin, "clap.no-such-extension"), nullptr);
}

TEST(ClapPlugin, ParameterEventsApplyFromTheirOwnSampleOnwards)
{
    const std::vector<std::vector<double>> signal = TestSignal(600);
    using Events = ClapTestHost::ParamValues;
    const Events none;
    // One call with changes at samples 100 and 250 sounds exactly like calls
    // cut at those samples with the changes at their starts.
    const Events inOneCall = {{kOut, 100, 9.0}, {kGainHigh, 100, 0.9},
                              {kHostBypass, 250, 1.0}};
    const auto whole = Render(signal, {600}, {inOneCall});
    const auto cut = Render(signal, {100, 150, 350},
                            {none,
                             {{kOut, 0, 9.0}, {kGainHigh, 0, 0.9}},
                             {{kHostBypass, 0, 1.0}}});
    const auto unchanged = Render(signal, {600}, {none});
    const long faded = 250 + std::lround(BypassFade::kSeconds * 48000.0);
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(whole[c], cut[c]) << "channel " << c;
        // Before sample 100 nothing changed; the host bypass fades to the input from 250 on.
        EXPECT_TRUE(std::equal(whole[c].begin(), whole[c].begin() + 100, unchanged[c].begin()));
        EXPECT_NE(whole[c][150], unchanged[c][150]);
        EXPECT_TRUE(std::equal(whole[c].begin() + faded, whole[c].end(), signal[c].begin() + faded));
    }
}

TEST(ClapPlugin, FlushAppliesValuesAndTextsAreTheVst3TextsWithNonNumbersRefused)
{
    ClapTestHost host(KELDRA_CLAP_PATH);
    ASSERT_TRUE(host.Ready()) << host.Error();
    host.Flush({{kOut, 0, 3.25}, {kHostBypass, 0, 1.0},
                {kGainHigh, 0, std::nan("")}});
    EXPECT_EQ(host.Value(kOut), 3.25);
    EXPECT_EQ(host.Value(kHostBypass), 1.0);
    EXPECT_EQ(host.Value(kGainHigh), 0.5); // NaN never enters a parameter

    const clap_plugin_params_t& params = host.Params();
    const clap_plugin_t* plugin = host.Plugin();
    char text[64] = {};
    ASSERT_TRUE(params.value_to_text(plugin, kOut, 3.25, text, sizeof text));
    EXPECT_STREQ(text, "+3.25 dB");
    ASSERT_TRUE(params.value_to_text(plugin, kHostBypass, 1.0, text, sizeof text));
    EXPECT_STREQ(text, "on");
    EXPECT_FALSE(params.value_to_text(plugin, 99, 0.0, text, sizeof text));

    struct Reading {
        clap_id id;
        const char* text;
        bool accepted;
        double value;
    };
    const Reading readings[] = {
        {kOut, "3.5", true, 3.5},   {kOut, " -2 ", true, -2.0},  {kOut, "99", true, 15.0},
        {kOut, "loud", false, 0.0}, {kOut, "3.5dB", true, 3.5}, {kOut, "", false, 0.0},
        {kOut, "nan", false, 0.0},  {kHostBypass, "on", true, 1.0}, {kHostBypass, "maybe", false, 0.0},
    };
    for (const Reading& r : readings) {
        double value = -123.0;
        EXPECT_EQ(params.text_to_value(plugin, r.id, r.text, &value), r.accepted) << r.text;
        if (r.accepted) {
            EXPECT_EQ(value, r.value) << r.text;
        }
    }
}

TEST(ClapPlugin, ProcessWithEventsAllocatesNothing)
{
    ClapTestHost host(KELDRA_CLAP_PATH);
    ASSERT_TRUE(host.Ready()) << host.Error();
    ASSERT_TRUE(host.Activate(48000.0, 256));
    std::vector<float> a(256, 0.1f), b(256, -0.1f), c(256), d(256);
    float* in[2] = {a.data(), b.data()};
    float* out[2] = {c.data(), d.data()};
    const ClapTestHost::ParamValues events = {
        {kOut, 10, -6.0}, {7, 20, 1.0},
        {kHostBypass, 200, 1.0}};
    host.Process(in, out, nullptr, nullptr, 256, events); // first call warms up
    host.Sent().reserve(16);
    AllocationCounter counter;
    host.Process(in, out, nullptr, nullptr, 256, events);
    host.Process(in, out, nullptr, nullptr, 100, {});
    EXPECT_EQ(counter.Count(), 0);
}

// A host that processes before activating gets silence in both sample sizes,
// never what it left in its arrays, and the events still apply.
TEST(ClapPlugin, ProcessBeforeActivateWritesSilence)
{
    ClapTestHost host(KELDRA_CLAP_PATH);
    ASSERT_TRUE(host.Ready()) << host.Error();
    std::vector<float> a(64, 0.5f), b(64, -0.5f), c(64, 0.7f), d(64, 0.7f);
    float* in32[2] = {a.data(), b.data()};
    float* out32[2] = {c.data(), d.data()};
    EXPECT_EQ(host.Process(in32, out32, nullptr, nullptr, 64, {{kOut, 0, 4.0}}), CLAP_PROCESS_CONTINUE);
    EXPECT_EQ(c, std::vector<float>(64, 0.0f));
    EXPECT_EQ(d, std::vector<float>(64, 0.0f));
    EXPECT_EQ(host.Value(kOut), 4.0);
    std::vector<double> e(64, 0.5), f(64, 0.7), g(64, 0.7);
    double* in64[2] = {e.data(), e.data()};
    double* out64[2] = {f.data(), g.data()};
    EXPECT_EQ(host.Process(nullptr, nullptr, in64, out64, 64, {}), CLAP_PROCESS_CONTINUE);
    EXPECT_EQ(f, std::vector<double>(64, 0.0));
    EXPECT_EQ(g, std::vector<double>(64, 0.0));
}
