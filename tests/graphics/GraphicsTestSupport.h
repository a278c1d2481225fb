// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IEffectBase.h"
#include "graphics/FrameStrip.h"
#include "graphics/IControl.h"
#include "graphics/IGraphicsOffscreen.h"
#include "graphics/PopupMenu.h"
#include "raster/PIX_MemBitmap.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Shared fixtures of the editor tests: a plug-in that records what the editor
// asks of it, a window host that records prompts, and a control that records
// the events it receives.

/// Parameters of TestPlug.
enum TestParam : int {
    kParamLevel = 0,  ///< continuous 0..1, default 0.25
    kParamGain = 1,   ///< continuous −15..15 dB, step 0.01, default 3, negated display
    kParamSwitch = 2, ///< integer 0..1, default 1
    kParamMode = 3,   ///< list of three texts, default 1
    kParamCount = 4
};

/// A plug-in whose host side only writes what it is told into `log`.
class TestPlug : public IEffectBase {
public:
    TestPlug();

    void BeginParamGesture(int paramIdx) override;
    void ReportParamChange(int paramIdx, double normalized) override;
    void EndParamGesture(int paramIdx) override;
    void PopupHostContextMenu(int paramIdx, int x, int y) override;
    void ReportProgramChange() override {}
    int GetSamplePosition() const override { return 0; }
    double GetTempo() const override { return 120.0; }
    void GetTimeSignature(int& numerator, int& denominator) const override;
    void GetTransportInfo(ITransportInfo&) const override {}
    bool ResizeEditor(int width, int height) override;
    bool SendMidiMessage(const IMidiMessage&) override { return false; }

    std::vector<std::string> log;
};

/// An off-screen editor that records value prompts and image loads, and
/// picks `menuChoice` (−1: nothing) when a menu runs.
class RecordingGraphics : public IGraphicsOffscreen {
public:
    RecordingGraphics(IEffectBase* plug, int width, int height)
        : IGraphicsOffscreen(plug, width, height, 25) {}

    PopupMenu* RunPopupMenu(PopupMenu& menu, const PixelRect& rect) override;
    void OpenTextEntry(IControl* control, const TextStyle& style, const PixelRect& rect,
                       const char* initialText, IParamRecord* param) override;
    std::unique_ptr<PIX_IBitmap> LoadImageResource(int resourceId, const char* name) override;

    int menuChoice = -1;
    std::vector<std::string> menuItems; ///< texts of the last menu, "*" appended when checked
    PixelRect promptRect;
    std::string entryText;
    IControl* entryControl = nullptr;
    int imageLoads = 0;
};

/// A control that logs every event it receives into `log`.
class ProbeControl : public IControl {
public:
    ProbeControl(IEffectBase* plug, const PixelRect& rect, int paramIdx, std::vector<std::string>& log,
                 const char* name);

    void OnPress(int x, int y, const MouseMods& mods) override;
    void OnRelease(int x, int y, const MouseMods& mods) override;
    void OnDrag(int x, int y, int dX, int dY, const MouseMods& mods) override;
    void OnDoubleClick(int x, int y, const MouseMods& mods) override;
    void OnWheelTurn(int x, int y, const MouseMods& mods, int steps) override;
    bool OnKeyPress(int x, int y, int key) override;
    void OnPointerOver(int x, int y, const MouseMods& mods) override;
    void OnPointerOut() override;
    bool Draw(IGraphics& graphics) override;

    bool takesKeys = false;

private:
    std::vector<std::string>& mLog;
    std::string mName;
};

/// Presses of one button without modifier keys.
constexpr MouseMods kLeftButton{true};
constexpr MouseMods kRightButton{false, true};

/// Makes a C from `args`, appends it to `graphics` (which owns it) and returns it.
template <class C, class... Args>
C* Attach(IGraphics& graphics, Args&&... args)
{
    auto control = std::make_unique<C>(std::forward<Args>(args)...);
    C* raw = control.get();
    graphics.AppendControl(std::move(control));
    return raw;
}

/// Sets every pixel of `bitmap` to `colour` (0xAARRGGBB).
void FillWith(PIX_IBitmap& bitmap, uint32_t colour);

/// A w × h in-memory image of one colour (0xAARRGGBB).
std::unique_ptr<PIX_MemBitmap> MakeImage(int width, int height, uint32_t colour);
/// A vertical strip of `colours.size()` frames of width × frameHeight, frame i in colours[i].
std::unique_ptr<PIX_MemBitmap> MakeStripImage(int width, int frameHeight,
                                              const std::vector<uint32_t>& colours);
/// `image` as a vertical strip of `frames` frames (the image stays the caller's).
FrameStrip StripOf(PIX_IBitmap& image, int frames);
/// The pixel word at (x, y).
uint32_t PixelAt(const PIX_IBitmap& bitmap, int x, int y);
