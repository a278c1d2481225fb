// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicsTestSupport.h"

#include "framework/FourCharCode.h"

#include <string>

TestPlug::TestPlug()
    : IEffectBase(kParamCount, "1-1 2-2", 1, "Test", "", "Maker", 0x30000, MakeFourCharCode("Tst1"),
                  MakeFourCharCode("Mkr1"))
{
    GetParam(kParamLevel)->DefineContinuous("Level", 0.25, 0.0, 1.0, 0.001);
    GetParam(kParamGain)->DefineContinuous("Gain", 3.0, -15.0, 15.0, 0.01, "dB");
    GetParam(kParamGain)->SetNegateDisplay(true);
    GetParam(kParamSwitch)->SetKind(IParamRecord::kKindInteger);
    GetParam(kParamSwitch)->DefineContinuous("Switch", 1.0, 0.0, 1.0, 1.0);
    IParamRecord* mode = GetParam(kParamMode);
    mode->SetKind(IParamRecord::kKindList);
    mode->DefineContinuous("Mode", 1.0, 0.0, 2.0, 1.0);
    mode->AddDisplayText(0, "Soft");
    mode->AddDisplayText(1, "Warm");
    mode->AddDisplayText(2, "Hard");
}

void TestPlug::BeginParamGesture(int paramIdx) { log.push_back("begin " + std::to_string(paramIdx)); }

void TestPlug::ReportParamChange(int paramIdx, double normalized)
{
    log.push_back("edit " + std::to_string(paramIdx) + " " + std::to_string(normalized));
}

void TestPlug::EndParamGesture(int paramIdx) { log.push_back("end " + std::to_string(paramIdx)); }

void TestPlug::PopupHostContextMenu(int paramIdx, int x, int y)
{
    log.push_back("menu " + std::to_string(paramIdx) + " " + std::to_string(x) + " "
                  + std::to_string(y));
}

void TestPlug::GetTimeSignature(int& numerator, int& denominator) const
{
    numerator = 4;
    denominator = 4;
}

bool TestPlug::ResizeEditor(int width, int height)
{
    log.push_back("resize " + std::to_string(width) + " " + std::to_string(height));
    return true;
}

PopupMenu* RecordingGraphics::RunPopupMenu(PopupMenu& menu, const PixelRect& rect)
{
    promptRect = rect;
    menuItems.clear();
    for (int i = 0; i < menu.ItemCount(); ++i)
        menuItems.push_back(menu.Item(i)->Text() + (menu.Item(i)->IsChecked() ? "*" : ""));
    if (menuChoice < 0) return nullptr;
    menu.SetChosenIndex(menuChoice);
    return &menu;
}

void RecordingGraphics::OpenTextEntry(IControl* control, const TextStyle&, const PixelRect& rect,
                                      const char* initialText, IParamRecord*)
{
    entryControl = control;
    promptRect = rect;
    entryText = initialText;
}

std::unique_ptr<PIX_IBitmap> RecordingGraphics::LoadImageResource(int resourceId, const char* name)
{
    ++imageLoads;
    return IGraphicsOffscreen::LoadImageResource(resourceId, name);
}

ProbeControl::ProbeControl(IEffectBase* plug, const PixelRect& rect, int paramIdx,
                           std::vector<std::string>& log, const char* name)
    : IControl(plug, rect, paramIdx), mLog(log), mName(name)
{
}

void ProbeControl::OnPress(int x, int y, const MouseMods& mods)
{
    mLog.push_back(mName + " press " + std::to_string(x) + "," + std::to_string(y)
                   + (mods.right ? " right" : ""));
}

void ProbeControl::OnRelease(int x, int y, const MouseMods&)
{
    mLog.push_back(mName + " release " + std::to_string(x) + "," + std::to_string(y));
}

void ProbeControl::OnDrag(int x, int y, int dX, int dY, const MouseMods&)
{
    mLog.push_back(mName + " drag " + std::to_string(x) + "," + std::to_string(y) + " by "
                   + std::to_string(dX) + "," + std::to_string(dY));
}

void ProbeControl::OnDoubleClick(int, int, const MouseMods&) { mLog.push_back(mName + " double"); }

void ProbeControl::OnWheelTurn(int, int, const MouseMods&, int steps)
{
    mLog.push_back(mName + " wheel " + std::to_string(steps));
}

bool ProbeControl::OnKeyPress(int, int, int key)
{
    mLog.push_back(mName + " key " + std::to_string(key));
    return takesKeys;
}

void ProbeControl::OnPointerOver(int x, int y, const MouseMods&)
{
    mLog.push_back(mName + " over " + std::to_string(x) + "," + std::to_string(y));
}

void ProbeControl::OnPointerOut() { mLog.push_back(mName + " out"); }

bool ProbeControl::Draw(IGraphics&)
{
    mLog.push_back(mName + " draw");
    return true;
}

std::unique_ptr<PIX_MemBitmap> MakeImage(int width, int height, uint32_t colour)
{
    return MakeStripImage(width, height, {colour});
}

std::unique_ptr<PIX_MemBitmap> MakeStripImage(int width, int frameHeight,
                                              const std::vector<uint32_t>& colours)
{
    auto image = std::make_unique<PIX_MemBitmap>();
    image->Resize(width, frameHeight * int(colours.size()));
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < width; ++x)
            image->Pixels()[y * image->RowStride() + x] = colours[size_t(y / frameHeight)];
    return image;
}

FrameStrip StripOf(PIX_IBitmap& image, int frames)
{
    FrameStrip strip;
    strip.image = &image;
    strip.width = image.Width();
    strip.height = image.Height();
    strip.frameCount = frames;
    return strip;
}

void FillWith(PIX_IBitmap& bitmap, uint32_t colour)
{
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) bitmap.Pixels()[y * bitmap.RowStride() + x] = colour;
}

uint32_t PixelAt(const PIX_IBitmap& bitmap, int x, int y)
{
    return bitmap.Pixels()[y * bitmap.RowStride() + x];
}
