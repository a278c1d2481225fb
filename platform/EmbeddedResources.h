// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>

/// Bytes of a resource built into the module; they live as long as the module.
struct ResourceBytes {
    const unsigned char* data = nullptr;
    size_t size = 0;
};

/// [any] True if `type` names the "PNG" resource type (any letter case).
bool IsPngResourceType(const char* type) noexcept;

/// [any] The resource (id & 0xFFFF, type) built into this module, or nothing.
/// Only "PNG" resources exist. On Linux the table the build generates defines
/// it; on Windows it reads the module's own resources.
std::optional<ResourceBytes> FindEmbeddedResource(int id, const char* type);
