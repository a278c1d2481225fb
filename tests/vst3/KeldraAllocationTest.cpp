// SPDX-License-Identifier: GPL-3.0-or-later
// The process call of the bundle allocates nothing, whatever it is handed:
// automation, bypass, a preset change, long blocks, both sample sizes.
#include "BundleFixture.h"

#include "host/HostParameterChanges.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

// Every operator new in this test program, the loaded module included, is
// counted while a test arms the counter.
namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
}  // namespace

void* operator new(std::size_t size)
{
    if (gCounting.load(std::memory_order_relaxed))
        gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST_F(BundleTest, AllocationCounterSeesTheModulesAllocations)
{
    PClassInfo info;
    ASSERT_EQ(module->Factory()->getClassInfo(0, &info), kResultOk);
    void* obj = nullptr;
    gAllocations = 0;
    gCounting = true;
    const tresult created = module->Factory()->createInstance(info.cid, IComponent::iid, &obj);
    gCounting = false;
    ASSERT_EQ(created, kResultOk);
    static_cast<IComponent*>(obj)->release();
    EXPECT_GT(gAllocations.load(), 0);
}

TEST_F(BundleTest, ProcessAllocatesNothingInEitherSampleSize)
{
    constexpr int kBlock = 256;
    for (int sampleSize : {kSample32, kSample64}) {
        SCOPED_TRACE(sampleSize);
        std::string error;
        ProcessSettings settings;
        settings.sampleSize = sampleSize;
        settings.maxBlock = kBlock;
        ASSERT_TRUE(plugin->Setup(settings, error)) << error;

        // Longer than the announced maximum: processed in parts.
        constexpr int kLong = 3 * kBlock + 17;
        std::vector<std::vector<float>> in32(2, std::vector<float>(kLong, 0.25f)), out32 = in32;
        std::vector<std::vector<double>> in64(2, std::vector<double>(kLong, 0.25)), out64 = in64;
        float* i32[2] = {in32[0].data(), in32[1].data()};
        float* o32[2] = {out32[0].data(), out32[1].data()};
        double* i64[2] = {in64[0].data(), in64[1].data()};
        double* o64[2] = {out64[0].data(), out64[1].data()};
        std::vector<HostParameterChanges> changes(4);
        changes[0].Add(0, 0.8);
        changes[0].Add(3, 0.1);
        changes[0].Add(7, 1.0);  // oversampling 16
        changes[1].Add(0x62706173, 1.0);
        changes[2].Add(0x62706173, 0.0);
        changes[2].Add(0x70727374, 0.0);  // back to the preset
        auto process = [&](int frames, HostParameterChanges* queue) {
            if (sampleSize == kSample64)
                plugin->Process64(i64, o64, frames, queue);
            else
                plugin->Process32(i32, o32, frames, queue);
        };
        process(kBlock, nullptr);  // anything done once on first use

        gAllocations = 0;
        gCounting = true;
        for (HostParameterChanges& queue : changes)
            process(kBlock, &queue);
        process(0, &changes[0]);
        process(kLong, nullptr);
        gCounting = false;
        EXPECT_EQ(gAllocations.load(), 0);
    }
}
