// SPDX-License-Identifier: GPL-3.0-or-later
// KELDRA in the LV2 module: the effect and the URIs of keldra.lv2.
#include "lv2/LV2Entry.h"

#include "effect/KELDRA.h"
#include "effect/KeldraIdentity.h"

const char* const kLV2PluginUri = KeldraIdentity::kLv2Uri;
const char* const kLV2StateChunkUri = KeldraIdentity::kLv2StateChunkUri;
const char* const kLV2EditorUri = KeldraIdentity::kLv2EditorUri;

IEffectLV2* CreateLV2Effect()
{
    return new KELDRA();
}
