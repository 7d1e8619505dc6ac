#pragma once
// One instance per manual title. A lock file in the user's runtime folder:
// unlike a named semaphore it is released when the holder crashes, so a
// crashed instance never blocks the next start.

#include <QLockFile>
#include <QString>

#include <memory>

namespace carmanual {

class TInstanceLock final {
public:
    explicit TInstanceLock(const QString& title);
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    // True when this process now holds the title; false when another
    // running instance does.
    bool TryAcquire();
    QString FileName() const { return m_fileName; }

private:
    QString m_fileName;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace carmanual
