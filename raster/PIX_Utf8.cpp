// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_Utf8.h"

namespace pix {
namespace {

inline bool IsContinuation(unsigned char c)
{
    return c >= 0x80 && c <= 0xBF;
}

// Decodes one well-formed sequence at text[i]; returns its length, 0 when
// malformed (overlong forms, surrogates and values above U+10FFFF included).
int32_t DecodeOne(const unsigned char* text, int32_t i, int32_t length, char32_t& out)
{
    const unsigned char c = text[i];
    if (c < 0x80) {
        out = c;
        return 1;
    }
    int32_t count;
    char32_t value;
    if (c >= 0xC2 && c <= 0xDF) { count = 2; value = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { count = 3; value = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { count = 4; value = c & 0x07; }
    else return 0;
    if (i + count > length) return 0;
    for (int32_t k = 1; k < count; ++k) {
        if (!IsContinuation(text[i + k])) return 0;
        value = (value << 6) | (text[i + k] & 0x3F);
    }
    if ((count == 3 && value < 0x800) || (count == 4 && (value < 0x10000 || value > 0x10FFFF)) ||
        (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    out = value;
    return count;
}

}  // namespace

void CodePointText::Push(char32_t c)
{
    if (mSize < kInline) {
        mInline[mSize++] = c;
        return;
    }
    if (mHeap.empty()) mHeap.assign(mInline, mInline + kInline);
    mHeap.push_back(c);
    ++mSize;
}

bool HasUtf8Sequence(const char* text, int32_t length) noexcept
{
    const auto* t = reinterpret_cast<const unsigned char*>(text);
    for (int32_t i = 0; i < length; ++i) {
        if (t[i] >= 0xC2 && t[i] <= 0xDF && i + 1 < length && IsContinuation(t[i + 1])) return true;
        if (t[i] >= 0xE0 && t[i] <= 0xF4 && i + 2 < length && IsContinuation(t[i + 1]) && IsContinuation(t[i + 2]))
            return true;
    }
    return false;
}

namespace {
// Decodes `text`; a malformed byte becomes the code point of its value when
// `lenient`, else ends decoding with false.
bool DecodeUtf8(const char* text, int32_t length, CodePointText& out, bool lenient)
{
    const auto* t = reinterpret_cast<const unsigned char*>(text);
    out.Clear();
    for (int32_t i = 0; i < length;) {
        char32_t c = t[i];
        const int32_t n = DecodeOne(t, i, length, c);
        if (n == 0 && !lenient) return false;
        out.Push(c);
        i += n ? n : 1;
    }
    return true;
}
}  // namespace

bool DecodeUtf8Strict(const char* text, int32_t length, CodePointText& out)
{
    return DecodeUtf8(text, length, out, false);
}

void DecodeUtf8Lenient(const char* text, int32_t length, CodePointText& out)
{
    DecodeUtf8(text, length, out, true);
}

void DecodeBytes(const char* text, int32_t length, CodePointText& out)
{
    out.Clear();
    for (int32_t i = 0; i < length; ++i) out.Push(char32_t(static_cast<unsigned char>(text[i])));
}

}  // namespace pix
