// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/AudioClip.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

/// Bytes of memory this machine has, or 0 when it will not say.
uint64_t PhysicalMemory()
{
#ifdef _WIN32
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
#else
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : 0;
#endif
}

double ToDb(double level)
{
    return level > 0.0 ? std::max(-300.0, 20.0 * std::log10(level)) : -300.0;
}

} // namespace

bool AllocateFrames(AudioClip& clip, int64_t frames, std::string& error)
{
    clip.samples.clear();
    const uint64_t samples = uint64_t(std::max<int64_t>(frames, 0)) * uint64_t(std::max(clip.channels, 0));
    // The input and the rendered output are both held: each may have half of
    // the machine. Asking for more would exhaust it before any allocation
    // failed, on systems that promise memory they do not have.
    const uint64_t memory = PhysicalMemory();
    const bool fits = samples <= uint64_t(SIZE_MAX) / sizeof(float) &&
                      (memory == 0 || samples * sizeof(float) <= memory / 2);
    if (fits) {
        try {
            clip.samples.resize(size_t(samples));
            return true;
        } catch (const std::bad_alloc&) {
        } catch (const std::length_error&) {
        }
    }
    error = "its " + std::to_string(frames) + " frames do not fit in memory";
    return false;
}

ClipLevels MeasureLevels(const AudioClip& clip)
{
    double peak = 0.0;
    double sum = 0.0;
    for (float s : clip.samples) {
        peak = std::max(peak, static_cast<double>(std::fabs(s)));
        sum += static_cast<double>(s) * s;
    }
    ClipLevels levels;
    levels.peakDb = ToDb(peak);
    if (!clip.samples.empty())
        levels.rmsDb = ToDb(std::sqrt(sum / static_cast<double>(clip.samples.size())));
    return levels;
}

AudioClip MakeDemoSignal(double seconds, double rate)
{
    constexpr double kPi = 3.14159265358979323846;
    constexpr double kPeak = 0.25;
    constexpr double kStart = 20.0;
    constexpr double kEnd = 20000.0;
    constexpr double kTone = 220.0;
    AudioClip clip;
    clip.channels = 2;
    clip.rate = rate;
    const long frames = std::max(1L, std::lround(seconds * rate));
    clip.samples.resize(static_cast<size_t>(frames) * 2);
    const double duration = static_cast<double>(frames) / rate;
    const double k = std::log(kEnd / kStart);
    const long fade = std::max(1L, std::lround(0.010 * rate));
    for (long i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        // Phase of an exponential sweep: the integral of f(t) = f0 (f1/f0)^(t/T).
        const double sweepPhase = 2.0 * kPi * kStart * duration / k * (std::exp(t / duration * k) - 1.0);
        const double gain = kPeak * std::min({1.0, static_cast<double>(i) / fade,
                                              static_cast<double>(frames - 1 - i) / fade});
        clip.samples[2 * i] = static_cast<float>(gain * std::sin(sweepPhase));
        clip.samples[2 * i + 1] = static_cast<float>(gain * std::sin(2.0 * kPi * kTone * t));
    }
    return clip;
}
