// SPDX-License-Identifier: GPL-3.0-or-later
// The content-scale interface id is declared by the SDK headers but defined
// nowhere in the SDK sources we build; the editor view and the host need it.
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace Steinberg {
DEF_CLASS_IID(IPlugViewContentScaleSupport)
} // namespace Steinberg
