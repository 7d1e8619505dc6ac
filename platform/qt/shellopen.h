#pragma once
// Opening documents and URLs and starting programs, as the manual's links and
// commands ask. A test double records the requests instead.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace carmanual {

class IShellOpen {
public:
    virtual ~IShellOpen() = default;
    // Opens a file, a folder or a URL with what the desktop associates with
    // it; an executable file is started with the parameters, in workingDir.
    // False when nothing could be started (not reported to the reader).
    virtual bool Open(const QString& target, const QStringList& parameters,
                      const QString& workingDir) = 0;
};

class TDesktopShell final : public IShellOpen {
public:
    bool Open(const QString& target, const QStringList& parameters,
              const QString& workingDir) override;
};

// The URL the desktop is asked to open for a link written in a page ("https:",
// "mailto:", ...), percent-encoded where the address holds spaces or
// non-Latin letters; an invalid URL for a file name, a drive letter or
// "file:".
QUrl WebUrl(const QString& target);

// Splits a Windows-style parameter string: blanks separate, double quotes group.
QStringList SplitParameters(const QString& parameters);

} // namespace carmanual
