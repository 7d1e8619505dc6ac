#include "effbtncar.h"

#include "pump.h"

#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace carmanual {
namespace {

using testing::PumpUntil;

QImage Solid(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

// Records the alpha of every frame until the fade ends.
struct FadeRecorder {
    explicit FadeRecorder(TEffBtnCar& fade) : m_fade(fade) {
        fade.OnFrame = [this] {
            alphas.push_back(m_fade.Alpha());
            frames.push_back(m_fade.Frame());
            if (OnEach) {
                OnEach();
            }
        };
    }
    bool WaitForEnd() {
        return PumpUntil([this] { return !m_fade.Running() && !alphas.empty(); });
    }
    std::vector<int> alphas;
    std::vector<QImage> frames;
    std::function<void()> OnEach;

private:
    TEffBtnCar& m_fade;
};

std::vector<int> Steps(int first, int step, int last) {
    std::vector<int> values;
    for (int a = first; a <= last; a += step) {
        values.push_back(a);
    }
    return values;
}

class EffBtnCarTest : public ::testing::Test {
protected:
    QWidget owner;
    const QImage up = Solid(12, 8, qRgb(0, 0, 0));
    const QImage move = Solid(12, 8, qRgb(255, 255, 255));
};

TEST_F(EffBtnCarTest, Construction_KeepsIndexAndStep) {
    TEffBtnCar fade(&owner, 7, 4);
    EXPECT_EQ(fade.Index(), 7);
    EXPECT_EQ(fade.Step(), 4);
    EXPECT_FALSE(fade.Running());
    EXPECT_EQ(fade.StartAlpha(), 0);
    EXPECT_EQ(fade.parent(), &owner);
    fade.SetStep(0); // a fade that never ends is refused
    EXPECT_EQ(fade.Step(), 1);
}

TEST_F(EffBtnCarTest, Step4_Shows4To252_ThenEndsOnTheTargetAtTick64) {
    TEffBtnCar fade(&owner, 0, 4);
    FadeRecorder recorder(fade);
    fade.StartCrossFade(up, move, QPoint(3, 5));
    EXPECT_TRUE(fade.Running());
    EXPECT_EQ(fade.FrameRect(), QRect(3, 5, 12, 8));
    ASSERT_TRUE(recorder.WaitForEnd());

    std::vector<int> expected = Steps(4, 4, 252);
    expected.push_back(255);
    EXPECT_EQ(recorder.alphas, expected);
    EXPECT_EQ(recorder.alphas.size(), 64u);
    EXPECT_FALSE(fade.Running());
    EXPECT_EQ(fade.StartAlpha(), 0);
    EXPECT_EQ(fade.Frame(), move);
}

TEST_F(EffBtnCarTest, Step3_TakesTicks3To255_ThenEndsAtTick86) {
    TEffBtnCar fade(&owner, 0, 3);
    FadeRecorder recorder(fade);
    fade.StartCrossFade(move, up, QPoint(0, 0));
    ASSERT_TRUE(recorder.WaitForEnd());

    std::vector<int> expected = Steps(3, 3, 255);
    expected.push_back(255);
    EXPECT_EQ(recorder.alphas, expected);
    EXPECT_EQ(recorder.alphas.size(), 86u);
    EXPECT_EQ(fade.Frame(), up);
}

TEST_F(EffBtnCarTest, Frames_WeightTheTargetByAlpha) {
    TEffBtnCar fade(&owner, 0, 4);
    FadeRecorder recorder(fade);
    fade.StartCrossFade(up, move, QPoint(0, 0));
    ASSERT_TRUE(recorder.WaitForEnd());
    // From black to white: each channel is (alpha * 255) >> 8.
    ASSERT_GE(recorder.frames.size(), 20u);
    EXPECT_EQ(recorder.frames[0].pixel(0, 0), qRgb(3, 3, 3));         // alpha 4
    EXPECT_EQ(recorder.frames[19].pixel(5, 5), qRgb(79, 79, 79));     // alpha 80
    EXPECT_EQ(recorder.frames[62].pixel(11, 7), qRgb(251, 251, 251)); // alpha 252
    // Alpha 255 would be 254; the fade ends on the target itself.
    EXPECT_EQ(recorder.frames.back().pixel(0, 0), qRgb(255, 255, 255));
}

TEST_F(EffBtnCarTest, TurnedAroundAfter20Ticks_ContinuesFrom175WithoutAJump) {
    TEffBtnCar fade(&owner, 0, 4);
    FadeRecorder recorder(fade);
    int turnFrame = -1;
    QImage atTurn;
    recorder.OnEach = [&] {
        if (recorder.alphas.size() == 20) {
            fade.StartCrossFade(move, up, QPoint(0, 0)); // the mouse leaves
            turnFrame = static_cast<int>(recorder.alphas.size());
            atTurn = fade.Frame();
        }
    };
    fade.StartCrossFade(up, move, QPoint(0, 0)); // the mouse enters
    ASSERT_TRUE(recorder.WaitForEnd());

    ASSERT_EQ(turnFrame, 20);
    EXPECT_EQ(recorder.alphas[19], 80);
    EXPECT_EQ(fade.StartAlpha(), 0); // back to 0 once ended
    // Before its first tick the turned fade shows the turning point.
    const int before = qRed(recorder.frames[19].pixel(0, 0));
    const int after = qRed(atTurn.pixel(0, 0));
    EXPECT_LE(std::abs(before - after), 1);

    std::vector<int> expected = Steps(179, 4, 255);
    expected.push_back(255);
    EXPECT_EQ(std::vector<int>(recorder.alphas.begin() + 20, recorder.alphas.end()), expected);
    EXPECT_EQ(fade.Frame(), up);
}

TEST_F(EffBtnCarTest, TurnedAroundBeforeItsFirstTick_EndsAtOnceOnTheOriginal) {
    TEffBtnCar fade(&owner, 0, 4);
    FadeRecorder recorder(fade);
    fade.StartCrossFade(up, move, QPoint(0, 0));
    fade.StartCrossFade(move, up, QPoint(0, 0)); // nothing of `move` was shown yet
    EXPECT_EQ(fade.StartAlpha(), 255);
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(recorder.alphas, std::vector<int>{255});
    EXPECT_EQ(fade.Frame(), up);
}

TEST_F(EffBtnCarTest, RestartedAfterTheEnd_StartsFromZero) {
    TEffBtnCar fade(&owner, 0, 4);
    FadeRecorder recorder(fade);
    fade.StartCrossFade(up, move, QPoint(0, 0));
    ASSERT_TRUE(recorder.WaitForEnd());
    recorder.alphas.clear();
    fade.StartCrossFade(move, up, QPoint(0, 0));
    EXPECT_EQ(fade.Frame(), move); // what the element shows until the first step
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(recorder.alphas.front(), 4);
    EXPECT_EQ(recorder.alphas.size(), 64u);
}

TEST_F(EffBtnCarTest, CancelFade_StopsAtOnceAndReleasesThePictures) {
    TEffBtnCar fade(&owner, 0, 1);
    FadeRecorder recorder(fade);
    recorder.OnEach = [&] {
        if (recorder.alphas.size() == 3) {
            fade.CancelFade();
        }
    };
    fade.StartCrossFade(up, move, QPoint(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return !fade.Running(); }));
    testing::PumpFor(30);
    EXPECT_EQ(recorder.alphas.size(), 3u);
    EXPECT_TRUE(fade.Frame().isNull());
    EXPECT_EQ(fade.StartAlpha(), 0);
}

TEST_F(EffBtnCarTest, MissingTarget_RunsNoFade) {
    TEffBtnCar fade(&owner, 0, 4);
    fade.StartCrossFade(up, QImage(), QPoint(0, 0));
    EXPECT_FALSE(fade.Running());
}

TEST_F(EffBtnCarTest, SourceOfAnotherSize_IsLaidOverTheTarget) {
    TEffBtnCar fade(&owner, 0, 4);
    FadeRecorder recorder(fade);
    fade.StartCrossFade(Solid(4, 4, qRgb(0, 0, 0)), move, QPoint(0, 0));
    EXPECT_EQ(fade.Frame().size(), move.size());
    EXPECT_EQ(fade.Frame().pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(fade.Frame().pixel(10, 6), qRgb(255, 255, 255));
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(fade.Frame(), move);

    fade.StartCrossFade(QImage(), up, QPoint(0, 0)); // a picture that failed to load
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(fade.Frame(), up);
}

TEST_F(EffBtnCarTest, TranslucentPictures_FadeInPremultipliedFormat) {
    TEffBtnCar fade(&owner, 0, 4);
    FadeRecorder recorder(fade);
    const QImage clear = Solid(12, 8, qRgba(0, 0, 0, 0), QImage::Format_ARGB32);
    fade.StartCrossFade(up, clear, QPoint(0, 0));
    EXPECT_EQ(fade.Frame().format(), QImage::Format_ARGB32_Premultiplied);
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(fade.Frame().pixel(0, 0), qRgba(0, 0, 0, 0));
}

TEST_F(EffBtnCarTest, Paint_DrawsTheFrameAtItsCornerWhileRunning) {
    TEffBtnCar fade(&owner, 0, 4);
    fade.StartCrossFade(move, up, QPoint(10, 20));
    QImage canvas = Solid(40, 40, qRgb(0, 0, 255));
    {
        QPainter painter(&canvas);
        fade.Paint(painter);
    }
    EXPECT_EQ(canvas.pixel(10, 20), qRgb(255, 255, 255)); // still `move`
    EXPECT_EQ(canvas.pixel(21, 27), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(22, 28), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.pixel(9, 20), qRgb(0, 0, 255));

    fade.CancelFade();
    QImage after = Solid(40, 40, qRgb(0, 0, 255));
    {
        QPainter painter(&after);
        fade.Paint(painter);
    }
    EXPECT_EQ(after.pixel(10, 20), qRgb(0, 0, 255));
}

TEST_F(EffBtnCarTest, DeletedInsideItsOwnFrame) {
    auto* fade = new TEffBtnCar(&owner, 0, 4);
    QPointer<TEffBtnCar> guard(fade);
    int frames = 0;
    fade->OnFrame = [&] {
        if (++frames == 5) {
            delete fade;
        }
    };
    fade->StartCrossFade(up, move, QPoint(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return guard.isNull(); }));
    testing::PumpFor(20);
    EXPECT_EQ(frames, 5);
}

TEST(EffBtnCar, OwnerDestroyedMidFade_TakesTheFadeWithIt) {
    auto* owner = new QWidget;
    auto* fade = new TEffBtnCar(owner, 0, 1);
    QPointer<TEffBtnCar> guard(fade);
    int frames = 0;
    fade->OnFrame = [&] { ++frames; };
    fade->StartCrossFade(Solid(4, 4, qRgb(0, 0, 0)), Solid(4, 4, qRgb(9, 9, 9)), QPoint(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return frames >= 2; }));
    delete owner;
    EXPECT_TRUE(guard.isNull());
    const int atDeletion = frames;
    testing::PumpFor(20);
    EXPECT_EQ(frames, atDeletion);
}

TEST(EffBtnCar, HeldByUniquePtrInsideItsOwner_IsFreedOnce) {
    // The main window keeps its fades in std::unique_ptr members: they go
    // before the owner's QObject children are deleted.
    struct Owner : QWidget {
        std::unique_ptr<TEffBtnCar> fade{new TEffBtnCar(this, 0, 4)};
    };
    auto owner = std::make_unique<Owner>();
    owner->fade->StartCrossFade(Solid(4, 4, qRgb(0, 0, 0)), Solid(4, 4, qRgb(9, 9, 9)),
                                QPoint(0, 0));
    owner.reset();
    SUCCEED();
}

} // namespace
} // namespace carmanual
