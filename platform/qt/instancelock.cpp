#include "instancelock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace carmanual {

TInstanceLock::TInstanceLock(const QString& title) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // Titles may hold any character; the file name holds their digest.
    const QByteArray digest =
        QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_fileName = QDir(dir).filePath(QStringLiteral("carmanual-%1.lock").arg(QString::fromLatin1(digest)));
    m_lock = std::make_unique<QLockFile>(m_fileName);
    // Only a dead holder makes a lock stale, however long the holder runs.
    m_lock->setStaleLockTime(0);
}

TInstanceLock::~TInstanceLock() = default;

bool TInstanceLock::TryAcquire() { return m_lock->isLocked() || m_lock->tryLock(0); }

} // namespace carmanual
