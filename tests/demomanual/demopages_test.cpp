// The demo manual's pages, contents tree and offered files as the program
// finds them: pages in interface.dat, files beside the program. Every link
// of every page leads somewhere, every page reads in the character set it
// declares, the tree names existing pages and covers them all, and the
// archives the pages offer are real archives.

#include "ansi.h"
#include "archive.h"
#include "comprstream.h"
#include "description.h"
#include "generatorrun.h"
#include "libarchivereader.h"
#include "paths.h"
#include "syntax.h"
#include "tempdir.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace carmanual;
using namespace carmanual::test;

const fs::path kDemoDir = CARMANUAL_DEMO_DIR;
const fs::path kSource = CARMANUAL_DEMO_SOURCE;

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "demopages_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Bytes(const std::string& relative) {
    return TComprStream(ProgramDir() + relative).TakeBytes();
}

QByteArray Q(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Lower-case Latin letters, backslashes: the form names take in this test.
std::string Normal(std::string name) {
    for (char& c : name) {
        if (c == '/')
            c = '\\';
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

std::string FolderOf(const std::string& name) {
    const std::size_t slash = name.rfind('\\');
    return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

std::string Extension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    const std::size_t slash = name.rfind('\\');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return Normal(name.substr(dot));
}

bool IsPicture(const std::string& ext) {
    return ext == ".jpg" || ext == ".jpeg" || ext == ".gif" || ext == ".bmp" || ext == ".png";
}

// A link's target as a name relative to the program folder: joined to the
// page's folder, ".." steps taken, a drive ("d:\...") standing for the
// manual's root as on the disc it came on. Empty when it leaves the root.
std::string Resolve(const std::string& page, std::string link) {
    link = Normal(link);
    std::string base = FolderOf(page);
    if (link.size() > 2 && link[1] == ':' && link[2] == '\\') {
        link = link.substr(3);
        base.clear();
    }
    std::vector<std::string> parts;
    const std::string joined = base + link;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t end = std::min(joined.find('\\', start), joined.size());
        const std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (parts.empty())
                return {};
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& p : parts)
        out += (out.empty() ? "" : "\\") + p;
    return out;
}

bool Exists(const std::string& relative) {
    return ArchiveFileExists(ProgramDir() + relative);
}

struct Tag {
    QString name;                     // lower case: a, img, frame, link, select, ...
    std::map<QString, QString> attrs; // names lower case
};

std::vector<Tag> Tags(const QString& html) {
    static const QRegularExpression tag(QStringLiteral("<([A-Za-z]+)\\b([^>]*)>"));
    static const QRegularExpression attr(
        QStringLiteral("([A-Za-z-]+)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"));
    std::vector<Tag> tags;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        Tag t{m.captured(1).toLower(), {}};
        for (auto a = attr.globalMatch(m.captured(2)); a.hasNext();) {
            const QRegularExpressionMatch v = a.next();
            t.attrs[v.captured(1).toLower()] = v.capturedLength(2)   ? v.captured(2)
                                               : v.capturedLength(3) ? v.captured(3)
                                                                     : v.captured(4);
        }
        tags.push_back(std::move(t));
    }
    return tags;
}

QString Attr(const Tag& t, const char* name) {
    const auto it = t.attrs.find(QString::fromLatin1(name));
    return it == t.attrs.end() ? QString() : it->second;
}

QString DeclaredCharset(const QByteArray& bytes) {
    static const QRegularExpression meta(
        QStringLiteral("<meta\\b[^>]*\\bcharset\\s*=\\s*[\"']?([A-Za-z0-9_-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = meta.match(QString::fromLatin1(bytes));
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

// A page as the program reads it: in its declared charset, Windows-1251
// when it declares none.
QString Decode(const QByteArray& bytes, bool* ok = nullptr) {
    QString charset = DeclaredCharset(bytes);
    if (charset.isEmpty())
        charset = QStringLiteral("windows-1251");
    QStringDecoder decoder(charset.toLatin1().constData());
    const QString text = decoder.isValid() ? decoder(bytes) : QString();
    if (ok)
        *ok = decoder.isValid() && !decoder.hasError();
    return text;
}

struct Page {
    std::string name; // relative, lower case, backslashes
    QByteArray bytes;
    QString text;
    std::vector<Tag> tags;
    std::set<QString> anchors;
    bool frameset = false;
};

class DemoPages : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        App();
        ASSERT_TRUE(fs::exists(kDemoDir / "interface.dat")) << kDemoDir;
        InitProgramPaths(kDemoDir);
        OpenArchive(ProgramDir() + "interface.dat");
        SetArchiveRoot(ArchiveRootFor(ProgramDir()));
        s_loaded = LoadStructFile(Description());
        for (const std::string& file : ListArchiveFiles()) {
            if (Extension(file) != ".htm")
                continue;
            Page page;
            page.name = Normal(file);
            page.bytes = Q(Bytes(page.name));
            page.text = Decode(page.bytes);
            page.tags = Tags(page.text);
            for (const Tag& t : page.tags) {
                if (t.name == "a" && !Attr(t, "name").isEmpty())
                    page.anchors.insert(Attr(t, "name"));
                if (!Attr(t, "id").isEmpty())
                    page.anchors.insert(Attr(t, "id"));
                page.frameset = page.frameset || t.name == "frameset";
            }
            Pages().emplace(page.name, std::move(page));
        }
    }

    static TInterfaceDescription& Description() {
        static TInterfaceDescription description;
        return description;
    }
    static std::map<std::string, Page>& Pages() {
        static std::map<std::string, Page> pages;
        return pages;
    }

    // The documents shown inside a frameset, and the frame names each
    // frameset offers its documents as targets.
    static std::map<std::string, std::set<QString>> FrameTargets() {
        std::map<std::string, std::set<QString>> targets;
        for (const auto& [name, page] : Pages()) {
            std::set<QString> names;
            std::vector<std::string> documents;
            for (const Tag& t : page.tags)
                if (t.name == "frame") {
                    names.insert(Attr(t, "name"));
                    documents.push_back(Resolve(name, Attr(t, "src").toStdString()));
                }
            for (const std::string& d : documents)
                targets[d].insert(names.begin(), names.end());
        }
        return targets;
    }

    static inline bool s_loaded = false;
};

TEST_F(DemoPages, ThereAreChaptersOfPages) {
    std::set<std::string> chapters;
    int pages = 0;
    for (const auto& [name, page] : Pages())
        if (name.rfind("ch", 0) == 0 && !page.frameset) {
            chapters.insert(FolderOf(name));
            ++pages;
        }
    EXPECT_GE(chapters.size(), 5u);
    EXPECT_GE(pages, 12);
    EXPECT_LE(pages, 30);
}

// Each page reads in the charset it declares, giving back exactly the text
// it was written from; the demo shows every charset the program reads.
TEST_F(DemoPages, EveryPageDecodesInItsDeclaredCharset) {
    std::map<QString, int> charsets;
    for (const auto& [name, page] : Pages()) {
        SCOPED_TRACE(name);
        bool ok = false;
        QString text = Decode(page.bytes, &ok);
        ASSERT_TRUE(ok);
        ++charsets[DeclaredCharset(page.bytes)];
        std::string source = name;
        std::replace(source.begin(), source.end(), '\\', '/');
        QString expected = QString::fromUtf8(Q(ReadFile(kSource / "pages" / source)));
        ASSERT_FALSE(expected.isEmpty()) << "no source for " << name;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(text, expected);
        EXPECT_TRUE(page.bytes.contains("\r\n")) << "pages keep CR LF line ends";
        static const QRegularExpression cyrillic(QStringLiteral("[А-Яа-яЁё]{4,}"));
        EXPECT_TRUE(cyrillic.match(text).hasMatch());
    }
    EXPECT_GE(charsets[QStringLiteral("koi8-r")], 1);
    EXPECT_GE(charsets[QStringLiteral("utf-8")], 1);
    EXPECT_GE(charsets[QString()], 1) << "a page without a declaration";
    EXPECT_GT(charsets[QStringLiteral("windows-1251")], static_cast<int>(Pages().size()) / 2);
}

// Every href and src leads to a file the program finds (archive or disk),
// every #anchor to a name on its page, every target to a frame or a picture
// window, every pseudo-protocol to what it needs.
TEST_F(DemoPages, EveryLinkOfEveryPageLeadsSomewhere) {
    const auto frames = FrameTargets();
    int links = 0;
    for (const auto& [name, page] : Pages()) {
        for (const Tag& t : page.tags) {
            QString value = Attr(t, "href");
            if (value.isEmpty())
                value = Attr(t, "src");
            if (value.isEmpty() || t.name == "base")
                continue;
            ++links;
            SCOPED_TRACE(name + ": " + value.toStdString());
            const std::string lower = value.toLower().toStdString();
            if (lower.find("http:") != std::string::npos ||
                lower.find("mailto:") != std::string::npos) {
                EXPECT_TRUE(lower.rfind("http://", 0) == 0 || lower.rfind("mailto:", 0) == 0);
                continue;
            }
            if (lower.rfind("printhtml:", 0) == 0) {
                const std::string target = Resolve(name, value.mid(10).toStdString());
                EXPECT_TRUE(Pages().count(target)) << target;
                continue;
            }
            if (lower.rfind("copylist:", 0) == 0) {
                const QString list = value.mid(9);
                bool found = false;
                for (const Tag& s : page.tags)
                    found = found || (s.name == "select" &&
                                      Attr(s, "name").compare(list, Qt::CaseInsensitive) == 0);
                EXPECT_TRUE(found) << "no <select name=" << list.toStdString() << ">";
                continue;
            }
            if (lower.rfind("copy:", 0) == 0) {
                EXPECT_TRUE(Exists(Resolve(name, value.mid(5).toStdString())));
                continue;
            }
            const int hash = value.indexOf('#');
            const QString anchor = hash >= 0 ? value.mid(hash + 1) : QString();
            const QString file = hash >= 0 ? value.left(hash) : value;
            const std::string target = file.isEmpty() ? name : Resolve(name, file.toStdString());
            ASSERT_FALSE(target.empty()) << "the link leaves the manual";
            EXPECT_TRUE(Exists(target)) << target;
            if (!anchor.isEmpty()) {
                ASSERT_TRUE(Pages().count(target)) << "an anchor into " << target;
                EXPECT_TRUE(Pages().at(target).anchors.count(anchor)) << anchor.toStdString();
            }
            const QString frameTarget = Attr(t, "target");
            if (frameTarget.compare("_blank", Qt::CaseInsensitive) == 0) {
                EXPECT_TRUE(IsPicture(Extension(target))) << "the picture window shows pictures";
            } else if (!frameTarget.isEmpty() && !frameTarget.startsWith('_')) {
                const auto it = frames.find(name);
                ASSERT_NE(it, frames.end()) << "a target outside a frameset";
                EXPECT_TRUE(it->second.count(frameTarget)) << frameTarget.toStdString();
            }
        }
    }
    EXPECT_GT(links, 200);
}

// The demo shows every row of the page panel's link table at least once.
TEST_F(DemoPages, EveryKindOfLinkIsThere) {
    std::map<std::string, int> kinds;
    for (const auto& [name, page] : Pages())
        for (const Tag& t : page.tags) {
            if (t.name != "a" || Attr(t, "href").isEmpty())
                continue;
            const QString href = Attr(t, "href");
            const std::string lower = href.toLower().toStdString();
            const QString target = Attr(t, "target");
            if (target.compare("_blank", Qt::CaseInsensitive) == 0)
                ++kinds["picture window"];
            else if (!target.isEmpty() && !target.startsWith('_'))
                ++kinds["named frame"];
            if (lower.rfind("http:", 0) == 0)
                ++kinds["http"];
            else if (lower.rfind("mailto:", 0) == 0)
                ++kinds["mailto"];
            else if (lower.rfind("printhtml:", 0) == 0)
                ++kinds["printhtml"];
            else if (lower.rfind("copylist:", 0) == 0)
                ++kinds["copylist"];
            else if (lower.rfind("copy:", 0) == 0)
                ++kinds["copy"];
            else if (lower.rfind("#", 0) == 0)
                ++kinds["anchor"];
            else {
                const std::string file = Resolve(name, href.section('#', 0, 0).toStdString());
                const std::string ext = Extension(file);
                if (lower.size() > 2 && lower[1] == ':')
                    ++kinds["another drive"];
                if (ext == ".zip" || ext == ".rar" || ext == ".wav" || ext == ".txt")
                    ++kinds[ext];
                else if (IsPicture(ext) && target.isEmpty())
                    ++kinds["picture as page"];
                else if (ext.empty() || ext == ".sh" || ext == ".exe") {
                    std::error_code ec;
                    const fs::perms perms =
                        fs::status(ToNativePath(ProgramDir() + file), ec).permissions();
                    if (!ec && (perms & fs::perms::owner_exec) != fs::perms::none)
                        ++kinds["program"];
                }
            }
        }
    for (const char* kind :
         {"picture window", "named frame", "http", "mailto", "printhtml", "copy", "copylist",
          "anchor", ".zip", ".rar", ".wav", ".txt", "program", "another drive", "picture as page"})
        EXPECT_GE(kinds[kind], 1) << kind;
}

TEST_F(DemoPages, PagesShareOneStyleSheet) {
    for (const auto& [name, page] : Pages()) {
        if (page.frameset)
            continue;
        SCOPED_TRACE(name);
        std::vector<std::string> sheets;
        for (const Tag& t : page.tags)
            if (t.name == "link" && Attr(t, "rel").toLower() == "stylesheet")
                sheets.push_back(Resolve(name, Attr(t, "href").toStdString()));
        ASSERT_EQ(sheets.size(), 1u);
        EXPECT_EQ(sheets[0], "style.css");
    }
    EXPECT_NE(Bytes("style.css").find("table.spec"), std::string::npos);
}

// Pictures decode, are drawn at the size the page gives them, and come in
// the three formats manuals use.
TEST_F(DemoPages, PicturesDecodeAtTheirStatedSize) {
    std::set<std::string> formats;
    int pictures = 0;
    int animated = 0;
    for (const auto& [name, page] : Pages())
        for (const Tag& t : page.tags) {
            if (t.name != "img")
                continue;
            ++pictures;
            const std::string file = Resolve(name, Attr(t, "src").toStdString());
            SCOPED_TRACE(name + ": " + file);
            const QImage image = QImage::fromData(Q(Bytes(file)));
            ASSERT_FALSE(image.isNull());
            formats.insert(Extension(file));
            {
                QByteArray data = Q(Bytes(file));
                QBuffer buffer(&data);
                QImageReader reader(&buffer);
                if (reader.supportsAnimation() && reader.imageCount() > 1)
                    ++animated;
            }
            if (!Attr(t, "width").isEmpty()) {
                EXPECT_EQ(Attr(t, "width").toInt(), image.width());
            }
            if (!Attr(t, "height").isEmpty()) {
                EXPECT_EQ(Attr(t, "height").toInt(), image.height());
            }
            EXPECT_FALSE(Attr(t, "alt").isEmpty()) << "pictures carry a hint";
            EXPECT_GE(image.width(), 200);
        }
    EXPECT_GE(pictures, 15);
    EXPECT_GE(animated, 1) << "a page shows an animated picture";
    for (const char* format : {".jpg", ".gif", ".bmp"})
        EXPECT_TRUE(formats.count(format)) << format;
}

// The page title goes into the skin's title well; a longer title would run
// over the well's edge.
TEST_F(DemoPages, PageTitlesFitTheTitleField) {
    ASSERT_TRUE(s_loaded);
    const RText* field = nullptr;
    for (const RText& t : Description().Texts)
        if (t.Screen == 1 && t.Number == 1)
            field = &t;
    ASSERT_NE(field, nullptr) << "the document screen has a title field (number 1)";
    QFont font(QString::fromStdString(AnsiToUtf8(field->Font)));
    font.setPointSize(field->Size);
    font.setBold(field->Style.find("bold") != std::string::npos);
    const QFontMetrics metrics(font);
    static const QRegularExpression title(QStringLiteral("<title>([^<]*)</title>"),
                                          QRegularExpression::CaseInsensitiveOption);
    for (const auto& [name, page] : Pages()) {
        const QString text = title.match(page.text).captured(1);
        SCOPED_TRACE(name + ": " + text.toStdString());
        EXPECT_FALSE(text.trimmed().isEmpty());
        EXPECT_LE(metrics.horizontalAdvance(text + QStringLiteral("  ")),
                  field->Right - field->Left);
    }
}

struct TreeItem {
    int depth = 0;
    std::string file, caption; // Windows-1251 as stored
};

std::vector<TreeItem> ReadTree(const std::string& relative) {
    std::vector<TreeItem> items;
    TComprStream stream(ProgramDir() + relative);
    std::string line;
    while (ReadTextLine(stream, line)) {
        if (Trim(line).empty())
            continue;
        TreeItem item;
        while (item.depth < static_cast<int>(line.size()) && line[item.depth] == '\t')
            ++item.depth;
        const std::size_t semi = line.find(';');
        item.file = Trim(line.substr(0, semi));
        if (semi != std::string::npos) {
            const std::size_t next = line.find(';', semi + 1);
            item.caption = Trim(line.substr(semi + 1, next == std::string::npos ? std::string::npos
                                                                                : next - semi - 1));
        }
        items.push_back(item);
    }
    return items;
}

// The tree the description names: every item opens an existing page (and
// anchor), captions are Russian, chapters nest one level at a time, and
// every page of the chapters is reachable from it.
TEST_F(DemoPages, ContentsTreeNamesEveryPage) {
    ASSERT_TRUE(s_loaded);
    const TInterfaceDescription& d = Description();
    ASSERT_EQ(d.Trees.size(), 1u)
        << "one _tree builds the main tree; with two only the second would be built";
    const RTree& tree = d.Trees[0];
    EXPECT_EQ(tree.Screen, 1);
    const std::vector<TreeItem> items = ReadTree(tree.File);
    ASSERT_GE(items.size(), 20u);
    std::set<std::string> covered;
    int previous = -1;
    for (const TreeItem& item : items) {
        SCOPED_TRACE(item.file);
        EXPECT_LE(item.depth, previous + 1);
        EXPECT_GE(item.depth, 0);
        previous = item.depth;
        const std::string caption = AnsiToUtf8(item.caption);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("[А-Яа-я]{3,}"))
                        .match(QString::fromStdString(caption))
                        .hasMatch())
            << caption;
        const std::size_t hash = item.file.find('#');
        const std::string file = Normal(item.file.substr(0, hash));
        ASSERT_TRUE(Pages().count(file)) << file;
        covered.insert(file);
        if (hash != std::string::npos) {
            EXPECT_TRUE(
                Pages().at(file).anchors.count(QString::fromStdString(item.file.substr(hash + 1))));
        }
    }
    EXPECT_EQ(items.front().depth, 0);
    const auto frames = FrameTargets();
    for (const auto& [name, page] : Pages())
        if (name.rfind("ch", 0) == 0 && !frames.count(name)) {
            EXPECT_TRUE(covered.count(name)) << name << " is not in the contents tree";
        }
}

// Pages shown by panels and named by commands exist; page commands go to
// panels that exist.
TEST_F(DemoPages, PanelsAndCommandsNameExistingPages) {
    ASSERT_TRUE(s_loaded);
    const TInterfaceDescription& d = Description();
    std::set<std::int32_t> numbers;
    for (const RHTML& h : d.HtmlPanels) {
        EXPECT_GE(ResolvePath(h.File), 0) << h.File;
        numbers.insert(h.Number);
    }
    std::vector<std::string> commands;
    for (const auto& screen : d.Buttons)
        for (const RBtn& b : screen)
            commands.push_back(b.Command);
    for (const auto& screen : d.Switches)
        for (const RSwthOne& s : screen)
            commands.insert(commands.end(), {s.CommandUp, s.CommandDown});
    for (const auto& screen : d.Groups)
        for (const RSwthGrp& g : screen)
            commands.push_back(g.Command);
    for (const auto& screen : d.Popups)
        for (const RPopupData& p : screen)
            commands.insert(commands.end(), p.Go.begin(), p.Go.end());
    int pageCommands = 0;
    for (const std::string& c : commands) {
        const std::string name = c.substr(0, c.find('='));
        if (c.find('=') == std::string::npos ||
            (name.find("html") == std::string::npos && name.find("screen") == std::string::npos))
            continue;
        SCOPED_TRACE(c);
        ++pageCommands;
        const std::string page = ValueAfterFirstEq(c);
        EXPECT_TRUE(
            ArchiveFileExists(page.find(':') == std::string::npos ? ProgramDir() + page : page));
        // "html" alone (a popup entry) opens in the current panel; "htmlN"
        // names the panel.
        if (name.find("html") != std::string::npos && name != "html") {
            EXPECT_TRUE(numbers.count(IntAt(c, 4))) << "no panel " << IntAt(c, 4);
        }
    }
    EXPECT_GE(pageCommands, 6);
}

// --- The files the pages offer ---------------------------------------------

// The text of a manual's text file: Windows-1251 with CR LF, as UTF-8 / LF.
std::string TextFromManual(const std::string& ansi) {
    std::string utf8 = AnsiToUtf8(ansi);
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i)
        if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n'))
            out += utf8[i];
    return out;
}

TEST(DemoFiles, RarOfFormsListsAndUnpacksWithLibarchive) {
    const std::string rar = ReadFile(kDemoDir / "files" / "blanks.rar");
    ASSERT_EQ(rar.substr(0, 7), std::string("Rar!\x1A\x07\x00", 7));
    bool ok = false;
    const auto items = test::ReadWithLibarchive(rar, ok, "rar:hdrcharset=CP866");
    ASSERT_TRUE(ok);
    std::map<std::string, test::ArchiveItem> byName;
    for (const test::ArchiveItem& i : items)
        byName[i.name] = i;
    const fs::path source = kSource / "files" / "blanks";
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        const std::string name = fs::relative(entry.path(), source).generic_string();
        SCOPED_TRACE(name);
        ASSERT_TRUE(byName.count(name));
        EXPECT_EQ(byName[name].directory, entry.is_directory());
        if (entry.is_regular_file()) {
            ++files;
            EXPECT_EQ(TextFromManual(byName[name].data), ReadFile(entry.path()));
        }
    }
    EXPECT_EQ(byName.size(), static_cast<std::size_t>(
                                 std::distance(fs::recursive_directory_iterator(source), {})));
    EXPECT_GE(files, 3);
    EXPECT_TRUE(byName.count("Памятка.txt")) << "a name in the OEM code page";
}

TEST(DemoFiles, ZipHoldsTheFuseBoxMap) {
    bool ok = false;
    const auto items = test::ReadWithLibarchive(ReadFile(kDemoDir / "files" / "fuses.zip"), ok);
    ASSERT_TRUE(ok);
    std::map<std::string, std::string> byName;
    for (const test::ArchiveItem& i : items)
        byName[i.name] = i.data;
    ASSERT_TRUE(byName.count("fusemap.bmp"));
    EXPECT_FALSE(QImage::fromData(Q(byName["fusemap.bmp"])).isNull());
    ASSERT_TRUE(byName.count("fuses.txt"));
    EXPECT_EQ(TextFromManual(byName["fuses.txt"]), ReadFile(kSource / "files" / "fuses.txt"));
}

TEST(DemoFiles, ProgramIsAnExecutableScriptBesideItsTable) {
    const fs::path script = kDemoDir / "files" / "torque.sh";
    ASSERT_TRUE(fs::exists(script));
    EXPECT_NE(fs::status(script).permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(ReadFile(script).substr(0, 2), "#!");
    EXPECT_EQ(TextFromManual(ReadFile(kDemoDir / "files" / "torque.txt")),
              ReadFile(kSource / "files" / "torque.txt"));
}

// --- The generator ----------------------------------------------------------

TEST(PageGenerator, TwoRunsGiveTheSameBytes) {
    test::TempDir first, second;
    for (const test::TempDir* dir : {&first, &second})
        ASSERT_EQ(RunCommand(Quoted(CARMANUAL_SKINGEN) + " pages " + Quoted(kSource / "pages") +
                             " " + Quoted(dir->Path()) + " 2>/dev/null"),
                  0);
    const auto a = FilesBelow(first.Path()), b = FilesBelow(second.Path());
    EXPECT_GT(a.size(), 40u);
    EXPECT_TRUE(a == b);
}

TEST(PageGenerator, RefusesWhatThePagesCannotHold) {
    struct Case {
        const char* name;
        std::string page;
    };
    const Case cases[] = {
        {"no Windows-1251 form",
         "<html><head><meta charset=windows-1251></head><body>\xE2\x86\x92</body></html>"},
        {"no KOI8-R form", "<html><head><meta charset=koi8-r></head><body>\xC2\xAB</body></html>"},
        {"unknown charset", "<html><head><meta charset=cp437></head><body>a</body></html>"},
        {"unknown picture", "<html><body><img src=\"img/nothing.jpg\"></body></html>"},
        {"unknown sound", "<html><body><a href=\"snd/nothing.wav\">x</a></body></html>"},
        {"not UTF-8", "<html><body>\xFF</body></html>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        dir.Write("src/p.htm", c.page);
        EXPECT_EQ(RunCommand(Quoted(CARMANUAL_SKINGEN) + " pages " + Quoted(dir.Path() / "src") +
                             " " + Quoted(dir.Path() / "out") + " 2>/dev/null"),
                  1);
    }
}

TEST(PageGenerator, WritesEachPageInItsCharset) {
    test::TempDir dir;
    dir.Write("src/a.htm", "<meta charset=koi8-r>Ёж");
    dir.Write("src/b.htm", "<meta charset=\"utf-8\">Ёж");
    dir.Write("src/c.htm", "Ёж\n");
    ASSERT_EQ(RunCommand(Quoted(CARMANUAL_SKINGEN) + " pages " + Quoted(dir.Path() / "src") + " " +
                         Quoted(dir.Path() / "out") + " 2>/dev/null"),
              0);
    EXPECT_EQ(ReadFile(dir.Path() / "out/a.htm"), "<meta charset=koi8-r>\xB3\xD6");
    EXPECT_EQ(ReadFile(dir.Path() / "out/b.htm"), "<meta charset=\"utf-8\">Ёж");
    EXPECT_EQ(ReadFile(dir.Path() / "out/c.htm"), "\xA8\xE6\r\n");
}

// The RAR writer's output is read back byte for byte by libarchive, folders
// and all; a damaged header is noticed.
TEST(RarWriter, LibarchiveReadsBackWhatWasPacked) {
    test::TempDir dir;
    std::string binary;
    for (int i = 0; i < 70000; ++i)
        binary += static_cast<char>((i * 7919) & 0xFF);
    dir.Write("src/empty.dat", "");
    dir.Write("src/deep/er/bin.dat", binary);
    dir.Write("src/Папка/Заметка.txt", "Строка\nещё\n");
    const fs::path rar = dir.Path() / "out.rar";
    ASSERT_EQ(RunCommand(Quoted(CARMANUAL_SKINGEN) + " rar " + Quoted(rar) + " " +
                         Quoted(dir.Path() / "src") + " 2>/dev/null"),
              0);
    const std::string bytes = ReadFile(rar);
    bool ok = false;
    const auto items = test::ReadWithLibarchive(bytes, ok, "rar:hdrcharset=CP866");
    ASSERT_TRUE(ok);
    std::map<std::string, test::ArchiveItem> byName;
    for (const test::ArchiveItem& i : items)
        byName[i.name] = i;
    const std::map<std::string, bool> expected = {
        {"empty.dat", false},       {"deep", true},  {"deep/er", true},
        {"deep/er/bin.dat", false}, {"Папка", true}, {"Папка/Заметка.txt", false}};
    ASSERT_EQ(byName.size(), expected.size());
    for (const auto& [name, directory] : expected) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(byName.count(name));
        EXPECT_EQ(byName[name].directory, directory);
    }
    EXPECT_EQ(byName["empty.dat"].data, "");
    EXPECT_TRUE(byName["deep/er/bin.dat"].data == binary);
    EXPECT_EQ(byName["Папка/Заметка.txt"].data, "\xD1\xF2\xF0\xEE\xEA\xE0\r\n\xE5\xF9\xB8\r\n");

    // A flipped byte in the first file header's name breaks its CRC.
    std::string damaged = bytes;
    const std::size_t name = damaged.find("deep");
    ASSERT_NE(name, std::string::npos);
    damaged[name] = 'D';
    test::ReadWithLibarchive(damaged, ok, "rar:hdrcharset=CP866");
    EXPECT_FALSE(ok);
}

TEST(RarWriter, TwoRunsGiveTheSameBytes) {
    test::TempDir dir;
    const fs::path source = kSource / "files" / "blanks";
    for (const char* out : {"a.rar", "b.rar"})
        ASSERT_EQ(RunCommand(Quoted(CARMANUAL_SKINGEN) + " rar " + Quoted(dir.Path() / out) + " " +
                             Quoted(source) + " 2>/dev/null"),
                  0);
    EXPECT_EQ(ReadFile(dir.Path() / "a.rar"), ReadFile(dir.Path() / "b.rar"));
}

// The archive is packed from the staging folder; packing it again gives the
// same bytes, so a rebuild changes interface.dat only when its content does.
TEST(DemoPacking, PackingTheStagingFolderIsReproducible) {
    test::TempDir dir;
    for (const char* out : {"a.dat", "b.dat"})
        ASSERT_EQ(RunCommand(Quoted(CARMANUAL_DATTOOL) + " pack " + Quoted(CARMANUAL_DEMO_STAGING) +
                             " " + Quoted(dir.Path() / out) + " >/dev/null"),
                  0);
    const std::string a = ReadFile(dir.Path() / "a.dat");
    EXPECT_GT(a.size(), 100000u);
    EXPECT_TRUE(a == ReadFile(dir.Path() / "b.dat"));
    EXPECT_TRUE(a == ReadFile(kDemoDir / "interface.dat"));
}

} // namespace
