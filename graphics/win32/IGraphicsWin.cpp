// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/win32/IGraphicsWin.h"

#include "framework/IEffectBase.h"
#include "graphics/EditorTick.h"
#include "graphics/PopupMenu.h"
#include "graphics/PopupMenuNumbering.h"
#include "graphics/WebPageOpening.h"
#include "graphics/WindowScale.h"
#include "graphics/win32/IGraphicsWinImpl.h"
#include "graphics/win32/Win32PopupMenu.h"
#include "graphics/win32/Win32WindowClass.h"
#include "graphics/win32/WindowsDesktop.h"
#include "platform/win32/ThisModule.h"
#include "raster/PIX_DrawContext.h"
#include "raster/PIX_PngLoader.h"
#include "raster/PIX_SysBitmap.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kEntryBoxId = 99;
constexpr int kMaxClassName = 128;
constexpr int kCustomColourCount = 16;

RECT ToRect(const PixelRect& rect) { return RECT{rect.L, rect.T, rect.R, rect.B}; }

struct ClassSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<ClassSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[kMaxClassName + 1] = {};
    if (owner != search->processId || !GetClassNameA(window, name, kMaxClassName + 1)) return TRUE;
    if (std::string(name) != search->className) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

// ---- Impl: window state ----------------------------------------------------------------

int IGraphicsWin::Impl::newWindowFps = 25;

IGraphicsWin::Impl::Impl(IGraphicsWin& owner)
    : self(owner), hInstance(static_cast<HINSTANCE>(ThisModule()))
{
}

int IGraphicsWin::Impl::WindowWidth() const
{
    return WindowScale::ScaledLength(self.Width(), scale);
}

int IGraphicsWin::Impl::WindowHeight() const
{
    return WindowScale::ScaledLength(self.Height(), scale);
}

void IGraphicsWin::Impl::Invalidate(const PixelRect& editorArea)
{
    const RECT rect = ToRect(WindowScale::ScaledRect(editorArea, scale));
    InvalidateRect(editorWnd, &rect, FALSE);
}

void IGraphicsWin::Impl::Tick()
{
    // The box's text is read only when a commit is due: 31 characters at most.
    std::string boxText;
    if (entryBoxWnd && entry.GetState() == TextEntrySession::kCommit) {
        char text[TextEntrySession::kMaxTextLength + 1] = {};
        SendMessageA(entryBoxWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        boxText = text;
    }
    const bool boxOpen = entry.IsOpen();
    IControl* boxControl = entry.Control();
    const EditorTickOutcome outcome = RunEditorTick(self, entry, boxText);
    if (outcome.closeEntryBox) CloseEntryBox();
    if (!outcome.redraw) return;
    Invalidate(outcome.area);
    if (boxOpen && boxControl) {
        // The box paints itself; the editor must not paint over it.
        const RECT box = ToRect(WindowScale::ScaledRect(boxControl->Rect(), scale));
        ValidateRect(editorWnd, &box);
    }
    UpdateWindow(editorWnd);
}

void IGraphicsWin::Impl::CloseEntryBox()
{
    if (entryBoxWnd) {
        if (entryBoxProc)
            SetWindowLongPtrA(entryBoxWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entryBoxProc));
        DestroyWindow(entryBoxWnd);
    }
    entryBoxWnd = nullptr;
    entryBoxProc = nullptr;
    if (entryFont) DeleteObject(entryFont);
    entryFont = nullptr;
}

void IGraphicsWin::Impl::DiscardEntry()
{
    CloseEntryBox();
    entry.Reset();
}

void IGraphicsWin::Impl::ForgetWindow()
{
    // An open entry is dropped, so that the next window can open one.
    DiscardEntry();
    if (tipWnd) DestroyWindow(tipWnd);
    tipWnd = nullptr;
    tips.Reset();
    if (GetCapture() == editorWnd) ::ReleaseCapture();
    // A press still held would leave the host inside an edit gesture.
    if (self.CapturedIndex() >= 0) self.HandleMouseUp(lastX, lastY, MouseMods{});
    self.EndWheelGesture();
    self.RestoreCursor();
    editorWnd = nullptr;
}

void IGraphicsWin::Impl::ReleaseClass()
{
    if (!holdsClass) return;
    holdsClass = false;
    Win32WindowClass::Release(hInstance);
}

// ---- Impl: tooltips ----------------------------------------------------------------------

void IGraphicsWin::Impl::CreateTooltip()
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_TAB_CLASSES;
    bool ready = InitCommonControlsEx(&controls) != FALSE;
    if (ready) {
        tipWnd = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 editorWnd, nullptr, hInstance, nullptr);
        ready = tipWnd != nullptr;
    }
    if (ready) {
        SetWindowPos(tipWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = editorWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(editorWnd);
        ready = SendMessageA(tipWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    }
    if (!ready) {
        if (tipWnd) DestroyWindow(tipWnd);
        tipWnd = nullptr;
        self.SetTooltipsEnabled(false);
    }
}

void IGraphicsWin::Impl::SetTooltipText(const char* text)
{
    if (!tipWnd) return;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = editorWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(editorWnd);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tipWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void IGraphicsWin::Impl::HideTooltip()
{
    if (tips.Hide()) SetTooltipText(nullptr);
}

// ---- Impl: the host's main window ---------------------------------------------------------

HWND IGraphicsWin::Impl::HostMainWindow()
{
    if (hostMainWnd && IsWindow(hostMainWnd)) return hostMainWnd;
    hostMainWnd = nullptr;
    if (parentWnd && IsWindow(parentWnd)) {
        HWND top = parentWnd;
        while (HWND up = GetParent(top)) top = up;
        char name[kMaxClassName + 1] = {};
        GetClassNameA(top, name, kMaxClassName + 1);
        hostMainWnd = top;
        hostMainWndClass = name;
    } else if (!hostMainWndClass.empty()) {
        processId = GetCurrentProcessId();
        ClassSearch search{processId, hostMainWndClass.c_str(), nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        hostMainWnd = search.found;
    }
    return hostMainWnd;
}

// ---- IGraphicsWin ---------------------------------------------------------------------------

IGraphicsWin::IGraphicsWin(IEffectBase* plug, int width, int height, int fps)
    : IPlatformGraphics(plug, width, height, fps), mImpl(std::make_unique<Impl>(*this))
{
}

IGraphicsWin::~IGraphicsWin() { CloseEditorWindow(); }

void IGraphicsWin::SetRunLoop(IEditorRunLoop*) {}

void IGraphicsWin::SetContentScale(double scale)
{
    scale = WindowScale::Sanitized(scale);
    Impl& w = *mImpl;
    if (scale == w.scale) return;
    w.scale = scale;
    SetPanelScale(scale);
    if (!w.editorWnd) return;
    // The entry box and tooltip were laid out for the old scale.
    w.DiscardEntry();
    w.HideTooltip();
    SetWindowPos(w.editorWnd, nullptr, 0, 0, w.WindowWidth(), w.WindowHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(w.editorWnd, nullptr, FALSE);
}

double IGraphicsWin::ContentScale() const { return mImpl->scale; }

int IGraphicsWin::WindowWidth() const { return mImpl->WindowWidth(); }

int IGraphicsWin::WindowHeight() const { return mImpl->WindowHeight(); }

bool IGraphicsWin::PresentArea(const PixelRect& rect)
{
    Impl& w = *mImpl;
    if (!w.editorWnd) return true;
    PAINTSTRUCT paint{};
    HDC target = BeginPaint(w.editorWnd, &paint);
    const PresentedImage shown = PresentationOf(rect);
    PIX_DrawContext* context = shown.surface ? shown.surface->DeviceContext() : nullptr;
    HDC source = context ? context->SystemHandle() : nullptr;
    if (target && source) {
        const PixelRect area = shown.area.Intersection({0, 0, shown.surface->Width(), shown.surface->Height()});
        if (shown.stretch == 1.0) {
            BitBlt(target, area.L, area.T, area.R - area.L, area.B - area.T, source, area.L, area.T,
                   SRCCOPY);
        } else {
            // Beyond the largest artwork each of its pixels becomes a block of window pixels.
            const PixelRect out = WindowScale::ScaledRect(area, shown.stretch);
            SetStretchBltMode(target, COLORONCOLOR);
            StretchBlt(target, out.L, out.T, out.R - out.L, out.B - out.T, source, area.L, area.T,
                       area.R - area.L, area.B - area.T, SRCCOPY);
        }
    }
    EndPaint(w.editorWnd, &paint);
    return true;
}

void IGraphicsWin::CancelValueEntry() { mImpl->entry.Cancel(); }

void IGraphicsWin::Resize(int width, int height)
{
    if (width == Width() && height == Height()) return;
    Impl& w = *mImpl;
    const int oldWidth = w.WindowWidth();
    const int oldHeight = w.WindowHeight();
    // The controls go away with the old size; an entry must not outlive its control.
    w.DiscardEntry();
    w.HideTooltip();
    w.tips.Reset();
    IPlatformGraphics::Resize(width, height);
    if (!w.editorWnd) return;
    const int dw = w.WindowWidth() - oldWidth;
    const int dh = w.WindowHeight() - oldHeight;
    SetWindowPos(w.editorWnd, nullptr, 0, 0, w.WindowWidth(), w.WindowHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const auto isChild = [](HWND window) {
        return (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
               && !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD);
    };
    // VST3 hosts size their own frames (through the view); other formats'
    // hosts expect the plug-in to grow its parents.
    const int api = Plug() ? Plug()->GetApiId() : 0;
    if (isChild(w.editorWnd) && api != 1 && api != 3) {
        HWND parent = GetParent(w.editorWnd);
        for (int level = 0; parent && level < 2; ++level) {
            RECT frame{};
            GetWindowRect(parent, &frame);
            SetWindowPos(parent, nullptr, 0, 0, frame.right - frame.left + dw,
                         frame.bottom - frame.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (!isChild(parent)) break;
            parent = GetParent(parent);
        }
    }
    w.Invalidate({0, 0, Width(), Height()});
}

const char* IGraphicsWin::GraphicsApiName() const { return "Windows GDI"; }

int IGraphicsWin::ShowMessage(const char* text, const char* caption, int type)
{
    return WindowsDesktop::ShowMessage(mImpl->HostMainWindow(), text, caption, type);
}

PopupMenu* IGraphicsWin::RunPopupMenu(PopupMenu& menu, const PixelRect& rect)
{
    ReleaseCapture();
    Impl& w = *mImpl;
    if (!w.editorWnd) return nullptr;
    const PopupMenuNumbering numbering(menu);
    HMENU native = Win32PopupMenu::Build(menu, numbering);
    if (!native) return nullptr;
    const PixelRect anchor = WindowScale::ScaledRect(rect, w.scale);
    POINT at{anchor.L, anchor.B};
    ClientToScreen(w.editorWnd, &at);
    const int id = Win32PopupMenu::Track(native, w.editorWnd, at.x, at.y);
    PopupMenu* chosen = id >= 0 ? numbering.Choose(id) : nullptr;
    DestroyMenu(native);
    if (w.editorWnd) w.Invalidate({0, 0, Width(), Height()});
    return chosen;
}

void IGraphicsWin::OpenTextEntry(IControl* control, const TextStyle& style, const PixelRect& rect,
                                 const char* initialText, IParamRecord* param)
{
    Impl& w = *mImpl;
    if (!w.editorWnd || w.entryBoxWnd || !w.entry.Open(control, param)) return;
    DWORD boxStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL;
    if (style.align == TextStyle::kAlignCenter) boxStyle |= ES_CENTER;
    else if (style.align == TextStyle::kAlignFar) boxStyle |= ES_RIGHT;
    const PixelRect box = WindowScale::ScaledRect({rect.L, rect.T, rect.R + 1, rect.B + 1}, w.scale);
    w.entryBoxWnd = CreateWindowExA(0, "EDIT", initialText ? initialText : "", boxStyle, box.L, box.T,
                                    box.R - box.L, box.B - box.T, w.editorWnd,
                                    reinterpret_cast<HMENU>(kEntryBoxId), w.hInstance, nullptr);
    if (!w.entryBoxWnd) {
        w.entry.Reset();
        return;
    }
    w.entryFont = CreateFontA(WindowScale::ScaledLength(style.size, w.scale), 0, 0, 0,
                              style.style == TextStyle::kStyleBold ? FW_BOLD : 0,
                              style.style == TextStyle::kStyleItalic, FALSE, FALSE, 0, 0, 0, 0, 0,
                              style.face);
    SendMessageA(w.entryBoxWnd, WM_SETFONT, reinterpret_cast<WPARAM>(w.entryFont), 0);
    SendMessageA(w.entryBoxWnd, EM_LIMITTEXT, WPARAM(control->EntryMaxLength()), 0);
    SendMessageA(w.entryBoxWnd, EM_SETSEL, 0, -1);
    // The focus comes before the procedure is replaced: the entry starts in
    // state 0 and counts as editing only once the box gains the focus again.
    SetFocus(w.entryBoxWnd);
    w.entryBoxProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        w.entryBoxWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Impl::EntryProc)));
}

std::string IGraphicsWin::HostFolder() { return WindowsDesktop::ExecutableFolder(nullptr); }

std::string IGraphicsWin::PluginFolder() { return WindowsDesktop::ExecutableFolder(mImpl->hInstance); }

std::string IGraphicsWin::DesktopFolder() { return WindowsDesktop::DesktopFolder(); }

std::string IGraphicsWin::AppDataFolder(bool system) { return WindowsDesktop::AppDataFolder(system); }

std::string IGraphicsWin::UserAppDataFolder() { return AppDataFolder(false); }

void IGraphicsWin::ChooseFile(std::string& path, int action, std::string& folder,
                              const char* extensions)
{
    if (!mImpl->editorWnd) {
        path.clear();
        return;
    }
    WindowsDesktop::ChooseFile(mImpl->editorWnd, path, action, folder, extensions, DesktopFolder());
}

bool IGraphicsWin::ChooseColour(ArgbColor& colour, const char* prompt)
{
    Impl& w = *mImpl;
    if (!w.editorWnd) return false;
    if (!w.customColours) w.customColours = std::make_unique<COLORREF[]>(kCustomColourCount);
    return WindowsDesktop::ChooseColour(w.editorWnd, colour, prompt, w.customColours.get());
}

bool IGraphicsWin::OpenWebPage(const char* url, const char* title, const char* confirmText,
                               const char* failureText)
{
    HWND owner = mImpl->editorWnd;
    WebPageServices services;
    services.showMessage = [owner](const char* text, const char* caption, int type) {
        return WindowsDesktop::ShowMessage(owner, text, caption, type);
    };
    services.isConnected = WindowsDesktop::IsConnected;
    services.launch = [owner](const char* address) { return WindowsDesktop::OpenUrl(owner, address); };
    return OpenWebPageSteps(url, title, confirmText, failureText, services);
}

void* IGraphicsWin::OpenEditorWindow(void* parent)
{
    Impl& w = *mImpl;
    HWND parentWnd = static_cast<HWND>(parent);
    int x = 0, y = 0;
    int width = w.WindowWidth(), height = w.WindowHeight();
    if (w.editorWnd) {
        // Reopening keeps the window where it was inside its parent, and its size.
        RECT parentRect{}, windowRect{};
        GetWindowRect(parentWnd, &parentRect);
        GetWindowRect(w.editorWnd, &windowRect);
        x = windowRect.left - parentRect.left;
        y = windowRect.top - parentRect.top;
        width = windowRect.right - windowRect.left;
        height = windowRect.bottom - windowRect.top;
        CloseEditorWindow();
    }
    // A window the host destroyed with its own still holds the class.
    w.ReleaseClass();
    w.parentWnd = parentWnd;
    w.hostMainWnd = nullptr;
    if (!parentWnd || !Win32WindowClass::Acquire(w.hInstance, &Impl::EditorProc)) return nullptr;
    w.holdsClass = true;
    Impl::newWindowFps = Fps();
    w.editorWnd = CreateWindowExA(0, Win32WindowClass::kName, "IEditor", WS_CHILD | WS_VISIBLE, x, y,
                                  width, height, parentWnd, nullptr, w.hInstance, &w);
    if (!w.editorWnd) {
        w.ReleaseClass();
        return nullptr;
    }
    MarkAllDirty();
    if (TooltipsEnabled()) w.CreateTooltip();
    return w.editorWnd;
}

void IGraphicsWin::CloseEditorWindow()
{
    Impl& w = *mImpl;
    if (w.editorWnd) {
        HWND window = w.editorWnd;
        w.ForgetWindow();
        DestroyWindow(window);
    }
    w.ReleaseClass();
}

void* IGraphicsWin::NativeWindow() const { return mImpl->editorWnd; }

bool IGraphicsWin::ReadClipboardText(std::string& text)
{
    return WindowsDesktop::ReadClipboardText(mImpl->editorWnd, text);
}

void IGraphicsWin::ConcealCursor()
{
    Impl& w = *mImpl;
    if (w.cursorHidden) return;
    GetCursorPos(&w.hiddenCursorPos);
    ShowCursor(FALSE);
    w.cursorHidden = true;
}

void IGraphicsWin::RestoreCursor()
{
    Impl& w = *mImpl;
    if (!w.cursorHidden) return;
    SetCursorPos(w.hiddenCursorPos.x, w.hiddenCursorPos.y);
    ShowCursor(TRUE);
    w.cursorHidden = false;
}

std::unique_ptr<PIX_IBitmap> IGraphicsWin::LoadImageResource(int resourceId, const char* name)
{
    return PIX_LoadPngResource(resourceId, name);
}

const TextEntrySession& IGraphicsWin::Entry() const noexcept { return mImpl->entry; }

void* IGraphicsWin::EntryBoxWindow() const noexcept { return mImpl->entryBoxWnd; }
