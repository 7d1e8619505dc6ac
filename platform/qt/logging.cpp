#include "logging.h"

#include "log.h"

#include <string>

namespace carmanual {

Q_LOGGING_CATEGORY(lcApp, "carmanual.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcArchive, "carmanual.archive", QtWarningMsg)
Q_LOGGING_CATEGORY(lcShell, "carmanual.shell", QtWarningMsg)
Q_LOGGING_CATEGORY(lcViewer, "carmanual.viewer", QtWarningMsg)
Q_LOGGING_CATEGORY(lcNavigation, "carmanual.navigation", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMedia, "carmanual.media", QtWarningMsg)
Q_LOGGING_CATEGORY(lcWindows, "carmanual.windows", QtWarningMsg)

namespace {

const QLoggingCategory& CategoryOf(std::string_view area) {
    if (area == "archive")
        return lcArchive();
    if (area == "shell")
        return lcShell();
    if (area == "viewer")
        return lcViewer();
    if (area == "navigation")
        return lcNavigation();
    if (area == "media")
        return lcMedia();
    if (area == "windows")
        return lcWindows();
    return lcApp();
}

} // namespace

void InstallCoreLogSink() {
    SetLogSink([](std::string_view area, std::string_view message) {
        const QLoggingCategory& category = CategoryOf(area);
        if (category.isWarningEnabled())
            QMessageLogger(nullptr, 0, nullptr, category.categoryName()).warning().noquote()
                << QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
    });
}

} // namespace carmanual
