#pragma once
// The fade-in of a whole window when it is shown. Where the platform lets a
// program read the screen (X11, Windows), the screen under the window is
// captured and cross-faded into the window's own picture. Elsewhere the
// window's opacity is faded: a translucent window (Qt::WA_TranslucentBackground,
// as skinned windows are on Wayland) paints its picture with growing
// opacity; any other window gets QWidget::setWindowOpacity steps (Qt's
// Wayland plugin has no window opacity, so there an opaque window simply
// shows its picture for the length of the fade).
//
// The owner calls StartFadeIn() just before it shows itself, paints
// PaintFrame() instead of its normal painting while Running(), and ignores
// mouse input meanwhile.

#include "supertimer.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringView>

#include <functional>

class QPainter;
class QWidget;

namespace carmanual {

enum class TFadeInMode {
    Blend,         // the screen behind cross-faded into the window's picture
    WindowOpacity, // QWidget::setWindowOpacity from 0 up to the window's own
    PaintOpacity   // a translucent window painting its picture with growing opacity
};

class TEffCar final : public QObject {
    Q_OBJECT

public:
    explicit TEffCar(QWidget* window); // a child of the window
    ~TEffCar() override;
    Q_DISABLE_COPY_MOVE(TEffCar)

    // Captures the window's own picture (it paints itself normally into
    // it) and, where possible, the screen under it; then fades in over 52
    // ticks: alphas 5, 10, ..., 255, then a last frame at 255 that ends the
    // fade. Starting again while running restarts from the beginning.
    void StartFadeIn();
    // The same with the screen under the window already known; a null
    // picture fades the opacity instead.
    void StartFadeIn(const QImage& behind);
    // Ends the fade at once with the window fully shown.
    void CancelFadeIn();

    // Draws the current frame at 0, 0 of the window.
    void PaintFrame(QPainter& painter) const;

    bool Running() const { return m_running; }
    TFadeInMode Mode() const { return m_mode; }
    // The weight of the window's picture in the current frame.
    int Alpha() const { return m_alpha; }
    // The current frame (the screen behind before the first tick in Blend
    // mode, the window's picture in the opacity modes).
    const QImage& Frame() const { return m_frame; }

    // After every tick, once the window's repaint is requested; at the last
    // tick Frame() still holds the final frame.
    std::function<void()> OnFrame;
    // When the fade has ended (by its last tick or by CancelFadeIn), e.g.
    // to show again the controls the owner hid for the fade.
    std::function<void()> OnFinished;

    // Whether the platform lets a program read the screen behind a window.
    static bool CanReadScreen(QStringView platformName);
    static TFadeInMode ChooseMode(bool haveBehind, bool translucentWindow);

private:
    void FadeInTick();
    QImage GrabBehind() const;
    void SetOpacity(double level);
    void Finish();

    QPointer<QWidget> m_window;
    QImage m_behind;
    QImage m_windowImage;
    QImage m_frame;
    TFadeInMode m_mode = TFadeInMode::Blend;
    int m_alpha = 0;
    bool m_running = false;
    bool m_opacityTaken = false; // m_savedOpacity holds the window's own level
    double m_savedOpacity = 1.0;
    // Last, so it is destroyed first: no tick can run on a half-gone effect.
    TSuperTimer m_timer;
};

} // namespace carmanual
