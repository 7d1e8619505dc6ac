#pragma once
// Shared helpers of the popup tests: a manual folder with solid-colour
// pictures, popup descriptions as the description reader leaves them, and
// mouse events delivered the way the application delivers them.

#include "ansi.h"
#include "archive.h"
#include "panelelements.h"
#include "paths.h"
#include "syntax.h"
#include "tempdir.h"

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QMouseEvent>
#include <QThread>
#include <QWidget>

#include <string>

namespace carmanual::test {

inline const QColor kBackTop(10, 10, 10), kBackMiddle(60, 60, 60), kBackBottom(110, 110, 110);
inline const QColor kItemUp(200, 200, 200), kItemMove(40, 40, 140), kItemDown(40, 140, 40);

// A manual folder the program's folders point into, with the pictures of a
// popup: a 120 x 100 background whose top, middle and bottom rows differ,
// and 100 x 20 entry pictures.
class PopupManual {
public:
    PopupManual() {
        QImage back(120, 100, QImage::Format_RGB32);
        back.fill(kBackMiddle);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < back.width(); ++x) {
                back.setPixelColor(x, y, kBackTop);
                back.setPixelColor(x, back.height() - 1 - y, kBackBottom);
            }
        }
        Save("skin/back.bmp", back);
        Picture("skin/up.bmp", kItemUp, 100, 20);
        Picture("skin/move.bmp", kItemMove, 100, 20);
        Picture("skin/down.bmp", kItemDown, 100, 20);
        Picture("skin/wideup.bmp", kItemUp, 110, 30);
        InitProgramPaths(m_dir.Path());
        TheArchive().Close();
    }

    void Picture(const std::string& name, QColor color, int width, int height) const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        Save(name, image);
    }
    void Save(const std::string& name, const QImage& image) const {
        const auto path = m_dir.Path() / name;
        std::filesystem::create_directories(path.parent_path());
        image.save(QString::fromStdString(path.string()), "BMP");
    }
    const TempDir& Dir() const { return m_dir; }

private:
    TempDir m_dir;
};

inline std::string Ansi(const char* utf8) {
    return Utf8ToAnsi(utf8);
}

// A popup element as the description reader leaves it: list items resolved
// against the program folder, the background name as written.
inline RPopupData PopupDescription(TPopupType type) {
    RPopupData d;
    d.XFon = -1;
    d.YFon = -1;
    d.FnFon = "skin\\back.bmp";
    d.XBtn = -1;
    d.YBtn = -1;
    d.FnBtnUp = {ResolveValuePath("skin\\up.bmp")};
    d.FnBtnMove = {ResolveValuePath("skin\\move.bmp")};
    d.FnBtnDown = {ResolveValuePath("skin\\down.bmp")};
    d.Font = {"dejavu sans", "dejavu sans"};
    d.Size = {9, 9};
    d.Style = {"regular", "bold"};
    d.Color = {0x0000FF, 0xFF0000}; // red on the normal pictures, blue on the others
    d.Type = type;
    return d;
}

inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos,
                      Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons buttons =
        type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void Click(QWidget* widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(widget, QEvent::MouseButtonPress, pos, button);
    SendMouse(widget, QEvent::MouseButtonRelease, pos, button);
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

inline void Pump() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

inline bool Reddish(QColor c) {
    return c.red() > 150 && c.green() < 120 && c.blue() < 120;
}
inline bool Bluish(QColor c) {
    return c.blue() > 150 && c.red() < 120 && c.green() < 120;
}

// Whether any pixel of the area matches.
template <typename Match> bool AnyPixel(const QImage& image, const QRect& area, Match match) {
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (match(image.pixelColor(x, y)))
                return true;
    return false;
}

} // namespace carmanual::test
