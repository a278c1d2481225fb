// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HostPlugFrame.h"

using namespace Steinberg;

tresult PLUGIN_API HostPlugFrame::queryInterface(const TUID iid, void** obj)
{
#if SMTG_OS_LINUX
    if (obj != nullptr && mRunLoop != nullptr && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
        return mRunLoop->queryInterface(iid, obj);
#endif
    return HostObject<IPlugFrame>::queryInterface(iid, obj);
}

tresult PLUGIN_API HostPlugFrame::resizeView(IPlugView* view, ViewRect* newSize)
{
    if (view == nullptr || newSize == nullptr) return kInvalidArgument;
    mResizes.push_back(*newSize);
    return view->onSize(newSize);
}
