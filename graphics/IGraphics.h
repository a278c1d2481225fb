// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IEditorContext.h"
#include "graphics/ArgbColor.h"
#include "graphics/BlendSpec.h"
#include "graphics/FrameStrip.h"
#include "graphics/IControl.h"
#include "graphics/MouseMods.h"
#include "graphics/PixelRect.h"
#include "graphics/PresentedImage.h"
#include "graphics/TextStyle.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IEffectBase;
class IParamRecord;
class IValueReadout;
class PIX_CachedFont;
class PIX_IBitmap;
class PIX_SysBitmap;
class PopupMenu;
class ScaledPanel;

/// The platform-neutral core of the editor: it owns the ordered controls
/// (index 0 is the background), the off-screen draw surface and the editor's
/// size and frame rate; loads image strips through the process-wide cache;
/// decides what is redrawn; routes mouse and key events to controls; and
/// carries values between controls and plug-in parameters both ways.
///
/// Everything that needs a window, a message loop or a system dialog is a
/// virtual operation supplied by a window host. Owned by the plug-in base
/// once attached; the plug-in is borrowed. All operations run on the
/// user-interface thread [ui] unless stated otherwise.
class IGraphics : public IEditorContext {
public:
    /// Wheel delta of one notch (as Windows counts it).
    static constexpr int kWheelNotch = 120;
    /// Results of ShowMessage.
    enum MessageResult : int { kMessageOk = 1, kMessageCancel = 2, kMessageYes = 6, kMessageNo = 7 };
    /// Actions of ChooseFile.
    enum FileAction : int { kFileOpen = 0, kFileSave = 1 };

    /// `plug` receives parameter edits (may be null for a detached editor).
    IGraphics(IEffectBase* plug, int width, int height, int fps);
    IGraphics(const IGraphics&) = delete;
    IGraphics& operator=(const IGraphics&) = delete;

    // ---- building ------------------------------------------------------------

    /// Takes ownership of `control`, appends it (frontmost) and returns its index.
    int AppendControl(std::unique_ptr<IControl> control);
    /// Shows the one-frame image `resourceId` as an unbound background at
    /// (0, 0), blended by replacement, inserted at index 0.
    void InsertBackground(int resourceId, const char* name);
    /// The image `resourceId` (file `name`) as a strip of `frameCount`
    /// frames, decoded on first use by LoadImageResource and cached for the
    /// process. A missing image gives a strip without image and size 0.
    FrameStrip LoadFrameStrip(int resourceId, const char* name, int frameCount);
    /// Takes ownership of the control that receives keys no other control
    /// takes (it is not drawn or hit-tested).
    void SetKeyCatcher(std::unique_ptr<IControl> control);
    /// Takes ownership of `readout` and appends it (frontmost): the pointer
    /// handlers and TickValueReadout tell it what happens to the knobs.
    void AttachValueReadout(std::unique_ptr<IValueReadout> readout);
    /// The attached readout, or null.
    IValueReadout* ValueReadout() const noexcept { return mReadout; }
    /// One redraw tick of the readout (RunEditorTick calls it).
    void TickValueReadout();

    // ---- values between controls and parameters ------------------------------

    /// Creates the draw surface (width x height). [ui, before attaching]
    void PrepareDrawSurface() override;
    /// Delivers a parameter value to every control bound to `paramIdx`: as
    /// main value, and to the first aux entry bound to it. Plain values are
    /// normalised through the parameter first; non-finite values are ignored.
    /// [ui]
    void SetParameterFromPlugin(int paramIdx, double value, bool isNormalized) noexcept override;
    /// Lets the user choose or type a value of `param` for `control`: a menu
    /// of the display texts for list parameters, else a text entry. Needs all
    /// three arguments.
    void PromptValueEntry(IControl* control, IParamRecord* param, const PixelRect& textRect);
    /// Marks every control dirty (without writing to the plug-in), so that the
    /// next pass paints the whole editor; window hosts call it on opening.
    void MarkAllDirty();

    // ---- drawing ---------------------------------------------------------------

    /// Union of the draw rectangles of the dirty controls (hidden ones too);
    /// false when none is dirty.
    bool CollectDirtyArea(PixelRect& area) const;
    /// Draws, background first, every visible control intersecting `rect`,
    /// cleans every control, then presents `rect`. True without controls.
    bool DrawArea(const PixelRect& rect);
    /// Composes (srcX, srcY) of `strip` at `dest`, clipped to the draw area,
    /// with the compose mode and weight of `blend` (null: source-over, 1.0).
    bool BlitFrame(const FrameStrip& strip, const PixelRect& dest, int srcX, int srcY,
                   const BlendSpec* blend);
    /// Blits the frame of `strip` that shows normalised `value` at `dest`.
    bool DrawFrameForValue(const FrameStrip& strip, const PixelRect& dest, double value,
                           const BlendSpec* blend);
    /// Draws `text` into `rect` of the surface with `style` (which remembers
    /// the font), on the rectangle's top line or, with `centreVertically`, as
    /// one line centred in it. Empty text draws nothing and is true; false
    /// when no font could be made. Above scale 1 it is drawn again from a
    /// font of the artwork's scale.
    bool RenderText(TextStyle& style, const char* text, const PixelRect& rect, bool centreVertically = false);
    /// Fills `rect` (clipped to the draw area) with the opaque pixel word
    /// `colour` (0xAARRGGBB); above scale 1 it is filled again at the
    /// artwork's scale.
    void FillArea(const PixelRect& rect, uint32_t colour);

    // ---- content scale ----------------------------------------------------------

    /// Window pixels per editor pixel of what PresentationOf gives. Above 1
    /// the panel is composed again, at the window's pixel size, from the
    /// artwork drawn at the smallest scale at or above it (decoded on first
    /// use, shared through the image cache); 1, anything below and values
    /// that are not finite show the draw surface itself. Layout, hit testing
    /// and drawing stay in editor pixels. A change marks every control dirty.
    /// Window hosts call it from their SetContentScale.
    void SetPanelScale(double scale);
    double PanelScale() const noexcept;
    /// What a window at the panel scale copies to show editor area `rect`
    /// once it was drawn by DrawArea. At scale 1 that is the draw surface
    /// (none before PrepareDrawSurface).
    PresentedImage PresentationOf(const PixelRect& rect) const;
    /// The colour (0xAARRGGBB, opaque) a window shows where a host made it
    /// larger than the panel: the panel's bottom-right corner as last drawn,
    /// so the panel seems to sit on its own edge. Black before any drawing.
    uint32_t SurroundColour() const noexcept;

    // ---- events from the window host (editor pixels) --------------------------

    /// A press on a bound control begins a parameter gesture (the right
    /// button on a bound control opens the host's menu instead).
    void HandleMouseDown(int x, int y, const MouseMods& mods);
    /// Ends the gesture the press began, if any.
    void HandleMouseUp(int x, int y, const MouseMods& mods);
    void HandleMouseDrag(int x, int y, const MouseMods& mods);
    void HandleDoubleClick(int x, int y, const MouseMods& mods);
    /// `steps` whole notches for the control under the pointer (or the
    /// captured one). A turn on a bound control joins the gesture of a press
    /// on the same parameter; otherwise it begins a wheel gesture, which the
    /// following notches on that control join, so that a host's touch
    /// automation records the whole turn. The wheel gesture ends when the
    /// wheel rests (TickWheelGesture), the pointer leaves the control,
    /// another gesture starts, or the window host ends it on closing.
    void HandleMouseWheel(int x, int y, const MouseMods& mods, int steps);
    /// A wheel movement of `delta` (kWheelNotch per notch; touchpads send
    /// less): parts of a notch add up until they make whole steps, which go
    /// to HandleMouseWheel. A whole notch is exactly one step.
    void HandleWheelDelta(int x, int y, const MouseMods& mods, int delta);
    /// Pointer moved without a button; false when hover tracking is off.
    /// Leaving the control of a wheel gesture ends it, tracked or not.
    bool HandlePointerOver(int x, int y, const MouseMods& mods);
    /// Pointer left the editor (a wheel gesture ends).
    void HandlePointerOut();
    /// True when a control (or the key catcher) took the key.
    bool HandleKeyDown(int x, int y, int key);
    /// One redraw tick passed: a wheel gesture whose wheel has rested for
    /// about half a second (WheelRestTicks) ends. RunEditorTick calls it.
    void TickWheelGesture();
    /// Ends an open wheel gesture now; window hosts call it when the
    /// window closes.
    void EndWheelGesture();
    /// Ticks without a notch after which a wheel gesture ends: half a
    /// second at the frame rate, at least one.
    int WheelRestTicks() const noexcept;

    // ---- virtual operations, in slot order ------------------------------------

    /// Copies `rect` of the draw surface to the window.
    virtual bool PresentArea(const PixelRect& rect) = 0;
    /// Measures `text` in `style`: rect's right and bottom become left +
    /// width and top + height. False when no font could be made.
    virtual bool MeasureText(TextStyle& style, const char* text, PixelRect& rect);
    /// Abandons an open value entry without applying it.
    virtual void CancelValueEntry() = 0;
    /// Changes the editor size: drops every control and the surface, makes a
    /// new surface and tells the plug-in; controls must be attached anew.
    virtual void Resize(int width, int height);
    virtual bool IsWindowOpen() const;
    /// Name of the drawing back end; empty for the platform-neutral core.
    virtual const char* GraphicsApiName() const;
    /// A modal message; returns a MessageResult.
    virtual int ShowMessage(const char* text, const char* caption, int type) = 0;
    /// Runs `menu` below `rect`; the (sub)menu holding the chosen item, with
    /// its chosen index set, or null when nothing was chosen.
    virtual PopupMenu* RunPopupMenu(PopupMenu& menu, const PixelRect& rect) = 0;
    /// Opens a text entry over `rect`; the result reaches `control` later.
    virtual void OpenTextEntry(IControl* control, const TextStyle& style, const PixelRect& rect,
                               const char* initialText, IParamRecord* param) = 0;
    /// Folders, or empty when unknown. The host and plug-in folders end in
    /// their separator; the system folders are as the system names them
    /// (with a trailing '/' on Linux, without a trailing '\' on Windows).
    virtual std::string HostFolder() = 0;
    virtual std::string PluginFolder() = 0;
    virtual std::string DesktopFolder() = 0;
    virtual std::string AppDataFolder(bool system) = 0;
    virtual std::string UserAppDataFolder() = 0;
    /// File chooser: `path` becomes the chosen file or empty; `folder` is where
    /// to start and becomes the chosen file's folder. `extensions` are
    /// space-separated.
    virtual void ChooseFile(std::string& path, int action, std::string& folder,
                            const char* extensions) = 0;
    /// Colour chooser: true and `colour`'s red, green, blue replaced on a choice.
    virtual bool ChooseColour(ArgbColor& colour, const char* prompt) = 0;
    /// Opens `url` in the browser (after `confirmText` was answered yes, if
    /// given); true when the page was handed over.
    virtual bool OpenWebPage(const char* url, const char* title, const char* confirmText,
                             const char* failureText) = 0;
    /// Opens the editor window inside `parent`; returns it, or null.
    virtual void* OpenEditorWindow(void* parent) = 0;
    virtual void CloseEditorWindow() = 0;
    /// The open editor window, or null.
    virtual void* NativeWindow() const = 0;
    /// Clipboard text as UTF-8; false (and empty) when there is none.
    virtual bool ReadClipboardText(std::string& text) = 0;
    /// Destroys the key catcher, then every control, then the draw surface.
    ~IGraphics() override;
    virtual void ConcealCursor();
    virtual void RestoreCursor();
    /// Decodes image `resourceId`; `name` must end in ".png". Null when missing.
    virtual std::unique_ptr<PIX_IBitmap> LoadImageResource(int resourceId, const char* name) = 0;

    // ---- accessors ---------------------------------------------------------------

    IEffectBase* Plug() const noexcept { return mPlug; }
    int Width() const noexcept { return mWidth; }
    int Height() const noexcept { return mHeight; }
    int Fps() const noexcept { return mFps; }
    int ControlCount() const noexcept { return int(mControls.size()); }
    /// Control `index`, or null when out of range.
    IControl* Control(int index) const noexcept;
    /// The off-screen image of the whole editor; null until prepared.
    PIX_SysBitmap* DrawSurface() const noexcept { return mDrawSurface.get(); }
    const PixelRect& DrawAreaRect() const noexcept { return mDrawArea; }
    int CapturedIndex() const noexcept { return mCapturedIndex; }
    int HoverIndex() const noexcept { return mHoverIndex; }
    /// Drops the current press (menus and text entries take the pointer).
    void ReleaseCapture() noexcept;
    void SetTrackHover(bool track) noexcept { mTrackHover = track; }
    /// Tooltips also need hover tracking.
    bool TooltipsEnabled() const noexcept { return mTooltipsEnabled; }
    void SetTooltipsEnabled(bool enabled) noexcept { mTooltipsEnabled = enabled; }

private:
    /// Index of the control under (x, y), −1 for none: the captured control
    /// when `honourCapture`, else the frontmost visible, ungreyed (or, for
    /// `pointerOver`, hover-when-greyed) control whose hit test succeeds.
    int FindControl(int x, int y, bool honourCapture, bool pointerOver) const;
    /// Sends EndParamGesture for the gesture a press began, if one is open.
    void EndOpenGesture();
    /// The cached image `resourceId`, decoded and cached on first use; null
    /// when it is missing.
    PIX_IBitmap* CachedImage(int resourceId, const char* name);
    /// `image` (a cached 1x image) as drawn at `scale`, or null when the
    /// module has no such drawing of the right size.
    const PIX_IBitmap* ScaledArtwork(const PIX_IBitmap& image, int scale);
    /// Draws `text` into `rect` of `surface` with `style`'s font and colour
    /// and the text `format` flags; false when no font could be made.
    bool DrawTextInto(PIX_IBitmap* surface, TextStyle& style, const char* text, const PixelRect& rect,
                  uint32_t format);

protected:
    /// The style's font, else a cached one, else a new one (cached); window
    /// hosts draw their own boxes and menus with it. Null when none can be made.
    PIX_CachedFont* FontFor(TextStyle& style);

private:
    IEffectBase* mPlug = nullptr;
    std::vector<std::unique_ptr<IControl>> mControls;
    std::unique_ptr<PIX_SysBitmap> mDrawSurface;
    /// Only while the panel scale is above 1.
    std::unique_ptr<ScaledPanel> mScaledPanel;
    PixelRect mDrawArea;
    int mWidth = 0;
    int mHeight = 0;
    int mFps = 0;
    int mCapturedIndex = -1;
    int mHoverIndex = -1;
    /// Parameter whose BeginParamGesture awaits its EndParamGesture, −1 none.
    int mGestureParam = -1;
    /// The open wheel gesture: its parameter and control (−1 none) and the
    /// ticks since its last notch.
    int mWheelGestureParam = -1;
    int mWheelGestureIndex = -1;
    int mWheelRestedTicks = 0;
    /// Wheel delta not yet turned into a step, below one notch either way.
    int mWheelRemainder = 0;
    int mLastX = 0;
    int mLastY = 0;
    bool mTrackHover = false;
    bool mTooltipsEnabled = false;
    std::unique_ptr<IControl> mKeyCatcher;
    /// One of the controls, when attached.
    IValueReadout* mReadout = nullptr;
};
