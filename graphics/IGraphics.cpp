// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/IGraphics.h"

#include "framework/IEffectBase.h"
#include "framework/IParamRecord.h"
#include "graphics/ArtworkScale.h"
#include "graphics/FontCache.h"
#include "graphics/IBitmapControl.h"
#include "graphics/ImageCache.h"
#include "graphics/IValueReadout.h"
#include "graphics/PopupMenu.h"
#include "graphics/ScaledPanel.h"
#include "graphics/WindowScale.h"
#include "raster/PIX_CachedFont.h"
#include "raster/PIX_Compose.h"
#include "raster/PIX_FontFlags.h"
#include "raster/PIX_PlatformFont.h"
#include "raster/PIX_SysBitmap.h"
#include "raster/PIX_TextFormat.h"

#include <cmath>
#include <cstdio>
#include <cstring>

IGraphics::IGraphics(IEffectBase* plug, int width, int height, int fps)
    : mPlug(plug), mWidth(width), mHeight(height), mFps(fps)
{
}

IGraphics::~IGraphics()
{
    mKeyCatcher.reset();
    mControls.clear();
    mDrawSurface.reset();
}

// ---- building ------------------------------------------------------------------

int IGraphics::AppendControl(std::unique_ptr<IControl> control)
{
    if (!control) return -1;
    control->SetGraphics(this);
    mControls.push_back(std::move(control));
    return ControlCount() - 1;
}

void IGraphics::InsertBackground(int resourceId, const char* name)
{
    const FrameStrip strip = LoadFrameStrip(resourceId, name, 1);
    auto background = std::make_unique<IBitmapControl>(mPlug, 0, 0, -1, strip,
                                                       BlendSpec::kBlendReplace);
    background->SetGraphics(this);
    mControls.insert(mControls.begin(), std::move(background));
    // Indices moved up by one; a press in progress would now name the wrong control.
    if (mCapturedIndex >= 0) ++mCapturedIndex;
    if (mHoverIndex >= 0) ++mHoverIndex;
    if (mWheelGestureIndex >= 0) ++mWheelGestureIndex;
}

FrameStrip IGraphics::LoadFrameStrip(int resourceId, const char* name, int frameCount)
{
    PIX_IBitmap* image = CachedImage(resourceId, name);
    FrameStrip strip;
    strip.image = image;
    strip.width = image ? image->Width() : 0;
    strip.height = image ? image->Height() : 0;
    // A strip always has at least one frame, so frame sizes never divide by zero.
    strip.frameCount = frameCount >= 1 ? frameCount : 1;
    strip.horizontal = false;
    return strip;
}

PIX_IBitmap* IGraphics::CachedImage(int resourceId, const char* name)
{
    ImageCache& cache = ImageCache::Instance();
    PIX_IBitmap* image = cache.Find(resourceId);
    // Decoded outside the cache lock; a concurrent decode of the same image
    // only costs a second copy, and Insert hands everyone the first.
    if (!image) image = cache.Insert(resourceId, LoadImageResource(resourceId, name));
    return image;
}

const PIX_IBitmap* IGraphics::ScaledArtwork(const PIX_IBitmap& image, int scale)
{
    const int resourceId = ImageCache::Instance().IdOf(&image);
    if (resourceId < 0) return nullptr;
    // The scaled drawings are resources like the 1x ones; only the id tells
    // them apart, and the name only has to say PNG.
    const PIX_IBitmap* scaled = CachedImage(ArtworkScale::ResourceId(resourceId, scale), "scaled.png");
    const bool fits = scaled && scaled->Width() == image.Width() * scale
                      && scaled->Height() == image.Height() * scale;
    return fits ? scaled : nullptr;
}

void IGraphics::SetKeyCatcher(std::unique_ptr<IControl> control)
{
    if (control) control->SetGraphics(this);
    mKeyCatcher = std::move(control);
}

void IGraphics::AttachValueReadout(std::unique_ptr<IValueReadout> readout)
{
    IValueReadout* attached = readout.get();
    if (AppendControl(std::move(readout)) >= 0) mReadout = attached;
}

void IGraphics::TickValueReadout()
{
    if (mReadout) mReadout->Tick();
}

IControl* IGraphics::Control(int index) const noexcept
{
    return index >= 0 && index < ControlCount() ? mControls[size_t(index)].get() : nullptr;
}

void IGraphics::ReleaseCapture() noexcept
{
    mCapturedIndex = -1;
    mLastX = -1;
    mLastY = -1;
}

// ---- values between controls and parameters ------------------------------------

void IGraphics::PrepareDrawSurface()
{
    mDrawSurface = std::make_unique<PIX_SysBitmap>();
    mDrawSurface->Resize(mWidth, mHeight);
}

void IGraphics::SetParameterFromPlugin(int paramIdx, double value, bool isNormalized) noexcept
{
    if (!isNormalized) {
        if (!mPlug || paramIdx < 0 || paramIdx >= mPlug->GetParamCount()) return;
        value = mPlug->GetParam(paramIdx)->PlainToNormalized(value);
    }
    // A damaged value must not reach a control: it would be drawn and, on the
    // next user edit, written back to the plug-in.
    if (!std::isfinite(value)) return;

    for (const auto& control : mControls) {
        if (control->ParamIdx() == paramIdx) control->SetValueFromPlugin(value);
        for (int i = 0; i < control->AuxParamCount(); ++i) {
            if (control->Aux(i)->paramIdx == paramIdx) {
                control->SetAuxValueFromPlugin(i, value);
                break;
            }
        }
    }
}

void IGraphics::PromptValueEntry(IControl* control, IParamRecord* param, const PixelRect& textRect)
{
    if (!control || !param || textRect.IsEmpty()) return;

    const auto& texts = param->DisplayTexts();
    const int kind = param->Kind();
    if (kind == IParamRecord::kKindList || (kind == IParamRecord::kKindEnum && !texts.empty())) {
        // The value as the host shows it: a value without a display text reads
        // as its number, so it checks no item, not an index without a text.
        char current[32];
        param->FormatForHost(param->Value(), current, sizeof current);
        PopupMenu menu;
        for (int i = 0; i < int(texts.size()); ++i) {
            const char* text = param->DisplayTextFor(i);
            const bool checked = std::strcmp(text, current) == 0;
            menu.AddItem(text, checked ? PopupMenuItem::kChecked : 0);
        }
        if (PopupMenu* chosen = RunPopupMenu(menu, textRect)) {
            if (chosen->ChosenIndex() >= 0)
                control->SetValueFromUser(param->PlainToNormalized(chosen->ChosenIndex()));
        }
        return;
    }

    double plain = param->Value();
    if (param->NegateDisplay()) plain = -plain;
    char text[32];
    if (param->HasTextUnits())
        param->FormatForHost(param->Value(), text, sizeof text);
    else if (param->DisplayPrecision() > 0)
        std::snprintf(text, sizeof text, "%.*f", param->DisplayPrecision(), plain);
    else
        std::snprintf(text, sizeof text, "%d", int(plain));
    OpenTextEntry(control, control->Text(), textRect, text, param);
}

void IGraphics::MarkAllDirty()
{
    for (const auto& control : mControls) control->MarkDirty(false);
}

// ---- drawing ----------------------------------------------------------------------

bool IGraphics::CollectDirtyArea(PixelRect& area) const
{
    area = {};
    bool dirty = false;
    for (const auto& control : mControls) {
        if (!control->NeedsRedraw()) continue;
        area = area.Union(control->Rect());
        dirty = true;
    }
    return dirty;
}

bool IGraphics::DrawArea(const PixelRect& rect)
{
    if (mControls.empty()) return true;
    mDrawArea = rect;
    for (const auto& control : mControls)
        if (!control->IsHidden() && rect.Intersects(control->Rect())) control->Draw(*this);
    // Hidden controls are cleaned too, or a hidden dirty control would keep
    // the redraw timer busy forever.
    for (const auto& control : mControls) control->MarkClean();
    if (mScaledPanel && mDrawSurface) {
        mScaledPanel->Compose(*mDrawSurface, rect, [this](const PIX_IBitmap& image, int scale) {
            return ScaledArtwork(image, scale);
        });
    }
    return PresentArea(rect);
}

bool IGraphics::BlitFrame(const FrameStrip& strip, const PixelRect& dest, int srcX, int srcY,
                          const BlendSpec* blend)
{
    const PixelRect r = dest.Intersection(mDrawArea);
    if (r.IsEmpty() || !strip.image) return true;
    const PIX_Rect source{srcX + r.L - dest.L, srcY + r.T - dest.T, srcX + r.R - dest.L,
                          srcY + r.B - dest.T};
    const BlendSpec blendSpec = blend ? *blend : BlendSpec{};
    PIX_Compose(mDrawSurface.get(), strip.image, r.L, r.T, &source, blendSpec.weight, blendSpec.ComposeMode());
    if (mScaledPanel) mScaledPanel->RecordBlit(*strip.image, r, source, blendSpec.ComposeMode(), blendSpec.weight);
    return true;
}

bool IGraphics::DrawFrameForValue(const FrameStrip& strip, const PixelRect& dest, double value,
                                  const BlendSpec* blend)
{
    const int frame = strip.FrameForValue(value);
    const int offset = strip.FrameOffset(frame);
    return strip.horizontal ? BlitFrame(strip, dest, offset, 0, blend)
                            : BlitFrame(strip, dest, 0, offset, blend);
}

// ---- content scale --------------------------------------------------------------------

void IGraphics::SetPanelScale(double scale)
{
    scale = WindowScale::Sanitized(scale);
    if (scale == PanelScale()) return;
    // Nothing is kept for scale 1: an editor that never leaves it costs no more.
    mScaledPanel = scale > 1.0 ? std::make_unique<ScaledPanel>(scale, mWidth, mHeight) : nullptr;
    MarkAllDirty();
}

double IGraphics::PanelScale() const noexcept
{
    return mScaledPanel ? mScaledPanel->ContentScale() : 1.0;
}

PresentedImage IGraphics::PresentationOf(const PixelRect& rect) const
{
    if (mScaledPanel) return mScaledPanel->Presentation(rect);
    return {mDrawSurface.get(), rect, 1.0};
}

PIX_CachedFont* IGraphics::FontFor(TextStyle& style)
{
    if (style.font) return style.font;
    FontCache& cache = FontCache::Instance();
    PIX_CachedFont* font = cache.Find(style.size, style.orientation, style.style, style.face);
    if (!font) {
        PIX_FontSpec fontSpec;
        fontSpec.face = style.face;
        fontSpec.height = style.size;
        fontSpec.weight = style.style == TextStyle::kStyleBold ? 700 : 400;
        fontSpec.italic = style.style == TextStyle::kStyleItalic;
        fontSpec.antialiased = style.quality != TextStyle::kQualityNonAntialiased;
        fontSpec.smoothing = style.quality == TextStyle::kQualityClearType     ? PIX_FontSmoothing::kClearType
                             : style.quality == TextStyle::kQualityAntialiased ? PIX_FontSmoothing::kStandard
                                                                               : PIX_FontSmoothing::kSystemDefault;
        // Windows turns the text line; the Linux text layer draws it
        // horizontally, and there the orientation only keys the cache.
        fontSpec.orientation = style.orientation;
        std::unique_ptr<PIX_PlatformFont> handle = PIX_PlatformFont::Create(fontSpec);
        if (!handle) return nullptr;
        auto created = std::make_unique<PIX_CachedFont>();
        created->AttachFont(handle.release(), kFontOwnsHandle + kFontPreferSystem);
        font = cache.Insert(style.size, style.orientation, style.style, style.face,
                            std::move(created));
    }
    style.font = font;
    return font;
}

bool IGraphics::RenderText(TextStyle& style, const char* text, const PixelRect& rect, bool centreVertically)
{
    if (!text || !*text) return true;
    uint32_t format = DT_NOCLIP;
    if (style.align == TextStyle::kAlignCenter) format += DT_CENTER;
    if (style.align == TextStyle::kAlignFar) format += DT_RIGHT;
    if (centreVertically) format += DT_VCENTER + DT_SINGLELINE;
    if (style.color.A != 255) format += kTextColorAlphaWeight;
    if (!DrawTextInto(mDrawSurface.get(), style, text, rect, format)) return false;
    if (mScaledPanel) {
        // The same text again in a font as many times larger as the artwork.
        TextStyle scaled = style;
        scaled.font = nullptr;
        mScaledPanel->RecordPainting([this, scaled, line = std::string(text), rect, format](PIX_IBitmap& surface,
                                                                                           int scale) mutable {
            scaled.size *= scale;
            DrawTextInto(&surface, scaled, line.c_str(),
                     {rect.L * scale, rect.T * scale, rect.R * scale, rect.B * scale}, format);
        });
    }
    return true;
}

bool IGraphics::DrawTextInto(PIX_IBitmap* surface, TextStyle& style, const char* text, const PixelRect& rect,
                         uint32_t format)
{
    PIX_CachedFont* font = FontFor(style);
    if (!font) return false;
    font->SetFontColor(style.color.Packed());
    PIX_Rect box{rect.L, rect.T, rect.R, rect.B};
    font->DrawString(surface, text, int32_t(std::strlen(text)), box, format);
    return true;
}

void IGraphics::FillArea(const PixelRect& rect, uint32_t colour)
{
    const PixelRect r = rect.Intersection(mDrawArea);
    if (r.IsEmpty() || !mDrawSurface) return;
    PIX_Fill(mDrawSurface.get(), r.L, r.T, r.R - r.L, r.B - r.T, colour, 1.0f, kComposeCopy);
    if (mScaledPanel) {
        mScaledPanel->RecordPainting([r, colour](PIX_IBitmap& surface, int scale) {
            PIX_Fill(&surface, r.L * scale, r.T * scale, (r.R - r.L) * scale, (r.B - r.T) * scale, colour, 1.0f,
                     kComposeCopy);
        });
    }
}

// ---- virtual operations with a base behaviour ----------------------------------------

bool IGraphics::MeasureText(TextStyle& style, const char* text, PixelRect& rect)
{
    PIX_CachedFont* font = FontFor(style);
    if (!font) return false;
    PIX_Rect box{rect.L, rect.T, rect.R, rect.B};
    font->DrawString(nullptr, text ? text : "", text ? int32_t(std::strlen(text)) : 0, box,
                     DT_CALCRECT);
    rect = {box.left, box.top, box.right, box.bottom};
    return true;
}

uint32_t IGraphics::SurroundColour() const noexcept
{
    const PIX_SysBitmap* surface = mDrawSurface.get();
    if (!surface || !surface->Pixels() || surface->Width() <= 0 || surface->Height() <= 0)
        return 0xFF000000u;
    const int x = surface->Width() - 1;
    const int y = surface->IsBottomUp() ? 0 : surface->Height() - 1;
    return surface->Pixels()[size_t(y) * size_t(surface->RowStride()) + size_t(x)] | 0xFF000000u;
}

void IGraphics::Resize(int width, int height)
{
    mWidth = width;
    mHeight = height;
    ReleaseCapture();
    EndWheelGesture();
    // The controls go away, so no index into them may survive.
    mHoverIndex = -1;
    mReadout = nullptr;
    mControls.clear();
    mDrawSurface.reset();
    PrepareDrawSurface();
    if (mScaledPanel) mScaledPanel = std::make_unique<ScaledPanel>(mScaledPanel->ContentScale(), width, height);
    if (mPlug) mPlug->ResizeEditor(width, height);
}

bool IGraphics::IsWindowOpen() const { return NativeWindow() != nullptr; }

const char* IGraphics::GraphicsApiName() const { return ""; }

void IGraphics::ConcealCursor() {}

void IGraphics::RestoreCursor() {}
