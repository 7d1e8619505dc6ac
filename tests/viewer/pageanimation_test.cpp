#include "pageanimation.h"

#include "viewertest.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace carmanual::test {
namespace {

// The test GIF without its loop extension: it plays once.
QByteArray PlaysOnce() {
    QByteArray bytes = QByteArray::fromStdString(GifBytes());
    const int loop = static_cast<int>(bytes.indexOf("\x21\xff\x0bNETSCAPE2.0"));
    EXPECT_GT(loop, 0);
    bytes.remove(loop, 19);
    return bytes;
}

// The test GIF cut after its first frame.
QByteArray OneFrame() {
    QByteArray bytes = QByteArray::fromStdString(GifBytes());
    const int second = static_cast<int>(bytes.indexOf("\x21\xf9", 30));
    EXPECT_GT(second, 0);
    bytes.truncate(second);
    bytes.append('\x3b');
    return bytes;
}

TEST(PageAnimation, IsAnimated_OnlyForPicturesOfSeveralFrames) {
    const struct {
        const char* name;
        QByteArray bytes;
        bool animated;
    } cases[] = {
        {"two frames, looping", QByteArray::fromStdString(GifBytes()), true},
        {"two frames, once", PlaysOnce(), true},
        {"one frame", OneFrame(), false},
        {"a PNG", QByteArray::fromStdString(PictureBytes(4, 4, "PNG")), false},
        {"nothing", QByteArray(), false},
        {"a GIF header and no more", QByteArray("GIF89a"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TPageAnimation::IsAnimated(c.bytes), c.animated);
    }
}

TEST(PageAnimation, FramesWithoutDelay_ComeAtTheBrowsersPace_AndLoop) {
    std::vector<QColor> colours;
    TPageAnimation player(QByteArray::fromStdString(GifBytes()),
                          [&](const QImage& f) { colours.push_back(f.pixelColor(0, 0)); });
    player.SetRunning(true);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return colours.size() >= 5; }, 3000));
    // Frames written with no delay are shown 100 ms each: five take 400 ms
    // at least (the first comes at once), not a spin of the processor.
    EXPECT_GE(clock.elapsed(), 380);
    EXPECT_EQ(colours[0], QColor(Qt::red));
    EXPECT_EQ(colours[1], QColor(Qt::blue));
    EXPECT_EQ(colours[2], QColor(Qt::red)); // looping for ever
    player.SetRunning(false);
    const std::size_t held = colours.size();
    QTest::qWait(250);
    EXPECT_EQ(colours.size(), held);
}

TEST(PageAnimation, WithoutALoopExtension_PlaysOnceAndStaysOnTheLastFrame) {
    std::vector<QColor> colours;
    TPageAnimation player(PlaysOnce(),
                          [&](const QImage& f) { colours.push_back(f.pixelColor(0, 0)); });
    player.SetRunning(true);
    QTest::qWait(600);
    EXPECT_EQ(colours, (std::vector<QColor>{Qt::red, Qt::blue}));
    EXPECT_FALSE(player.Running());
    player.SetRunning(true); // finished: stays so
    QTest::qWait(250);
    EXPECT_EQ(colours.size(), 2u);
}

} // namespace
} // namespace carmanual::test
