// Time from THTMLViewer::LoadDocument to the painted page, against a bare
// QTextBrowser that is handed the same page already decoded and the same
// files from memory, in the same run. Two pages: the demo manual's largest
// page (from the demo's interface.dat, with its pictures and style sheet) and
// a generated 2 MB page with a table of 5,000 rows and 200 pictures read from
// an archive, as the program reads them. The generated page is also loaded by
// a viewer with links not underlined and 500 visited pages, against the plain
// load of the same page.
//
// Each side of each page runs in a process of its own (this program started
// again with --child), so that its peak memory (VmHWM) is its own; the parent
// alternates the sides and prints medians, ratios and peaks.

#include "ansi.h"
#include "archive.h"
#include "archivewriter.h"
#include "htmlcharset.h"
#include "htmlviewer.h"
#include "paths.h"
#include "qtansi.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

using namespace carmanual;
namespace fs = std::filesystem;

namespace {

// --- Measuring -------------------------------------------------------------

long StatusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(key) + ":";
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::atol(line.c_str() + prefix.size());
    }
    return 0;
}

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Stopwatch {
    QElapsedTimer wall;
    double cpu0 = ThreadCpuMs();
    Stopwatch() { wall.start(); }
    double WallMs() const { return static_cast<double>(wall.nsecsElapsed()) / 1e6; }
    double CpuMs() const { return ThreadCpuMs() - cpu0; }
};

// --- The pages ---------------------------------------------------------------

// What both sides get: the viewer reads the archive, the bare browser the same
// files from a table in memory.
struct Page {
    std::string label;
    std::string name;                // the manual name THTMLViewer loads
    std::string bytes;               // the page as stored
    std::vector<ArchiveInput> files; // every file, the page included, by path
};

std::string Picture(int i, const char* format) {
    QImage image(64 + i % 17, 48 + i % 11, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((i * 37) % 360, 200, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

// Loaded before the timing starts, so that neither side pays for the font
// database, the image plugins and the widget style in its first load.
const char* const kWarmUpPage =
    "<html><body><h1>\xD0\xE0\xE7\xEC\xE8\xED\xEA\xE0</h1><table border=1>"
    "<tr><td><a href=\"x.htm\">x</a></td><td><img src=\"a.png\"></td>"
    "<td><img src=\"b.jpg\"></td></tr></table><p><b>b</b> <i>i</i></p></body></html>";

void AddWarmUpPage(Page& page) {
    page.files.push_back({"warm\\warm.htm", kWarmUpPage});
    page.files.push_back({"warm\\a.png", Picture(1, "PNG")});
    page.files.push_back({"warm\\b.jpg", Picture(2, "JPG")});
}

Page GeneratedPage() {
    Page page;
    page.name = "c:\\big\\big.htm";
    std::string html = "<html><head><title>\xD2\xE0\xE1\xEB\xE8\xF6\xE0</title></head><body>"
                       "<h1>\xD1\xEF\xE5\xF6\xE8\xF4\xE8\xEA\xE0\xF6\xE8\xE8</h1><table border=1>";
    const std::string word = "\xEA\xEE\xEB\xEE\xE4\xEA\xE0 "; // "колодка "
    for (int row = 0; row < 5000; ++row) {
        html += "<tr><td>" + std::to_string(row) + "</td><td>";
        for (int w = 0; w < 30; ++w)
            html += word;
        html += "</td><td><a href=\"p" + std::to_string(row % 50) + ".htm\">link</a></td><td>";
        if (row % 25 == 0) {
            const int pic = row / 25;
            const char* ext = pic % 2 ? "jpg" : "png";
            const std::string file = "pics\\p" + std::to_string(pic) + "." + ext;
            html += "<img src=\"" + file + "\" alt=\"pic\">";
            page.files.push_back({"big\\" + file, Picture(pic, pic % 2 ? "JPG" : "PNG")});
        }
        html += "</td></tr>\n";
    }
    html += "</table>";
    const std::string paragraph = "<p>" + std::string(200, 'x') + "</p>\n";
    while (html.size() + paragraph.size() + 14 <= 2 * 1024 * 1024)
        html += paragraph;
    html += "</body></html>";
    page.bytes = html;
    page.files.push_back({"big\\big.htm", html});
    page.label = "generated page (" + std::to_string(html.size()) +
                 " bytes: 5,000 table rows, 5,000 links, 200 pictures)";
    return page;
}

// The demo manual's largest page, with every file of the demo's archive (its
// pictures, its style sheet).
Page DemoPage() {
    Page page;
    TResourceArchive archive;
    archive.Open(CARMANUAL_DEMO_ARCHIVE);
    std::size_t largest = 0;
    for (const auto& [name, index] : archive.ListFileEntries()) {
        std::string data;
        if (!archive.ExtractEntry(index, data))
            continue;
        const std::string lower = LowerLatin(name);
        const bool html = lower.size() > 4 && (lower.ends_with(".htm") || lower.ends_with(".html"));
        if (html && data.size() > largest) {
            largest = data.size();
            page.name = "c:\\" + name;
            page.bytes = data;
        }
        page.files.push_back({name, std::move(data)});
    }
    if (largest == 0)
        throw std::runtime_error("no page in " CARMANUAL_DEMO_ARCHIVE);
    page.label = "demo's largest page (" + page.name.substr(3) + ", " +
                 std::to_string(page.bytes.size()) + " bytes, " +
                 std::to_string(page.files.size()) + " files in the archive)";
    return page;
}

// --- The bare browser ---------------------------------------------------------

QString FileKey(QString path) {
    path.replace('\\', '/');
    while (path.startsWith('/'))
        path.remove(0, 1);
    return path.toUpper();
}

// Serves the page's files from memory by the path Qt resolves against the
// page's address, decoding pictures and style sheets as a program must, and
// keeps every answer in the document as THTMLViewer does.
class BareBrowser final : public QTextBrowser {
public:
    QHash<QString, QByteArray> files;
    QUrl base;

    // The viewer's default font (DefFontName, DefFontSize), so that both
    // sides shape the same text in the same font.
    BareBrowser() { document()->setDefaultFont(QFont(QStringLiteral("Arial"), 12)); }

    QVariant loadResource(int type, const QUrl& name) override {
        const QUrl url = name.isRelative() ? base.resolved(name) : name;
        const auto it = files.constFind(FileKey(url.path()));
        if (it == files.constEnd())
            return {};
        QVariant value;
        if (type == QTextDocument::ImageResource) {
            value = QImage::fromData(*it);
        } else {
            const std::string_view text(it->constData(), static_cast<std::size_t>(it->size()));
            value = QString::fromStdString(DecodeToUtf8(text, DetectCharset(text).Charset));
        }
        document()->addResource(type, name, value);
        return value;
    }
};

// --- One side of one page, in its own process ------------------------------------

// Shows the empty widget and lets it paint once, so that the window's backing
// store exists before the clock starts and the first expose is no one's cost.
void Present(QWidget& w) {
    w.resize(800, 600);
    w.show();
    QApplication::processEvents();
    (void)w.grab();
    QApplication::processEvents();
}

enum class Side { Bare, BareBar, Viewer, ViewerMarks };

// The visited pages of the "no underline, visited" case.
constexpr int kVisitedPages = 500;

struct Sample {
    double wall = 0, cpu = 0;         // command to painted page
    double loadWall = 0, loadCpu = 0; // the load call alone
    double hoverWall = 0;             // the mouse onto a link (htOverLinksActive)
};

// Moves the mouse onto the first occurrence of text in the viewer's page and
// returns how long the viewer took to answer.
double HoverMs(THTMLViewer& v, const QString& text) {
    auto* browser = v.findChild<QTextBrowser*>();
    QTextCursor c = v.Document()->find(text);
    if (!browser || c.isNull())
        return 0;
    c.setPosition(c.selectionStart() + 1);
    const QPointF at = QRectF(browser->cursorRect(c)).center() + QPointF(2, 0);
    QWidget* vp = browser->viewport();
    QMouseEvent move(QEvent::MouseMove, at, vp->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    Stopwatch t;
    QApplication::sendEvent(vp, &move);
    return t.WallMs();
}

int RunChild(const std::string& pageName, Side side, int loads) {
    const fs::path temp =
        fs::temp_directory_path() / ("carmanual-html-bench-" + std::to_string(::getpid()));
    fs::create_directories(temp);
    struct RemoveAtEnd {
        fs::path dir;
        ~RemoveAtEnd() {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    } removeAtEnd{temp};
    InitProgramPaths(temp);

    Page page = pageName == "demo" ? DemoPage() : GeneratedPage();
    AddWarmUpPage(page);
    std::printf("label %s\n", page.label.c_str());

    const bool viewer = side == Side::Viewer || side == Side::ViewerMarks;
    // The bare browser: the page decoded to a QString, the files by path.
    QString html;
    QHash<QString, QByteArray> files;
    if (viewer) {
        TheArchive().OpenBytes(BuildArchive(page.files));
        SetArchiveRoot(ArchiveRootFor(ProgramDir()));
    } else {
        for (const ArchiveInput& f : page.files)
            files.insert(FileKey(FromAnsi(f.name)), QByteArray::fromStdString(f.data));
        const THtmlCharsetInfo info = DetectCharset(page.bytes);
        html = QString::fromStdString(
            DecodeToUtf8(std::string_view(page.bytes).substr(info.BomBytes), info.Charset));
    }
    page.files.clear();
    page.files.shrink_to_fit();
    const QUrl pageUrl =
        QUrl::fromLocalFile(QLatin1Char('/') + FromAnsi(page.name.substr(3)).replace('\\', '/'));
    const QString warmHtml = FromAnsi(kWarmUpPage);

    // One load into a new widget; returns its times.
    auto loadOnce = [&](bool warm) {
        Sample s;
        if (viewer) {
            THTMLViewer v;
            if (side == Side::ViewerMarks) {
                // The printing viewer's option, the page panel's over-link
                // colour, and 500 visited pages: 495 elsewhere in the manual
                // and five of the page's fifty link targets, spread over the
                // list, so that 500 links of the table take the visited
                // colour and the other 4,500 are looked up in vain.
                v.SetHtOptions(htNoLinkUnderline | htOverLinksActive);
                v.SetVisitedMaxCount(kVisitedPages);
                for (int i = 0; i < kVisitedPages; ++i) {
                    if (i % 100 == 50)
                        v.AddVisited("c:\\big\\p" + std::to_string(i / 100) + ".htm");
                    else
                        v.AddVisited("c:\\ch" + std::to_string(i % 14) + "\\page" +
                                     std::to_string(i) + ".htm");
                }
            }
            Present(v);
            Stopwatch t;
            v.LoadDocument(warm ? "c:\\warm\\warm.htm" : page.name);
            s.loadWall = t.WallMs();
            s.loadCpu = t.CpuMs();
            QApplication::processEvents();
            const QPixmap shot = v.grab();
            s.wall = t.WallMs();
            s.cpu = t.CpuMs();
            if (side == Side::ViewerMarks && !warm)
                s.hoverWall = HoverMs(v, QStringLiteral("link"));
        } else {
            BareBrowser b;
            b.files = files;
            b.base = warm ? QUrl::fromLocalFile("/WARM/warm.htm") : pageUrl;
            if (side == Side::BareBar)
                b.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            Present(b);
            Stopwatch t;
            b.setHtml(warm ? warmHtml : html);
            s.loadWall = t.WallMs();
            s.loadCpu = t.CpuMs();
            QApplication::processEvents();
            const QPixmap shot = b.grab();
            s.wall = t.WallMs();
            s.cpu = t.CpuMs();
        }
        QApplication::processEvents(); // deferred deletes of the page's widgets
        return s;
    };

    loadOnce(true);
    loadOnce(true);
    const long base = StatusKb("VmHWM");
    for (int i = 0; i < loads; ++i) {
        const Sample s = loadOnce(false);
        std::printf("load %.3f %.3f %.3f %.3f %.3f\n", s.wall, s.cpu, s.loadWall, s.loadCpu,
                    s.hoverWall);
    }
    std::printf("memory %ld %ld\n", base, StatusKb("VmHWM"));
    std::fflush(stdout);
    return 0;
}

// --- The parent: alternates the sides, prints the summary ------------------------

const char* SideName(Side side) {
    switch (side) {
    case Side::Bare:
        return "bare";
    case Side::BareBar:
        return "bare-bar";
    case Side::Viewer:
        return "viewer";
    case Side::ViewerMarks:
        return "viewer-marks";
    }
    return "";
}

struct Results {
    std::string label;
    std::vector<Sample> samples;
    long baseKb = 0; // VmHWM after the warm-up loads
    long peakKb = 0; // VmHWM at the end
};

void RunSide(const std::string& self, const std::string& page, Side side, int loads,
             Results& into) {
    const std::string command = "'" + self + "' --child --page=" + page +
                                " --side=" + SideName(side) + " --loads=" + std::to_string(loads);
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot start " + command);
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        Sample s;
        long base = 0, peak = 0;
        if (text.rfind("label ", 0) == 0) {
            into.label = text.substr(6);
        } else if (std::sscanf(line, "load %lf %lf %lf %lf %lf", &s.wall, &s.cpu, &s.loadWall,
                               &s.loadCpu, &s.hoverWall) == 5) {
            into.samples.push_back(s);
        } else if (std::sscanf(line, "memory %ld %ld", &base, &peak) == 2) {
            into.baseKb = std::max(into.baseKb, base);
            into.peakKb = std::max(into.peakKb, peak);
        }
    }
    if (::pclose(pipe) != 0)
        throw std::runtime_error("failed: " + command);
}

double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

template <class F> double MedianOf(const Results& r, F field) {
    std::vector<double> v;
    for (const Sample& s : r.samples)
        v.push_back(field(s));
    return Median(v);
}

double MaxOf(const Results& r, double Sample::*field) {
    double m = 0;
    for (const Sample& s : r.samples)
        m = std::max(m, s.*field);
    return m;
}

void PrintSide(const char* caption, const Results& r) {
    std::printf("  %-44s cpu %8.1f ms   wall %8.1f ms   (median of %zu)\n", caption,
                MedianOf(r, [](const Sample& s) { return s.cpu; }),
                MedianOf(r, [](const Sample& s) { return s.wall; }), r.samples.size());
}

void PrintMemory(const char* caption, const Results& r) {
    std::printf("  peak memory, %-12s VmHWM %7.1f MB  (%+.1f MB over the warmed-up process)\n",
                caption, static_cast<double>(r.peakKb) / 1024.0,
                static_cast<double>(r.peakKb - r.baseKb) / 1024.0);
}

double CpuRatio(const Results& a, const Results& b) {
    return MedianOf(a, [](const Sample& s) { return s.cpu; }) /
           MedianOf(b, [](const Sample& s) { return s.cpu; });
}

double WallRatio(const Results& a, const Results& b) {
    return MedianOf(a, [](const Sample& s) { return s.wall; }) /
           MedianOf(b, [](const Sample& s) { return s.wall; });
}

// Prints "ratio <what>: X (target <= limit): met   [wall clock: Y]"; false
// when missed.
bool PrintRatio(const char* what, const Results& a, const Results& b, double limit) {
    const double cpu = CpuRatio(a, b);
    const bool met = cpu <= limit;
    std::printf("  ratio %s: %.3f (target <= %.2f): %s   [wall clock: %.3f]\n", what, cpu, limit,
                met ? "met" : "NOT met", WallRatio(a, b));
    return met;
}

void PrintLoadAlone(const Results& r) {
    std::printf("  LoadDocument alone (the window waits): wall %.1f ms median, %.1f ms "
                "longest; cpu %.1f ms\n",
                MedianOf(r, [](const Sample& s) { return s.loadWall; }),
                MaxOf(r, &Sample::loadWall),
                MedianOf(r, [](const Sample& s) { return s.loadCpu; }));
}

// Runs the sides in turn, round after round, the order reversed every other
// round so that none always comes first.
void RunRounds(const std::string& self, const char* page, const std::vector<Side>& sides,
               int rounds, int loads, std::vector<Results>& into) {
    into.resize(sides.size());
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < sides.size(); ++i) {
            const std::size_t k = round % 2 == 0 ? i : sides.size() - 1 - i;
            RunSide(self, page, sides[k], loads, into[k]);
        }
    }
}

int RunParent(const std::string& self, int rounds, int bigLoads, bool extras) {
    std::printf("html_bench: %d rounds; each side in a process of its own, alternating\n", rounds);
    bool allMet = true;

    // The demo page fits the window: the viewer ends with the scroll bar
    // hidden, as a bare browser with the bar as needed shows it.
    if (!fs::exists(CARMANUAL_DEMO_ARCHIVE)) {
        std::printf("demo's largest page: skipped, %s is missing (build the demo_manual "
                    "target)\n",
                    CARMANUAL_DEMO_ARCHIVE);
    } else {
        std::vector<Results> r;
        RunRounds(self, "demo", {Side::Bare, Side::Viewer}, rounds, 10, r);
        const Results& bare = r[0];
        const Results& viewer = r[1];
        std::printf("%s\n", viewer.label.c_str());
        PrintSide("bare QTextBrowser, setHtml -> painted:", bare);
        PrintSide("THTMLViewer, LoadDocument -> painted:", viewer);
        allMet = PrintRatio("viewer/bare", viewer, bare, 1.3) && allMet;
        PrintLoadAlone(viewer);
        PrintMemory("bare:", bare);
        PrintMemory("viewer:", viewer);
        std::fflush(stdout);
    }

    // The generated page is taller than the window: the viewer lays it out
    // with the vertical scroll bar in place, so the bare browser shows its bar
    // too (with the bar as needed, Qt lays the page out twice: see below).
    std::vector<Results> r;
    RunRounds(self, "big", {Side::BareBar, Side::Viewer, Side::ViewerMarks}, rounds, bigLoads, r);
    const Results& bare = r[0];
    const Results& viewer = r[1];
    const Results& marks = r[2];
    std::printf("%s\n", viewer.label.c_str());
    PrintSide("bare QTextBrowser, scroll bar shown:", bare);
    PrintSide("THTMLViewer, LoadDocument -> painted:", viewer);
    allMet = PrintRatio("viewer/bare", viewer, bare, 1.3) && allMet;
    PrintLoadAlone(viewer);
    const std::string visitedCaption =
        "THTMLViewer, no underline, " + std::to_string(kVisitedPages) + " visited:";
    PrintSide(visitedCaption.c_str(), marks);
    allMet = PrintRatio("visited marks/plain load", marks, viewer, 1.1) && allMet;
    std::printf("  of which LoadDocument: wall %.1f ms; then the mouse onto a link "
                "(over-link colour): %.1f ms\n",
                MedianOf(marks, [](const Sample& s) { return s.loadWall; }),
                MedianOf(marks, [](const Sample& s) { return s.hoverWall; }));
    PrintMemory("bare:", bare);
    PrintMemory("viewer:", viewer);
    PrintMemory("visited:", marks);
    std::fflush(stdout);

    if (extras) {
        // Where a bare browser's time goes with the bar left as needed: one
        // process, for information.
        Results asNeeded;
        RunSide(self, "big", Side::Bare, bigLoads, asNeeded);
        std::printf("for information, generated page:\n");
        PrintSide("bare QTextBrowser, scroll bar as needed:", asNeeded);
        std::printf("  ratio viewer/that bare browser: %.3f   [wall clock: %.3f]\n",
                    CpuRatio(viewer, asNeeded), WallRatio(viewer, asNeeded));
    }
    return allMet ? 0 : 2;
}

int IntArg(const std::string& arg, const char* key, int fallback) {
    return arg.rfind(key, 0) == 0 ? std::max(1, std::atoi(arg.c_str() + std::strlen(key)))
                                  : fallback;
}

} // namespace

int main(int argc, char** argv) {
    bool child = false, extras = true;
    std::string page, side;
    int loads = 2, rounds = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--child")
            child = true;
        else if (arg == "--no-extras")
            extras = false;
        else if (arg.rfind("--page=", 0) == 0)
            page = arg.substr(7);
        else if (arg.rfind("--side=", 0) == 0)
            side = arg.substr(7);
        loads = IntArg(arg, "--loads=", loads);
        rounds = IntArg(arg, "--rounds=", rounds);
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    try {
        if (child) {
            QApplication app(argc, argv);
            Side s = Side::Bare;
            for (Side candidate : {Side::Bare, Side::BareBar, Side::Viewer, Side::ViewerMarks}) {
                if (side == SideName(candidate))
                    s = candidate;
            }
            return RunChild(page, s, loads);
        }
        const std::string self = fs::read_symlink("/proc/self/exe").string();
        return RunParent(self, rounds, loads, extras);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "html_bench: %s\n", e.what());
        return 1;
    }
}
