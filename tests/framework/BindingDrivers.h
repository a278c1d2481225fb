// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IEffectBase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// A host change for one block: parameter `param` (kHostBypass for the
/// host's bypass) to the plain value `plain` at frame `offset`.
struct HostChange {
    static constexpr int kHostBypass = -1;
    int param;
    int offset;
    double plain;
};

/// Stereo single-precision host buffers for one block; the input is a ramp.
struct StereoBlock {
    explicit StereoBlock(int frames);
    std::vector<std::vector<float>> in;
    std::vector<std::vector<float>> out;
    float* inPtr[2];
    float* outPtr[2];
};

/// One format binding under BindingProbe, driven through that format's own
/// calls as a host makes them.
class BindingDriver {
public:
    virtual ~BindingDriver() = default;
    virtual const char* Name() const = 0;
    virtual IEffectBase& Base() = 0;
    /// OnParamChanged indices and ProcessBlock part sizes since the last Forget().
    virtual const std::vector<int>& Changed() const = 0;
    virtual const std::vector<int>& Parts() const = 0;
    virtual void Forget() = 0;
    /// The format's set-up (VST3 setupProcessing + setActive, CLAP activate,
    /// LV2 instantiation) for blocks of up to `maxFrames`.
    virtual bool SetUp(double sampleRate, std::int64_t maxFrames) = 0;
    /// The format's state save; empty if it failed.
    virtual std::vector<std::uint8_t> Save() = 0;
    /// The format's state load from a stream handing out at most
    /// `bytesPerRead` bytes per read (LV2 hands over the whole chunk).
    virtual bool Load(const std::vector<std::uint8_t>& bytes, int bytesPerRead) = 0;
    /// One process call on `block` with `changes`.
    virtual void Process(StereoBlock& block, const std::vector<HostChange>& changes) = 0;
    /// Whether a change applies from its own frame on (else at the block start).
    virtual bool SampleAccurate() const = 0;
};

/// "vst3", "clap" and (on Linux) "lv2".
std::vector<std::string> BindingNames();
std::unique_ptr<BindingDriver> MakeBindingDriver(const std::string& name);
