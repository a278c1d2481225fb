// SPDX-License-Identifier: GPL-3.0-or-later
#include "clap/ClapEditorGui.h"

#include "clap/ClapRunLoopAdapter.h"
#include "clap/IEffectCLAP.h"

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

ClapEditorGui::ClapEditorGui(IEffectCLAP& plug) : mPlug(plug), mAttachment(plug) {}

ClapEditorGui::~ClapEditorGui()
{
    Destroy();
}

bool ClapEditorGui::IsApiSupported(const char* api, bool isFloating) const
{
    return mAttachment.Graphics() != nullptr && IsOwnApi(api, isFloating);
}

bool ClapEditorGui::PreferredApi(const char** api, bool* isFloating) const
{
    if (api == nullptr || isFloating == nullptr || mAttachment.Graphics() == nullptr)
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
    mAttachment.Detach();
    // The window host unregistered its handlers on closing; anything left
    // goes now, never after destroy returns.
    mRunLoop.reset();
    mCreated = false;
}

bool ClapEditorGui::SetScale(double scale)
{
    if (mAttachment.PlatformGraphics() == nullptr || !std::isfinite(scale))
        return false;
    mAttachment.SetContentScale(scale);
    return true;
}

bool ClapEditorGui::GetSize(uint32_t& width, uint32_t& height) const
{
    if (mAttachment.Graphics() == nullptr)
        return false;
    width = static_cast<uint32_t>(mAttachment.WindowWidth());
    height = static_cast<uint32_t>(mAttachment.WindowHeight());
    return true;
}

bool ClapEditorGui::GetResizeHints(clap_gui_resize_hints_t& hints) const
{
    if (mAttachment.Graphics() == nullptr)
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
    if (!mCreated || mAttachment.Graphics() == nullptr || window.api == nullptr || !IsOwnApi(window.api, false))
        return false;
    // A window already open goes with its loop before a new loop is made.
    mAttachment.Detach();
    mRunLoop.reset();
#ifdef _WIN32
    void* const parent = window.win32;
#else
    void* const parent = reinterpret_cast<void*>(static_cast<uintptr_t>(window.x11));
    const auto* timers = static_cast<const clap_host_timer_support_t*>(mPlug.HostExtension(CLAP_EXT_TIMER_SUPPORT));
    const auto* fds = static_cast<const clap_host_posix_fd_support_t*>(mPlug.HostExtension(CLAP_EXT_POSIX_FD_SUPPORT));
    // Without both, the editor has no loop: it is painted once.
    if (timers != nullptr && fds != nullptr && mPlug.Host() != nullptr)
        mRunLoop = std::make_unique<ClapRunLoopAdapter>(*mPlug.Host(), *timers, *fds);
#endif
    if (!mAttachment.Attach(parent, mRunLoop.get())) {
        mRunLoop.reset();
        return false;
    }
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
    if (gui == nullptr || gui->request_resize == nullptr || mAttachment.Window() == nullptr)
        return false;
    const double scale = mAttachment.ContentScale();
    return gui->request_resize(mPlug.Host(), static_cast<uint32_t>(std::lround(width * scale)),
                               static_cast<uint32_t>(std::lround(height * scale)));
}
