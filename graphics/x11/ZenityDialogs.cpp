// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/x11/ZenityDialogs.h"

#include "graphics/IGraphics.h"

#include <cstdio>

namespace ZenityDialogs {
namespace {

constexpr int kTypeOk = 0;
constexpr int kTypeOkCancel = 1;
constexpr int kTypeYesNoCancel = 3;
constexpr int kTypeYesNo = 4;
constexpr int kTypeRetryCancel = 5;
constexpr int kIconError = 0x10;
constexpr int kIconWarning = 0x30;
constexpr int kAnswerRetry = 4;
constexpr char kCancelLabel[] = "Cancel";

int Buttons(int type) noexcept { return type & 0xF; }

} // namespace

std::vector<std::string> OwnerArgs(unsigned long owner)
{
    if (!owner) return {};
    return {"--modal", "--attach=" + std::to_string(owner)};
}

std::vector<std::string> MessageArgs(const char* text, const char* caption, int type)
{
    std::vector<std::string> args;
    switch (Buttons(type)) {
    case kTypeOkCancel:
        args = {"--question", "--ok-label=OK", "--cancel-label=Cancel"};
        break;
    case kTypeYesNo:
        args = {"--question", "--ok-label=Yes", "--cancel-label=No"};
        break;
    case kTypeYesNoCancel:
        args = {"--question", "--ok-label=Yes", "--cancel-label=No",
                std::string("--extra-button=") + kCancelLabel};
        break;
    case kTypeRetryCancel:
        args = {"--question", "--ok-label=Retry", "--cancel-label=Cancel"};
        break;
    default: {
        const int icon = type & 0xF0;
        args = {icon == kIconError ? "--error" : icon == kIconWarning ? "--warning" : "--info"};
        break;
    }
    }
    // Texts are shown as they are: no markup, whatever they contain.
    args.push_back("--no-markup");
    args.push_back(std::string("--title=") + (caption ? caption : ""));
    args.push_back(std::string("--text=") + (text ? text : ""));
    return args;
}

int MessageAnswer(int type, int exitCode, const std::string& output)
{
    const bool accepted = exitCode == 0;
    switch (Buttons(type)) {
    case kTypeOkCancel:
        return accepted ? IGraphics::kMessageOk : IGraphics::kMessageCancel;
    case kTypeYesNo:
        return accepted ? IGraphics::kMessageYes : IGraphics::kMessageNo;
    case kTypeYesNoCancel:
        if (accepted) return IGraphics::kMessageYes;
        return output.compare(0, sizeof kCancelLabel - 1, kCancelLabel) == 0
                   ? IGraphics::kMessageCancel
                   : IGraphics::kMessageNo;
    case kTypeRetryCancel:
        return accepted ? kAnswerRetry : IGraphics::kMessageCancel;
    default:
        return IGraphics::kMessageOk;
    }
}

int CancelledAnswer(int type) noexcept
{
    switch (Buttons(type)) {
    case kTypeOk: return IGraphics::kMessageOk;
    case kTypeYesNo: return IGraphics::kMessageNo;
    default: return IGraphics::kMessageCancel;
    }
}

std::vector<std::string> ColourArgs(const ArgbColor& colour, const char* prompt)
{
    char start[48];
    std::snprintf(start, sizeof start, "--color=rgb(%d,%d,%d)", colour.R, colour.G, colour.B);
    std::vector<std::string> args = {"--color-selection", start};
    if (prompt && *prompt) args.push_back(std::string("--title=") + prompt);
    return args;
}

bool ParseColour(const std::string& output, ArgbColor& colour)
{
    int r = -1, g = -1, b = -1;
    double a = 0.0;
    bool ok = false;
    if (std::sscanf(output.c_str(), "rgba(%d,%d,%d,%lf)", &r, &g, &b, &a) == 4
        || std::sscanf(output.c_str(), "rgb(%d,%d,%d)", &r, &g, &b) == 3) {
        ok = true;
    } else {
        unsigned int rgb = 0;
        char hex[8] = {};
        if (std::sscanf(output.c_str(), "#%6[0-9a-fA-F]", hex) == 1 && hex[5] != 0
            && std::sscanf(hex, "%x", &rgb) == 1) {
            r = int(rgb >> 16);
            g = int((rgb >> 8) & 0xFF);
            b = int(rgb & 0xFF);
            ok = true;
        }
    }
    if (!ok || r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return false;
    colour.R = r;
    colour.G = g;
    colour.B = b;
    return true;
}

std::vector<std::string> FileArgs(bool save, const std::string& folder, const std::string& path,
                                  const FileDialogFilter& filter)
{
    std::vector<std::string> args = {"--file-selection"};
    if (save) {
        args.push_back("--save");
        args.push_back("--confirm-overwrite");
    }
    const std::string start = !path.empty() && path[0] == '/' ? path : folder + path;
    if (!start.empty()) args.push_back("--filename=" + start);
    if (!filter.patterns.empty()) {
        std::string patterns;
        for (const std::string& p : filter.patterns) patterns += (patterns.empty() ? "" : " ") + p;
        args.push_back("--file-filter=" + filter.description + " | " + patterns);
    }
    return args;
}

std::string ChosenFile(const std::string& output)
{
    const size_t end = output.find('\n');
    return output.substr(0, end);
}

} // namespace ZenityDialogs
