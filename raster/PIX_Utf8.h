// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Turning the library's 8-bit text into code points for the text layer.
// All functions are [any]: they touch only their arguments.

#include <cstdint>
#include <vector>

namespace pix {

/// Code points of one text. Texts of up to 1024 code points stay in the
/// object (on the caller's stack); longer ones move to the heap.
class CodePointText {
public:
    CodePointText() = default;
    CodePointText(const CodePointText&) = delete;
    CodePointText& operator=(const CodePointText&) = delete;

    const char32_t* Data() const noexcept { return mHeap.empty() ? mInline : mHeap.data(); }
    int32_t Size() const noexcept { return mSize; }
    void Clear() noexcept
    {
        mSize = 0;
        mHeap.clear();
    }
    void Push(char32_t c);

private:
    static constexpr int32_t kInline = 1024;
    char32_t mInline[kInline];
    std::vector<char32_t> mHeap;
    int32_t mSize = 0;
};

/// True when the text holds at least one well-formed 2-, 3- or 4-byte UTF-8
/// lead byte followed by its continuation bytes.
bool HasUtf8Sequence(const char* text, int32_t length) noexcept;

/// Decodes strict UTF-8; false (and `out` undefined) on any malformed byte.
bool DecodeUtf8Strict(const char* text, int32_t length, CodePointText& out);

/// Decodes UTF-8, taking each byte of a malformed sequence as the code
/// point of the same value.
void DecodeUtf8Lenient(const char* text, int32_t length, CodePointText& out);

/// Each byte is the code point of the same value (Latin-1).
void DecodeBytes(const char* text, int32_t length, CodePointText& out);

}  // namespace pix
