// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HostParameterChanges.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST(HostParameterChanges, PointsOfOneIdShareAQueueInTheOrderAdded)
{
    HostParameterChanges changes;
    changes.Add(5, 0.1, 0);
    changes.Add(9, 0.2, 0);
    changes.Add(5, 0.3, 16);
    ASSERT_EQ(changes.getParameterCount(), 2);
    IParamValueQueue* queue = changes.getParameterData(0);
    ASSERT_NE(queue, nullptr);
    EXPECT_EQ(queue->getParameterId(), 5u);
    ASSERT_EQ(queue->getPointCount(), 2);
    int32 offset = -1;
    ParamValue value = -1.0;
    EXPECT_EQ(queue->getPoint(1, offset, value), kResultOk);
    EXPECT_EQ(offset, 16);
    EXPECT_EQ(value, 0.3);
}

TEST(HostParameterChanges, IndicesOutsideTheListsAreAnsweredWithoutData)
{
    HostParameterChanges changes;
    EXPECT_EQ(changes.getParameterData(0), nullptr);
    EXPECT_EQ(changes.getParameterData(-1), nullptr);
    changes.Add(1, 0.5);
    int32 offset = 0;
    ParamValue value = 0.0;
    EXPECT_EQ(changes.getParameterData(0)->getPoint(1, offset, value), kResultFalse);
    EXPECT_EQ(changes.getParameterData(0)->getPoint(-1, offset, value), kResultFalse);
    changes.Clear();
    EXPECT_EQ(changes.getParameterCount(), 0);
}

TEST(HostParameterChanges, AnswersItsInterfacesAndCountsReferences)
{
    HostParameterChanges changes;
    void* obj = nullptr;
    ASSERT_EQ(changes.queryInterface(IParameterChanges::iid, &obj), kResultOk);
    EXPECT_EQ(obj, static_cast<IParameterChanges*>(&changes));
    EXPECT_EQ(changes.References(), 1u);
    changes.release();
    EXPECT_EQ(changes.queryInterface(IParamValueQueue::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
}
