// The peer of the start-up benchmark: the least a Qt widgets program does to
// show one picture of the skin's size. It loads the picture from a file,
// paints it in a borderless window and reports its first frame the way the
// viewer does (CARMANUAL_REPORT_FIRST_PAINT=1). With --caption it also draws
// one line of text, which makes Qt load the system's font configuration as
// the viewer's captions do.

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

class TPictureWindow final : public QWidget {
public:
    TPictureWindow(QImage picture, bool caption)
        : m_picture(std::move(picture)), m_caption(caption) {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(m_picture.isNull() ? QSize(800, 600) : m_picture.size());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), m_picture);
        if (m_caption) {
            painter.setFont(QFont(QStringLiteral("Liberation Sans"), 11, QFont::Bold));
            painter.setPen(QColor(223, 228, 234));
            painter.drawText(QPoint(48, 24), QStringLiteral("Руководство"));
        }
    }

private:
    QImage m_picture;
    bool m_caption = false;
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
        std::fprintf(stderr, "usage: startup_peer PICTURE [--caption]\n");
        return 2;
    }
    const bool caption = argc > 2 && std::strcmp(argv[2], "--caption") == 0;
    TPictureWindow window(QImage(QString::fromLocal8Bit(argv[1])), caption);
    TFirstPaintReporter reporter(started);
    if (qEnvironmentVariableIntValue("CARMANUAL_REPORT_FIRST_PAINT") != 0)
        window.installEventFilter(&reporter);
    window.show();
    return app.exec();
}
