#pragma once
// Diagnostics of the layers without Qt: what a reader of the program's
// output needs to know when a manual's file is damaged or miswritten. Each
// message names its area ("archive", "shell", ...). Without a sink they go to
// standard error as "carmanual.<area>: message"; the program hands them to
// its Qt logging categories (platform/qt/logging.h), so QT_LOGGING_RULES
// switches them like every other message.

#include <functional>
#include <string_view>

namespace carmanual {

using TLogSink = std::function<void(std::string_view area, std::string_view message)>;

// Replaces where warnings go; an empty sink gives back standard error.
void SetLogSink(TLogSink sink);
// message: UTF-8.
void LogWarning(std::string_view area, std::string_view message);

} // namespace carmanual
