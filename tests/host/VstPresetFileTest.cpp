// SPDX-License-Identifier: GPL-3.0-or-later
// .vstpreset files through the host library, against the built bundle: what
// one instance saves another restores, and damaged or foreign files are
// refused with a reason instead of being half read.
#include "host/HostParameterChanges.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"
#include "host/VstPresetFile.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

void PutLe64(std::vector<uint8_t>& bytes, size_t at, uint64_t value)
{
    for (int i = 0; i < 8; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

} // namespace

TEST(VstPresetFile, APresetSavedByOneInstanceRestoresEveryValueInAnother)
{
    std::string error;
    auto module = PluginModule::Load(KELDRA_BUNDLE_PATH, error);
    ASSERT_NE(module, nullptr) << error;
    HostApplication app;
    HostComponentHandler handler;
    auto source = PluginInstance::Create(*module, app, handler, error);
    auto target = PluginInstance::Create(*module, app, handler, error);
    ASSERT_NE(target, nullptr) << error;
    // The id every host prints for KELDRA, on every system.
    EXPECT_EQ(source->ClassIdText(), "E25B913CA407186D426B66644B6C6431");

    // The knobs anywhere, the bypass and oversampling switches on.
    const std::vector<std::pair<ParamID, double>> values = {{2, 0.27}, {3, 0.38}, {4, 0.49}, {5, 0.6},
                                                            {6, 1.0}, {7, 1.0}};
    // They reach the processor, whose state the preset holds, as automation does.
    HostParameterChanges changes;
    for (const auto& [id, value] : values) changes.Add(id, value);
    ASSERT_TRUE(source->Setup(ProcessSettings{}, error)) << error;
    std::vector<float> silence(64);
    float* arrays[2] = {silence.data(), silence.data()};
    source->Process32(arrays, arrays, 64, &changes);
    const std::vector<uint8_t> file = WriteVstPreset(SavePreset(*source));
    ASSERT_EQ(std::string(file.begin(), file.begin() + 4), "VST3");
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 40), source->ClassIdText());

    const auto preset = ReadVstPreset(file, error);
    ASSERT_TRUE(preset) << error;
    EXPECT_EQ(preset->controllerState, source->SaveState());
    ASSERT_TRUE(LoadPreset(*target, *preset, error)) << error;
    for (const auto& [id, value] : values)
        EXPECT_NEAR(target->Controller()->getParamNormalized(id), value, 1e-9) << "parameter " << id;

    // A preset of another plug-in changes nothing.
    VstPreset foreign = *preset;
    foreign.classId = "3C915BE207A46D18426B66644B6C6431";
    target->Controller()->setParamNormalized(2, 0.0);
    EXPECT_FALSE(LoadPreset(*target, foreign, error));
    EXPECT_NE(error.find("3C915BE207A46D18426B66644B6C6431"), std::string::npos) << error;
    EXPECT_EQ(target->Controller()->getParamNormalized(2), 0.0);
}

TEST(VstPresetFile, DamagedFilesAreRefusedWithAReason)
{
    VstPreset preset;
    preset.classId = "E25B913CA407186D426B66644B6C6431";
    preset.controllerState.assign(68, 0x5A);
    const std::vector<uint8_t> good = WriteVstPreset(preset);
    const size_t listOffset = 48 + 68;
    ASSERT_EQ(good.size(), listOffset + 8 + 20);

    struct Damage {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Damage> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"cut inside the header", {good.begin(), good.begin() + 40}});
    cases.push_back({"cut inside the list", {good.begin(), good.end() - 1}});
    std::vector<uint8_t> bytes = good;
    bytes[0] = 'X';
    cases.push_back({"wrong magic", bytes});
    bytes = good;
    PutLe64(bytes, 40, good.size() + 1000);
    cases.push_back({"list beyond the end", bytes});
    bytes = good;
    PutLe64(bytes, 40, UINT64_MAX - 3);
    cases.push_back({"list offset that wraps", bytes});
    bytes = good;
    bytes[listOffset + 4] = 0xFF;
    cases.push_back({"more entries than the list holds", bytes});
    bytes = good;
    PutLe64(bytes, listOffset + 8 + 12, UINT64_MAX);
    cases.push_back({"chunk size that wraps", bytes});
    bytes = good;
    PutLe64(bytes, listOffset + 8 + 4, listOffset - 10);
    cases.push_back({"chunk running into the list", bytes});

    for (const Damage& damage : cases) {
        std::string error;
        EXPECT_FALSE(ReadVstPreset(damage.bytes, error)) << damage.what;
        EXPECT_FALSE(error.empty()) << damage.what;
    }
    std::string error;
    const auto read = ReadVstPreset(good, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->controllerState, preset.controllerState);
    EXPECT_TRUE(read->componentState.empty());
}
