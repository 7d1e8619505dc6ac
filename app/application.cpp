#include "application.h"

#include <cstdlib>
#include <exception>
#include <iostream>

namespace carmanual {

void TGlobalExHandler::HandleException(const char* where) noexcept {
    ++m_discarded;
    // Silent for the reader; a developer sets CARMANUAL_DEBUG to see them.
    if (std::getenv("CARMANUAL_DEBUG"))
        std::cerr << "carmanual: discarded exception: " << where << '\n';
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
