// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows decoder needs COM on the calling thread, which belongs to the
// host: whatever the host set up must be left exactly as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "TestPng.h"
#include "raster/PIX_PngLoader.h"

using namespace testing_raster;

namespace {

struct ThreadOutcome {
    bool decoded = false;
    HRESULT during = E_FAIL;  // apartment query right after decoding
    APTTYPE type = APTTYPE_CURRENT;
    HRESULT afterOwnRelease = E_FAIL;  // once the thread undid its own setup
};

// Decodes `png` on a new thread that first initialises COM in `model`
// (or not at all when `model` is negative).
ThreadOutcome DecodeOnThread(const std::vector<uint8_t>& png, int model)
{
    ThreadOutcome outcome;
    std::thread([&] {
        if (model >= 0) CoInitializeEx(nullptr, DWORD(model));
        outcome.decoded = PIX_LoadPngFromMemory(png.data(), int32_t(png.size())) != nullptr;
        APTTYPEQUALIFIER qualifier{};
        outcome.during = CoGetApartmentType(&outcome.type, &qualifier);
        if (model >= 0) CoUninitialize();
        outcome.afterOwnRelease = CoGetApartmentType(&outcome.type, &qualifier);
    }).join();
    return outcome;
}

}  // namespace

TEST(Win32PngDecoder, LeavesTheThreadsComSetupAsItFoundIt)
{
    PngImage image;
    image.rows = {{1, 2, 3, 4}};
    const std::vector<uint8_t> png = EncodePng(image);

    const ThreadOutcome bare = DecodeOnThread(png, -1);
    EXPECT_TRUE(bare.decoded);
    EXPECT_EQ(bare.during, CO_E_NOTINITIALIZED);

    const ThreadOutcome sta = DecodeOnThread(png, COINIT_APARTMENTTHREADED);
    EXPECT_TRUE(sta.decoded);
    EXPECT_EQ(sta.during, S_OK);
    EXPECT_EQ(sta.afterOwnRelease, CO_E_NOTINITIALIZED);

    // A thread of the other model: the decoder's own request is refused with
    // RPC_E_CHANGED_MODE and it works in the host's apartment.
    const ThreadOutcome mta = DecodeOnThread(png, COINIT_MULTITHREADED);
    EXPECT_TRUE(mta.decoded);
    EXPECT_EQ(mta.during, S_OK);
    EXPECT_EQ(mta.afterOwnRelease, CO_E_NOTINITIALIZED);
}
