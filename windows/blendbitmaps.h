#pragma once
// The cross-fade of two pictures, done on their raw bytes so it serves any
// pixel layout whose bytes are colour channels (the effects use 32-bit
// pictures; the skins' own bitmaps are 24-bit rows padded to 4 bytes).
// Needs no window system.

#include <cstddef>
#include <cstdint>

namespace carmanual {

// Writes target = B + (alpha * (A - B)) >> 8 for every byte, through a
// 511-entry table of the products for the differences -255..255 (arithmetic
// shift, so negative differences round toward minus infinity). Alpha 0 gives
// B exactly; alpha 255 gives A less at most 1. Alpha is clamped to 0..255.
//
// The three pictures have `rows` rows of `rowBytes` bytes each; each row
// starts `stride` bytes after the previous one in its own picture, so the
// bytes between rowBytes and stride (the row gap) are skipped and left as
// they are. A stride may be negative (bottom-up pictures). The target may
// be the same memory as A or B.
void BlendBitmaps(std::uint8_t* target, std::ptrdiff_t targetStride, const std::uint8_t* a,
                  std::ptrdiff_t aStride, const std::uint8_t* b, std::ptrdiff_t bStride,
                  int rowBytes, int rows, int alpha);

} // namespace carmanual
