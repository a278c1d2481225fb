// SPDX-License-Identifier: GPL-3.0-or-later
// The built bundle seen through the host library, as a host sees it.
#include "BundleFixture.h"
#include "Utf16Text.h"
#include "effect/KeldraPresets.h"

#include "host/HostParameterChanges.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <cmath>
#include <cstring>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kPreset = 0x70727374;
constexpr ParamID kBypass = 0x62706173;

std::u16string Text(const TChar* text)
{
    return AsUtf16(text);
}

/// A deterministic stereo test signal of `frames` frames.
std::vector<std::vector<float>> TestSignal(int frames)
{
    std::vector<std::vector<float>> signal(2, std::vector<float>(frames));
    for (int i = 0; i < frames; ++i) {
        signal[0][i] = static_cast<float>(0.5 * std::sin(0.031 * i));
        signal[1][i] = static_cast<float>(0.3 * std::sin(0.0071 * i + 1.0));
    }
    return signal;
}

} // namespace

TEST_F(BundleTest, PublishesTenParametersWithTheirTitlesIdsStepsFlagsAndDefaults)
{
    struct Expected {
        ParamID id;
        std::u16string title;
        int32 steps;
        int32 flags;
        double defaultValue;
    };
    const std::vector<Expected> expected = {
        {kPreset, u"Preset", KeldraPresets::kCount - 1, 0x8008, 0.0},  {kBypass, u"Bypass", 1, 0x10009, 0.0},
        {0, u"OUT", 0, 1, 0.5},                {1, u"HPF", 0, 1, 0.0},
        {2, u"LPF", 0, 1, 1.0},                {3, u"GainH", 0, 1, 0.5},
        {4, u"GainM", 0, 1, 0.5},              {5, u"GainL", 0, 1, 0.5},
        {6, u"Bypass", 1, 1, 0.0},             {7, u"Oversampling", 1, 1, 0.0},
    };
    const auto list = plugin->Parameters();
    ASSERT_EQ(list.size(), expected.size());
    for (size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list[i].id, expected[i].id);
        EXPECT_EQ(Text(list[i].title), expected[i].title);
        EXPECT_EQ(Text(list[i].shortTitle), u"");
        EXPECT_EQ(Text(list[i].units), u"");
        EXPECT_EQ(list[i].stepCount, expected[i].steps);
        EXPECT_EQ(list[i].flags, expected[i].flags);
        EXPECT_NEAR(list[i].defaultNormalizedValue, expected[i].defaultValue, 1e-12);
        EXPECT_EQ(list[i].unitId, 0);
    }
}

TEST_F(BundleTest, ValueTextsAreInTheParametersUnitsWithoutStepRounding)
{
    IEditController* c = plugin->Controller();
    EXPECT_EQ(plugin->ValueText(0, 0.5), "0.00 dB");
    EXPECT_EQ(plugin->ValueText(0, 1.0), "+15.00 dB");
    EXPECT_EQ(plugin->ValueText(0, 0.0), "-15.00 dB");
    EXPECT_EQ(plugin->ValueText(6, 0.4), "Effect in");
    EXPECT_EQ(plugin->ValueText(1, 0.5), "62.4 Hz");  // position 0.8073, between steps
    String128 text{};
    EXPECT_EQ(c->getParamStringByValue(kBypass, 1.0, text), kResultFalse);
    EXPECT_EQ(plugin->ValueText(kPreset, 0.0), "-");  // the preset's name
    EXPECT_EQ(plugin->ValueText(kPreset, 1.0), KeldraPresets::kPresets[KeldraPresets::kCount - 1].name);
    EXPECT_EQ(plugin->ValueText(kPreset, 1.5), "");  // names no preset
    EXPECT_EQ(c->getParamStringByValue(8, 0.0, text), kResultFalse);
    // Values a host should never send still give a text in range.
    EXPECT_EQ(plugin->ValueText(6, std::nan("")), "Effect in");
    EXPECT_EQ(plugin->ValueText(0, 1e300), "+15.00 dB");
}

TEST_F(BundleTest, TextsParseAsNumbersInTheirUnitsAndEveryOtherTextIsRefused)
{
    IEditController* c = plugin->Controller();
    ParamValue normalized = -1.0;
    TChar loud[] = STR16("loud");
    TChar value[] = STR16("3.5");
    TChar infinite[] = STR16("inf");
    ASSERT_EQ(c->getParamValueByString(0, value, normalized), kResultOk);
    EXPECT_NEAR(normalized, 18.5 / 30.0, 1e-12);
    for (ParamID id : {ParamID(0), ParamID(4), kBypass, kPreset})
        EXPECT_EQ(c->getParamValueByString(id, loud, normalized), kResultFalse) << id;
    EXPECT_NEAR(normalized, 18.5 / 30.0, 1e-12);
    EXPECT_NE(c->getParamValueByString(0, infinite, normalized), kResultOk);
    TChar on[] = STR16("on");
    ASSERT_EQ(c->getParamValueByString(kBypass, on, normalized), kResultOk);
    EXPECT_EQ(normalized, 1.0);
}

TEST_F(BundleTest, NormalisedValuesAreStoredOnlyForPluginParameters)
{
    IEditController* c = plugin->Controller();
    EXPECT_EQ(c->setParamNormalized(6, 0.5), kResultOk);
    EXPECT_EQ(c->getParamNormalized(6), 1.0);
    EXPECT_EQ(c->setParamNormalized(kBypass, 1.0), kResultOk);  // shown, not yet processed
    EXPECT_EQ(c->getParamNormalized(kBypass), 1.0);
    EXPECT_EQ(c->setParamNormalized(kPreset, 1.0), kResultFalse);
    EXPECT_EQ(c->getParamNormalized(kPreset), 0.0);
    EXPECT_EQ(c->getParamNormalized(12345), 0.0);
    EXPECT_NEAR(c->plainParamToNormalized(0, 3.5), 18.5 / 30.0, 1e-12);
    EXPECT_EQ(c->plainParamToNormalized(kBypass, 0.25), 0.25);
    EXPECT_NEAR(c->normalizedParamToPlain(1, 0.5), 0.96 * std::pow(0.5, 0.25), 1e-12);
}

TEST_F(BundleTest, BypassAndPresetReadsFollowTheProcessQueues)
{
    std::string error;
    ASSERT_TRUE(plugin->Setup(ProcessSettings{}, error)) << error;
    auto signal = TestSignal(64);
    std::vector<std::vector<float>> out(2, std::vector<float>(64));
    float* in[2] = {signal[0].data(), signal[1].data()};
    float* outPtr[2] = {out[0].data(), out[1].data()};
    HostParameterChanges changes;
    changes.Add(kBypass, 1.0);
    changes.Add(kPreset, 0.0);
    plugin->Process32(in, outPtr, 64, &changes);
    EXPECT_EQ(plugin->Controller()->getParamNormalized(kBypass), 1.0);
    EXPECT_EQ(plugin->Controller()->getParamNormalized(kPreset), 0.0);
    EXPECT_EQ(out, signal);  // bypassed: bit for bit after conversion
    changes.Clear();
    changes.Add(kBypass, 0.0);
    plugin->Process32(in, outPtr, 64, &changes);
    EXPECT_EQ(plugin->Controller()->getParamNormalized(kBypass), 0.0);
}

TEST_F(BundleTest, TheRootUnitPublishesTheProgramListOfTheSinglePreset)
{
    FUnknownPtr<IUnitInfo> units(plugin->Controller());
    ASSERT_TRUE(units);
    EXPECT_EQ(units->getUnitCount(), 1);
    UnitInfo unit{};
    ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(unit.id, 0);
    EXPECT_EQ(unit.parentUnitId, -1);
    EXPECT_EQ(Text(unit.name), u"Root Unit");
    // The one list is published, and it is the one the root unit names.
    EXPECT_EQ(unit.programListId, static_cast<ProgramListID>(kPreset));
    EXPECT_EQ(units->getUnitInfo(1, unit), kResultFalse);
    EXPECT_EQ(units->getProgramListCount(), 1);
    ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.id, static_cast<ProgramListID>(kPreset));
    EXPECT_EQ(Text(list.name), u"Factory Presets");
    EXPECT_EQ(list.programCount, KeldraPresets::kCount);
    EXPECT_EQ(units->getProgramListInfo(1, list), kResultFalse);
    String128 name{};
    ASSERT_EQ(units->getProgramName(kPreset, 0, name), kResultOk);
    EXPECT_EQ(Text(name), u"-");
    ASSERT_EQ(units->getProgramName(kPreset, KeldraPresets::kCount, name), kResultOk);
    EXPECT_EQ(Text(name), u"");
    EXPECT_EQ(units->getProgramName(1, 0, name), kResultFalse);
    EXPECT_EQ(units->getSelectedUnit(), 0);
    EXPECT_EQ(units->selectUnit(0), kNotImplemented);
    EXPECT_EQ(units->hasProgramPitchNames(kPreset, 0), kNotImplemented);
    UnitID byBus = 0;
    EXPECT_EQ(units->getUnitByBus(kAudio, kInput, 0, 0, byBus), kNotImplemented);
    EXPECT_EQ(units->setUnitProgramData(0, 0, nullptr), kNotImplemented);
}

TEST_F(BundleTest, StateRoundTripLeavesEveryValueUnchanged)
{
    IEditController* c = plugin->Controller();
    const std::vector<uint8_t> fresh = plugin->SaveState();
    ASSERT_EQ(fresh.size(), 68u);
    EXPECT_EQ(plugin->LoadState(fresh), kResultOk);
    EXPECT_EQ(plugin->SaveState(), fresh);

    // The controller's own values never reach the saved state; a state does.
    c->setParamNormalized(0, 0.9);
    EXPECT_EQ(plugin->SaveState(), fresh);
    std::vector<uint8_t> changed = fresh;
    const double values[2] = {12.0, 0.02 + 0.1 * 0.96};  // OUT at 0.9, GainM at 0.1
    std::memcpy(changed.data(), &values[0], sizeof(double));
    std::memcpy(changed.data() + 4 * sizeof(double), &values[1], sizeof(double));
    c->setParamNormalized(0, 0.2);
    EXPECT_EQ(plugin->LoadState(changed), kResultOk);
    EXPECT_NEAR(c->getParamNormalized(0), 0.9, 1e-12);
    EXPECT_NEAR(c->getParamNormalized(4), 0.1, 1e-12);

    std::vector<uint8_t> withoutFlag(changed.begin(), changed.begin() + 64);
    c->setParamNormalized(0, 0.2);
    EXPECT_EQ(plugin->LoadState(withoutFlag), kResultFalse);
    EXPECT_NEAR(c->getParamNormalized(0), 0.9, 1e-12);

    std::vector<uint8_t> garbage(68, 0xFF);  // NaN doubles and a bypass flag
    EXPECT_EQ(plugin->LoadState(garbage), kResultOk);
    EXPECT_NEAR(c->getParamNormalized(0), 0.9, 1e-12);
    EXPECT_EQ(c->getParamNormalized(kBypass), 1.0);
}

TEST_F(BundleTest, SingleAndDoublePrecisionAgreeAndOutputIsFinite)
{
    std::string error;
    ProcessSettings settings;
    settings.maxBlock = 256;
    ASSERT_TRUE(plugin->Setup(settings, error)) << error;
    auto signal = TestSignal(4096);
    std::vector<std::vector<float>> out32(2, std::vector<float>(4096));
    for (int offset = 0; offset < 4096; offset += 256) {
        float* in[2] = {signal[0].data() + offset, signal[1].data() + offset};
        float* out[2] = {out32[0].data() + offset, out32[1].data() + offset};
        plugin->Process32(in, out, 256);
    }

    HostApplication app2;
    HostComponentHandler handler2;
    auto twin = PluginInstance::Create(*module, app2, handler2, error);
    ASSERT_NE(twin, nullptr) << error;
    settings.sampleSize = kSample64;
    ASSERT_TRUE(twin->Setup(settings, error)) << error;
    std::vector<std::vector<double>> in64(2, std::vector<double>(4096));
    std::vector<std::vector<double>> out64(2, std::vector<double>(4096));
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 4096; ++i)
            in64[c][i] = signal[c][i];
    for (int offset = 0; offset < 4096; offset += 256) {
        double* in[2] = {in64[0].data() + offset, in64[1].data() + offset};
        double* out[2] = {out64[0].data() + offset, out64[1].data() + offset};
        twin->Process64(in, out, 256);
    }
    double energy = 0.0;
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 4096; ++i) {
            ASSERT_TRUE(std::isfinite(out64[c][i]));
            ASSERT_NEAR(out32[c][i], out64[c][i], 1e-6) << "channel " << c << " frame " << i;
            energy += out64[c][i] * out64[c][i];
        }
    EXPECT_GT(energy, 1.0);
}

TEST_F(BundleTest, MonoArrangementIsAcceptedAndProcessed)
{
    std::string error;
    ProcessSettings settings;
    settings.channels = 1;
    ASSERT_TRUE(plugin->Setup(settings, error)) << error;
    BusInfo info{};
    ASSERT_EQ(plugin->Component()->getBusInfo(kAudio, kInput, 0, info), kResultOk);
    EXPECT_EQ(info.channelCount, 1);
    EXPECT_EQ(Text(info.name), u"Input");
    auto signal = TestSignal(512);
    std::vector<float> out(512, 0.0f);
    float* in[1] = {signal[0].data()};
    float* outPtr[1] = {out.data()};
    EXPECT_EQ(plugin->Process32(in, outPtr, 512), kResultOk);
    double energy = 0.0;
    for (float s : out) {
        ASSERT_TRUE(std::isfinite(s));
        energy += s * s;
    }
    EXPECT_GT(energy, 1.0);
}
