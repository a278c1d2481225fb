// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding of PNG data on Windows through the system's imaging component
// into 0xAARRGGBB straight-alpha pixels, the same pixels as the libpng form.
#include <windows.h>
#include <wincodec.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "raster/PIX_PngLoader.h"

namespace {

constexpr unsigned char kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

// True when no chunk that a decoder must read claims more bytes than the
// block holds. The system's decoder would otherwise take a cut file whose
// chunk header claims gigabytes at its word and spend seconds on it before
// failing; the libpng form stops at the end of the block. Chunks after the
// image data are never needed, as libpng never reads them either.
bool ChunksFitTheBlock(const unsigned char* data, size_t length)
{
    bool seenImageData = false;
    for (size_t at = sizeof kSignature; length - at >= 8;) {
        const uint32_t claimed = (uint32_t(data[at]) << 24) | (uint32_t(data[at + 1]) << 16) |
                                 (uint32_t(data[at + 2]) << 8) | data[at + 3];
        const bool imageData = std::memcmp(data + at + 4, "IDAT", 4) == 0;
        if (seenImageData && !imageData) return true;
        seenImageData = seenImageData || imageData;
        if (uint64_t(claimed) + 12u > length - at) return false;
        at += size_t(claimed) + 12u;
    }
    return true;
}

// Holds one reference to a system object.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (mObject) mObject->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T** Receive() noexcept { return &mObject; }
    T* operator->() const noexcept { return mObject; }
    T* Get() const noexcept { return mObject; }

private:
    T* mObject = nullptr;
};

// The system's objects need COM on the calling thread. A host may already
// have initialised the thread, in either model: that is left as it is
// (RPC_E_CHANGED_MODE only says the model differs, COM still works), and
// every successful initialisation here is balanced when the scope ends.
class ComScope {
public:
    ComScope() noexcept : mResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope()
    {
        if (SUCCEEDED(mResult)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Usable() const noexcept { return SUCCEEDED(mResult) || mResult == RPC_E_CHANGED_MODE; }

private:
    HRESULT mResult;
};

// 16-bit samples, which the system hands out as little-endian words per
// channel. The library keeps their high bytes, as its libpng form does; the
// system's own conversion to 8 bits may round instead.
struct WideFormat {
    const GUID* format;
    int channels;         // words per pixel
    int red, green, blue; // word index of each colour
    int alpha;            // word index of alpha, -1 when opaque
};
const WideFormat kWideFormats[] = {
    {&GUID_WICPixelFormat64bppRGBA, 4, 0, 1, 2, 3},
    {&GUID_WICPixelFormat64bppBGRA, 4, 2, 1, 0, 3},
    {&GUID_WICPixelFormat48bppRGB, 3, 0, 1, 2, -1},
    {&GUID_WICPixelFormat48bppBGR, 3, 2, 1, 0, -1},
    {&GUID_WICPixelFormat16bppGray, 1, 0, 0, 0, -1},
};

const WideFormat* FindWideFormat(const WICPixelFormatGUID& format)
{
    for (const WideFormat& wide : kWideFormats)
        if (IsEqualGUID(*wide.format, format)) return &wide;
    return nullptr;
}

uint32_t* StoredRow(const PIX_IBitmap& bitmap, uint32_t y)
{
    const ptrdiff_t stored = bitmap.IsBottomUp() ? ptrdiff_t(bitmap.Height()) - 1 - ptrdiff_t(y) : ptrdiff_t(y);
    return bitmap.Pixels() + stored * bitmap.RowStride();
}

// Copies one row at a time through a row buffer and keeps each sample's
// high byte.
bool CopyWideRows(IWICBitmapSource& frame, const WideFormat& wide, PIX_IBitmap& target)
{
    const UINT width = UINT(target.Width());
    if (uint64_t(width) * uint64_t(wide.channels) * 2u > INT32_MAX) return false;
    const UINT rowBytes = width * UINT(wide.channels) * 2u;
    std::vector<unsigned char> row;
    try {
        row.resize(rowBytes);
    } catch (...) {
        return false;
    }
    for (UINT y = 0; y < UINT(target.Height()); ++y) {
        const WICRect line{0, INT(y), INT(width), 1};
        if (FAILED(frame.CopyPixels(&line, rowBytes, rowBytes, row.data()))) return false;
        uint32_t* out = StoredRow(target, y);
        for (UINT x = 0; x < width; ++x) {
            const unsigned char* p = row.data() + size_t(x) * wide.channels * 2u;
            auto high = [&](int word) { return uint32_t(p[word * 2 + 1]); };
            const uint32_t alpha = wide.alpha < 0 ? 255u : high(wide.alpha);
            out[x] = (alpha << 24) | (high(wide.red) << 16) | (high(wide.green) << 8) | high(wide.blue);
        }
    }
    return true;
}

// Converted by the system into bytes blue, green, red, alpha: the library's
// own layout, written straight into the bitmap's rows.
bool CopyConvertedRows(IWICImagingFactory& factory, IWICBitmapSource& frame, PIX_IBitmap& target)
{
    ComRef<IWICFormatConverter> converter;
    if (FAILED(factory.CreateFormatConverter(converter.Receive())) ||
        FAILED(converter->Initialize(&frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    const UINT width = UINT(target.Width()), height = UINT(target.Height());
    const UINT strideBytes = UINT(target.RowStride()) * 4u;
    if (!target.IsBottomUp()) {
        // The last row needs only its own pixels, not a whole stride.
        const UINT bytes = strideBytes * (height - 1) + width * 4u;
        return SUCCEEDED(converter->CopyPixels(nullptr, strideBytes, bytes, reinterpret_cast<BYTE*>(target.Pixels())));
    }
    for (UINT y = 0; y < height; ++y) {
        const WICRect line{0, INT(y), INT(width), 1};
        if (FAILED(converter->CopyPixels(&line, width * 4u, width * 4u, reinterpret_cast<BYTE*>(StoredRow(target, y)))))
            return false;
    }
    return true;
}

// Decodes `length` bytes at `data` into `into` when given, else into a new
// bitmap; returns the bitmap decoded into, or null with nothing left
// allocated (a supplied bitmap is never deleted).
PIX_IBitmap* Decode(const void* data, DWORD length, PIX_IBitmap* into)
{
    ComScope com;
    if (!com.Usable()) return nullptr;
    // Declared after the scope: every object is released before COM is.
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    // The decoder is asked for PNG by name: other image formats are refused
    // as libpng would refuse them.
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.Receive()))) ||
        FAILED(factory->CreateStream(stream.Receive())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), length)) ||
        FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.Receive())) ||
        FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, frame.Receive())))
        return nullptr;
    UINT width = 0, height = 0;
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&format))) return nullptr;

    PIX_MemBitmap* created = nullptr;
    PIX_IBitmap* target = into;
    if (!target) target = created = new (std::nothrow) PIX_MemBitmap();
    if (!target) return nullptr;
    if (width > 0 && height > 0 && width <= INT32_MAX && height <= INT32_MAX)
        target->Resize(int32_t(width), int32_t(height));
    bool decoded = UINT(target->Width()) == width && UINT(target->Height()) == height && target->Pixels();
    if (decoded) {
        const WideFormat* wide = FindWideFormat(format);
        decoded = wide ? CopyWideRows(*frame.Get(), *wide, *target) : CopyConvertedRows(*factory.Get(), *frame.Get(), *target);
    }
    if (!decoded) {
        delete created;
        return nullptr;
    }
    return target;
}

// Opens the UTF-8 `path` by its Unicode name, else by its bytes as they are.
FILE* OpenFile(const char* path)
{
    wchar_t wide[2048];
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, 2048) > 0)
        if (FILE* file = _wfopen(wide, L"rb")) return file;
    return std::fopen(path, "rb");
}

// The file's bytes go to the decoder from memory; files too large for a
// 32-bit length are refused.
PIX_IBitmap* DecodeFile(const char* path, PIX_IBitmap* into)
{
    if (!path) return nullptr;
    FILE* file = OpenFile(path);
    if (!file) return nullptr;
    std::vector<unsigned char> bytes;
    bool read = true;
    try {
        unsigned char chunk[65536];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
            bytes.insert(bytes.end(), chunk, chunk + n);
            if (bytes.size() > size_t(INT32_MAX)) {
                read = false;
                break;
            }
        }
    } catch (...) {
        read = false;
    }
    read = read && !std::ferror(file);
    std::fclose(file);
    if (!read || bytes.size() < sizeof kSignature || !ChunksFitTheBlock(bytes.data(), bytes.size())) return nullptr;
    return Decode(bytes.data(), DWORD(bytes.size()), into);
}

}  // namespace

std::unique_ptr<PIX_MemBitmap> PIX_LoadPngFromMemory(const void* data, int32_t length)
{
    if (!data || length < 8 || std::memcmp(data, kSignature, sizeof kSignature) != 0 ||
        !ChunksFitTheBlock(static_cast<const unsigned char*>(data), size_t(length)))
        return nullptr;
    return std::unique_ptr<PIX_MemBitmap>(static_cast<PIX_MemBitmap*>(Decode(data, DWORD(length), nullptr)));
}

std::unique_ptr<PIX_MemBitmap> PIX_LoadPngFromFile(const char* path)
{
    return std::unique_ptr<PIX_MemBitmap>(static_cast<PIX_MemBitmap*>(DecodeFile(path, nullptr)));
}

bool PIX_LoadPngFromFileInto(const char* path, PIX_IBitmap& into)
{
    return DecodeFile(path, &into) != nullptr;
}
