// SPDX-License-Identifier: GPL-3.0-or-later
// keldra-lv2-turtle DIR MODULE: writes the bundle's Turtle files (manifest,
// plug-in description, presets) into DIR from the product's identity, so the
// ports, ranges, defaults and factory presets hosts read are the effect's own.
// MODULE is the file name of the bundle's shared library.
#include "effect/KeldraIdentity.h"
#include "effect/KeldraPresets.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using KeldraIdentity::ParamSpec;
using KeldraIdentity::ParamStyle;

std::string Uri(const std::string& uri)
{
    return "<" + uri + ">";
}

std::string Quoted(const char* text)
{
    std::string out = "\"";
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '"' || *c == '\\')
            out += '\\';
        out += *c;
    }
    return out + "\"";
}

// The shortest text that reads back as the same double, with a decimal
// point, so that Turtle types it as a decimal ("0.0", "-0.3").
std::string Decimal(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    std::string out(text, end);
    if (out.find_first_of(".e") == std::string::npos)
        out += ".0";
    return out;
}

std::string Base64(const std::uint8_t* bytes, std::size_t size)
{
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < size; i += 3) {
        std::uint32_t group = static_cast<std::uint32_t>(bytes[i]) << 16;
        if (i + 1 < size)
            group |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
        if (i + 2 < size)
            group |= bytes[i + 2];
        for (std::size_t k = 0; k < 4; ++k)
            out += i + k <= size ? kDigits[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

std::string PresetUri(const KeldraPresets::Preset& preset)
{
    return Uri(std::string(KeldraIdentity::kLv2Uri) + "#preset-" + preset.key);
}

std::string Whole(double value)
{
    return std::to_string(static_cast<long>(std::lround(value)));
}

// One port or other bracketed node: its lines, indented, joined by " ;".
std::string Node(const std::vector<std::string>& lines, const std::string& indent)
{
    std::string out = "[\n";
    for (size_t i = 0; i < lines.size(); ++i)
        out += indent + "\t" + lines[i] + (i + 1 < lines.size() ? " ;\n" : "\n");
    return out + indent + "]";
}

std::string NodeList(const std::vector<std::string>& nodes)
{
    std::string out;
    for (size_t i = 0; i < nodes.size(); ++i)
        out += (i == 0 ? "" : " , ") + nodes[i];
    return out;
}

std::string AudioPort(int index, const char* direction, const char* symbol, const char* name)
{
    return Node({std::string("a lv2:") + direction + "Port , lv2:AudioPort", "lv2:index " + std::to_string(index),
                 "lv2:symbol " + Quoted(symbol), "lv2:name " + Quoted(name)},
                "\t");
}

std::string ControlPort(int index, const ParamSpec& definition)
{
    const bool continuous = definition.style == ParamStyle::kContinuous;
    auto number = [continuous](double value) { return continuous ? Decimal(value) : Whole(value); };
    std::vector<std::string> lines = {"a lv2:InputPort , lv2:ControlPort",
                                      "lv2:index " + std::to_string(index),
                                      "lv2:symbol " + Quoted(definition.symbol),
                                      "lv2:name " + Quoted(definition.name),
                                      "lv2:default " + number(definition.defaultValue),
                                      "lv2:minimum " + number(definition.minValue),
                                      "lv2:maximum " + number(definition.maxValue)};
    if (definition.unit == KeldraIdentity::ParamUnit::kDecibels)
        lines.push_back("units:unit units:db");
    if (definition.style == ParamStyle::kToggle)
        lines.push_back("lv2:portProperty lv2:toggled");
    if (definition.style == ParamStyle::kChoice) {
        lines.push_back("lv2:portProperty lv2:integer , lv2:enumeration");
        std::vector<std::string> points;
        for (int i = 0; definition.choiceLabels[i] != nullptr; ++i)
            points.push_back(Node({"rdfs:label " + Quoted(definition.choiceLabels[i]),
                                   "rdf:value " + Whole(definition.minValue + i)},
                                  "\t\t"));
        lines.push_back("lv2:scalePoint " + NodeList(points));
    }
    return Node(lines, "\t");
}

std::string EnablePort(int index)
{
    return Node({"a lv2:InputPort , lv2:ControlPort", "lv2:index " + std::to_string(index),
                 "lv2:symbol " + Quoted(KeldraIdentity::kEnableSymbol),
                 "lv2:name " + Quoted(KeldraIdentity::kEnableName), "lv2:designation lv2:enabled", "lv2:default 1",
                 "lv2:minimum 0", "lv2:maximum 1", "lv2:portProperty lv2:toggled"},
                "\t");
}

std::string Manifest(const std::string& module)
{
    std::ostringstream out;
    out << "@prefix lv2:  <http://lv2plug.in/ns/lv2core#> .\n"
        << "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
        << "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
        << "@prefix ui:   <http://lv2plug.in/ns/extensions/ui#> .\n"
        << "\n"
        << Uri(KeldraIdentity::kLv2Uri) << "\n"
        << "\ta lv2:Plugin ;\n"
        << "\tlv2:binary " << Uri(module) << " ;\n"
        << "\trdfs:seeAlso <keldra.ttl> .\n"
        << "\n"
        << Uri(KeldraIdentity::kLv2EditorUri) << "\n"
        << "\ta ui:X11UI ;\n"
        << "\tui:binary " << Uri(module) << " ;\n"
        << "\trdfs:seeAlso <keldra.ttl> .\n";
    for (const KeldraPresets::Preset& preset : KeldraPresets::kPresets)
        out << "\n"
            << PresetUri(preset) << "\n"
            << "\ta pset:Preset ;\n"
            << "\tlv2:appliesTo " << Uri(KeldraIdentity::kLv2Uri) << " ;\n"
            << "\trdfs:seeAlso <presets.ttl> .\n";
    return out.str();
}

std::string Description()
{
    // The stereo audio ports, one control per parameter in index order,
    // then the host's bypass: the order the module's ports take.
    std::vector<std::string> ports = {AudioPort(0, "Input", "in_l", "Input L"),
                                      AudioPort(1, "Input", "in_r", "Input R"),
                                      AudioPort(2, "Output", "out_l", "Output L"),
                                      AudioPort(3, "Output", "out_r", "Output R")};
    for (const ParamSpec& definition : KeldraIdentity::kParams)
        ports.push_back(ControlPort(static_cast<int>(ports.size()), definition));
    ports.push_back(EnablePort(static_cast<int>(ports.size())));

    const std::string maker = Uri(KeldraIdentity::kLv2MakerUri);
    std::ostringstream out;
    out << "@prefix doap:  <http://usefulinc.com/ns/doap#> .\n"
        << "@prefix foaf:  <http://xmlns.com/foaf/0.1/> .\n"
        << "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
        << "@prefix rdf:   <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
        << "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
        << "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
        << "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
        << "@prefix urid:  <http://lv2plug.in/ns/ext/urid#> .\n"
        << "@prefix opts:  <http://lv2plug.in/ns/ext/options#> .\n"
        << "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
        << "@prefix ui:    <http://lv2plug.in/ns/extensions/ui#> .\n"
        << "\n"
        << maker << "\n"
        << "\ta foaf:Organization ;\n"
        << "\tfoaf:name " << Quoted(KeldraIdentity::kMaker) << " ;\n"
        << "\tfoaf:homepage " << Uri(KeldraIdentity::kMakerWebPage) << " .\n"
        << "\n"
        << "# Ports: the stereo audio, one control per parameter in the effect's order\n"
        << "# (the module counts on it), then the host's bypass.\n"
        << Uri(KeldraIdentity::kLv2Uri) << "\n"
        << "\ta lv2:Plugin , lv2:EQPlugin , doap:Project ;\n"
        << "\tdoap:name " << Quoted(KeldraIdentity::kName) << " ;\n"
        << "\tdoap:license " << Uri(std::string("https://spdx.org/licenses/") + KeldraIdentity::kLicense) << " ;\n"
        << "\tfoaf:maker " << maker << " ;\n"
        // What hosts show as the plug-in's author: lilv reads only this, and
        // DOAP wants a project's maintainer to be a person, which a node
        // without a class may stand for.
        << "\tdoap:maintainer "
        << Node({"foaf:name " + Quoted(KeldraIdentity::kMaker), "foaf:homepage " + Uri(KeldraIdentity::kMakerWebPage)},
                "\t")
        << " ;\n"
        << "\trdfs:comment " << Quoted(KeldraIdentity::kDescription) << " ;\n"
        << "\t# Release " << KeldraIdentity::kVersionText << "; the major version is part of what the URI names.\n"
        << "\tlv2:minorVersion " << KeldraIdentity::kVersionMinor << " ;\n"
        << "\tlv2:microVersion " << KeldraIdentity::kVersionPatch << " ;\n"
        << "\tlv2:optionalFeature lv2:hardRTCapable , urid:map , opts:options ;\n"
        << "\topts:supportedOption bufsz:maxBlockLength ;\n"
        << "\tlv2:extensionData state:interface ;\n"
        << "\tui:ui " << Uri(KeldraIdentity::kLv2EditorUri) << " ;\n"
        << "\tlv2:port " << NodeList(ports) << " .\n"
        << "\n"
        << "# The front panel, embedded in the host's window (ui:parent) or shown in its\n"
        << "# own (ui:showInterface). It is the effect's own editor, reached through\n"
        << "# instance-access, and runs from the host's idle calls; it takes the host's\n"
        << "# ui:scaleFactor when instantiated and when the host changes it.\n"
        << Uri(KeldraIdentity::kLv2EditorUri) << "\n"
        << "\ta ui:X11UI ;\n"
        << "\tlv2:requiredFeature ui:idleInterface , <http://lv2plug.in/ns/ext/instance-access> ;\n"
        << "\tlv2:optionalFeature ui:parent , ui:touch , ui:resize , ui:noUserResize , urid:map , opts:options ;\n"
        << "\topts:supportedOption ui:scaleFactor ;\n"
        << "\tlv2:extensionData ui:idleInterface , ui:showInterface , opts:interface .\n";
    return out.str();
}

// Every preset sets the control ports and carries the state itself, so a
// host that restores state gets the exact values, not their single-precision
// port copies.
std::string Presets()
{
    std::ostringstream out;
    out << "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
        << "@prefix pset:  <http://lv2plug.in/ns/ext/presets#> .\n"
        << "@prefix rdf:   <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
        << "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
        << "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
        << "@prefix xsd:   <http://www.w3.org/2001/XMLSchema#> .\n"
        << "\n"
        << Uri(KeldraIdentity::kLv2StateChunkUri) << "\n"
        << "\ta rdf:Property ;\n"
        << "\trdfs:label \"state chunk\" ;\n"
        << "\trdfs:comment \"Every parameter's value, then the host bypass flag, as every format saves them.\" ;\n"
        << "\trdfs:range xsd:base64Binary .\n"
        << "\n"
        << "# The factory library, in the order of the VST3 build's programs.\n";
    for (const KeldraPresets::Preset& preset : KeldraPresets::kPresets) {
        std::vector<std::string> values;
        for (int i = 0; i < kKeldraParamCount; ++i)
            values.push_back(Node({"lv2:symbol " + Quoted(KeldraIdentity::kParams[i].symbol),
                                   "pset:value " + Decimal(KeldraPresets::ValueOf(preset, i))},
                                  "\t"));
        const auto state = KeldraPresets::StateOf(preset);
        out << "\n"
            << PresetUri(preset) << "\n"
            << "\ta pset:Preset ;\n"
            << "\tlv2:appliesTo " << Uri(KeldraIdentity::kLv2Uri) << " ;\n"
            << "\trdfs:label " << Quoted(preset.name) << " ;\n"
            << "\trdfs:comment " << Quoted(preset.use) << " ;\n"
            << "\tlv2:port " << NodeList(values) << " ;\n"
            << "\tstate:state "
            << Node({Uri(KeldraIdentity::kLv2StateChunkUri) + " \"" + Base64(state.data(), state.size()) +
                     "\"^^xsd:base64Binary"},
                    "\t")
            << " .\n";
    }
    return out.str();
}

bool Write(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file)
        std::fprintf(stderr, "keldra-lv2-turtle: cannot write %s\n", path.c_str());
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: keldra-lv2-turtle DIR MODULE\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const bool written = Write(dir + "manifest.ttl", Manifest(argv[2])) && Write(dir + "keldra.ttl", Description()) &&
                         Write(dir + "presets.ttl", Presets());
    return written ? 0 : 1;
}
