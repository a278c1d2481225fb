// SPDX-License-Identifier: GPL-3.0-or-later
// The PNG writer on Windows, where libpng is not available: the system's
// imaging component encodes into memory, and the bytes go to the file as the
// Linux form writes its own.
#include "tools/PngWriter.h"

#include "raster/PIX_IBitmap.h"
#include "tools/WholeFile.h"

#include <objidl.h>
#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

/// The system's objects need COM on this thread; an initialisation made here
/// is undone when the scope ends, one the caller made is left alone.
class ComScope {
public:
    ComScope() noexcept : mResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope()
    {
        if (SUCCEEDED(mResult)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT mResult;
};

/// `pixels` (0xAARRGGBB, top row first: in memory the BGRA bytes the encoder
/// takes) as an 8-bit RGBA PNG, or nothing if the system cannot encode.
std::optional<std::vector<unsigned char>> EncodePng(const std::vector<uint32_t>& pixels, int width, int height)
{
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    const UINT stride = UINT(width) * 4;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(UINT(width), UINT(height))) || FAILED(frame->SetPixelFormat(&format)) ||
        format != GUID_WICPixelFormat32bppBGRA ||
        FAILED(frame->WritePixels(UINT(height), stride, stride * UINT(height),
                                  reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels.data())))) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return std::nullopt;

    HGLOBAL memory = nullptr;
    STATSTG info{};
    if (FAILED(GetHGlobalFromStream(stream.Get(), &memory)) || FAILED(stream->Stat(&info, STATFLAG_NONAME)))
        return std::nullopt;
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(memory));
    if (bytes == nullptr) return std::nullopt;
    std::vector<unsigned char> png(bytes, bytes + info.cbSize.QuadPart);
    GlobalUnlock(memory);
    return png;
}

}  // namespace

bool WritePng(const PIX_IBitmap& bitmap, const std::string& path, std::string& error)
{
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    if (width <= 0 || height <= 0 || bitmap.Pixels() == nullptr) {
        error = "nothing to write to " + path;
        return false;
    }
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const int row = bitmap.IsBottomUp() ? height - 1 - y : y;
        std::memcpy(pixels.data() + size_t(y) * size_t(width),
                    bitmap.Pixels() + size_t(row) * size_t(bitmap.RowStride()), size_t(width) * sizeof(uint32_t));
    }
    const auto png = EncodePng(pixels, width, height);
    if (!png) {
        error = "cannot write " + path + ": the system could not encode the image";
        return false;
    }
    WholeFile output(path);
    FILE* file = output.Open(error);
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(png->data(), 1, png->size(), file) == png->size();
    if (!written || !output.Commit()) {
        error = "cannot write " + path + ": write failed";
        return false;
    }
    return true;
}
