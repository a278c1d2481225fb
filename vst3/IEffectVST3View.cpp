// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/IEffectVST3View.h"

#include "graphics/IEditorRunLoop.h"
#include "graphics/IGraphics.h"
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

IEffectVST3View::IEffectVST3View(IEffectVST3& plug) : mPlug(&plug), mAttachment(plug)
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

tresult PLUGIN_API IEffectVST3View::isPlatformTypeSupported(FIDString type)
{
    if (mAttachment.Graphics() == nullptr) return kResultFalse;
    return IsOwnPlatformType(type) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IEffectVST3View::attached(void* parent, FIDString type)
{
    // Reporting success for a window that does not exist would leave the
    // host showing an empty frame; it is told instead.
    if (mAttachment.Graphics() == nullptr || parent == nullptr || !IsOwnPlatformType(type))
        return kResultFalse;
    if (isAttached()) removed();
#if SMTG_OS_LINUX
    FUnknownPtr<Linux::IRunLoop> hostLoop(plugFrame);
    if (hostLoop) mRunLoop = std::make_unique<VST3RunLoopAdapter>(*hostLoop);
#endif
    if (!mAttachment.Attach(parent, mRunLoop.get())) {
        mRunLoop.reset();
        return kResultFalse;
    }
    CPluginView::attached(parent, type);
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3View::removed()
{
    mAttachment.Detach();
    // The window host has unregistered its handlers on closing; anything
    // left is unregistered here, never after removed returns.
    mRunLoop.reset();
    return CPluginView::removed();
}

tresult PLUGIN_API IEffectVST3View::getSize(ViewRect* size)
{
    if (mAttachment.Graphics() == nullptr || size == nullptr) return kResultFalse;
    *size = ViewRect(0, 0, mAttachment.WindowWidth(), mAttachment.WindowHeight());
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
    if (mAttachment.PlatformGraphics() == nullptr) return kResultFalse;
    if (mAttachment.SetContentScale(double(factor)) && isAttached()) {
        const IGraphics* graphics = mAttachment.Graphics();
        RequestResize(graphics->Width(), graphics->Height());
    }
    return kResultOk;
}

bool IEffectVST3View::RequestResize(int width, int height)
{
    if (plugFrame == nullptr) return false;
    const double scale = mAttachment.ContentScale();
    ViewRect wanted(0, 0, int32(std::lround(width * scale)), int32(std::lround(height * scale)));
    mExpectingNewSize = true;
    if (plugFrame->resizeView(this, &wanted) == kResultOk) return true;
    mExpectingNewSize = false;
    return false;
}
