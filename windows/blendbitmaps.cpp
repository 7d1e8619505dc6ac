#include "blendbitmaps.h"

#include <algorithm>
#include <array>

namespace carmanual {

void BlendBitmaps(std::uint8_t* target, std::ptrdiff_t targetStride, const std::uint8_t* a,
                  std::ptrdiff_t aStride, const std::uint8_t* b, std::ptrdiff_t bStride,
                  int rowBytes, int rows, int alpha) {
    if (target == nullptr || a == nullptr || b == nullptr || rowBytes <= 0 || rows <= 0) {
        return;
    }
    alpha = std::clamp(alpha, 0, 255);

    // table[d + 255] = (alpha * d) >> 8 for d = -255..255: one look-up and
    // one addition per byte. The shift of a negative product is arithmetic.
    std::array<int, 511> table{};
    for (int d = -255; d <= 255; ++d) {
        table[static_cast<std::size_t>(d + 255)] = (alpha * d) >> 8;
    }
    const int* diff = table.data() + 255;

    for (int row = 0; row < rows; ++row) {
        std::uint8_t* t = target + row * targetStride;
        const std::uint8_t* pa = a + row * aStride;
        const std::uint8_t* pb = b + row * bStride;
        for (int i = 0; i < rowBytes; ++i) {
            const int bb = pb[i];
            t[i] = static_cast<std::uint8_t>(bb + diff[pa[i] - bb]);
        }
    }
}

} // namespace carmanual
