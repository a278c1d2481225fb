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
#endif

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using KeldraPresets::Preset;

namespace {

constexpr int kBlock = 512, kFrames = 8 * kBlock;

const std::vector<float> kLeft = [] {
    std::vector<float> out;
    for (std::uint64_t i = 0, seed = 7; i < kFrames; ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        out.push_back(static_cast<float>(0.5 * (static_cast<double>(seed >> 11) * 0x1p-52 - 1.0)));
    }
    return out;
}();
const std::vector<float> kRight(kLeft.rbegin(), kLeft.rend());

/// What a host ends up with after loading a preset: the plug-in's saved
/// state and its render of the same noise.
struct Outcome {
    std::vector<std::uint8_t> state;
    std::vector<float> left, right;
    bool operator==(const Outcome& o) const { return state == o.state && left == o.left && right == o.right; }
};

/// A fresh set-up instance of `path`, `load` applied (it may fill the first
/// block's parameter changes), then the render and the saved state.
Outcome Hosted(const char* path, const std::function<void(PluginInstance&, HostParameterChanges&)>& load)
{
    std::string error;
    auto opened = OpenedPlugin::Open(path, "keldra-tests", error);
    if (!opened || !opened->Instance().Setup({48000.0, kBlock, kSample32}, error)) {
        ADD_FAILURE() << error;
        return {};
    }
    PluginInstance& plugin = opened->Instance();
    HostParameterChanges changes;
    load(plugin, changes);
    Outcome out{{}, kLeft, kRight};
    for (int start = 0; start < kFrames; start += kBlock, changes.Clear()) {
        float* io[2] = {out.left.data() + start, out.right.data() + start};
        EXPECT_EQ(plugin.Process32(io, io, kBlock, &changes), kResultOk);
    }
    out.state = plugin.SaveState();
    return out;
}

bool ClapLoad(PluginInstance& plugin, const char* key, uint32_t kind = CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN,
              const char* location = nullptr)
{
    const clap_plugin_t* clap = dynamic_cast<ClapEffectAdapter&>(*plugin.Component()).Plugin();
    const auto* load = static_cast<const clap_plugin_preset_load_t*>(clap->get_extension(clap, CLAP_EXT_PRESET_LOAD));
    return load != nullptr && load->from_location(clap, kind, location, key);
}

/// What a CLAP host's crawl of the module's preset-discovery factory finds:
/// its locations, and per preset its name, load key, plug-in id and description.
struct Crawl {
    std::vector<clap_preset_discovery_location_t> locations;
    std::vector<std::vector<std::string>> presets;
    uint32_t flags = 0;
};
using Receiver = const clap_preset_discovery_metadata_receiver_t*;
Crawl& From(Receiver r) { return *static_cast<Crawl*>(r->receiver_data); }

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
    clap_preset_discovery_indexer_t indexer{};
    indexer.indexer_data = &crawl;
    indexer.declare_location = [](const clap_preset_discovery_indexer_t* i, const clap_preset_discovery_location_t* l) {
        static_cast<Crawl*>(i->indexer_data)->locations.push_back(*l);
        return true;
    };
    clap_preset_discovery_metadata_receiver_t receiver{};
    receiver.receiver_data = &crawl;
    receiver.begin_preset = [](Receiver r, const char* name, const char* key) {
        From(r).presets.push_back({name, key});
        return true;
    };
    receiver.add_plugin_id = [](Receiver r, const clap_universal_plugin_id_t* id) {
        From(r).presets.back().push_back(std::string(id->abi) + ":" + id->id);
    };
    receiver.set_flags = [](Receiver r, uint32_t flags) { From(r).flags |= flags; };
    receiver.add_creator = [](Receiver, const char*) {};
    receiver.set_description = [](Receiver r, const char* text) { From(r).presets.back().push_back(text); };
    const auto* factory =
        static_cast<const clap_preset_discovery_factory_t*>(entry->get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID));
    if (factory != nullptr && factory->count(factory) == 1) {
        const auto* provider = factory->create(factory, &indexer, factory->get_descriptor(factory, 0)->id);
        EXPECT_TRUE(provider->init(provider));
        for (const clap_preset_discovery_location_t& location : crawl.locations)
            EXPECT_TRUE(provider->get_metadata(provider, location.kind, location.location, &receiver));
        provider->destroy(provider);
    }
    entry->deinit();
    return crawl;
}

#ifdef KELDRA_LV2_BUNDLE_PATH
/// The bundle's presets.ttl as N-Triples (sordi, a real Turtle reader).
std::vector<std::string> ReadPresetTriples()
{
    std::vector<std::string> lines;
    FILE* pipe = popen((std::string("sordi -o ntriples '") + KELDRA_LV2_BUNDLE_PATH + "/presets.ttl'").c_str(), "r");
    char line[4096];
    while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr)
        lines.emplace_back(line);
    EXPECT_TRUE(pipe != nullptr && pclose(pipe) == 0);
    return lines;
}

/// The objects of every triple `subject predicate object .`; a literal's
/// quotes and type are dropped.
std::vector<std::string> Objects(const std::vector<std::string>& triples, const std::string& subject,
                                 const std::string& predicate)
{
    std::vector<std::string> objects;
    const std::string head = subject + " <" + predicate + "> ";
    for (const std::string& t : triples)
        if (t.rfind(head, 0) == 0) {
            const std::string object = t.substr(head.size(), t.rfind(" .") - head.size());
            objects.push_back(object[0] == '"' ? object.substr(1, object.rfind('"') - 1) : object);
        }
    return objects;
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
Outcome ByLv2Preset(const std::vector<std::string>& triples, const Preset& preset)
{
    const std::string uri = std::string("<") + KeldraIdentity::kLv2Uri + "#preset-" + preset.key + ">";
    const std::string lv2 = "http://lv2plug.in/ns/lv2core#";
    EXPECT_EQ(Objects(triples, uri, "http://www.w3.org/2000/01/rdf-schema#label"), std::vector<std::string>{preset.name});
    LV2Module module(KELDRA_LV2_BUNDLE_PATH);
    LV2Instance instance(module, 48000.0, kBlock);
    for (const std::string& state : Objects(triples, uri, "http://lv2plug.in/ns/ext/state#state"))
        for (const std::string& chunk : Objects(triples, state, KeldraIdentity::kLv2StateChunkUri))
            EXPECT_EQ(instance.RestoreState(FromBase64(chunk), LV2_ATOM__Chunk), 0);
    int ports = 0;
    for (const std::string& port : Objects(triples, uri, lv2 + "port"))
        for (int i = 0; i < kKeldraParamCount; ++i)
            if (Objects(triples, port, lv2 + "symbol") == std::vector<std::string>{KeldraIdentity::kParams[i].symbol}) {
                instance.Control(i) = std::stof(Objects(triples, port, "http://lv2plug.in/ns/ext/presets#value").at(0));
                ++ports;
            }
    EXPECT_EQ(ports, kKeldraParamCount);
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

// What a format refuses (an unknown preset name or CLAP load key, a CLAP
// load from a file) changes nothing: the state and render stay the preset's.
TEST(FactoryPresets, EveryFormatLoadsEachToTheSameStateAndRenderBitForBit)
{
    const Crawl crawl = CrawlClapPresets();
    ASSERT_EQ(crawl.locations.size(), 1u);
    EXPECT_EQ(crawl.locations[0].kind, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN);
    EXPECT_EQ(crawl.locations[0].location, nullptr);
    EXPECT_EQ(crawl.flags, CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);
    ASSERT_EQ(crawl.presets.size(), static_cast<size_t>(KeldraPresets::kCount));
#ifdef KELDRA_LV2_BUNDLE_PATH
    const std::vector<std::string> triples = ReadPresetTriples();
#endif
    for (int p = 0; p < KeldraPresets::kCount; ++p) {
        const Preset& preset = KeldraPresets::kPresets[p];
        SCOPED_TRACE(preset.name);
        const std::vector<std::string>& found = crawl.presets[static_cast<size_t>(p)];
        EXPECT_EQ(found, (std::vector<std::string>{preset.name, preset.name,
                                                   std::string("clap:") + KeldraIdentity::kClapId, preset.use}));

        const Outcome program = Hosted(KELDRA_BUNDLE_PATH, [&](PluginInstance& plugin, HostParameterChanges& changes) {
            std::string error;
            const auto setting = ResolvePreset(plugin, preset.name, error);
            ASSERT_TRUE(setting) << error;
            changes.Add(setting->id, setting->normalized);
            EXPECT_FALSE(ResolvePreset(plugin, std::string(preset.name) + "x", error));
            EXPECT_EQ(error, "unknown preset '" + std::string(preset.name) + "x' (see --list-presets)");
        });
        const auto expected = KeldraPresets::StateOf(preset);
        EXPECT_EQ(program.state, std::vector<std::uint8_t>(expected.begin(), expected.end()));
        // "-" is what a fresh instance holds; it has no file.
        if (p > 0) {
            EXPECT_TRUE(program == Hosted(KELDRA_BUNDLE_PATH, [&](PluginInstance& plugin, HostParameterChanges&) {
                std::ifstream in(std::string(KELDRA_VST3_PRESET_DIR) + "/" + preset.name + ".vstpreset",
                                 std::ios::binary);
                std::string error;
                const auto file = ReadVstPreset({std::istreambuf_iterator<char>(in), {}}, error);
                EXPECT_TRUE(file && LoadPreset(plugin, *file, error)) << error;
            })) << ".vstpreset";
        }
        EXPECT_TRUE(program == Hosted(KELDRA_CLAP_PATH, [&](PluginInstance& plugin, HostParameterChanges&) {
            EXPECT_TRUE(ClapLoad(plugin, found[1].c_str()));
            EXPECT_FALSE(ClapLoad(plugin, "No Such Preset"));
            EXPECT_FALSE(ClapLoad(plugin, "Thin Out", CLAP_PRESET_DISCOVERY_LOCATION_FILE, "/tmp/Thin Out.clap"));
        })) << "CLAP preset-load";
#ifdef KELDRA_LV2_BUNDLE_PATH
        EXPECT_TRUE(program == ByLv2Preset(triples, preset)) << "LV2 preset";
#endif
    }
}

} // namespace
