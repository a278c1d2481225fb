// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/x11/IGraphicsX11.h"

#include "graphics/DoubleClickDetector.h"
#include "graphics/EditorTick.h"
#include "graphics/IEditorRunLoop.h"
#include "graphics/PopupMenu.h"
#include "graphics/PopupMenuNumbering.h"
#include "graphics/TooltipTracker.h"
#include "graphics/WebPageOpening.h"
#include "graphics/WindowScale.h"
#include "graphics/x11/ChildProcess.h"
#include "graphics/x11/LinuxDesktop.h"
#include "graphics/x11/X11Clipboard.h"
#include "graphics/x11/X11EntryBox.h"
#include "graphics/x11/X11ErrorTrap.h"
#include "graphics/x11/X11ImageWriter.h"
#include "graphics/x11/X11Input.h"
#include "graphics/x11/X11PopupMenu.h"
#include "graphics/x11/X11SmallWindow.h"
#include "raster/PIX_CachedFont.h"
#include "raster/PIX_Compose.h"
#include "raster/PIX_ComposeMode.h"
#include "raster/PIX_PngLoader.h"
#include "raster/PIX_SysBitmap.h"
#include "raster/PIX_TextFormat.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>

namespace {

constexpr long kEditorEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask
                               | PointerMotionMask | LeaveWindowMask | KeyPressMask
                               | KeyReleaseMask;
constexpr unsigned long kXEmbedVersion = 0;
constexpr unsigned long kXEmbedMapped = 1;
constexpr uint32_t kTooltipBackground = 0xFFFFFFE1u;
constexpr uint32_t kTooltipBorder = 0xFF767676u;
constexpr uint32_t kTooltipText = 0xFF000000u;
constexpr int kTooltipOffsetX = 12;
constexpr int kTooltipOffsetY = 18;

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Window ToXid(void* handle) noexcept { return Window(reinterpret_cast<uintptr_t>(handle)); }

} // namespace

struct IGraphicsX11::Impl {
    explicit Impl(IGraphicsX11& owner) : self(owner) {}

    IGraphicsX11& self;
    IEditorRunLoop* runLoop = nullptr;
    /// The loop holding this window's registrations: a later SetRunLoop
    /// must not make them unreachable.
    IEditorRunLoop* registeredLoop = nullptr;
    double scale = 1.0;

    // The open window; display is null while closed.
    Display* display = nullptr;
    Window window = 0;
    Window parent = 0;
    Window hostTopLevel = 0; ///< found on demand while the window is open
    GC gc = nullptr;
    Visual* visual = nullptr;
    int depth = 0;
    int fdRegistration = 0;
    int timerRegistration = 0;
    /// Without a run loop the window shows this image as its background.
    Pixmap staticImage = 0;
    bool captured = false;
    Cursor blankCursor = 0; ///< set while the pointer is concealed
    int hiddenX = -1;       ///< where it was concealed, screen pixels
    int hiddenY = -1;
    int lastX = 0; ///< last pointer position, editor pixels
    int lastY = 0;
    PixelRect exposed; ///< exposed area not yet painted, window pixels

    TextEntrySession entry;
    std::unique_ptr<X11EntryBox> entryBox;
    TooltipTracker tips;
    std::unique_ptr<X11SmallWindow> tooltip;
    DoubleClickDetector doubleClick;

    int WindowWidth() const { return WindowScale::ScaledLength(self.Width(), scale); }
    int WindowHeight() const { return WindowScale::ScaledLength(self.Height(), scale); }
    int ToEditor(int windowPixel) const { return WindowScale::ToEditor(windowPixel, scale); }
    /// The user is typing in the entry box.
    bool Typing() const noexcept
    {
        return entry.IsOpen() && entry.GetState() == TextEntrySession::kEditing;
    }

    bool Open(Window parentId, int x, int y);
    void Close();
    void UnregisterFromLoop();
    void PaintOnce();
    void RepaintAll();
    /// Paints what of `area` (window pixels) lies beyond the panel.
    void PaintSurround(Drawable target, const PixelRect& area);
    void HandleEvent(XEvent& event);
    void HandleEditorEvent(XEvent& event);
    void HandleEntryBoxEvent(XEvent& event);
    void OnButtonPress(const XButtonEvent& event);
    void OnButtonRelease(const XButtonEvent& event);
    void OnMotion(const XMotionEvent& event);
    void ForwardKeyToHost(XKeyEvent event);
    Window HostTopLevel();
    void CloseEntryBox();
    void ShowTooltip();
    void HideTooltip();
    PIX_CachedFont* DefaultFont();
};

// ---- window lifecycle ------------------------------------------------------------------

bool IGraphicsX11::Impl::Open(Window parentId, int x, int y)
{
    display = XOpenDisplay(nullptr);
    if (!display) return false;
    bool failed = false;
    {
        // A host may hand over an id that is not (or no longer) a window.
        X11ErrorTrap trap(display);
        XSetWindowAttributes attributes{};
        attributes.event_mask = kEditorEvents;
        attributes.background_pixmap = None;
        window = XCreateWindow(display, parentId, x, y, unsigned(WindowWidth()),
                               unsigned(WindowHeight()), 0, CopyFromParent, InputOutput,
                               CopyFromParent, CWEventMask | CWBackPixmap, &attributes);
        XWindowAttributes info{};
        failed = trap.Failed() || !window || !XGetWindowAttributes(display, window, &info)
                 || trap.Failed();
        visual = info.visual;
        depth = info.depth;
    }
    if (failed) {
        XCloseDisplay(display);
        display = nullptr;
        window = 0;
        return false;
    }
    parent = parentId;
    gc = XCreateGC(display, window, 0, nullptr);
    // Shown by window managers when the editor is a window of its own (a
    // host that shows the UI itself, such as jalv's ui:showInterface).
    XStoreName(display, window, "KELDRA");
    XClassHint classHint{const_cast<char*>("keldra"), const_cast<char*>("KELDRA")};
    XSetClassHint(display, window, &classHint);
    // Embedders hide a client until its XEmbed info says it is mapped.
    const Atom xembedInfo = XInternAtom(display, "_XEMBED_INFO", False);
    const unsigned long info[2] = {kXEmbedVersion, kXEmbedMapped};
    XChangeProperty(display, window, xembedInfo, xembedInfo, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(info), 2);
    XMapWindow(display, window);
    XSync(display, False);

    self.MarkAllDirty();
    registeredLoop = runLoop;
    if (registeredLoop) {
        fdRegistration = registeredLoop->RegisterFdHandler(
            ConnectionNumber(display), [this] { self.ProcessPendingEvents(); });
        timerRegistration = registeredLoop->RegisterTimer(EditorTickPeriodMs(self.Fps()),
                                                          [this] { self.Tick(); });
    }
    if (!fdRegistration || !timerRegistration) {
        // The loop refused: nothing could ever update the window, so it keeps
        // one painted image.
        UnregisterFromLoop();
        PaintOnce();
    }
    return true;
}

void IGraphicsX11::Impl::UnregisterFromLoop()
{
    if (registeredLoop) {
        if (fdRegistration) registeredLoop->Unregister(fdRegistration);
        if (timerRegistration) registeredLoop->Unregister(timerRegistration);
    }
    registeredLoop = nullptr;
    fdRegistration = timerRegistration = 0;
}

void IGraphicsX11::Impl::PaintOnce()
{
    // The server repeats a background image across a larger window: the
    // image covers the screen, so a host that enlarges the window later
    // shows the surround there, not a second panel.
    const int width = std::max(WindowWidth(), DisplayWidth(display, DefaultScreen(display)));
    const int height = std::max(WindowHeight(), DisplayHeight(display, DefaultScreen(display)));
    staticImage = XCreatePixmap(display, window, unsigned(width), unsigned(height), unsigned(depth));
    self.DrawArea({0, 0, self.Width(), self.Height()});
    PaintSurround(staticImage, {0, 0, width, height});
    XSetWindowBackgroundPixmap(display, window, staticImage);
    XClearWindow(display, window);
    XFlush(display);
}

void IGraphicsX11::Impl::RepaintAll()
{
    if (staticImage) {
        XFreePixmap(display, staticImage);
        PaintOnce();
        return;
    }
    // Exposing the whole window makes the next events paint all of it.
    self.MarkAllDirty();
    XClearArea(display, window, 0, 0, 0, 0, True);
    XFlush(display);
}

void IGraphicsX11::Impl::PaintSurround(Drawable target, const PixelRect& area)
{
    const int panelRight = WindowWidth();
    const int panelBottom = WindowHeight();
    if (area.R <= panelRight && area.B <= panelBottom) return;
    XSetForeground(display, gc, X11ImageWriter(display, visual, depth).PixelOf(self.SurroundColour()));
    const int left = std::max(area.L, panelRight);
    if (area.R > left)
        XFillRectangle(display, target, gc, left, area.T, unsigned(area.R - left), unsigned(area.B - area.T));
    const int top = std::max(area.T, panelBottom);
    const int right = std::min(area.R, panelRight);
    if (area.B > top && right > area.L)
        XFillRectangle(display, target, gc, area.L, top, unsigned(right - area.L), unsigned(area.B - top));
}

void IGraphicsX11::Impl::Close()
{
    if (!display) return;
    UnregisterFromLoop();
    // An open entry is dropped, so that the next window can open one.
    CloseEntryBox();
    entry.Reset();
    HideTooltip();
    tips.Reset();
    doubleClick.Reset();
    if (captured) {
        // A press still held would leave the host inside an edit gesture.
        captured = false;
        XUngrabPointer(display, CurrentTime);
        self.HandleMouseUp(lastX, lastY, MouseMods{});
    }
    exposed = {};
    // A turn still open would leave the host inside an edit gesture too.
    self.EndWheelGesture();
    self.RestoreCursor();
    {
        // The host may have destroyed its window, and ours with it, already.
        X11ErrorTrap trap(display);
        if (staticImage) XFreePixmap(display, staticImage);
        XFreeGC(display, gc);
        XDestroyWindow(display, window);
        trap.Failed();
    }
    XCloseDisplay(display);
    display = nullptr;
    window = parent = hostTopLevel = 0;
    gc = nullptr;
    staticImage = 0;
}

// ---- events ------------------------------------------------------------------------------

void IGraphicsX11::Impl::HandleEvent(XEvent& event)
{
    if (entryBox && event.xany.window == entryBox->Id())
        HandleEntryBoxEvent(event);
    else if (event.xany.window == window)
        HandleEditorEvent(event);
    else if (tooltip && event.xany.window == tooltip->Id() && event.type == Expose)
        tooltip->Present();
}

void IGraphicsX11::Impl::HandleEditorEvent(XEvent& event)
{
    // While the user types in the entry box the editor takes only button
    // presses, which end the entry, and exposures, so that it never shows
    // stale pixels.
    if (Typing() && event.type != ButtonPress && event.type != Expose) return;
    switch (event.type) {
    case Expose: {
        // A host may make the window larger than the panel: every exposed
        // pixel is painted, the panel's and the surround's.
        const XExposeEvent& e = event.xexpose;
        exposed = exposed.Union({e.x, e.y, e.x + e.width, e.y + e.height});
        if (e.count > 0) break;
        const PixelRect windowArea = exposed;
        exposed = {};
        const PixelRect area = WindowScale::UnscaledRect(windowArea, scale)
                                   .Intersection({0, 0, self.Width(), self.Height()});
        if (!area.IsEmpty()) self.DrawArea(area);
        PaintSurround(window, windowArea);
        XFlush(display);
        break;
    }
    case ButtonPress:
        OnButtonPress(event.xbutton);
        break;
    case ButtonRelease:
        OnButtonRelease(event.xbutton);
        break;
    case MotionNotify:
        OnMotion(event.xmotion);
        break;
    case LeaveNotify:
        // Leaving into the entry box, or because of a grab, is not leaving the editor.
        if (event.xcrossing.mode != NotifyNormal || event.xcrossing.detail == NotifyInferior) break;
        HideTooltip();
        tips.OnPointerLeft();
        self.HandlePointerOut();
        break;
    case KeyPress: {
        const int key = X11Input::KeyCodeForKeysym(XLookupKeysym(&event.xkey, 0));
        const bool taken =
            key >= 0 && self.HandleKeyDown(ToEditor(event.xkey.x), ToEditor(event.xkey.y), key);
        if (!taken) ForwardKeyToHost(event.xkey);
        break;
    }
    case KeyRelease:
        ForwardKeyToHost(event.xkey);
        break;
    default:
        break;
    }
}

void IGraphicsX11::Impl::OnButtonPress(const XButtonEvent& event)
{
    const unsigned button = event.button;
    const int steps = X11Input::WheelStepsForButton(button);
    const bool pointerButton = button >= Button1 && button <= Button3;
    if (!steps && !pointerButton) return;
    const int x = ToEditor(event.x);
    const int y = ToEditor(event.y);

    if (Typing()) {
        if (steps) entry.OnEditorWheel();
        else entry.OnEditorButtonPress(button != Button2);
        return;
    }
    if (steps) {
        if (entry.IsOpen())
            entry.OnEditorWheel();
        else
            self.HandleMouseWheel(x, y, X11Input::ModsFromState(event.state, 0, true), steps);
        return;
    }
    HideTooltip();
    if (entry.IsOpen()) {
        entry.OnEditorButtonPress(button != Button2);
        return;
    }
    {
        X11ErrorTrap trap(display);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        trap.Failed();
    }
    // The press holds the capture even when another client keeps the grab:
    // a real press grabs the pointer implicitly anyway. Current time, since
    // the event's own time may lie before the last grab.
    XGrabPointer(display, window, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                 GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    captured = true;
    lastX = x;
    lastY = y;
    const MouseMods mods = X11Input::ModsFromState(event.state, button, true);
    if (button == Button1 && doubleClick.OnLeftPress(int64_t(event.time), x, y)) {
        self.HandleDoubleClick(x, y, mods);
    } else {
        if (button != Button1) doubleClick.Reset();
        self.HandleMouseDown(x, y, mods);
    }
}

void IGraphicsX11::Impl::OnButtonRelease(const XButtonEvent& event)
{
    if (event.button < Button1 || event.button > Button3) return;
    if (captured) {
        captured = false;
        XUngrabPointer(display, CurrentTime);
    }
    self.HandleMouseUp(ToEditor(event.x), ToEditor(event.y),
                       X11Input::ModsFromState(event.state, event.button, false));
}

void IGraphicsX11::Impl::OnMotion(const XMotionEvent& event)
{
    const int x = ToEditor(event.x);
    const int y = ToEditor(event.y);
    const MouseMods mods = X11Input::ModsFromState(event.state, 0, true);
    if (mods.left || mods.right) {
        if (captured && !entry.IsOpen()) {
            lastX = x;
            lastY = y;
            self.HandleMouseDrag(x, y, mods);
        }
        return;
    }
    if (self.HandlePointerOver(x, y, mods) && self.TooltipsEnabled()) {
        if (tips.OnPointerMoved(self.HoverIndex(), NowMs())) HideTooltip();
    }
}

Window IGraphicsX11::Impl::HostTopLevel()
{
    if (!display) return 0;
    if (hostTopLevel) return hostTopLevel;
    Window top = parent;
    for (;;) {
        Window root = 0, up = 0;
        Window* children = nullptr;
        unsigned count = 0;
        X11ErrorTrap trap(display);
        const Status ok = XQueryTree(display, top, &root, &up, &children, &count);
        if (children) XFree(children);
        if (trap.Failed() || !ok || up == root || up == 0) break;
        top = up;
    }
    hostTopLevel = top;
    return top;
}

void IGraphicsX11::Impl::ForwardKeyToHost(XKeyEvent event)
{
    // Keys the editor does not take belong to the host (its shortcuts): they
    // go to the host's top-level window, which owns the focus logic.
    const Window top = HostTopLevel();
    event.window = top;
    event.subwindow = None;
    event.send_event = True;
    X11ErrorTrap trap(display);
    XSendEvent(display, top, True, event.type == KeyPress ? KeyPressMask : KeyReleaseMask,
               reinterpret_cast<XEvent*>(&event));
    trap.Failed();
}

void IGraphicsX11::Impl::HandleEntryBoxEvent(XEvent& event)
{
    HideTooltip();
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0) entryBox->Redraw();
        break;
    case FocusIn:
        if (event.xfocus.mode == NotifyNormal) entry.OnFocusGained();
        break;
    case FocusOut:
        if (event.xfocus.mode == NotifyNormal) entry.OnFocusLost();
        break;
    case ButtonPress: {
        X11ErrorTrap trap(display);
        XSetInputFocus(display, entryBox->Id(), RevertToParent, CurrentTime);
        trap.Failed();
        break;
    }
    case KeyPress:
        switch (entryBox->HandleKey(event.xkey)) {
        case X11EntryBox::KeyResult::kReturn: entry.OnReturn(); break;
        case X11EntryBox::KeyResult::kEscape: entry.OnEscape(); break;
        default: break;
        }
        break;
    default:
        break;
    }
}

void IGraphicsX11::Impl::CloseEntryBox()
{
    if (!entryBox) return;
    entryBox.reset();
    if (display) {
        X11ErrorTrap trap(display);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        trap.Failed();
    }
}

// ---- tooltips and fonts -----------------------------------------------------------------------

PIX_CachedFont* IGraphicsX11::Impl::DefaultFont()
{
    static TextStyle style;
    return self.FontFor(style);
}

void IGraphicsX11::Impl::ShowTooltip()
{
    HideTooltip();
    const IControl* control = self.Control(tips.TrackedIndex());
    const std::string text = control ? control->Tooltip() : std::string();
    if (text.empty() || !display) return;
    PIX_CachedFont* font = DefaultFont();
    PIX_Rect measure{};
    if (font) font->DrawString(nullptr, text.c_str(), int32_t(text.size()), measure,
                               DT_CALCRECT | DT_SINGLELINE);
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned mask = 0;
    XQueryPointer(display, window, &root, &child, &rootX, &rootY, &winX, &winY, &mask);
    tooltip = std::make_unique<X11SmallWindow>(
        display, DefaultRootWindow(display), true, rootX + kTooltipOffsetX, rootY + kTooltipOffsetY,
        measure.right + 8, measure.bottom + 4, scale, ExposureMask);
    PIX_SysBitmap& canvas = tooltip->Canvas();
    PIX_Fill(&canvas, 0, 0, tooltip->Width(), tooltip->Height(), kTooltipBorder, 1.0f, kComposeCopy);
    PIX_Fill(&canvas, 1, 1, tooltip->Width() - 2, tooltip->Height() - 2, kTooltipBackground, 1.0f,
             kComposeCopy);
    tooltip->DrawText(font, text.c_str(), kTooltipText, 4, 0, tooltip->Width() - 4,
                      tooltip->Height(), 0);
    tooltip->Show();
    tooltip->Present();
}

void IGraphicsX11::Impl::HideTooltip()
{
    tips.Hide();
    tooltip.reset();
}

// ---- IGraphicsX11 ---------------------------------------------------------------------------

IGraphicsX11::IGraphicsX11(IEffectBase* plug, int width, int height, int fps)
    : IPlatformGraphics(plug, width, height, fps), mImpl(std::make_unique<Impl>(*this))
{
}

IGraphicsX11::~IGraphicsX11() { mImpl->Close(); }

void IGraphicsX11::SetRunLoop(IEditorRunLoop* loop) { mImpl->runLoop = loop; }

void IGraphicsX11::SetContentScale(double scale)
{
    scale = WindowScale::Sanitized(scale);
    if (scale == mImpl->scale) return;
    mImpl->scale = scale;
    SetPanelScale(scale);
    Impl& w = *mImpl;
    if (!w.display) return;
    // The entry box and tooltip were laid out for the old scale.
    w.CloseEntryBox();
    w.entry.Reset();
    w.HideTooltip();
    XResizeWindow(w.display, w.window, unsigned(w.WindowWidth()), unsigned(w.WindowHeight()));
    w.RepaintAll();
}

double IGraphicsX11::ContentScale() const { return mImpl->scale; }

int IGraphicsX11::WindowWidth() const { return mImpl->WindowWidth(); }

int IGraphicsX11::WindowHeight() const { return mImpl->WindowHeight(); }

bool IGraphicsX11::PresentArea(const PixelRect& rect)
{
    Impl& w = *mImpl;
    const PresentedImage shown = PresentationOf(rect);
    if (!w.display || !shown.surface) return true;
    const Drawable target = w.staticImage ? w.staticImage : w.window;
    X11ImageWriter(w.display, w.visual, w.depth).Put(target, w.gc, *shown.surface, shown.area, shown.stretch);
    XFlush(w.display);
    return true;
}

void IGraphicsX11::CancelValueEntry() { mImpl->entry.Cancel(); }

void IGraphicsX11::Resize(int width, int height)
{
    if (width == Width() && height == Height()) return;
    Impl& w = *mImpl;
    // The controls go away with the old size; an entry must not outlive its control.
    w.CloseEntryBox();
    w.entry.Reset();
    w.HideTooltip();
    w.tips.Reset();
    IPlatformGraphics::Resize(width, height);
    if (!w.display) return;
    XResizeWindow(w.display, w.window, unsigned(w.WindowWidth()), unsigned(w.WindowHeight()));
    w.RepaintAll();
}

const char* IGraphicsX11::GraphicsApiName() const { return "X11"; }

int IGraphicsX11::ShowMessage(const char* text, const char* caption, int type)
{
    // Messages belong to the host's main window, which they stay above.
    return LinuxDesktop::ShowMessage(text, caption, type, mImpl->HostTopLevel());
}

PopupMenu* IGraphicsX11::RunPopupMenu(PopupMenu& menu, const PixelRect& rect)
{
    ReleaseCapture();
    Impl& w = *mImpl;
    if (!w.display) return nullptr;
    if (w.captured) {
        // The menu takes the pointer; the press that opened it is over.
        w.captured = false;
        XUngrabPointer(w.display, CurrentTime);
    }
    const PopupMenuNumbering numbering(menu);
    Window child = 0;
    int rootX = 0, rootY = 0;
    XTranslateCoordinates(w.display, w.window, DefaultRootWindow(w.display),
                          int(std::lround(rect.L * w.scale)), int(std::lround(rect.B * w.scale)),
                          &rootX, &rootY, &child);
    X11PopupMenu popup(
        w.display, w.scale, w.DefaultFont(), [&w](XEvent& event) { w.HandleEvent(event); },
        [this] { Tick(); }, EditorTickPeriodMs(Fps()));
    const int id = popup.Run(menu, numbering, rootX, rootY);
    PopupMenu* chosen = id >= 0 ? numbering.Choose(id) : nullptr;
    // The menu covered part of the editor.
    MarkAllDirty();
    return chosen;
}

void IGraphicsX11::OpenTextEntry(IControl* control, const TextStyle& style, const PixelRect& rect,
                                 const char* initialText, IParamRecord* param)
{
    Impl& w = *mImpl;
    if (!w.display || !w.entry.Open(control, param)) return;
    TextStyle boxStyle = style;
    PIX_CachedFont* font = FontFor(boxStyle);
    w.entryBox = std::make_unique<X11EntryBox>(w.display, w.window, rect.L, rect.T,
                                               rect.R - rect.L + 1, rect.B - rect.T + 1, w.scale,
                                               boxStyle, font, initialText,
                                               control->EntryMaxLength(), param);
    XSync(w.display, False);
    w.entryBox->Redraw();
    X11ErrorTrap trap(w.display);
    XSetInputFocus(w.display, w.entryBox->Id(), RevertToParent, CurrentTime);
    trap.Failed();
}

std::string IGraphicsX11::HostFolder() { return LinuxDesktop::HostFolder(); }

std::string IGraphicsX11::PluginFolder() { return LinuxDesktop::PluginFolder(); }

std::string IGraphicsX11::DesktopFolder() { return LinuxDesktop::DesktopFolder(); }

std::string IGraphicsX11::AppDataFolder(bool system) { return LinuxDesktop::AppDataFolder(system); }

std::string IGraphicsX11::UserAppDataFolder() { return AppDataFolder(false); }

void IGraphicsX11::ChooseFile(std::string& path, int action, std::string& folder,
                              const char* extensions)
{
    if (!mImpl->display) {
        path.clear();
        return;
    }
    LinuxDesktop::ChooseFile(path, action, folder, extensions, mImpl->HostTopLevel());
}

bool IGraphicsX11::ChooseColour(ArgbColor& colour, const char* prompt)
{
    return mImpl->display && LinuxDesktop::ChooseColour(colour, prompt, mImpl->HostTopLevel());
}

bool IGraphicsX11::OpenWebPage(const char* url, const char* title, const char* confirmText,
                               const char* failureText)
{
    WebPageServices services;
    services.showMessage = [this](const char* text, const char* caption, int type) {
        return ShowMessage(text, caption, type);
    };
    services.isConnected = LinuxDesktop::IsConnected;
    services.launch = LinuxDesktop::OpenUrl;
    return OpenWebPageSteps(url, title, confirmText, failureText, services);
}

void* IGraphicsX11::OpenEditorWindow(void* parent)
{
    Impl& w = *mImpl;
    const Window parentId = ToXid(parent);
    int x = 0, y = 0;
    if (w.display) {
        // Reopening keeps the window where it was inside its parent.
        {
            XWindowAttributes info{};
            X11ErrorTrap trap(w.display);
            if (XGetWindowAttributes(w.display, w.window, &info) && !trap.Failed()) {
                x = info.x;
                y = info.y;
            }
        }
        CloseEditorWindow();
    }
    // A failed reopen leaves no window: the old one must not outlive a
    // reported failure.
    if (!parentId || !w.Open(parentId, x, y)) return nullptr;
    return reinterpret_cast<void*>(uintptr_t(w.window));
}

void IGraphicsX11::CloseEditorWindow() { mImpl->Close(); }

void* IGraphicsX11::NativeWindow() const
{
    return mImpl->display ? reinterpret_cast<void*>(uintptr_t(mImpl->window)) : nullptr;
}

bool IGraphicsX11::ReadClipboardText(std::string& text)
{
    Impl& w = *mImpl;
    if (!w.display) {
        text.clear();
        return false;
    }
    const bool ok = X11Clipboard::ReadText(w.display, w.window, text);
    // Events that arrived meanwhile wait in the queue, where the descriptor
    // handler would not see them.
    ProcessPendingEvents();
    return ok;
}

std::unique_ptr<PIX_IBitmap> IGraphicsX11::LoadImageResource(int resourceId, const char* name)
{
    return PIX_LoadPngResource(resourceId, name);
}

void IGraphicsX11::ConcealCursor()
{
    Impl& w = *mImpl;
    if (!w.display || w.blankCursor) return;
    Window root = 0, child = 0;
    int winX = 0, winY = 0;
    unsigned mask = 0;
    XQueryPointer(w.display, w.window, &root, &child, &w.hiddenX, &w.hiddenY, &winX, &winY, &mask);
    // X has no "hide": the pointer takes the shape of a cursor without pixels.
    static const char kEmpty[1] = {0};
    const Pixmap empty = XCreateBitmapFromData(w.display, w.window, kEmpty, 1, 1);
    XColor black{};
    w.blankCursor = XCreatePixmapCursor(w.display, empty, empty, &black, &black, 0, 0);
    XFreePixmap(w.display, empty);
    XDefineCursor(w.display, w.window, w.blankCursor);
    XFlush(w.display);
}

void IGraphicsX11::RestoreCursor()
{
    Impl& w = *mImpl;
    if (!w.display || !w.blankCursor) return;
    XWarpPointer(w.display, None, DefaultRootWindow(w.display), 0, 0, 0, 0, w.hiddenX, w.hiddenY);
    XUndefineCursor(w.display, w.window);
    XFreeCursor(w.display, w.blankCursor);
    w.blankCursor = 0;
    w.hiddenX = w.hiddenY = -1;
    XFlush(w.display);
}

void IGraphicsX11::ProcessPendingEvents()
{
    Impl& w = *mImpl;
    while (w.display && XPending(w.display) > 0) {
        XEvent event;
        XNextEvent(w.display, &event);
        w.HandleEvent(event);
    }
}

void IGraphicsX11::Tick()
{
    Impl& w = *mImpl;
    if (!w.display) return;
    ChildProcess::CollectFinished();
    if (TooltipsEnabled() && w.tips.HoverDue(NowMs())) w.ShowTooltip();
    const EditorTickOutcome outcome =
        RunEditorTick(*this, w.entry, w.entryBox ? w.entryBox->Text() : std::string());
    if (outcome.closeEntryBox) w.CloseEntryBox();
    // The entry box is a child window: drawing under it leaves it intact.
    if (outcome.redraw) DrawArea(outcome.area);
}

const TextEntrySession& IGraphicsX11::Entry() const noexcept { return mImpl->entry; }

unsigned long IGraphicsX11::EntryBoxWindow() const noexcept
{
    return mImpl->entryBox ? mImpl->entryBox->Id() : 0;
}
