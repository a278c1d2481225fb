// SPDX-License-Identifier: GPL-3.0-or-later
// KELDRA in the LV2 module: the effect and the URIs of keldra.lv2.
#include "lv2/LV2Entry.h"

#include "effect/KELDRA.h"

const char* const kLV2PluginUri = "urn:brackenfold:keldra";
const char* const kLV2StateChunkUri = "urn:brackenfold:keldra#chunk";
const char* const kLV2EditorUri = "urn:brackenfold:keldra#editor";

IEffectLV2* CreateLV2Effect()
{
    return new KELDRA();
}
