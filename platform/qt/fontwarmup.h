#pragma once
// The first font lookup of a run reads the system's whole font
// configuration, a good part of the time to the first frame. A worker thread
// does that lookup, for the families the first frame will use, while the
// main thread reads and decodes pictures; the captions then find the
// configuration ready. QFontDatabase may be used from any thread.

#include <QStringList>

#include <thread>

namespace carmanual {

class TFontWarmup {
public:
    explicit TFontWarmup(QStringList families);
    // Waits for the worker.
    ~TFontWarmup();
    TFontWarmup(const TFontWarmup&) = delete;
    TFontWarmup& operator=(const TFontWarmup&) = delete;

private:
    std::thread m_worker;
};

} // namespace carmanual
