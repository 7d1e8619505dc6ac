#include "application.h"

#include "logging.h"

#include <exception>

namespace carmanual {

void TGlobalExHandler::HandleException(const char* where) noexcept {
    ++m_discarded;
    // Silent for the reader; QT_LOGGING_RULES="carmanual.app.debug=true"
    // shows them to a developer.
    qCDebug(lcApp) << "discarded exception:" << where;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        m_handler.HandleException(e.what());
    } catch (...) {
        m_handler.HandleException("unknown exception");
    }
    return false;
}

} // namespace carmanual
