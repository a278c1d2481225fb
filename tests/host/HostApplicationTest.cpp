// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HostApplication.h"
#include "Utf16Text.h"

#include <gtest/gtest.h>

#include <string>

TEST(HostApplication, NamesItselfInUtf16AndCutsLongNames)
{
    HostApplication app(std::string(200, 'a'));
    Steinberg::Vst::String128 name;
    ASSERT_EQ(app.getName(name), Steinberg::kResultOk);
    EXPECT_EQ(AsUtf16(name), std::u16string(127, u'a'));
    void* obj = reinterpret_cast<void*>(1);
    Steinberg::TUID any = {};
    EXPECT_EQ(app.createInstance(any, any, &obj), Steinberg::kResultFalse);
    EXPECT_EQ(obj, nullptr);
}
