// SPDX-License-Identifier: GPL-3.0-or-later
// Every factory preset through each format's own mechanism: the VST3 program
// change and the installed .vstpreset file, the LV2 preset in presets.ttl
// (read by a Turtle reader, applied as lilv applies it), CLAP preset
// discovery and preset-load. All give the same state and the same render,
// bit for bit; what they refuse changes nothing.
#include "effect/KeldraPresets.h"
#include "host/ClapEffectAdapter.h"
#include "host/HostParameterChanges.h"
#include "host/SharedLibrary.h"
#include "host/VstPresetFile.h"
#include "tools/OpenedPlugin.h"
#include "tools/PresetChoice.h"
#ifdef KELDRA_LV2_BUNDLE_PATH
#include "LV2Instance.h"

#include <lv2/atom/atom.h>

#include <cstdio>
#include <map>
#endif

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using KeldraPresets::Preset;

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr int kFrames = 8 * kBlock;

std::vector<float> Noise(std::uint64_t seed)
{
    std::vector<float> out;
    for (int i = 0; i < kFrames; ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        out.push_back(static_cast<float>(0.5 * (static_cast<double>(seed >> 11) * 0x1p-52 - 1.0)));
    }
    return out;
}
const std::vector<float> kLeft = Noise(7), kRight = Noise(8);

/// What a host ends up with after loading a preset: the plug-in's saved
/// state and its render of the same noise.
struct Outcome {
    std::vector<std::uint8_t> state;
    std::vector<float> left, right;
};

std::unique_ptr<OpenedPlugin> OpenSetUp(const char* path)
{
    std::string error;
    auto opened = OpenedPlugin::Open(path, "keldra-tests", error);
    const bool ready = opened && opened->Instance().Setup({kRate, kBlock, kSample32}, error);
    EXPECT_TRUE(ready) << error;
    return ready ? std::move(opened) : nullptr;
}

/// Renders through a set-up instance; `first` reaches it with the first block.
Outcome Render(PluginInstance& plugin, HostParameterChanges* first = nullptr)
{
    Outcome out{{}, kLeft, kRight};
    for (int start = 0; start < kFrames; start += kBlock) {
        float* io[2] = {out.left.data() + start, out.right.data() + start};
        EXPECT_EQ(plugin.Process32(io, io, kBlock, start == 0 ? first : nullptr), kResultOk);
    }
    out.state = plugin.SaveState();
    return out;
}

Outcome ByProgramChange(const Preset& preset)
{
    auto opened = OpenSetUp(KELDRA_BUNDLE_PATH);
    if (!opened)
        return {};
    std::string error;
    const auto program = ResolvePreset(opened->Instance(), preset.name, error);
    EXPECT_TRUE(program) << error;
    HostParameterChanges changes;
    if (program)
        changes.Add(program->id, program->normalized);
    return Render(opened->Instance(), &changes);
}

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

Outcome ByVstPresetFile(const Preset& preset)
{
    auto opened = OpenSetUp(KELDRA_BUNDLE_PATH);
    std::string error;
    const auto file = ReadVstPreset(ReadFile(std::string(KELDRA_VST3_PRESET_DIR) + "/" + preset.name + ".vstpreset"),
                                    error);
    EXPECT_TRUE(file) << preset.name << ": " << error;
    if (!opened || !file)
        return {};
    EXPECT_TRUE(LoadPreset(opened->Instance(), *file, error)) << error;
    return Render(opened->Instance());
}

const clap_plugin_t* ClapPlugin(PluginInstance& plugin)
{
    return dynamic_cast<ClapEffectAdapter&>(*plugin.Component()).Plugin();
}

bool ClapLoad(PluginInstance& plugin, const char* key)
{
    const clap_plugin_t* clap = ClapPlugin(plugin);
    const auto* load = static_cast<const clap_plugin_preset_load_t*>(clap->get_extension(clap, CLAP_EXT_PRESET_LOAD));
    EXPECT_NE(load, nullptr);
    return load != nullptr && load->from_location(clap, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, key);
}

Outcome ByClapPresetLoad(const std::string& key)
{
    auto opened = OpenSetUp(KELDRA_CLAP_PATH);
    if (!opened)
        return {};
    EXPECT_TRUE(ClapLoad(opened->Instance(), key.c_str())) << key;
    return Render(opened->Instance());
}

/// What a CLAP host's crawl of the module's preset-discovery factory finds.
struct DiscoveredPreset {
    std::string name, key, description, pluginAbi, pluginId;
    uint32_t flags = 0;
};
struct Crawl {
    std::vector<clap_preset_discovery_location_t> locations;
    std::vector<DiscoveredPreset> presets;
};

DiscoveredPreset& Last(const clap_preset_discovery_metadata_receiver_t* receiver)
{
    return static_cast<std::vector<DiscoveredPreset>*>(receiver->receiver_data)->back();
}

Crawl CrawlClapPresets()
{
    Crawl crawl;
    std::string error;
    auto library = SharedLibrary::Open(KELDRA_CLAP_PATH, error);
    const auto* entry = library ? static_cast<const clap_plugin_entry_t*>(library->Symbol("clap_entry")) : nullptr;
    if (entry == nullptr || !entry->init(KELDRA_CLAP_PATH)) {
        ADD_FAILURE() << "cannot start " << KELDRA_CLAP_PATH << ": " << error;
        return crawl;
    }
    const auto* factory =
        static_cast<const clap_preset_discovery_factory_t*>(entry->get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID));
    clap_preset_discovery_indexer_t indexer{};
    indexer.clap_version = kClapVersion;
    indexer.indexer_data = &crawl;
    indexer.declare_location = [](const clap_preset_discovery_indexer_t* i, const clap_preset_discovery_location_t* l) {
        static_cast<Crawl*>(i->indexer_data)->locations.push_back(*l);
        return true;
    };
    clap_preset_discovery_metadata_receiver_t receiver{};
    receiver.receiver_data = &crawl.presets;
    receiver.begin_preset = [](const clap_preset_discovery_metadata_receiver_t* r, const char* name, const char* key) {
        static_cast<std::vector<DiscoveredPreset>*>(r->receiver_data)->push_back({name, key, "", "", "", 0});
        return true;
    };
    receiver.add_plugin_id = [](const clap_preset_discovery_metadata_receiver_t* r, const clap_universal_plugin_id_t* id) {
        Last(r).pluginAbi = id->abi;
        Last(r).pluginId = id->id;
    };
    receiver.set_flags = [](const clap_preset_discovery_metadata_receiver_t* r, uint32_t flags) { Last(r).flags = flags; };
    receiver.add_creator = [](const clap_preset_discovery_metadata_receiver_t*, const char*) {};
    receiver.set_description = [](const clap_preset_discovery_metadata_receiver_t* r, const char* text) {
        Last(r).description = text;
    };
    if (factory != nullptr && factory->count(factory) == 1) {
        const clap_preset_discovery_provider_t* provider =
            factory->create(factory, &indexer, factory->get_descriptor(factory, 0)->id);
        EXPECT_TRUE(provider->init(provider));
        for (const clap_preset_discovery_location_t& location : crawl.locations)
            EXPECT_TRUE(provider->get_metadata(provider, location.kind, location.location, &receiver));
        provider->destroy(provider);
    }
    entry->deinit();
    return crawl;
}

#ifdef KELDRA_LV2_BUNDLE_PATH
/// The bundle's presets.ttl as N-Triples (sordi, a real Turtle reader):
/// subject -> (predicate, object) in file order.
using Graph = std::multimap<std::string, std::pair<std::string, std::string>>;

Graph ReadPresetsTurtle()
{
    Graph graph;
    const std::string command = std::string("sordi -o ntriples '") + KELDRA_LV2_BUNDLE_PATH + "/presets.ttl'";
    FILE* pipe = popen(command.c_str(), "r");
    char line[4096];
    while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        const size_t p = text.find(' '), o = text.find(' ', p + 1), end = text.rfind(" .");
        if (p != std::string::npos && o != std::string::npos && end != std::string::npos && end > o)
            graph.emplace(text.substr(0, p), std::make_pair(text.substr(p + 1, o - p - 1), text.substr(o + 1, end - o - 1)));
    }
    EXPECT_TRUE(pipe != nullptr && pclose(pipe) == 0);
    return graph;
}

std::string Object(const Graph& graph, const std::string& subject, const std::string& predicate)
{
    const auto [from, to] = graph.equal_range(subject);
    for (auto it = from; it != to; ++it)
        if (it->second.first == predicate)
            return it->second.second;
    return "";
}

/// The text of a literal: "text" or "text"^^<type>.
std::string Literal(const std::string& object)
{
    const size_t close = object.rfind('"');
    return object.size() > 1 && object[0] == '"' && close > 0 ? object.substr(1, close - 1) : "";
}

std::vector<std::uint8_t> FromBase64(const std::string& text)
{
    static const std::string kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<std::uint8_t> out;
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        const size_t digit = kDigits.find(c);
        if (digit == std::string::npos)
            break;
        bits = (bits << 6) | static_cast<std::uint32_t>(digit);
        if ((count += 6) >= 8)
            out.push_back(static_cast<std::uint8_t>(bits >> (count -= 8)));
    }
    return out;
}

// As lilv does: the state through the state interface, then the port values.
Outcome ByLv2Preset(const Graph& graph, const Preset& preset)
{
    const std::string uri = std::string("<") + KeldraIdentity::kLv2Uri + "#preset-" + preset.key + ">";
    const std::string lv2 = "http://lv2plug.in/ns/lv2core#";
    EXPECT_EQ(Literal(Object(graph, uri, "<http://www.w3.org/2000/01/rdf-schema#label>")), preset.name);
    LV2Module module(KELDRA_LV2_BUNDLE_PATH);
    LV2Instance instance(module, kRate, kBlock);
    const std::string state = Object(graph, uri, "<http://lv2plug.in/ns/ext/state#state>");
    const std::string chunk = Literal(Object(graph, state, std::string("<") + KeldraIdentity::kLv2StateChunkUri + ">"));
    EXPECT_EQ(instance.RestoreState(FromBase64(chunk), LV2_ATOM__Chunk), 0) << preset.name;
    int ports = 0;
    const auto [from, to] = graph.equal_range(uri);
    for (auto it = from; it != to; ++it) {
        if (it->second.first != "<" + lv2 + "port>")
            continue;
        const std::string symbol = Literal(Object(graph, it->second.second, "<" + lv2 + "symbol>"));
        const std::string value = Literal(Object(graph, it->second.second, "<http://lv2plug.in/ns/ext/presets#value>"));
        for (int i = 0; i < kKeldraParamCount; ++i)
            if (symbol == KeldraIdentity::kParams[i].symbol) {
                instance.Control(i) = std::stof(value);
                ++ports;
            }
    }
    EXPECT_EQ(ports, kKeldraParamCount) << preset.name;
    Outcome out;
    const std::vector<float> interleaved = instance.Run(kLeft, kRight, kFrames);
    for (int f = 0; f < kFrames; ++f) {
        out.left.push_back(interleaved[2 * f]);
        out.right.push_back(interleaved[2 * f + 1]);
    }
    std::string type;
    out.state = instance.SaveState(type);
    return out;
}
#endif

bool SameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST(FactoryPresets, EveryFormatLoadsEachToTheSameStateAndRenderBitForBit)
{
    const Crawl crawl = CrawlClapPresets();
    ASSERT_EQ(crawl.locations.size(), 1u);
    EXPECT_EQ(crawl.locations[0].kind, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN);
    EXPECT_EQ(crawl.locations[0].location, nullptr);
    ASSERT_EQ(crawl.presets.size(), static_cast<size_t>(KeldraPresets::kCount));
#ifdef KELDRA_LV2_BUNDLE_PATH
    const Graph turtle = ReadPresetsTurtle();
#endif
    for (int p = 0; p < KeldraPresets::kCount; ++p) {
        const Preset& preset = KeldraPresets::kPresets[p];
        SCOPED_TRACE(preset.name);
        const DiscoveredPreset& found = crawl.presets[static_cast<size_t>(p)];
        EXPECT_EQ(found.name, preset.name);
        EXPECT_EQ(found.description, preset.use);
        EXPECT_EQ(found.pluginAbi + ":" + found.pluginId, std::string("clap:") + KeldraIdentity::kClapId);
        EXPECT_EQ(found.flags, CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);

        const Outcome program = ByProgramChange(preset);
        const auto expected = KeldraPresets::StateOf(preset);
        EXPECT_EQ(program.state, std::vector<std::uint8_t>(expected.begin(), expected.end()));
        std::vector<std::pair<const char*, Outcome>> others;
        if (p > 0)  // "-" is what a fresh instance holds; it has no file
            others.emplace_back(".vstpreset", ByVstPresetFile(preset));
        others.emplace_back("CLAP preset-load", ByClapPresetLoad(found.key));
#ifdef KELDRA_LV2_BUNDLE_PATH
        others.emplace_back("LV2 preset", ByLv2Preset(turtle, preset));
#endif
        for (const auto& [mechanism, outcome] : others) {
            EXPECT_EQ(outcome.state, program.state) << mechanism;
            EXPECT_TRUE(SameBits(outcome.left, program.left) && SameBits(outcome.right, program.right)) << mechanism;
        }
    }
}

// A CLAP load of a key no preset has, a .vstpreset whose state is cut short
// and an unknown preset name for keldra-render: refused, nothing changed.
TEST(FactoryPresets, WhatIsRefusedChangesNothing)
{
    auto clap = OpenSetUp(KELDRA_CLAP_PATH);
    auto vst3 = OpenSetUp(KELDRA_BUNDLE_PATH);
    ASSERT_TRUE(clap && vst3);
    ASSERT_TRUE(ClapLoad(clap->Instance(), "Tight Bass"));
    const std::vector<std::uint8_t> before = clap->Instance().SaveState();
    EXPECT_FALSE(ClapLoad(clap->Instance(), "No Such Preset"));
    EXPECT_EQ(clap->Instance().SaveState(), before);

    std::string error;
    auto file = ReadVstPreset(ReadFile(std::string(KELDRA_VST3_PRESET_DIR) + "/Tight Bass.vstpreset"), error);
    ASSERT_TRUE(file) << error;
    file->componentState.resize(30);
    file->controllerState.clear();
    const std::vector<std::uint8_t> fresh = vst3->Instance().SaveState();
    EXPECT_FALSE(LoadPreset(vst3->Instance(), *file, error));
    EXPECT_EQ(vst3->Instance().SaveState(), fresh);

    EXPECT_FALSE(ResolvePreset(vst3->Instance(), "Tight Bas", error));
    EXPECT_EQ(error, "unknown preset 'Tight Bas' (see --list-presets)");
}

} // namespace
