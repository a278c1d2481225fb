// SPDX-License-Identifier: GPL-3.0-or-later
// System fonts on Linux: fontconfig picks the installed face that best
// matches a family name, FreeType scales and rasterises it.
#include "raster/PIX_PlatformFont.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <cstddef>
#include <mutex>
#include <vector>

namespace {

// One FreeType library for the module. Fonts held in process-wide caches may
// be destroyed during static destruction, so every face holds the library,
// as the module itself does until it unloads: the last to let go releases it
// (a host that loads and unloads the module would otherwise lose a library
// each time).
std::mutex gLibraryMutex;
FT_Library gLibrary = nullptr;
int gLibraryHolds = 0;

void LetGoOfLibraryLocked()
{
    if (--gLibraryHolds == 0) {
        FT_Done_FreeType(gLibrary);
        gLibrary = nullptr;
    }
}

struct ModuleHold {
    ~ModuleHold()
    {
        std::lock_guard<std::mutex> lock(gLibraryMutex);
        if (gLibrary) LetGoOfLibraryLocked();
    }
} gModuleHold;

bool FindFontFile(const PIX_FontSpec& wanted, std::string& file, int& index)
{
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(wanted.face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(wanted.weight));
    FcPatternAddInteger(pattern, FC_SLANT, wanted.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* path = nullptr;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
    if (found) {
        file = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    }
    FcPatternDestroy(match);
    return found;
}

}  // namespace

struct PIX_PlatformFont::Impl {
    FT_Face face = nullptr;
    int32_t height = 0;
    int32_t ascent = 0;
    bool antialiased = true;
    bool emboldenSynthetic = false;
    bool obliqueSynthetic = false;
    std::vector<uint8_t> expanded;  // one-bit glyphs widened to bytes

    ~Impl()
    {
        if (face) {
            std::lock_guard<std::mutex> lock(gLibraryMutex);
            FT_Done_Face(face);
            LetGoOfLibraryLocked();
        }
    }

    // Loads (and optionally renders) a glyph; false when there is nothing
    // to load. Control characters have no glyph and no width.
    bool Load(char32_t codePoint, bool render)
    {
        if (codePoint < 0x20) return false;
        const FT_Int32 target = antialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
        if (FT_Load_Char(face, codePoint, FT_LOAD_DEFAULT | target) != 0) return false;
        if (emboldenSynthetic) FT_GlyphSlot_Embolden(face->glyph);
        if (obliqueSynthetic) FT_GlyphSlot_Oblique(face->glyph);
        if (!render) return true;
        return FT_Render_Glyph(face->glyph, antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) == 0;
    }
};

PIX_PlatformFont::PIX_PlatformFont(std::unique_ptr<Impl> impl) : mImpl(std::move(impl)) {}
PIX_PlatformFont::~PIX_PlatformFont() = default;

std::unique_ptr<PIX_PlatformFont> PIX_PlatformFont::Create(const PIX_FontSpec& wanted)
{
    if (wanted.height == 0) return nullptr;
    auto impl = std::make_unique<Impl>();
    std::string file;
    int index = 0;
    if (!FindFontFile(wanted, file, index)) return nullptr;
    {
        std::lock_guard<std::mutex> lock(gLibraryMutex);
        if (!gLibrary) {
            if (FT_Init_FreeType(&gLibrary) != 0) {
                gLibrary = nullptr;
                return nullptr;
            }
            gLibraryHolds = 1;
        }
        if (FT_New_Face(gLibrary, file.c_str(), index, &impl->face) != 0) {
            impl->face = nullptr;
            return nullptr;
        }
        ++gLibraryHolds;
    }
    FT_Face face = impl->face;
    // A positive height is the cell height (ascent + descent), a negative one
    // the em height, as system font requests mean them.
    FT_Size_RequestRec request{};
    request.type = wanted.height > 0 ? FT_SIZE_REQUEST_TYPE_CELL : FT_SIZE_REQUEST_TYPE_NOMINAL;
    request.height = FT_Long(wanted.height > 0 ? wanted.height : -wanted.height) * 64;
    if (FT_Request_Size(face, &request) != 0) return nullptr;
    const FT_Size_Metrics& m = face->size->metrics;
    impl->ascent = int32_t((m.ascender + 32) >> 6);
    const int32_t cell = int32_t((m.ascender - m.descender + 63) >> 6);
    impl->height = wanted.height > 0 ? wanted.height : cell;
    impl->antialiased = wanted.antialiased;
    impl->emboldenSynthetic = wanted.weight >= 600 && !(face->style_flags & FT_STYLE_FLAG_BOLD);
    impl->obliqueSynthetic = wanted.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
    return std::unique_ptr<PIX_PlatformFont>(new PIX_PlatformFont(std::move(impl)));
}

int32_t PIX_PlatformFont::Height() const noexcept
{
    return mImpl->height;
}

int32_t PIX_PlatformFont::Ascent() const noexcept
{
    return mImpl->ascent;
}

int32_t PIX_PlatformFont::Advance(char32_t codePoint) const noexcept
{
    if (!mImpl->Load(codePoint, false)) return 0;
    return int32_t((mImpl->face->glyph->advance.x + 32) >> 6);
}

bool PIX_PlatformFont::RenderGlyph(char32_t codePoint, Coverage& out) const noexcept
{
    if (!mImpl->Load(codePoint, true)) return false;
    const FT_GlyphSlot slot = mImpl->face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.width == 0 || bitmap.rows == 0 || !bitmap.buffer) return false;
    out.width = int32_t(bitmap.width);
    out.height = int32_t(bitmap.rows);
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        out.rows = bitmap.buffer;
        out.pitch = bitmap.pitch;
        return true;
    }
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return false;
    // One bit per pixel becomes 0 or 255 per byte. The buffer only grows,
    // so it is resized rather than reallocated for each glyph.
    std::vector<uint8_t>& bytes = mImpl->expanded;
    try {
        bytes.resize(size_t(out.width) * out.height);
    } catch (...) {
        return false;
    }
    for (int32_t y = 0; y < out.height; ++y) {
        const uint8_t* src = bitmap.buffer + ptrdiff_t(y) * bitmap.pitch;
        for (int32_t x = 0; x < out.width; ++x)
            bytes[size_t(y) * out.width + x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    }
    out.rows = bytes.data();
    out.pitch = out.width;
    return true;
}
