#include "effcar.h"

#include "fastbitmap.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace carmanual {

namespace {

constexpr int kAlphaStep = 5;

bool HasWindowOpacity(QStringView platformName) {
    // Qt's Wayland plugin does not implement window opacity and logs a
    // warning for every change.
    return !platformName.startsWith(u"wayland");
}

} // namespace

TEffCar::TEffCar(QWidget* window) : QObject(window), m_window(window) {
    m_timer.SetInterval(1);
    m_timer.SetPriority(QThread::HighestPriority);
    m_timer.OnTimer = [this](TSuperTimer*) { FadeInTick(); };
}

TEffCar::~TEffCar() {
    // Freed in the middle of a fade while its window stays: give the window
    // its own opacity back. A window being destroyed has hidden itself
    // before it deletes its children, and needs nothing.
    if (m_opacityTaken && m_window && m_window->isVisible()) {
        m_window->setWindowOpacity(m_savedOpacity);
    }
}

bool TEffCar::CanReadScreen(QStringView platformName) {
    // Wayland gives a client nothing of the screen; offscreen and the other
    // virtual platforms have no real screen behind a window.
    return platformName == u"xcb" || platformName == u"windows";
}

TFadeInMode TEffCar::ChooseMode(bool haveBehind, bool translucentWindow) {
    if (haveBehind) {
        return TFadeInMode::Blend;
    }
    return translucentWindow ? TFadeInMode::PaintOpacity : TFadeInMode::WindowOpacity;
}

void TEffCar::StartFadeIn() {
    if (!m_window) {
        return;
    }
    QImage behind;
    if (CanReadScreen(QGuiApplication::platformName())) {
        behind = GrabBehind();
    }
    StartFadeIn(behind);
}

QImage TEffCar::GrabBehind() const {
    QScreen* screen = m_window->screen();
    if (screen == nullptr) {
        return {};
    }
    const QRect area = m_window->geometry();
    const QRect screenArea = screen->geometry();
    const QPixmap shot = screen->grabWindow(0, area.x() - screenArea.x(), area.y() - screenArea.y(),
                                            area.width(), area.height());
    return shot.toImage();
}

void TEffCar::StartFadeIn(const QImage& behind) {
    if (!m_window) {
        return;
    }
    m_timer.SetEnabled(false);

    // Not running yet, so the window paints its normal state into the grab.
    m_running = false;
    QImage windowImage = m_window->grab().toImage();

    m_mode = ChooseMode(!behind.isNull() && !windowImage.isNull(),
                        m_window->testAttribute(Qt::WA_TranslucentBackground));
    if (m_mode == TFadeInMode::Blend) {
        const QImage::Format format = BlendFormat(windowImage, behind);
        m_windowImage = ToBlendFormat(windowImage, format);
        QImage under = behind;
        if (under.size() != m_windowImage.size()) {
            under =
                under.scaled(m_windowImage.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        m_behind = ToBlendFormat(under, format);
        m_behind.setDevicePixelRatio(m_windowImage.devicePixelRatio());
        m_frame = m_behind;
    } else {
        m_windowImage = windowImage;
        m_behind = QImage();
        m_frame = m_windowImage;
        if (m_mode == TFadeInMode::WindowOpacity) {
            if (!m_opacityTaken) {
                m_savedOpacity = m_window->windowOpacity();
                m_opacityTaken = true;
            }
            SetOpacity(0.0);
        }
    }
    m_alpha = 0;
    m_running = true;
    m_timer.SetEnabled(true);
    m_window->update();
}

void TEffCar::SetOpacity(double level) {
    if (m_window && HasWindowOpacity(QGuiApplication::platformName())) {
        m_window->setWindowOpacity(level * m_savedOpacity);
    }
}

void TEffCar::FadeInTick() {
    if (!m_timer.Enabled() || !m_running) {
        return;
    }
    const int alpha = m_timer.TickCount() * kAlphaStep;
    if (alpha > 255) {
        Finish();
        return;
    }
    m_alpha = alpha;
    switch (m_mode) {
    case TFadeInMode::Blend:
        BlendBitmaps(m_frame, m_windowImage, m_behind, alpha);
        break;
    case TFadeInMode::WindowOpacity:
        SetOpacity(alpha / 255.0);
        break;
    case TFadeInMode::PaintOpacity:
        break;
    }
    if (m_window) {
        m_window->update();
    }
    const std::function<void()> onFrame = OnFrame;
    if (onFrame) {
        onFrame(); // last: it may delete this effect
    }
}

void TEffCar::Finish() {
    m_timer.SetEnabled(false);
    m_alpha = 255;
    // The blend at 255 may be 1 short of the window's picture in some
    // channels; the window paints its own picture from now on.
    m_frame = m_windowImage;
    if (m_opacityTaken) {
        SetOpacity(1.0);
        m_opacityTaken = false;
    }
    m_running = false;
    m_behind = QImage();
    m_windowImage = QImage();
    if (m_window) {
        m_window->update();
    }

    QPointer<TEffCar> self(this);
    const std::function<void()> onFrame = OnFrame;
    const std::function<void()> onFinished = OnFinished;
    if (onFrame) {
        onFrame();
    }
    if (!self) {
        return;
    }
    m_frame = QImage();
    if (onFinished) {
        onFinished();
    }
}

void TEffCar::CancelFadeIn() {
    if (!m_running) {
        return;
    }
    m_timer.SetEnabled(false);
    m_alpha = 255;
    if (m_opacityTaken) {
        SetOpacity(1.0);
        m_opacityTaken = false;
    }
    m_running = false;
    m_behind = QImage();
    m_windowImage = QImage();
    m_frame = QImage();
    if (m_window) {
        m_window->update();
    }
    const std::function<void()> onFinished = OnFinished;
    if (onFinished) {
        onFinished();
    }
}

void TEffCar::PaintFrame(QPainter& painter) const {
    if (m_frame.isNull()) {
        return;
    }
    painter.save();
    if (m_running && m_mode == TFadeInMode::PaintOpacity) {
        const QRect area(QPoint(0, 0), m_frame.deviceIndependentSize().toSize());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(area, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setOpacity(m_alpha / 255.0);
    }
    painter.drawImage(QPoint(0, 0), m_frame);
    painter.restore();
}

} // namespace carmanual
