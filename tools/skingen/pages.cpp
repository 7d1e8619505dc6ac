#include "pages.h"

#include "ansi.h"
#include "drawings.h"
#include "encode.h"
#include "gifwriter.h"
#include "rarwriter.h"
#include "sounds.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdio>
#include <map>
#include <set>

namespace skingen {

namespace {

int g_problems = 0;

void Problem(const QString& text) {
    std::fprintf(stderr, "skingen: %s\n", qPrintable(text));
    ++g_problems;
}

bool ReadAll(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return true;
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// UTF-8 source text without a byte-order mark, every line end made LF.
bool ReadSourceText(const QString& path, QString& text) {
    QByteArray bytes;
    if (!ReadAll(path, bytes)) {
        Problem("cannot read " + path);
        return false;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    text = utf8(bytes);
    if (utf8.hasError()) {
        Problem(path + ": not UTF-8");
        return false;
    }
    text.replace("\r\n", "\n");
    return true;
}

// The relative files under a folder, sorted, with '/' separators.
QStringList FilesBelow(const QString& dir) {
    QStringList files;
    const QDir root(QDir(dir).absolutePath());
    QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << root.relativeFilePath(it.next());
    files.sort();
    return files;
}

bool IsPicture(const QString& suffix) {
    return suffix == "jpg" || suffix == "jpeg" || suffix == "gif" || suffix == "bmp" ||
           suffix == "png";
}

// A relative link's target inside the manual, with '/' separators; empty for
// a link with a protocol, a drive, an absolute path or one leaving the root.
QString ResolveRelative(const QString& pageDir, QString link) {
    const int hash = link.indexOf('#');
    if (hash >= 0)
        link.truncate(hash);
    link.replace('\\', '/');
    if (link.isEmpty() || link.contains(':') || link.startsWith('/'))
        return {};
    const QString joined = QDir::cleanPath(pageDir.isEmpty() ? link : pageDir + '/' + link);
    if (joined.startsWith("../") || joined == "..")
        return {};
    return joined;
}

QByteArray EncodePage(const QString& text, const QString& charset, const QString& name) {
    QString crlf = text;
    crlf.replace("\n", "\r\n");
    if (charset == "utf-8")
        return crlf.toUtf8();
    if (charset == "koi8-r") {
        QStringEncoder koi8("KOI8-R");
        const QByteArray bytes = koi8(crlf);
        if (koi8.hasError() || !koi8.isValid())
            Problem(name + ": a character has no KOI8-R form");
        return bytes;
    }
    if (!charset.isEmpty() && charset != "windows-1251")
        Problem(name + ": the program reads no charset \"" + charset + "\"");
    bool exact = true;
    const std::string ansi = carmanual::Utf8ToAnsi(crlf.toStdString(), &exact);
    if (!exact)
        Problem(name + ": a character has no Windows-1251 form");
    return QByteArray(ansi.data(), static_cast<qsizetype>(ansi.size()));
}

} // namespace

QString DeclaredCharset(const QString& page) {
    static const QRegularExpression meta(
        QStringLiteral("<meta\\b[^>]*\\bcharset\\s*=\\s*[\"']?([A-Za-z0-9_-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = meta.match(page);
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

QStringList LinkValues(const QString& page) {
    static const QRegularExpression attr(
        QStringLiteral("\\b(?:src|href)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList values;
    for (auto it = attr.globalMatch(page); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        values << (m.capturedLength(1)   ? m.captured(1)
                   : m.capturedLength(2) ? m.captured(2)
                                         : m.captured(3));
    }
    return values;
}

int MakePages(const QString& sourceDir, const QString& outDir) {
    g_problems = 0;
    std::set<QString> assets;
    for (const QString& rel : FilesBelow(sourceDir)) {
        const QString source = sourceDir + '/' + rel;
        const QString suffix = QFileInfo(rel).suffix().toLower();
        if (suffix == "htm" || suffix == "html") {
            QString text;
            if (!ReadSourceText(source, text))
                continue;
            const QByteArray bytes = EncodePage(text, DeclaredCharset(text), rel);
            if (!WriteAll(outDir + '/' + rel, bytes))
                Problem("cannot write " + rel);
            const QString dir = QFileInfo(rel).path() == "." ? QString() : QFileInfo(rel).path();
            for (const QString& link : LinkValues(text)) {
                const QString target = ResolveRelative(dir, link);
                const QString ext = QFileInfo(target).suffix().toLower();
                if (!target.isEmpty() && (IsPicture(ext) || ext == "wav"))
                    assets.insert(target);
            }
        } else if (suffix == "css") {
            QByteArray bytes;
            if (!ReadAll(source, bytes) || !WriteAll(outDir + '/' + rel, bytes))
                Problem("cannot copy " + rel);
            for (const char c : bytes)
                if (static_cast<unsigned char>(c) > 0x7F) {
                    Problem(rel + ": a style sheet is read as plain ASCII");
                    break;
                }
        } else {
            Problem(rel + ": not a page or a style sheet");
        }
    }
    for (const QString& asset : assets) {
        const QString base = QFileInfo(asset).completeBaseName();
        QByteArray bytes;
        if (QFileInfo(asset).suffix().toLower() == "wav") {
            bytes = MakeSound(base);
            if (bytes.isEmpty())
                Problem(QStringLiteral("%1: no sound is known as \"%2\" (known: %3)")
                            .arg(asset, base, SoundNames().join(", ")));
        } else if (const auto frames = DrawingFrames(base);
                   !frames.empty() && QFileInfo(asset).suffix().toLower() == "gif") {
            bytes = EncodeGif(frames);
        } else {
            const QImage picture = PaintDrawing(base);
            if (picture.isNull())
                Problem(QStringLiteral("%1: no drawing is known as \"%2\" (known: %3)")
                            .arg(asset, base, DrawingNames().join(", ")));
            else
                bytes = EncodePicture(picture, asset);
        }
        if (!bytes.isEmpty() && !WriteAll(outDir + '/' + asset, bytes))
            Problem("cannot write " + asset);
    }
    return g_problems ? 1 : 0;
}

namespace {

std::vector<RarEntry> ArchiveEntries(const QString& sourceDir) {
    const std::uint32_t when = DosDateTime(2024, 3, 15, 10, 30, 0);
    QStringEncoder oem("IBM866");
    std::vector<RarEntry> entries;
    std::set<QString> folders;
    for (const QString& rel : FilesBelow(sourceDir)) {
        // Each folder is listed once, before the first file inside it.
        const QStringList parts = rel.split('/');
        for (int i = 1; i < parts.size(); ++i) {
            const QString folder = parts.mid(0, i).join('\\');
            if (folders.insert(folder).second) {
                const QByteArray name = oem(folder);
                entries.push_back({name.toStdString(), true, {}, when});
            }
        }
        QByteArray data;
        if (!ReadAll(sourceDir + '/' + rel, data)) {
            Problem("cannot read " + rel);
            continue;
        }
        if (QFileInfo(rel).suffix().toLower() == "txt") {
            QString text;
            if (!ReadSourceText(sourceDir + '/' + rel, text))
                continue;
            data = EncodePage(text, "windows-1251", rel);
        }
        const QByteArray name = oem(QString(rel).replace('/', '\\'));
        if (oem.hasError())
            Problem(rel + ": the name has no CP866 form");
        entries.push_back({name.toStdString(), false, data, when});
    }
    return entries;
}

} // namespace

int MakeRar(const QString& archive, const QString& sourceDir) {
    g_problems = 0;
    const std::vector<RarEntry> entries = ArchiveEntries(sourceDir);
    if (!WriteAll(archive, WriteRar(entries)))
        Problem("cannot write " + archive);
    return g_problems ? 1 : 0;
}

int MakeZip(const QString& archive, const QString& sourceDir) {
    g_problems = 0;
    const std::vector<RarEntry> entries = ArchiveEntries(sourceDir);
    if (!WriteAll(archive, WriteZip(entries)))
        Problem("cannot write " + archive);
    return g_problems ? 1 : 0;
}

} // namespace skingen
