// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The plug-in format the effect is built for: its direct base is that
// format's binding. One build per format, chosen by the build's definition.
#if defined(KELDRA_BINDING_LV2)
#include "lv2/IEffectLV2.h"
using KeldraBinding = IEffectLV2;
#elif defined(KELDRA_BINDING_CLAP)
#include "clap/IEffectCLAP.h"
using KeldraBinding = IEffectCLAP;
#else
#include "vst3/IEffectVST3.h"
using KeldraBinding = IEffectVST3;
#endif
