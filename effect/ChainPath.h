// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The instruction-set paths of the signal chain's oversampled loop. All of
/// them compute the same bits; the widest one the processor runs is fastest.
enum class ChainPath { Portable, Sse2, Avx, Neon };

/// [any] True when this build has `path` and this processor can run it.
bool CanRunChainPath(ChainPath path) noexcept;

/// [ui] The path new chains take: the one named by the environment variable
/// KELDRA_CHAIN_PATH ("avx", "sse2", "neon" or "portable") when it can run
/// here (a hook for tests), else the widest one that can. Read once per
/// process.
ChainPath DefaultChainPath() noexcept;

/// [any] "avx", "sse2", "neon" or "portable".
const char* ChainPathName(ChainPath path) noexcept;
