// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EmbeddedResources.h"

#include <strings.h>

bool IsPngResourceType(const char* type) noexcept
{
    return type && strcasecmp(type, "PNG") == 0;
}
