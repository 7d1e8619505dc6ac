#pragma once
// The program's logging categories, one per layer ("carmanual.archive",
// "carmanual.shell", ...): warnings are shown by default, debug messages
// when QT_LOGGING_RULES asks for them ("carmanual.app.debug=true").

#include <QLoggingCategory>

namespace carmanual {

Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcArchive)
Q_DECLARE_LOGGING_CATEGORY(lcShell)
Q_DECLARE_LOGGING_CATEGORY(lcViewer)
Q_DECLARE_LOGGING_CATEGORY(lcNavigation)
Q_DECLARE_LOGGING_CATEGORY(lcMedia)
Q_DECLARE_LOGGING_CATEGORY(lcWindows)

// Hands the warnings of the layers without Qt to these categories, by area.
void InstallCoreLogSink();

} // namespace carmanual
