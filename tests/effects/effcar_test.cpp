#include "effcar.h"

#include "pump.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace carmanual {
namespace {

using testing::PumpUntil;

// A skinned window in miniature: red when it paints itself, the effect's
// frame while the fade-in runs.
class FadingWindow : public QWidget {
public:
    explicit FadingWindow(bool translucent = false) {
        setWindowFlags(Qt::FramelessWindowHint);
        if (translucent) {
            setAttribute(Qt::WA_TranslucentBackground);
        }
        resize(30, 20);
        effect = new TEffCar(this);
    }
    TEffCar* effect = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (effect != nullptr && effect->Running()) {
            effect->PaintFrame(painter);
            return;
        }
        painter.fillRect(rect(), QColor(255, 0, 0));
    }
};

struct Recorder {
    explicit Recorder(TEffCar& effect) : m_effect(effect) {
        effect.OnFrame = [this] {
            alphas.push_back(m_effect.Alpha());
            frames.push_back(m_effect.Frame());
            opacities.push_back(m_window ? m_window->windowOpacity() : 1.0);
        };
        effect.OnFinished = [this] { ++finished; };
    }
    void Watch(QWidget* window) { m_window = window; }
    std::vector<int> alphas;
    std::vector<QImage> frames;
    std::vector<double> opacities;
    int finished = 0;

private:
    TEffCar& m_effect;
    QWidget* m_window = nullptr;
};

std::vector<int> FadeInAlphas() {
    std::vector<int> values;
    for (int a = 5; a <= 255; a += 5) {
        values.push_back(a);
    }
    values.push_back(255);
    return values;
}

// The offscreen platform has no window opacity and says so at every change.
class QuietOpacityWarnings {
public:
    QuietOpacityWarnings() { s_previous = qInstallMessageHandler(&Filter); }
    ~QuietOpacityWarnings() { qInstallMessageHandler(s_previous); }

private:
    static void Filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (text.contains(QLatin1String("does not support setting window opacity"))) {
            return;
        }
        if (s_previous) {
            s_previous(type, context, text);
        }
    }
    static inline QtMessageHandler s_previous = nullptr;
};

TEST(EffCar, ModeChoice) {
    EXPECT_TRUE(TEffCar::CanReadScreen(u"xcb"));
    EXPECT_TRUE(TEffCar::CanReadScreen(u"windows"));
    EXPECT_FALSE(TEffCar::CanReadScreen(u"wayland"));
    EXPECT_FALSE(TEffCar::CanReadScreen(u"wayland-egl"));
    EXPECT_FALSE(TEffCar::CanReadScreen(u"offscreen"));
    EXPECT_EQ(TEffCar::ChooseMode(true, false), TFadeInMode::Blend);
    EXPECT_EQ(TEffCar::ChooseMode(true, true), TFadeInMode::Blend);
    EXPECT_EQ(TEffCar::ChooseMode(false, false), TFadeInMode::WindowOpacity);
    EXPECT_EQ(TEffCar::ChooseMode(false, true), TFadeInMode::PaintOpacity);
}

TEST(EffCar, Offscreen_FadesTheWindowOpacity) {
    ASSERT_EQ(QGuiApplication::platformName(), QLatin1String("offscreen"));
    QuietOpacityWarnings quiet;
    FadingWindow window;
    Recorder recorder(*window.effect);
    recorder.Watch(&window);

    window.effect->StartFadeIn();
    EXPECT_EQ(window.effect->Mode(), TFadeInMode::WindowOpacity);
    EXPECT_TRUE(window.effect->Running());
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 0.0);
    // The window's own picture, painted normally (red), not the frame.
    EXPECT_EQ(window.effect->Frame().pixel(3, 3), qRgb(255, 0, 0));
    window.show();
    ASSERT_TRUE(PumpUntil([&] { return recorder.finished == 1; }));

    EXPECT_EQ(recorder.alphas, FadeInAlphas());
    ASSERT_EQ(recorder.opacities.size(), 52u);
    EXPECT_NEAR(recorder.opacities[0], 5 / 255.0, 0.01);
    for (std::size_t i = 1; i < recorder.opacities.size(); ++i) {
        EXPECT_GE(recorder.opacities[i], recorder.opacities[i - 1]);
    }
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
    EXPECT_FALSE(window.effect->Running());
}

TEST(EffCar, WithTheScreenBehind_CrossFadesIntoTheWindow) {
    FadingWindow window;
    Recorder recorder(*window.effect);
    QImage behind(30, 20, QImage::Format_RGB32);
    behind.fill(qRgb(0, 0, 255));

    window.effect->StartFadeIn(behind);
    EXPECT_EQ(window.effect->Mode(), TFadeInMode::Blend);
    // Until the first tick the window shows the screen under it.
    EXPECT_EQ(window.effect->Frame().pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
    window.show();
    ASSERT_TRUE(PumpUntil([&] { return recorder.finished == 1; }));

    EXPECT_EQ(recorder.alphas, FadeInAlphas());
    // Alpha 5 from blue to red: red 1275 >> 8 = 4, blue 255 + (-1275 >> 8) = 250.
    EXPECT_EQ(recorder.frames.front().pixel(10, 10), qRgb(4, 0, 250));
    // The last frame is the window's own picture.
    EXPECT_EQ(recorder.frames.back().pixel(29, 19), qRgb(255, 0, 0));
    EXPECT_EQ(recorder.frames.back().size(), QSize(30, 20));
    EXPECT_FALSE(window.effect->Running());
    EXPECT_TRUE(window.effect->Frame().isNull()); // released once ended
}

TEST(EffCar, ScreenBehindOfAnotherSize_IsScaledToTheWindow) {
    FadingWindow window;
    Recorder recorder(*window.effect);
    QImage behind(15, 10, QImage::Format_RGB32);
    behind.fill(qRgb(0, 0, 255));
    window.effect->StartFadeIn(behind);
    EXPECT_EQ(window.effect->Frame().size(), QSize(30, 20));
    ASSERT_TRUE(PumpUntil([&] { return recorder.finished == 1; }));
    EXPECT_EQ(recorder.alphas.size(), 52u);
}

TEST(EffCar, TranslucentWindow_PaintsWithGrowingOpacity) {
    QuietOpacityWarnings quiet;
    FadingWindow window(true);
    Recorder recorder(*window.effect);
    std::vector<int> paintedAlpha;
    window.effect->OnFrame = [&] {
        recorder.alphas.push_back(window.effect->Alpha());
        if (!window.effect->Running()) {
            return;
        }
        QImage canvas(30, 20, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::white); // what is left of an earlier frame
        QPainter painter(&canvas);
        window.effect->PaintFrame(painter);
        painter.end();
        paintedAlpha.push_back(qAlpha(canvas.pixel(5, 5)));
    };

    window.effect->StartFadeIn();
    EXPECT_EQ(window.effect->Mode(), TFadeInMode::PaintOpacity);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0); // the window itself stays opaque
    window.show();
    ASSERT_TRUE(PumpUntil([&] { return recorder.finished == 1; }));

    EXPECT_EQ(recorder.alphas, FadeInAlphas());
    ASSERT_EQ(paintedAlpha.size(), 51u);
    EXPECT_NEAR(paintedAlpha.front(), 5, 1);
    EXPECT_EQ(paintedAlpha.back(), 255);
    for (std::size_t i = 1; i < paintedAlpha.size(); ++i) {
        EXPECT_GE(paintedAlpha[i], paintedAlpha[i - 1]);
    }
}

TEST(EffCar, CancelFadeIn_ShowsTheWindowFullyAndReportsTheEnd) {
    QuietOpacityWarnings quiet;
    FadingWindow window;
    Recorder recorder(*window.effect);
    window.effect->StartFadeIn();
    window.show();
    ASSERT_TRUE(PumpUntil([&] { return recorder.alphas.size() >= 3; }));
    window.effect->CancelFadeIn();
    EXPECT_FALSE(window.effect->Running());
    EXPECT_EQ(recorder.finished, 1);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
    const std::size_t frames = recorder.alphas.size();
    testing::PumpFor(30);
    EXPECT_EQ(recorder.alphas.size(), frames);
}

TEST(EffCar, StartedAgainWhileRunning_RestartsAndKeepsTheWindowsOwnOpacity) {
    QuietOpacityWarnings quiet;
    FadingWindow window;
    window.setWindowOpacity(0.8);
    Recorder recorder(*window.effect);
    window.effect->StartFadeIn();
    window.show();
    ASSERT_TRUE(PumpUntil([&] { return recorder.alphas.size() >= 10; }));
    recorder.alphas.clear();
    window.effect->StartFadeIn();
    ASSERT_TRUE(PumpUntil([&] { return recorder.finished == 1; }));
    EXPECT_EQ(recorder.alphas, FadeInAlphas());
    EXPECT_NEAR(window.windowOpacity(), 0.8, 0.01);
}

TEST(EffCar, WindowDestroyedMidFade_TakesTheEffectWithIt) {
    QuietOpacityWarnings quiet;
    auto* window = new FadingWindow;
    QPointer<TEffCar> guard(window->effect);
    int frames = 0;
    window->effect->OnFrame = [&] { ++frames; };
    window->effect->StartFadeIn();
    window->show();
    ASSERT_TRUE(PumpUntil([&] { return frames >= 2; }));
    delete window;
    EXPECT_TRUE(guard.isNull());
    const int atDeletion = frames;
    testing::PumpFor(20);
    EXPECT_EQ(frames, atDeletion);
}

TEST(EffCar, FreedMidFade_GivesTheWindowItsOpacityBack) {
    QuietOpacityWarnings quiet;
    FadingWindow window;
    int frames = 0;
    window.effect->OnFrame = [&] { ++frames; };
    window.effect->StartFadeIn();
    window.show();
    ASSERT_TRUE(PumpUntil([&] { return frames >= 3; }));
    EXPECT_LT(window.windowOpacity(), 1.0);
    delete window.effect;
    window.effect = nullptr;
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
}

TEST(EffCar, DeletedWhenItEnds) {
    FadingWindow window;
    QPointer<TEffCar> guard(window.effect);
    QImage behind(30, 20, QImage::Format_RGB32);
    behind.fill(Qt::black);
    window.effect->OnFinished = [&] {
        delete window.effect;
        window.effect = nullptr;
    };
    TEffCar* effect = window.effect;
    effect->StartFadeIn(behind);
    ASSERT_TRUE(PumpUntil([&] { return guard.isNull(); }));
}

} // namespace
} // namespace carmanual
