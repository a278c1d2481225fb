// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/IEffectVST3View.h"

#include "graphics/IEditorRunLoop.h"
#include "graphics/IPlatformGraphics.h"
#include "vst3/IEffectVST3.h"
#if SMTG_OS_LINUX
#include "vst3/VST3RunLoopAdapter.h"
#endif

#include <cmath>
#include <cstring>

using namespace Steinberg;

#if SMTG_OS_WINDOWS
const char* const IEffectVST3View::kPlatformType = kPlatformTypeHWND;
#else
const char* const IEffectVST3View::kPlatformType = kPlatformTypeX11EmbedWindowID;
#endif

namespace {

bool IsOwnPlatformType(FIDString type)
{
    return type != nullptr && std::strcmp(type, IEffectVST3View::kPlatformType) == 0;
}

}  // namespace

IEffectVST3View::IEffectVST3View(IEffectVST3& plug) : mPlug(&plug)
{
    mPlug->addRef();
    mPlug->AddView(this);
}

IEffectVST3View::~IEffectVST3View()
{
    // A host that destroys the view while attached still gets its window closed.
    if (isAttached()) removed();
    mPlug->RemoveView(this);
    mPlug->release();
}

IGraphics* IEffectVST3View::Graphics() const
{
    return dynamic_cast<IGraphics*>(mPlug->GetEditor());
}

IPlatformGraphics* IEffectVST3View::PlatformGraphics() const
{
    return dynamic_cast<IPlatformGraphics*>(mPlug->GetEditor());
}

double IEffectVST3View::ContentScale() const
{
    const IPlatformGraphics* graphics = PlatformGraphics();
    return graphics != nullptr ? graphics->ContentScale() : 1.0;
}

tresult PLUGIN_API IEffectVST3View::isPlatformTypeSupported(FIDString type)
{
    if (Graphics() == nullptr) return kResultFalse;
    return IsOwnPlatformType(type) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IEffectVST3View::attached(void* parent, FIDString type)
{
    IGraphics* graphics = Graphics();
    // Reporting success for a window that does not exist would leave the
    // host showing an empty frame; it is told instead.
    if (graphics == nullptr || parent == nullptr || !IsOwnPlatformType(type)) return kResultFalse;
    if (isAttached()) removed();

    IPlatformGraphics* platform = PlatformGraphics();
#if SMTG_OS_LINUX
    if (platform != nullptr) {
        FUnknownPtr<Linux::IRunLoop> hostLoop(plugFrame);
        if (hostLoop) mRunLoop = std::make_unique<VST3RunLoopAdapter>(*hostLoop);
        platform->SetRunLoop(mRunLoop.get());
    }
#endif
    mWindow = graphics->OpenEditorWindow(parent);
    if (mWindow == nullptr) {
        if (platform != nullptr) platform->SetRunLoop(nullptr);
        mRunLoop.reset();
        return kResultFalse;
    }
    CPluginView::attached(parent, type);
    mPlug->OnEditorOpened();
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3View::removed()
{
    IGraphics* graphics = Graphics();
    // The editor has one window: only the view that opened it, and still
    // holds it, closes it. A view that never opened it, or whose window a
    // second view has opened since, leaves that window alone. A window the
    // host destroyed with its own is closed too: what it held (the window
    // class) is released.
    void* const open = graphics != nullptr ? graphics->NativeWindow() : nullptr;
    if (graphics != nullptr && mWindow != nullptr && (open == mWindow || open == nullptr)) {
        mPlug->OnEditorClosed();
        graphics->CloseEditorWindow();
        if (IPlatformGraphics* platform = PlatformGraphics()) platform->SetRunLoop(nullptr);
    }
    mWindow = nullptr;
    // The window host has unregistered its handlers on closing; anything
    // left is unregistered here, never after removed returns.
    mRunLoop.reset();
    return CPluginView::removed();
}

tresult PLUGIN_API IEffectVST3View::getSize(ViewRect* size)
{
    IGraphics* graphics = Graphics();
    if (graphics == nullptr || size == nullptr) return kResultFalse;
    const IPlatformGraphics* platform = PlatformGraphics();
    const int width = platform != nullptr ? platform->WindowWidth() : graphics->Width();
    const int height = platform != nullptr ? platform->WindowHeight() : graphics->Height();
    *size = ViewRect(0, 0, width, height);
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3View::onSize(ViewRect* newSize)
{
    if (newSize != nullptr) {
        rect = *newSize;
        if (mExpectingNewSize) {
            mPlug->OnEditorResized();
            mExpectingNewSize = false;
        }
    }
    return kResultTrue;
}

tresult PLUGIN_API IEffectVST3View::canResize()
{
    return kResultFalse;
}

tresult PLUGIN_API IEffectVST3View::checkSizeConstraint(ViewRect* rect)
{
    ViewRect size;
    if (rect == nullptr || getSize(&size) != kResultOk) return kResultFalse;
    *rect = ViewRect(rect->left, rect->top, rect->left + size.getWidth(), rect->top + size.getHeight());
    return kResultTrue;
}

tresult PLUGIN_API IEffectVST3View::setContentScaleFactor(ScaleFactor factor)
{
    IPlatformGraphics* platform = PlatformGraphics();
    if (platform == nullptr) return kResultFalse;
    const double before = platform->ContentScale();
    platform->SetContentScale(double(factor));
    if (isAttached() && platform->ContentScale() != before)
        RequestResize(platform->Width(), platform->Height());
    return kResultOk;
}

bool IEffectVST3View::RequestResize(int width, int height)
{
    if (plugFrame == nullptr) return false;
    const double scale = ContentScale();
    ViewRect wanted(0, 0, int32(std::lround(width * scale)), int32(std::lround(height * scale)));
    mExpectingNewSize = true;
    if (plugFrame->resizeView(this, &wanted) == kResultOk) return true;
    mExpectingNewSize = false;
    return false;
}
