// SPDX-License-Identifier: GPL-3.0-or-later
// The module's entry points and factory, loaded as a host loads them.
#include "BundleFixture.h"
#include "Utf16Text.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <cstring>

using namespace Steinberg;

namespace {

using GetFactoryProc = IPluginFactory* (*)();
using BoolProc = bool (*)();

// One identifier on every system, as hosts print it and store it in projects
// and presets; its bytes are in COM order on Windows, in text order elsewhere.
constexpr char kClassIdText[] = "E25B913CA407186D426B66644B6C6431";
#ifdef _WIN32
const unsigned char kClassId[16] = {0x3C, 0x91, 0x5B, 0xE2, 0x07, 0xA4, 0x6D, 0x18,
                                    'B',  'k',  'f',  'd',  'K',  'l',  'd',  '1'};
#else
const unsigned char kClassId[16] = {0xE2, 0x5B, 0x91, 0x3C, 0xA4, 0x07, 0x18, 0x6D,
                                    'B',  'k',  'f',  'd',  'K',  'l',  'd',  '1'};
#endif

} // namespace

TEST_F(BundleTest, FactoryDescribesOneEffectClassExactly)
{
    IPluginFactory* factory = module->Factory();
    PFactoryInfo info;
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Brackenfold");
    EXPECT_EQ(info.flags, 16);
    EXPECT_EQ(factory->countClasses(), 1);

    FUnknownPtr<IPluginFactory2> factory2(factory);
    ASSERT_TRUE(factory2);
    PClassInfo2 cls;
    ASSERT_EQ(factory2->getClassInfo2(0, &cls), kResultOk);
    EXPECT_EQ(std::memcmp(cls.cid, kClassId, 16), 0);
    EXPECT_EQ(std::memcmp(cls.cid + 8, "BkfdKld1", 8), 0);
    char printed[33] = {};
    FUID::fromTUID(cls.cid).toString(printed);
    EXPECT_STREQ(printed, kClassIdText);
    EXPECT_EQ(cls.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(cls.category, "Audio Module Class");
    EXPECT_STREQ(cls.name, "KELDRA");
    EXPECT_EQ(cls.classFlags, 2u);
    EXPECT_STREQ(cls.subCategories, "Fx|EQ");
    EXPECT_STREQ(cls.vendor, "");
    EXPECT_STREQ(cls.version, "3.0.0");
    EXPECT_STREQ(cls.sdkVersion, "VST 3.6.12");
    EXPECT_EQ(factory2->getClassInfo2(1, &cls), kInvalidArgument);

    FUnknownPtr<IPluginFactory3> factory3(factory);
    ASSERT_TRUE(factory3);
    PClassInfoW wide;
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
    EXPECT_EQ(AsUtf16(wide.name), u"KELDRA");
    EXPECT_EQ(AsUtf16(wide.sdkVersion), u"VST 3.6.12");
    EXPECT_STREQ(wide.subCategories, "Fx|EQ");
}

TEST_F(BundleTest, RepeatedFactoryRequestsReturnTheSameObjectWithOneMoreReference)
{
    const auto library = SharedLibrary::FindLoaded(module->LibraryPath());
    ASSERT_NE(library, nullptr);
    auto getFactory = reinterpret_cast<GetFactoryProc>(library->Symbol("GetPluginFactory"));
    ASSERT_NE(getFactory, nullptr);
    IPluginFactory* factory = module->Factory();
    const uint32 before = factory->addRef() - 1;
    factory->release();
    IPluginFactory* again = getFactory();
    EXPECT_EQ(again, factory);
    EXPECT_EQ(factory->addRef() - 1, before + 1);
    factory->release();
    again->release();

    auto initDll = reinterpret_cast<BoolProc>(library->Symbol("InitDll"));
    auto exitDll = reinterpret_cast<BoolProc>(library->Symbol("ExitDll"));
    ASSERT_NE(initDll, nullptr);
    ASSERT_NE(exitDll, nullptr);
    EXPECT_TRUE(initDll());
    EXPECT_TRUE(exitDll());
}

TEST_F(BundleTest, CreationRefusesUnknownClassesAndAnswersEveryInterface)
{
    IPluginFactory* factory = module->Factory();
    unsigned char otherId[16];
    std::memcpy(otherId, kClassId, 16);
    otherId[15] ^= 1;
    void* obj = reinterpret_cast<void*>(1);
    EXPECT_NE(factory->createInstance(reinterpret_cast<FIDString>(otherId), Vst::IComponent::iid, &obj), kResultOk);
    EXPECT_EQ(obj, nullptr);

    ASSERT_EQ(factory->createInstance(reinterpret_cast<FIDString>(kClassId), Vst::IAudioProcessor::iid, &obj),
              kResultOk);
    auto* processor = static_cast<Vst::IAudioProcessor*>(obj);
    for (const FUID* iid : {&Vst::IComponent::iid, &Vst::IEditController::iid, &Vst::IEditController2::iid,
                           &Vst::IUnitInfo::iid, &IPluginBase::iid, &Vst::IConnectionPoint::iid, &FUnknown::iid}) {
        FUnknown* other = nullptr;
        ASSERT_EQ(processor->queryInterface(iid->toTUID(), reinterpret_cast<void**>(&other)), kResultOk);
        other->release();
    }
    EXPECT_EQ(processor->release(), 0u);
}
