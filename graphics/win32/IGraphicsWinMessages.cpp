// SPDX-License-Identifier: GPL-3.0-or-later
// The two window procedures of the Windows window host: the editor's and
// the text-entry box's.
#include "graphics/EditorTick.h"
#include "graphics/WindowScale.h"
#include "graphics/win32/IGraphicsWinImpl.h"
#include "graphics/win32/Win32Input.h"

#include <algorithm>
#include <limits>

namespace {

constexpr UINT_PTR kRedrawTimerId = 2;

bool AltDown() { return GetKeyState(VK_MENU) < 0; }

} // namespace

// ---- the editor window ---------------------------------------------------------------------

LRESULT CALLBACK IGraphicsWin::Impl::EditorProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam)
{
    if (message == WM_CREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        SetTimer(window, kRedrawTimerId, UINT(EditorTickPeriodMs(newWindowFps)), nullptr);
        // The wheel works at once.
        SetFocus(window);
        return 0;
    }
    Impl* w = reinterpret_cast<Impl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!w || w->editorWnd != window) return DefWindowProcA(window, message, wParam, lParam);
    return w->HandleEditorMessage(message, wParam, lParam);
}

MouseMods IGraphicsWin::Impl::Mods(WPARAM keyFlags) const
{
    return Win32Input::ModsFromKeyFlags(keyFlags, AltDown());
}

LRESULT IGraphicsWin::Impl::HandleEditorMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = editorWnd;
    if (message == WM_NCDESTROY) {
        // Destroyed with the host's window, without CloseEditorWindow.
        ForgetWindow();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (entry.IsOpen() && entry.GetState() == TextEntrySession::kEditing) {
        // While the user types, a left or right press cancels and nothing
        // else happens: no tick, so no redraw.
        if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
            entry.OnEditorButtonPress(true);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const int x = WindowScale::ToEditor(Win32Input::PointX(lParam), scale);
    const int y = WindowScale::ToEditor(Win32Input::PointY(lParam), scale);
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CLOSE:
        self.CloseEditorWindow();
        return 0;
    case WM_KEYDOWN: {
        const int key = Win32Input::KeyCodeForVirtualKey(wParam);
        if (key >= 0) {
            POINT pointer{};
            GetCursorPos(&pointer);
            ScreenToClient(window, &pointer);
            if (self.HandleKeyDown(WindowScale::ToEditor(pointer.x, scale),
                                   WindowScale::ToEditor(pointer.y, scale), key))
                return 0;
        }
        ForwardKeyToHost(message, wParam, lParam);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_KEYUP:
        ForwardKeyToHost(message, wParam, lParam);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_TIMER:
        if (wParam == kRedrawTimerId) Tick();
        return 0;
    case WM_CTLCOLOREDIT: {
        if (!entry.IsOpen()) return 0;
        const TextStyle& style = entry.Control()->Text();
        HDC dc = reinterpret_cast<HDC>(wParam);
        const COLORREF background = RGB(style.entryBackground.R, style.entryBackground.G,
                                        style.entryBackground.B);
        SetBkColor(dc, background);
        SetTextColor(dc, RGB(style.entryForeground.R, style.entryForeground.G, style.entryForeground.B));
        SetBkMode(dc, OPAQUE);
        // The stock DC brush fills the rest of the box in the same colour.
        SetDCBrushColor(dc, background);
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    }
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        OnButtonDown(wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        ::ReleaseCapture();
        lastX = x;
        lastY = y;
        self.HandleMouseUp(x, y, Mods(wParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        self.HandleDoubleClick(x, y, Mods(wParam));
        // A control that takes the double click as a press holds the pointer.
        if (self.CapturedIndex() >= 0) {
            lastX = x;
            lastY = y;
            SetCapture(window);
        }
        return 0;
    case WM_MOUSEWHEEL: {
        if (entry.IsOpen()) {
            entry.OnEditorWheel();
            return 0;
        }
        // The wheel's position is on the screen.
        RECT frame{};
        GetWindowRect(window, &frame);
        self.HandleWheelDelta(WindowScale::ToEditor(Win32Input::PointX(lParam) - frame.left, scale),
                              WindowScale::ToEditor(Win32Input::PointY(lParam) - frame.top, scale),
                              Mods(LOWORD(wParam)), Win32Input::WheelDelta(wParam));
        // Leaving the window ends the turn's gesture: ask to be told.
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = window;
        TrackMouseEvent(&track);
        return 0;
    }
    case WM_MOUSEHOVER: {
        // The system measured the hover time.
        if (tips.HoverDue(std::numeric_limits<int64_t>::max())) {
            const IControl* control = self.Control(tips.TrackedIndex());
            SetTooltipText(control ? control->Tooltip().c_str() : "");
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        HideTooltip();
        tips.OnPointerLeft();
        self.HandlePointerOut();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void IGraphicsWin::Impl::OnPaint()
{
    RECT update{};
    if (GetUpdateRect(editorWnd, &update, FALSE)) {
        const PixelRect windowArea{update.left, update.top, update.right, update.bottom};
        const PixelRect area = WindowScale::UnscaledRect(windowArea, scale)
                                   .Intersection({0, 0, self.Width(), self.Height()});
        if (!area.IsEmpty()) self.DrawArea(area);
        PaintSurround(windowArea);
    }
    // Whatever was not presented (nothing to draw) must not be asked for again.
    ValidateRect(editorWnd, nullptr);
}

void IGraphicsWin::Impl::PaintSurround(const PixelRect& area)
{
    // A host may make the window larger than the panel: the rest is painted
    // too, never left showing what was there before.
    const int panelRight = WindowWidth();
    const int panelBottom = WindowHeight();
    if (area.R <= panelRight && area.B <= panelBottom) return;
    const uint32_t colour = self.SurroundColour();
    HBRUSH brush = CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    HDC dc = GetDC(editorWnd);
    const RECT right{std::max(area.L, panelRight), area.T, area.R, area.B};
    const RECT below{area.L, std::max(area.T, panelBottom), std::min(area.R, panelRight), area.B};
    if (right.right > right.left) FillRect(dc, &right, brush);
    if (below.right > below.left && below.bottom > below.top) FillRect(dc, &below, brush);
    ReleaseDC(editorWnd, dc);
    DeleteObject(brush);
}

void IGraphicsWin::Impl::OnButtonDown(WPARAM wParam, LPARAM lParam)
{
    HideTooltip();
    if (entry.IsOpen()) {
        // A press while the box is open but not focused commits it.
        entry.OnEditorButtonPress(true);
        return;
    }
    const int x = WindowScale::ToEditor(Win32Input::PointX(lParam), scale);
    const int y = WindowScale::ToEditor(Win32Input::PointY(lParam), scale);
    SetFocus(editorWnd);
    SetCapture(editorWnd);
    lastX = x;
    lastY = y;
    self.HandleMouseDown(x, y, Mods(wParam));
}

void IGraphicsWin::Impl::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    const int x = WindowScale::ToEditor(Win32Input::PointX(lParam), scale);
    const int y = WindowScale::ToEditor(Win32Input::PointY(lParam), scale);
    const MouseMods mods = Mods(wParam);
    if (mods.left || mods.right) {
        if (GetCapture() == editorWnd && !entry.IsOpen()) {
            lastX = x;
            lastY = y;
            self.HandleMouseDrag(x, y, mods);
        }
        return;
    }
    if (!self.HandlePointerOver(x, y, mods)) return;
    bool hoverStarted = false;
    if (self.TooltipsEnabled() && self.HoverIndex() != tips.TrackedIndex()) {
        if (tips.OnPointerMoved(self.HoverIndex(), 0)) SetTooltipText(nullptr);
        hoverStarted = self.HoverIndex() >= 0;
    }
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE | (hoverStarted ? TME_HOVER : 0);
    track.hwndTrack = editorWnd;
    track.dwHoverTime = HOVER_DEFAULT;
    TrackMouseEvent(&track);
}

void IGraphicsWin::Impl::ForwardKeyToHost(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Keys the editor does not take belong to the host (its shortcuts).
    HWND root = GetAncestor(editorWnd, GA_ROOT);
    if (root && root != editorWnd) SendMessageA(root, message, wParam, lParam);
}

// ---- the text-entry box --------------------------------------------------------------------

LRESULT CALLBACK IGraphicsWin::Impl::EntryProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND editor = GetParent(box);
    Impl* w = editor ? reinterpret_cast<Impl*>(GetWindowLongPtrA(editor, GWLP_USERDATA)) : nullptr;
    if (!w || w->entryBoxWnd != box || !w->entryBoxProc)
        return DefWindowProcA(box, message, wParam, lParam);
    return w->HandleEntryMessage(message, wParam, lParam);
}

LRESULT IGraphicsWin::Impl::HandleEntryMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND box = entryBoxWnd;
    const WNDPROC own = entryBoxProc;
    HideTooltip();
    switch (message) {
    case WM_SETFOCUS:
        entry.OnFocusGained();
        break;
    case WM_KILLFOCUS:
        entry.OnFocusLost();
        break;
    case WM_GETDLGCODE: {
        const LRESULT code = CallWindowProcA(own, box, message, wParam, lParam);
        if (entry.Param()) return code;
        const auto* queried = reinterpret_cast<const MSG*>(lParam);
        if (queried && queried->message == WM_KEYDOWN && queried->wParam == VK_RETURN)
            return code | DLGC_WANTALLKEYS;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            entry.OnReturn();
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            entry.OnEscape();
            return 0;
        }
        break;
    case WM_CHAR:
        if (!TextEntrySession::AcceptsChar(entry.Param(), char32_t(wParam))) return 0;
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == 1 && entry.IsOpen()) {
            entry.OnReturn();
            return 0;
        }
        break;
    default:
        break;
    }
    return CallWindowProcA(own, box, message, wParam, lParam);
}
