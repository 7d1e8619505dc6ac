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
    if (const QUrl url = WebUrl(target); url.isValid() && !QFileInfo::exists(target))
        return QDesktopServices::openUrl(url);
    const QFileInfo info(target);
    if (info.isFile() && info.isExecutable())
        return QProcess::startDetached(info.absoluteFilePath(), parameters,
                                       workingDir.isEmpty() ? info.absolutePath() : workingDir);
    if (!info.exists())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

QUrl WebUrl(const QString& target) {
    // Pages write addresses as a reader types them: spaces and Cyrillic are
    // percent-encoded here rather than refused.
    const QString text = target.trimmed();
    QUrl url(text, QUrl::TolerantMode);
    if (!url.isValid() || url.scheme().size() < 2)
        return QUrl();
    if (url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0)
        return QUrl();
    return url;
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
