// The peer of the start-up benchmark: the least a Qt widgets program does to
// show one picture of the skin's size. It loads the picture from a file,
// paints it in a borderless window and reports its first frame the way the
// viewer does (CARMANUAL_REPORT_FIRST_PAINT=1).

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace {

class TPictureWindow final : public QWidget {
public:
    explicit TPictureWindow(QImage picture) : m_picture(std::move(picture)) {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(m_picture.isNull() ? QSize(800, 600) : m_picture.size());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), m_picture);
    }

private:
    QImage m_picture;
};

// The same report as the viewer's: after the first paint event, once the
// frame has been handed to the display.
class TFirstPaintReporter final : public QObject {
public:
    explicit TFirstPaintReporter(std::chrono::steady_clock::time_point started)
        : m_started(started) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_reported) {
            m_reported = true;
            QTimer::singleShot(0, this, [this] {
                const auto now = std::chrono::steady_clock::now();
                const std::chrono::duration<double, std::milli> ms = now - m_started;
                const auto us =
                    std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch());
                std::fprintf(stderr, "first-paint %.1f ms clock_us=%lld\n", ms.count(),
                             static_cast<long long>(us.count()));
                std::fflush(stderr);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::chrono::steady_clock::time_point m_started;
    bool m_reported = false;
};

} // namespace

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_peer PICTURE\n");
        return 2;
    }
    TPictureWindow window{QImage(QString::fromLocal8Bit(argv[1]))};
    TFirstPaintReporter reporter(started);
    if (qEnvironmentVariableIntValue("CARMANUAL_REPORT_FIRST_PAINT") != 0)
        window.installEventFilter(&reporter);
    window.show();
    return app.exec();
}
