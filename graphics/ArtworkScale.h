// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The resolutions the editor's artwork is drawn at, and where each sits
/// among the module's resources. [any]
namespace ArtworkScale {

/// The artwork exists at every whole scale from 1 to this one.
constexpr int kLargest = 2;
/// Resource ids of the images at scale s are those at scale 1 plus this
/// step times (s - 1).
constexpr int kIdStep = 1000;

/// The artwork scale a window at content scale `contentScale` is composed
/// from: the smallest at or above it, the largest for anything beyond, 1 for
/// 1 or less (and for values that are not finite).
int For(double contentScale) noexcept;

/// The resource id of image `resourceId` (a scale-1 id) drawn at `scale`.
int ResourceId(int resourceId, int scale) noexcept;

} // namespace ArtworkScale
