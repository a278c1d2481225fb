// SPDX-License-Identifier: GPL-3.0-or-later
// keldra-vstpresets DIR: writes the factory library into DIR as .vstpreset
// files, one per preset named after it, where VST3 hosts list factory
// presets once DIR is installed as their KELDRA preset folder. Each holds
// the state the plug-in saves once the preset is loaded, for the component
// and the controller alike. "-" (the defaults) has no file: a fresh
// instance is already there.
#include "effect/KeldraIdentity.h"
#include "effect/KeldraPresets.h"
#include "host/VstPresetFile.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string ClassIdText()
{
    char text[33];
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X", KeldraIdentity::kVst3ClassId[0],
                  KeldraIdentity::kVst3ClassId[1], KeldraIdentity::kVst3ClassId[2], KeldraIdentity::kVst3ClassId[3]);
    return text;
}

bool Write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
        std::fprintf(stderr, "keldra-vstpresets: cannot write %s\n", path.c_str());
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: keldra-vstpresets DIR\n");
        return 2;
    }
    for (int i = 1; i < KeldraPresets::kCount; ++i) {
        const KeldraPresets::Preset& preset = KeldraPresets::kPresets[i];
        const auto state = KeldraPresets::StateOf(preset);
        const VstPreset file{ClassIdText(), {state.begin(), state.end()}, {state.begin(), state.end()}};
        if (!Write(std::string(argv[1]) + "/" + preset.name + ".vstpreset", WriteVstPreset(file)))
            return 1;
    }
    return 0;
}
