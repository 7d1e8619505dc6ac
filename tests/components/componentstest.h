#pragma once
// Shared helpers of the component tests: a manual folder of their own, text
// in Windows-1251, and where in a picture a colour was painted.

#include "ansi.h"
#include "paths.h"
#include "tempdir.h"

#include <QColor>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QRect>
#include <QThread>

#include <functional>
#include <string>

namespace carmanual::test {

// A manual folder that the program's folders point into while a test runs.
class ManualFolder {
public:
    ManualFolder() { InitProgramPaths(m_dir.Path()); }
    const std::filesystem::path& Path() const { return m_dir.Path(); }
    const TempDir& Dir() const { return m_dir; }

private:
    TempDir m_dir;
};

inline std::string Ansi(const char* utf8) {
    return Utf8ToAnsi(utf8);
}

// The smallest rectangle holding every pixel that matches; empty when none.
inline QRect PixelsWhere(const QImage& image, const std::function<bool(QColor)>& match) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (match(image.pixelColor(x, y)))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

// Mostly one of the three primaries: the core of a glyph drawn in it.
inline bool Reddish(QColor c) {
    return c.red() > 180 && c.green() < 90 && c.blue() < 90;
}
inline bool Greenish(QColor c) {
    return c.green() > 100 && c.red() < 90 && c.blue() < 90;
}
inline bool Bluish(QColor c) {
    return c.blue() > 180 && c.red() < 90 && c.green() < 90;
}
inline bool NotWhite(QColor c) {
    return c != QColor(Qt::white);
}

// Runs the event loop until the condition holds; the limit only keeps a
// broken timer from hanging the test.
template <typename Condition> bool PumpUntil(Condition condition, int limitMs = 20000) {
    QDeadlineTimer deadline(limitMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

} // namespace carmanual::test
