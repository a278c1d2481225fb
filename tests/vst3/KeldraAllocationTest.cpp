// SPDX-License-Identifier: GPL-3.0-or-later
// The process call of the bundle allocates nothing, whatever it is handed:
// automation, bypass, a preset change, long blocks, both sample sizes.
#include "AllocationCounter.h"
#include "BundleFixture.h"

#include "host/HostParameterChanges.h"

#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST_F(BundleTest, AllocationCounterSeesTheModulesAllocations)
{
    PClassInfo info;
    ASSERT_EQ(module->Factory()->getClassInfo(0, &info), kResultOk);
    void* obj = nullptr;
    long allocations = 0;
    {
        AllocationCounter counter;
        ASSERT_EQ(module->Factory()->createInstance(info.cid, IComponent::iid, &obj), kResultOk);
        allocations = counter.Count();
    }
    static_cast<IComponent*>(obj)->release();
    EXPECT_GT(allocations, 0);
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

        AllocationCounter counter;
        for (HostParameterChanges& queue : changes)
            process(kBlock, &queue);
        process(0, &changes[0]);
        process(kLong, nullptr);
        EXPECT_EQ(counter.Count(), 0);
    }
}
