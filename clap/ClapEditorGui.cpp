// SPDX-License-Identifier: GPL-3.0-or-later
#include "clap/ClapEditorGui.h"

#include "clap/ClapRunLoopAdapter.h"
#include "clap/IEffectCLAP.h"
#include "graphics/IGraphics.h"
#include "graphics/IPlatformGraphics.h"

#include <cmath>
#include <cstring>

namespace {

#ifdef _WIN32
constexpr const char* kWindowApi = CLAP_WINDOW_API_WIN32;
#else
constexpr const char* kWindowApi = CLAP_WINDOW_API_X11;
#endif

bool IsOwnApi(const char* api, bool isFloating)
{
    return api != nullptr && !isFloating && std::strcmp(api, kWindowApi) == 0;
}

} // namespace

ClapEditorGui::ClapEditorGui(IEffectCLAP& plug) : mPlug(plug) {}

ClapEditorGui::~ClapEditorGui()
{
    Destroy();
}

IGraphics* ClapEditorGui::Graphics() const
{
    return dynamic_cast<IGraphics*>(mPlug.GetEditor());
}

IPlatformGraphics* ClapEditorGui::PlatformGraphics() const
{
    return dynamic_cast<IPlatformGraphics*>(mPlug.GetEditor());
}

bool ClapEditorGui::IsApiSupported(const char* api, bool isFloating) const
{
    return Graphics() != nullptr && IsOwnApi(api, isFloating);
}

bool ClapEditorGui::PreferredApi(const char** api, bool* isFloating) const
{
    if (api == nullptr || isFloating == nullptr || Graphics() == nullptr)
        return false;
    *api = kWindowApi;
    *isFloating = false;
    return true;
}

bool ClapEditorGui::Create(const char* api, bool isFloating)
{
    if (!IsApiSupported(api, isFloating))
        return false;
    Destroy();
    mCreated = true;
    return true;
}

void ClapEditorGui::Destroy()
{
    IGraphics* graphics = Graphics();
    // Only the window this gui opened is closed; a window the host destroyed
    // with its own is closed too, so that what it held is released.
    void* const open = graphics != nullptr ? graphics->NativeWindow() : nullptr;
    if (graphics != nullptr && mWindow != nullptr && (open == mWindow || open == nullptr)) {
        mPlug.OnEditorClosed();
        graphics->CloseEditorWindow();
        if (IPlatformGraphics* platform = PlatformGraphics())
            platform->SetRunLoop(nullptr);
    }
    mWindow = nullptr;
    // The window host unregistered its handlers on closing; anything left
    // goes now, never after destroy returns.
    mRunLoop.reset();
    mCreated = false;
}

bool ClapEditorGui::SetScale(double scale)
{
    IPlatformGraphics* platform = PlatformGraphics();
    if (platform == nullptr || !std::isfinite(scale))
        return false;
    platform->SetContentScale(scale);
    return true;
}

bool ClapEditorGui::GetSize(uint32_t& width, uint32_t& height) const
{
    IGraphics* graphics = Graphics();
    if (graphics == nullptr)
        return false;
    const IPlatformGraphics* platform = PlatformGraphics();
    width = static_cast<uint32_t>(platform != nullptr ? platform->WindowWidth() : graphics->Width());
    height = static_cast<uint32_t>(platform != nullptr ? platform->WindowHeight() : graphics->Height());
    return true;
}

bool ClapEditorGui::GetResizeHints(clap_gui_resize_hints_t& hints) const
{
    if (Graphics() == nullptr)
        return false;
    hints = clap_gui_resize_hints_t{};
    return true;
}

bool ClapEditorGui::AdjustSize(uint32_t& width, uint32_t& height) const
{
    return GetSize(width, height);
}

bool ClapEditorGui::SetSize(uint32_t width, uint32_t height) const
{
    uint32_t ownWidth = 0, ownHeight = 0;
    return GetSize(ownWidth, ownHeight) && width == ownWidth && height == ownHeight;
}

bool ClapEditorGui::SetParent(const clap_window_t& window)
{
    IGraphics* graphics = Graphics();
    if (!mCreated || graphics == nullptr || window.api == nullptr || !IsOwnApi(window.api, false))
        return false;
#ifdef _WIN32
    void* const parent = window.win32;
#else
    void* const parent = reinterpret_cast<void*>(static_cast<uintptr_t>(window.x11));
    IPlatformGraphics* platform = PlatformGraphics();
    const auto* timers = static_cast<const clap_host_timer_support_t*>(mPlug.HostExtension(CLAP_EXT_TIMER_SUPPORT));
    const auto* fds = static_cast<const clap_host_posix_fd_support_t*>(mPlug.HostExtension(CLAP_EXT_POSIX_FD_SUPPORT));
    if (platform != nullptr) {
        // Without both, the editor has no loop: it is painted once.
        if (timers != nullptr && fds != nullptr && mPlug.Host() != nullptr)
            mRunLoop = std::make_unique<ClapRunLoopAdapter>(*mPlug.Host(), *timers, *fds);
        platform->SetRunLoop(mRunLoop.get());
    }
#endif
    if (parent == nullptr)
        return false;
    mWindow = graphics->OpenEditorWindow(parent);
    if (mWindow == nullptr) {
        if (IPlatformGraphics* platformGraphics = PlatformGraphics())
            platformGraphics->SetRunLoop(nullptr);
        mRunLoop.reset();
        return false;
    }
    mPlug.OnEditorOpened();
    return true;
}

void ClapEditorGui::OnTimer(clap_id timerId)
{
    if (mRunLoop)
        mRunLoop->OnTimer(timerId);
}

void ClapEditorGui::OnFd(int fd)
{
    if (mRunLoop)
        mRunLoop->OnFd(fd);
}

bool ClapEditorGui::RequestResize(int width, int height) const
{
    const auto* gui = static_cast<const clap_host_gui_t*>(mPlug.HostExtension(CLAP_EXT_GUI));
    if (gui == nullptr || gui->request_resize == nullptr || mWindow == nullptr)
        return false;
    const IPlatformGraphics* platform = PlatformGraphics();
    const double scale = platform != nullptr ? platform->ContentScale() : 1.0;
    return gui->request_resize(mPlug.Host(), static_cast<uint32_t>(std::lround(width * scale)),
                               static_cast<uint32_t>(std::lround(height * scale)));
}
