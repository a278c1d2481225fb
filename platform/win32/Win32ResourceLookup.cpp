// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows the artwork is real module resources of type "PNG", compiled from
// the resource script the build writes (cmake/EmbedResources.cmake).
#include "platform/EmbeddedResources.h"
#include "platform/win32/ThisModule.h"

#include <windows.h>

std::optional<ResourceBytes> FindEmbeddedResource(int id, const char* type)
{
    const WORD resourceId = WORD(id & 0xFFFF);
    // Id 0 is no integer resource name: MAKEINTRESOURCE(0) is a null pointer.
    if (!IsPngResourceType(type) || resourceId == 0) return std::nullopt;
    const HMODULE module = static_cast<HMODULE>(ThisModule());
    const HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"PNG");
    if (!info) return std::nullopt;
    // A loaded resource stays mapped as long as the module; nothing to free.
    const HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return std::nullopt;
    return ResourceBytes{static_cast<const unsigned char*>(data), size_t(SizeofResource(module, info))};
}
