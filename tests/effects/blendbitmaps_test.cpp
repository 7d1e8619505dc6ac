#include "blendbitmaps.h"
#include "fastbitmap.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace carmanual {
namespace {

// One byte blended: target = b + table[a - b], table[d] = (alpha * d) >> 8.
std::uint8_t BlendOne(std::uint8_t a, std::uint8_t b, int alpha) {
    std::uint8_t target = 0;
    BlendBitmaps(&target, 1, &a, 1, &b, 1, 1, 1, alpha);
    return target;
}

struct ByteCase {
    int a;
    int b;
    int alpha;
    int expected; // worked out by hand from the table
};

TEST(BlendBitmaps, SingleBytes_FollowTheAlphaTable) {
    const ByteCase cases[] = {
        {255, 0, 255, 254},                       // 65025 >> 8 = 254: A less 1
        {0, 255, 255, 0},                         // 255 + (-65025 >> 8) = 255 - 255
        {200, 100, 0, 100},                       // alpha 0 gives B
        {0, 255, 0, 255},    {200, 100, 80, 131}, // 100 + (8000 >> 8 = 31)
        {100, 200, 80, 168},                      // 200 + (-8000 >> 8 = -32): the shift rounds down
        {11, 10, 128, 10},                        // 128 >> 8 = 0
        {10, 11, 128, 10},                        // -128 >> 8 = -1, not 0
        {0, 255, 5, 250},                         // -1275 >> 8 = -5
        {255, 0, 5, 4},                           // 1275 >> 8 = 4
        {77, 77, 200, 77},                        // equal bytes stay
        {255, 0, 256, 254},                       // alpha above 255 is 255
        {200, 100, -7, 100},                      // alpha below 0 is 0
    };
    for (const ByteCase& c : cases) {
        EXPECT_EQ(BlendOne(static_cast<std::uint8_t>(c.a), static_cast<std::uint8_t>(c.b), c.alpha),
                  c.expected)
            << "a=" << c.a << " b=" << c.b << " alpha=" << c.alpha;
    }
}

TEST(BlendBitmaps, AlphaZero_GivesBExactly_Alpha255_GivesAWithinOne) {
    for (int a = 0; a < 256; a += 3) {
        for (int b = 0; b < 256; b += 5) {
            const auto ua = static_cast<std::uint8_t>(a);
            const auto ub = static_cast<std::uint8_t>(b);
            EXPECT_EQ(BlendOne(ua, ub, 0), b);
            const int top = BlendOne(ua, ub, 255);
            EXPECT_TRUE(top == a || top == a - 1) << a << " " << b << " -> " << top;
        }
    }
}

TEST(BlendBitmaps, RowGaps_AreSkippedInEveryPicture) {
    // Two rows of three pixel bytes; each picture has its own row gap, and
    // the gap bytes of A and B hold values that would show if read.
    constexpr int kRowBytes = 3;
    const std::vector<std::uint8_t> a = {255, 0,  100, 9, // stride 4
                                         10,  20, 30,  9};
    const std::vector<std::uint8_t> b = {0,  255, 200, 7, 7, 7, // stride 6
                                         30, 20,  10,  7, 7, 7};
    std::vector<std::uint8_t> target(10, 0xEE); // stride 5
    BlendBitmaps(target.data(), 5, a.data(), 4, b.data(), 6, kRowBytes, 2, 128);

    const std::vector<std::uint8_t> expected = {
        127, 127, 150, 0xEE, 0xEE, // 32640>>8=127; 255+(-32640>>8=-128); 200+(-12800>>8=-50)
        20,  20,  20,  0xEE, 0xEE, // 30+(-2560>>8=-10); 20; 10+(2560>>8=10)
    };
    EXPECT_EQ(target, expected);
}

TEST(BlendBitmaps, NegativeStride_WalksBottomUpRows) {
    // A is stored bottom-up: its first row walked is its last in memory.
    const std::array<std::uint8_t, 4> a = {100, 100, 255, 255};
    const std::array<std::uint8_t, 4> b = {0, 0, 0, 0};
    std::array<std::uint8_t, 4> target = {1, 1, 1, 1};
    BlendBitmaps(target.data(), 2, a.data() + 2, -2, b.data(), 2, 2, 2, 255);
    // 65025 >> 8 = 254; 25500 >> 8 = 99.
    EXPECT_EQ(target, (std::array<std::uint8_t, 4>{254, 254, 99, 99}));
}

TEST(BlendBitmaps, TargetMayBeOneOfTheInputs) {
    std::array<std::uint8_t, 3> a = {200, 100, 0};
    const std::array<std::uint8_t, 3> b = {100, 200, 255};
    BlendBitmaps(a.data(), 3, a.data(), 3, b.data(), 3, 3, 1, 80);
    EXPECT_EQ(a, (std::array<std::uint8_t, 3>{131, 168, 175}));
}

TEST(BlendBitmaps, Images_BlendEveryChannel) {
    QImage a(2, 2, QImage::Format_RGB32);
    a.fill(qRgb(200, 100, 0));
    QImage b(2, 2, QImage::Format_RGB32);
    b.fill(qRgb(100, 200, 255));
    QImage target;
    ASSERT_TRUE(BlendBitmaps(target, a, b, 80));
    EXPECT_EQ(target.format(), QImage::Format_RGB32);
    EXPECT_EQ(target.size(), a.size());
    // Red 100+31, green 200-32, blue 255-80 (-20400>>8 = -80).
    EXPECT_EQ(target.pixel(1, 1), qRgb(131, 168, 175));
    // The inputs are untouched (the target does not share their data).
    EXPECT_EQ(a.pixel(0, 0), qRgb(200, 100, 0));
    EXPECT_EQ(b.pixel(0, 0), qRgb(100, 200, 255));
}

TEST(BlendBitmaps, Images_TargetSharingAnInput_IsDetached) {
    QImage a(3, 1, QImage::Format_RGB32);
    a.fill(qRgb(255, 255, 255));
    QImage b(3, 1, QImage::Format_RGB32);
    b.fill(qRgb(0, 0, 0));
    QImage target = a; // shares a's data
    ASSERT_TRUE(BlendBitmaps(target, a, b, 0));
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(a.pixel(0, 0), qRgb(255, 255, 255));
}

TEST(BlendBitmaps, Images_ThatDoNotFit_LeaveTheTargetAlone) {
    QImage a(2, 2, QImage::Format_RGB32);
    a.fill(Qt::white);
    QImage small(1, 2, QImage::Format_RGB32);
    small.fill(Qt::black);
    QImage other(2, 2, QImage::Format_ARGB32_Premultiplied);
    other.fill(Qt::black);
    QImage rgb888(2, 2, QImage::Format_RGB888);
    rgb888.fill(Qt::black);

    QImage target(5, 5, QImage::Format_RGB32);
    target.fill(Qt::red);
    const QImage before = target.copy();
    EXPECT_FALSE(BlendBitmaps(target, a, small, 100));
    EXPECT_FALSE(BlendBitmaps(target, a, other, 100));
    EXPECT_FALSE(BlendBitmaps(target, rgb888, rgb888, 100));
    EXPECT_FALSE(BlendBitmaps(target, QImage(), QImage(), 100));
    EXPECT_EQ(target, before);
}

TEST(BlendFormat, OpaquePairStaysRgb32_AnyOtherBecomesPremultiplied) {
    const QImage rgb(1, 1, QImage::Format_RGB32);
    const QImage argb(1, 1, QImage::Format_ARGB32);
    const QImage rgb888(1, 1, QImage::Format_RGB888);
    EXPECT_EQ(BlendFormat(rgb, rgb), QImage::Format_RGB32);
    EXPECT_EQ(BlendFormat(rgb, argb), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(BlendFormat(rgb888, rgb), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(ToBlendFormat(rgb888, QImage::Format_ARGB32_Premultiplied).format(),
              QImage::Format_ARGB32_Premultiplied);
}

} // namespace
} // namespace carmanual
