#include "windowdirectory.h"

#include "busy.h"
#include "qtansi.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QWidget>

namespace carmanual {

namespace {
TWindowDirectory::RemoteFinder& Finder() {
    static TWindowDirectory::RemoteFinder finder;
    return finder;
}
TWindowDirectory::RemoteCloser& Closer() {
    static TWindowDirectory::RemoteCloser closer;
    return closer;
}
} // namespace

bool TWindowDirectory::FindTopWindowByTitle(std::string_view title, WindowHandle& handle) {
    const QString want = FromAnsi(title);
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget* w : widgets) {
        if (!w->isVisible() || w->windowTitle().isEmpty())
            continue;
        if (w->windowTitle().compare(want, Qt::CaseInsensitive) == 0) {
            handle.process = QCoreApplication::applicationPid();
            handle.window = static_cast<std::int64_t>(reinterpret_cast<quintptr>(w));
            return true;
        }
    }
    return Finder() && Finder()(title, handle);
}

bool TWindowDirectory::CloseWindow(const WindowHandle& handle) {
    if (handle.process == QCoreApplication::applicationPid()) {
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget* w : widgets) {
            if (static_cast<std::int64_t>(reinterpret_cast<quintptr>(w)) == handle.window) {
                w->close();
                return true;
            }
        }
        return false;
    }
    return Closer() && Closer()(handle);
}

void TWindowDirectory::SetRemote(RemoteFinder finder, RemoteCloser closer) {
    Finder() = std::move(finder);
    Closer() = std::move(closer);
}

void InstallQtPlatform() {
    SetWindowFinder(std::make_shared<TWindowDirectory>());
    SetBusyCursorHandler([](bool busy) {
        if (busy) {
            if (!IsBusy())
                QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        } else {
            QCoreApplication::processEvents();
            if (IsBusy())
                QApplication::restoreOverrideCursor();
        }
    });
}

} // namespace carmanual
