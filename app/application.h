#pragma once
// The application object. An exception that escapes an event handler is
// discarded there, and the program goes on: a bad file must never end the
// reader's session.

#include <QApplication>

namespace carmanual {

// Holds the application's exception handler: it does nothing with what it
// catches, so the event loop never sees an exception.
class TGlobalExHandler final {
public:
    void HandleException(const char* where) noexcept;
    int Discarded() const { return m_discarded; }

private:
    int m_discarded = 0;
};

class TApplication final : public QApplication {
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    TGlobalExHandler& ExHandler() { return m_handler; }

private:
    TGlobalExHandler m_handler;
};

} // namespace carmanual
