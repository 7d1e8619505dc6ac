// Time from LoadDocument to the painted page in THTMLViewer, against a bare
// QTextBrowser that is handed the same HTML (already decoded) and the same
// picture bytes from memory, in the same run. Two pages: the demo manual's
// largest page and a generated 2 MB page with 5,000 table rows and 200
// pictures. Pages and pictures reach THTMLViewer through the resource
// archive, as in the program.

#include "archive.h"
#include "archivewriter.h"
#include "htmlcharset.h"
#include "htmlviewer.h"
#include "paths.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QMap>
#include <QPixmap>
#include <QTextBrowser>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace carmanual;
namespace fs = std::filesystem;

namespace {

// Serves pictures from memory by the name written in the page.
class BareBrowser final : public QTextBrowser {
public:
    QMap<QString, QByteArray> files;
    QVariant loadResource(int type, const QUrl& name) override {
        QString key = name.toString();
        key.replace('\\', '/');
        const auto it = files.constFind(key.toLower());
        if (it == files.constEnd())
            return {};
        if (type == QTextDocument::ImageResource)
            return QImage::fromData(*it);
        return QString::fromLatin1(*it);
    }
};

long PeakKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return 0;
}

long RssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return 0;
}

std::string Picture(int i, const char* format) {
    QImage image(64 + i % 17, 48 + i % 11, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((i * 37) % 360, 200, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

struct Page {
    std::string label;
    std::string name;                // manual name for THTMLViewer
    std::string bytes;               // the page as stored
    std::vector<ArchiveInput> files; // names relative to the page's folder
};

Page GeneratedPage() {
    Page page;
    page.label = "generated 2 MB, 5000 rows, 200 pictures";
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
            page.files.push_back({file, Picture(pic, pic % 2 ? "JPG" : "PNG")});
        }
        html += "</td></tr>\n";
    }
    html += "</table></body></html>";
    while (html.size() < 2 * 1024 * 1024)
        html.insert(html.size() - 14, "<p>" + std::string(200, 'x') + "</p>");
    page.bytes = html;
    return page;
}

// The demo manual's largest page with every file of its folder tree.
Page DemoPage(const fs::path& pages) {
    Page page;
    fs::path largest;
    std::uintmax_t size = 0;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(pages, ec)) {
        const std::string ext = e.path().extension().string();
        if (e.is_regular_file() && (ext == ".htm" || ext == ".html") && e.file_size() > size) {
            size = e.file_size();
            largest = e.path();
        }
    }
    if (largest.empty())
        return page;
    auto read = [](const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    page.bytes = read(largest);
    const fs::path folder = largest.parent_path();
    for (const auto& e : fs::recursive_directory_iterator(folder, ec)) {
        if (e.is_regular_file() && e.path() != largest) {
            std::string rel = fs::relative(e.path(), folder).generic_string();
            std::replace(rel.begin(), rel.end(), '/', '\\');
            page.files.push_back({rel, read(e.path())});
        }
    }
    page.label = "demo's largest page (" + largest.filename().string() + ", " +
                 std::to_string(size) + " bytes)";
    page.name = "c:\\demo\\" + largest.filename().string();
    return page;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void Run(const Page& page, int reps) {
    if (page.bytes.empty())
        return;
    const std::string folder = page.name.substr(0, page.name.rfind('\\') + 1);
    const std::string relFolder = folder.substr(3);
    std::vector<ArchiveInput> archive;
    archive.push_back({page.name.substr(3), page.bytes});
    for (const ArchiveInput& f : page.files)
        archive.push_back({relFolder + f.name, f.data});
    TheArchive().OpenBytes(BuildArchive(archive));
    SetArchiveRoot(ArchiveRootFor(ProgramDir()));

    // The bare browser gets the page decoded and the pictures by name.
    const THtmlCharsetInfo info = DetectCharset(page.bytes);
    const std::string utf8 = DecodeToUtf8(page.bytes, info.Charset);
    const QString html = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));

    std::vector<double> ours, bare;
    long oursRss = 0, bareRss = 0;
    for (int i = 0; i < reps; ++i) {
        {
            BareBrowser b;
            for (const ArchiveInput& f : page.files) {
                QString key = QString::fromStdString(f.name).toLower();
                key.replace('\\', '/');
                b.files.insert(key, QByteArray::fromStdString(f.data));
            }
            b.resize(800, 600);
            b.show();
            QApplication::processEvents();
            const long before = RssKb();
            QElapsedTimer t;
            t.start();
            b.setHtml(html);
            const QPixmap shot = b.grab();
            bare.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
            bareRss = std::max(bareRss, RssKb() - before);
            (void)shot;
        }
        {
            THTMLViewer v;
            v.resize(800, 600);
            v.show();
            QApplication::processEvents();
            const long before = RssKb();
            QElapsedTimer t;
            t.start();
            v.LoadDocument(page.name);
            const QPixmap shot = v.grab();
            ours.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
            oursRss = std::max(oursRss, RssKb() - before);
            (void)shot;
        }
        QApplication::processEvents();
    }
    const double o = Median(ours), b = Median(bare);
    std::printf("%s\n", page.label.c_str());
    std::printf("  bare QTextBrowser setHtml -> painted: %8.1f ms (median of %d), RSS +%ld KB\n", b,
                reps, bareRss);
    std::printf("  THTMLViewer LoadDocument -> painted:  %8.1f ms (median of %d), RSS +%ld KB\n", o,
                reps, oursRss);
    std::printf("  ratio viewer/bare: %.3f (target <= 1.3): %s\n", o / b,
                o / b <= 1.3 ? "met" : "NOT met");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int reps = 5;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind("--reps=", 0) == 0)
            reps = std::max(1, std::atoi(argv[i] + 7));
    }
    const fs::path temp = fs::temp_directory_path() / "carmanual-html-bench";
    fs::create_directories(temp);
    InitProgramPaths(temp);
    Run(DemoPage(CARMANUAL_DEMO_PAGES), reps);
    Run(GeneratedPage(), reps);
    std::printf("peak memory of the run (VmHWM): %ld KB\n", PeakKb());
    fs::remove_all(temp);
    return 0;
}
