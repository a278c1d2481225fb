// SPDX-License-Identifier: GPL-3.0-or-later
// Kept apart from the decoder so that only programs that load resources need
// the module's resource table.
#include <strings.h>

#include <cstring>

#include "platform/EmbeddedResources.h"
#include "raster/PIX_PngLoader.h"

std::unique_ptr<PIX_MemBitmap> PIX_LoadPngResource(int32_t id, const char* name)
{
    const char* dot = name ? std::strrchr(name, '.') : nullptr;
    if (!dot || strcasecmp(dot + 1, "png") != 0) return nullptr;
    const std::optional<ResourceBytes> bytes = FindEmbeddedResource(id & 0xFFFF, "PNG");
    if (!bytes || bytes->size < 8 || bytes->size > size_t(INT32_MAX)) return nullptr;
    return PIX_LoadPngFromMemory(bytes->data, int32_t(bytes->size));
}
