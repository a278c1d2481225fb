// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class IEffectLV2;

// Defined by the plug-in's module: its effect and the URIs its bundle names.

/// [ui] A new effect, owned by the caller.
IEffectLV2* CreateLV2Effect();
/// The plug-in's URI, as its Turtle description names it.
extern const char* const kLV2PluginUri;
/// The URI of the state property that holds the state chunk.
extern const char* const kLV2StateChunkUri;

/// [ui] The effect of an instance the plug-in's descriptor made (what
/// instance-access hands a UI).
IEffectLV2& EffectOfInstance(void* handle);
/// The URI of the plug-in's editor, as its Turtle description names it.
extern const char* const kLV2EditorUri;
