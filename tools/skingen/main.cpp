// skingen: makes every picture and sound of the demo manual's skin from its
// description (Struct.txt), and converts description files from UTF-8 to the
// Windows-1251 / CR LF form the program reads.
//
//   skingen skin STRUCT.txt OUTDIR [PREVIEWDIR]
//   skingen text IN.txt OUT.txt
//   skingen pages SOURCEDIR OUTDIR
//   skingen rar OUT.rar SOURCEDIR
//   skingen zip OUT.zip SOURCEDIR
//
// "skin" reads the description with the program's own rules and writes what
// it names: screen backgrounds (by the base name of each _screen file),
// element pictures (style from the folder, icon from the name: a picture
// skin\tool\print1.bmp is a "tool" plate with the "print" icon), sounds (by
// base name), the icon and piston.gif. Each element picture is painted over
// the decoded background it will cover. With PREVIEWDIR it also writes every
// screen composed as the program shows it, captions included. "pages" writes
// the manual's pages in their declared character sets with the pictures and
// sounds they name; "rar" and "zip" pack a folder into a RAR (stored) or a ZIP
// archive. Exit status: 0
// success, 1 a description or picture problem, 2 wrong usage.

#include "ansi.h"
#include "appicon.h"
#include "controls.h"
#include "encode.h"
#include "gifwriter.h"
#include "glyphs.h"
#include "look.h"
#include "pages.h"
#include "piston.h"
#include "screens.h"
#include "skinpanels.h"
#include "skinsource.h"
#include "sounds.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>

#include <cstdio>
#include <map>
#include <set>

using namespace skingen;

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Usage() {
    std::fputs("usage: skingen skin STRUCT.txt OUTDIR [PREVIEWDIR]\n"
               "       skingen text IN.txt OUT.txt\n"
               "       skingen pages SOURCEDIR OUTDIR\n"
               "       skingen rar OUT.rar SOURCEDIR\n"
               "       skingen zip OUT.zip SOURCEDIR\n",
               stderr);
    return kUsage;
}

class Problems {
public:
    void Add(const QString& text) {
        std::fprintf(stderr, "skingen: %s\n", qPrintable(text));
        ++m_count;
    }
    bool Any() const { return m_count > 0; }

private:
    int m_count = 0;
};

QString FromAnsi(const std::string& ansi) {
    return QString::fromStdString(carmanual::AnsiToUtf8(ansi));
}

// UTF-8 source lines without line ends; false when the file cannot be read.
bool ReadUtf8Lines(const QString& path, std::vector<std::string>& lines) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.readAll();
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    lines.clear();
    for (const QByteArray& line : data.split('\n')) {
        QByteArray l = line;
        if (l.endsWith('\r'))
            l.chop(1);
        lines.push_back(l.toStdString());
    }
    if (!lines.empty() && lines.back().empty() && data.endsWith('\n'))
        lines.pop_back();
    return true;
}

// Converts the lines to Windows-1251; reports the lines that have no such
// form.
bool ToAnsi(const std::vector<std::string>& utf8, std::vector<std::string>& ansi,
            const QString& name, Problems& problems) {
    ansi.clear();
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        bool exact = true;
        ansi.push_back(carmanual::Utf8ToAnsi(utf8[i], &exact));
        if (!exact)
            problems.Add(
                QStringLiteral("%1:%2: a character has no Windows-1251 form").arg(name).arg(i + 1));
    }
    return !problems.Any();
}

int ConvertText(const QString& in, const QString& out) {
    std::vector<std::string> lines, ansi;
    Problems problems;
    if (!ReadUtf8Lines(in, lines)) {
        problems.Add("cannot read " + in);
        return kFailed;
    }
    if (!ToAnsi(lines, ansi, in, problems))
        return kFailed;
    QByteArray bytes;
    for (const std::string& line : ansi) {
        bytes.append(line.data(), static_cast<qsizetype>(line.size()));
        bytes.append("\r\n");
    }
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        problems.Add("cannot write " + out);
        return kFailed;
    }
    return kOk;
}

// A manual name inside the program folder ("skin\tab\home1.bmp") as a path
// under the output folder; empty when the name points elsewhere.
QString OutputPath(const QString& outDir, const QString& manualName) {
    QString rel = manualName;
    rel.replace('\\', '/');
    if (rel.isEmpty() || rel.startsWith('/') || rel.contains(':') || rel.contains('<') ||
        rel.split('/').contains(".."))
        return {};
    return outDir + '/' + rel;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QString BaseName(const QString& manualName) {
    const QString file = manualName.section('\\', -1);
    return file.section('.', 0, 0);
}

struct PictureUse {
    QString style, glyph;
    bool toggle = false;
    int slot = 0;
    int screen = 0;
    QPoint at;
    QImage painted; // the background as painted, under the picture
};

QString ElementName(const SkinElement& e) {
    return QStringLiteral("line %1").arg(e.line);
}

void DrawCaptionPreview(QPainter& p, const SkinElement& e, int slot, QPoint at) {
    const SkinCaption& c = e.caption;
    const bool down = e.kind == ElementKind::Button ? false : slot >= 2;
    QString text = FromAnsi(down ? c.down : c.up).trimmed();
    if (text.isEmpty())
        return;
    const std::int32_t* r = down ? c.downRect : c.upRect;
    QFont font(FromAnsi(c.font));
    font.setPointSize(c.size > 0 ? c.size : 8);
    const std::uint8_t style = c.styles[slot];
    font.setBold(style & 1);
    font.setItalic(style & 2);
    font.setUnderline(style & 4);
    font.setStrikeOut(style & 8);
    p.setFont(font);
    const std::uint32_t color = c.colors[slot];
    p.setPen(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    const QFontMetrics fm(font);
    int left = at.x() + r[0];
    for (const QChar ch : text) {
        p.drawText(QRect(left, at.y() + r[1], at.x() + r[2] - left, r[3] - r[1]),
                   Qt::AlignLeft | Qt::AlignTop, QString(ch));
        left += fm.horizontalAdvance(ch);
    }
}

void ReportCaption(const SkinElement& e, const QSize& picture) {
    const SkinCaption& c = e.caption;
    for (int down = 0; down < 2; ++down) {
        const QString text = FromAnsi(down ? c.down : c.up).trimmed();
        if (text.isEmpty() || (down && e.kind == ElementKind::Button))
            continue;
        const std::int32_t* r = down ? c.downRect : c.upRect;
        int widest = 0, height = 0;
        for (int slot = 0; slot < 4; ++slot) {
            QFont font(FromAnsi(c.font));
            font.setPointSize(c.size > 0 ? c.size : 8);
            font.setBold(c.styles[slot] & 1);
            font.setItalic(c.styles[slot] & 2);
            const QFontMetrics fm(font);
            int w = 0;
            for (const QChar ch : text)
                w += fm.horizontalAdvance(ch);
            widest = std::max(widest, w);
            height = fm.height();
        }
        std::printf("  %-10s %-28s width %3d of %3d (rect %d..%d), centred left %d, top %d\n",
                    qPrintable(ElementName(e)), qPrintable(text), widest, r[2] - r[0], r[0], r[2],
                    (picture.width() - widest) / 2, (picture.height() - 1 - height) / 2);
        if (r[0] + widest > picture.width() || r[1] + height > picture.height())
            std::printf("  %-10s warning: the caption runs past its picture\n",
                        qPrintable(ElementName(e)));
    }
}

int MakeSkin(const QString& structPath, const QString& outDir, const QString& previewDir) {
    Problems problems;
    std::vector<std::string> utf8, ansi;
    if (!ReadUtf8Lines(structPath, utf8)) {
        problems.Add("cannot read " + structPath);
        return kFailed;
    }
    if (!ToAnsi(utf8, ansi, structPath, problems))
        return kFailed;
    const SkinSource skin = ReadSkinSource(ansi);
    for (const std::string& problem : skin.problems)
        problems.Add(QStringLiteral("%1: %2").arg(structPath, FromAnsi(problem)));
    if (!skin.hasOutline)
        problems.Add(structPath + ": no vertexmain outline");
    if (problems.Any())
        return kFailed;

    QPolygonF outline;
    for (const carmanual::TPoint& pt : skin.outline.points)
        outline << QPointF(pt.x, pt.y);

    auto write = [&](const QString& name, const QByteArray& bytes) {
        const QString path = OutputPath(outDir, name);
        if (path.isEmpty())
            problems.Add(name + ": a file the skin names must lie in the program folder");
        else if (bytes.isEmpty() || !WriteBytes(path, bytes))
            problems.Add("cannot write " + name);
    };

    // Backgrounds, and what the program will see of them once decoded.
    std::vector<QImage> painted(skin.screens.size()), decoded(skin.screens.size());
    std::map<QString, int> paintedScreens;
    for (std::size_t s = 0; s < skin.screens.size(); ++s) {
        const QString file = FromAnsi(skin.screens[s]);
        const QString base = BaseName(file);
        painted[s] = PaintScreen(base, outline);
        if (painted[s].isNull()) {
            problems.Add(QStringLiteral("screen %1: no background is known as \"%2\" (known: %3)")
                             .arg(s + 1)
                             .arg(base, ScreenNames().join(", ")));
            continue;
        }
        const QByteArray bytes = EncodePicture(painted[s], file);
        decoded[s] = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB888);
        if (!paintedScreens.count(file))
            write(file, bytes);
        paintedScreens[file] = static_cast<int>(s);
    }
    if (problems.Any())
        return kFailed;

    // Element pictures, each over the piece of background it covers. A
    // picture shared by several elements must cover the same background.
    std::map<QString, PictureUse> pictures;
    for (const SkinElement& e : skin.elements) {
        const bool toggle = e.kind != ElementKind::Button;
        for (std::size_t slot = 0; slot < e.files.size(); ++slot) {
            const QString file = FromAnsi(e.files[slot]);
            const QString style = file.section('\\', -2, -2);
            QString glyph = BaseName(file);
            while (!glyph.isEmpty() && glyph.back().isDigit())
                glyph.chop(1);
            const QSize size = ControlSize(style);
            if (!size.isValid()) {
                problems.Add(QStringLiteral("%1: %2: no picture style \"%3\"")
                                 .arg(ElementName(e), file, style));
                continue;
            }
            if (ControlHasGlyph(style) && !HasGlyph(glyph)) {
                problems.Add(
                    QStringLiteral("%1: %2: no icon \"%3\"").arg(ElementName(e), file, glyph));
                continue;
            }
            const QRect rect(e.x, e.y, size.width(), size.height());
            if (!QRect(0, 0, kScreenWidth, kScreenHeight).contains(rect)) {
                problems.Add(
                    QStringLiteral("%1: %2 lies outside the screen").arg(ElementName(e), file));
                continue;
            }
            PictureUse use{style,
                           glyph,
                           toggle,
                           static_cast<int>(slot),
                           e.screen,
                           rect.topLeft(),
                           painted[e.screen].copy(rect)};
            const auto known = pictures.find(file);
            if (known != pictures.end()) {
                const PictureUse& first = known->second;
                if (first.style != use.style || first.slot != use.slot ||
                    first.toggle != use.toggle || first.painted != use.painted)
                    problems.Add(QStringLiteral("%1: %2 is also used at %3,%4 of screen %5 over "
                                                "another background or in another role")
                                     .arg(ElementName(e), file)
                                     .arg(first.at.x())
                                     .arg(first.at.y())
                                     .arg(first.screen + 1));
                continue;
            }
            pictures.emplace(file, use);
            const QImage picture = PaintControl(style, glyph, toggle, static_cast<int>(slot),
                                                decoded[e.screen].copy(rect));
            write(file, EncodePicture(picture, file));
        }
    }

    // Popup lists and the places of the other panels.
    std::vector<PopupPreview> popupPreviews;
    for (const PanelPicture& picture : MakePanelPictures(
             skin, [&](const QString& text) { problems.Add(structPath + ": " + text); },
             previewDir.isEmpty() ? nullptr : &popupPreviews))
        write(picture.name, EncodePicture(picture.image, picture.name));

    // Sounds named by elements, commands and the music list.
    std::set<QString> sounds;
    for (const SkinElement& e : skin.elements) {
        const QString sound = FromAnsi(e.sound);
        if (!sound.isEmpty() && sound != "no")
            sounds.insert(sound);
        for (const std::string* command : {&e.command, &e.commandUp, &e.commandDown}) {
            const QString file = FromAnsi(CommandFile(*command));
            if (file.endsWith(".wav"))
                sounds.insert(file);
        }
    }
    for (const std::string& song : skin.music)
        sounds.insert(FromAnsi(song));
    for (const QString& sound : sounds) {
        const QByteArray bytes = MakeSound(BaseName(sound));
        if (bytes.isEmpty() || !sound.endsWith(".wav"))
            problems.Add(QStringLiteral("no sound is known as %1 (known: %2)")
                             .arg(sound, SoundNames().join(", ")));
        else
            write(sound, bytes);
    }

    if (!skin.icon.empty()) {
        const QString icon = FromAnsi(skin.icon);
        write(icon, EncodePicture(PaintAppIcon(128), icon));
    }

    // piston.gif plays in the recess every screen but the document screen has.
    std::vector<GifFrame> frames;
    for (const QImage& frame : PistonFrames(kPistonWidth, kPistonHeight, palette::kDeep))
        frames.push_back({frame, 6});
    write("piston.gif", EncodeGif(frames));

    if (problems.Any())
        return kFailed;
    if (previewDir.isEmpty())
        return kOk;

    // Previews: every screen as the program composes it, in each state.
    QDir().mkpath(previewDir);
    for (std::size_t s = 0; s < decoded.size(); ++s) {
        std::printf("screen %zu (%s)\n", s + 1, qPrintable(FromAnsi(skin.screens[s])));
        for (int state = 0; state < 3; ++state) {
            QImage screen = decoded[s].convertToFormat(QImage::Format_RGB32);
            screen.setDotsPerMeterX(3780);
            screen.setDotsPerMeterY(3780);
            QPainter p(&screen);
            for (const SkinElement& e : skin.elements) {
                if (e.screen != static_cast<int>(s))
                    continue;
                int slot = state;
                if (e.kind != ElementKind::Button && state == 2)
                    slot = e.state ? 3 : 2;
                else if (e.kind != ElementKind::Button && state == 0)
                    slot = e.state ? 3 : 0;
                if (slot >= static_cast<int>(e.files.size()))
                    continue;
                const QString file = FromAnsi(e.files[slot]);
                QImage picture(OutputPath(outDir, file));
                const QPoint at(e.x, e.y);
                QImage withCaption = picture.convertToFormat(QImage::Format_RGB32);
                withCaption.setDotsPerMeterX(3780);
                withCaption.setDotsPerMeterY(3780);
                {
                    QPainter cp(&withCaption);
                    DrawCaptionPreview(cp, e, slot, QPoint(0, 0));
                }
                p.drawImage(at, withCaption);
                if (state == 0)
                    ReportCaption(e, picture.size());
            }
            DrawPanelsPreview(p, skin, static_cast<int>(s));
            if (s != 1) {
                QImage gif(OutputPath(outDir, "piston.gif"));
                p.drawImage(QPoint(kPistonLeft, kPistonTop), gif);
            }
            p.end();
            screen.save(QStringLiteral("%1/screen%2-%3.png")
                            .arg(previewDir)
                            .arg(s + 1)
                            .arg(QStringList{"up", "mv", "dn"}[state]));
        }
    }
    for (std::size_t i = 0; i < popupPreviews.size(); ++i)
        popupPreviews[i].image.save(QStringLiteral("%1/popup%2-%3.png")
                                        .arg(previewDir)
                                        .arg(popupPreviews[i].screen + 1)
                                        .arg(i));
    return kOk;
}

} // namespace

int main(int argc, char** argv) {
    // The generator draws without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args[1] == "text" && args.size() == 4)
        return ConvertText(args[2], args[3]);
    if (args.size() == 4 && args[1] == "pages") {
        LoadFonts();
        return MakePages(args[2], args[3]);
    }
    if (args.size() == 4 && args[1] == "rar")
        return MakeRar(args[2], args[3]);
    if (args.size() == 4 && args[1] == "zip")
        return MakeZip(args[2], args[3]);
    if (args.size() >= 4 && args.size() <= 5 && args[1] == "skin") {
        LoadFonts();
        return MakeSkin(args[2], args[3], args.size() == 5 ? args[4] : QString());
    }
    return Usage();
}
