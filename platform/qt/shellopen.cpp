#include "shellopen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace carmanual {

bool TDesktopShell::Open(const QString& target, const QStringList& parameters,
                         const QString& workingDir) {
    if (target.isEmpty())
        return false;
    const QUrl url(target, QUrl::StrictMode);
    const bool isUrl = url.isValid() && url.scheme().size() > 1 && !QFileInfo::exists(target);
    if (isUrl)
        return QDesktopServices::openUrl(url);
    const QFileInfo info(target);
    if (info.isFile() && info.isExecutable())
        return QProcess::startDetached(info.absoluteFilePath(), parameters,
                                       workingDir.isEmpty() ? info.absolutePath() : workingDir);
    if (!info.exists())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

QStringList SplitParameters(const QString& parameters) {
    QStringList out;
    QString cur;
    bool quoted = false;
    bool any = false;
    for (const QChar c : parameters) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (c.isSpace() && !quoted) {
            if (any)
                out << cur;
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any)
        out << cur;
    return out;
}

} // namespace carmanual
