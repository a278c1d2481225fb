// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/ClapPlugView.h"

#include "host/ClapEffectAdapter.h"
#ifndef _WIN32
#include "host/ClapHostLoop.h"
#endif

#include <cstring>

using namespace Steinberg;

namespace {

/// The CLAP window api of a VST3 platform type, or null.
const char* ApiOf(FIDString type)
{
    if (type != nullptr && std::strcmp(type, kPlatformTypeHWND) == 0)
        return CLAP_WINDOW_API_WIN32;
    if (type != nullptr && std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0)
        return CLAP_WINDOW_API_X11;
    return nullptr;
}

} // namespace

#ifdef _WIN32
class ClapHostLoop {};
#endif

ClapPlugView::ClapPlugView(ClapEffectAdapter& adapter, const clap_plugin_gui_t& gui) : mAdapter(adapter), mGui(gui)
{
    mAdapter.addRef();
    mAdapter.SetView(this);
}

ClapPlugView::~ClapPlugView()
{
    if (isAttached())
        removed();
    mAdapter.SetView(nullptr);
    mAdapter.release();
}

tresult PLUGIN_API ClapPlugView::isPlatformTypeSupported(FIDString type)
{
    const char* api = ApiOf(type);
    return api != nullptr && mGui.is_api_supported(mAdapter.Plugin(), api, false) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API ClapPlugView::attached(void* parent, FIDString type)
{
    const char* api = ApiOf(type);
    if (parent == nullptr || api == nullptr)
        return kResultFalse;
    if (isAttached())
        removed();
    const clap_plugin_t* plugin = mAdapter.Plugin();
#ifndef _WIN32
    FUnknownPtr<Linux::IRunLoop> hostLoop(plugFrame);
    if (hostLoop)
        mLoop = std::make_unique<ClapHostLoop>(*hostLoop, *plugin);
#endif
    if (!mGui.create(plugin, api, false)) {
        mLoop.reset();
        return kResultFalse;
    }
    mCreated = true;
    clap_window_t window{};
    window.api = api;
#ifdef _WIN32
    window.win32 = parent;
#else
    window.x11 = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent));
#endif
    if (!mGui.set_parent(plugin, &window)) {
        removed();
        return kResultFalse;
    }
    mGui.show(plugin);
    CPluginView::attached(parent, type);
    return kResultOk;
}

tresult PLUGIN_API ClapPlugView::removed()
{
    if (mCreated)
        mGui.destroy(mAdapter.Plugin());
    mCreated = false;
    mLoop.reset();
    return CPluginView::removed();
}

tresult PLUGIN_API ClapPlugView::getSize(ViewRect* size)
{
    uint32_t width = 0, height = 0;
    if (size == nullptr || !mGui.get_size(mAdapter.Plugin(), &width, &height))
        return kResultFalse;
    *size = ViewRect(0, 0, static_cast<int32>(width), static_cast<int32>(height));
    return kResultOk;
}

tresult PLUGIN_API ClapPlugView::canResize()
{
    return mGui.can_resize(mAdapter.Plugin()) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API ClapPlugView::checkSizeConstraint(ViewRect* rect)
{
    clap_gui_resize_hints_t hints{};
    if (rect == nullptr || !mGui.get_resize_hints(mAdapter.Plugin(), &hints))
        return kResultFalse;
    uint32_t width = static_cast<uint32_t>(rect->getWidth()), height = static_cast<uint32_t>(rect->getHeight());
    if (!mGui.adjust_size(mAdapter.Plugin(), &width, &height))
        return kResultFalse;
    *rect = ViewRect(rect->left, rect->top, rect->left + static_cast<int32>(width), rect->top + static_cast<int32>(height));
    return kResultTrue;
}

tresult PLUGIN_API ClapPlugView::setContentScaleFactor(ScaleFactor factor)
{
    if (!mGui.set_scale(mAdapter.Plugin(), factor))
        return kResultFalse;
    uint32_t width = 0, height = 0;
    if (isAttached() && mGui.get_size(mAdapter.Plugin(), &width, &height))
        RequestResize(width, height);
    return kResultOk;
}

bool ClapPlugView::RequestResize(uint32_t width, uint32_t height)
{
    if (plugFrame == nullptr)
        return false;
    ViewRect wanted(0, 0, static_cast<int32>(width), static_cast<int32>(height));
    return plugFrame->resizeView(this, &wanted) == kResultOk;
}
