#include "log.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace carmanual {

namespace {

std::mutex& SinkMutex() {
    static std::mutex mutex;
    return mutex;
}

TLogSink& Sink() {
    static TLogSink sink;
    return sink;
}

} // namespace

void SetLogSink(TLogSink sink) {
    const std::lock_guard<std::mutex> lock(SinkMutex());
    Sink() = std::move(sink);
}

void LogWarning(std::string_view area, std::string_view message) {
    TLogSink sink;
    {
        const std::lock_guard<std::mutex> lock(SinkMutex());
        sink = Sink();
    }
    if (sink) {
        sink(area, message);
        return;
    }
    const std::string line = "carmanual." + std::string(area) + ": " + std::string(message) + "\n";
    std::fputs(line.c_str(), stderr);
}

} // namespace carmanual
