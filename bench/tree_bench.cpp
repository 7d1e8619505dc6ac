// The contents tree widget against a plain Qt tree model.
//
// load_select/tree reads a generated contents file of 20,000 items from disk
// into TTreeViews and selects an item by its page path, as the page panel's
// history event does; load_select/standard inserts the same items, already
// read, into a QStandardItemModel shown by a QTreeView and selects the item
// of the same page there. follow/* then step the selection from page to page
// on trees of 2,000 to 200,000 items: the tree's cost per navigation must not
// grow with the tree, where a search of the standard model does.

#include "contentsmodel.h"
#include "treelist.h"
#include "treeviews.h"

#include "ansi.h"
#include "archive.h"
#include "paths.h"
#include "qtansi.h"

#include <QApplication>
#include <QStandardItemModel>
#include <QTreeView>

#include "ratioreporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace carmanual;
using carmanual::bench::RatioReporter;
using carmanual::bench::Times;

namespace {

constexpr double kTarget = 1.5;
const char* const kTreeLoad = "load_select/tree";
const char* const kStandardLoad = "load_select/standard";

// The shape of a generated contents: chapters of sections of pages, Russian
// captions in Windows-1251, CR LF lines. 50 chapters of 19 sections of 20
// pages make 20,000 items.
struct Shape {
    int chapters = 50;
    int sections = 19;
    int pages = 20;
    int Items() const { return chapters * (1 + sections * (1 + pages)); }
};

std::string PagePath(int chapter, int section, int page) {
    char name[64];
    std::snprintf(name, sizeof name, "ch%02d\\s%02d\\p%03d.htm", chapter, section, page);
    return name;
}

std::string ContentsText(const Shape& shape) {
    static const char* const kWords[] = {"Снятие", "Установка", "Проверка", "Регулировка",
                                         "Замена", "Разборка",  "Сборка",   "Очистка"};
    static const char* const kParts[] = {"головки блока",     "масляного насоса", "ремня привода",
                                         "тормозных колодок", "рулевой тяги",     "генератора",
                                         "стартера",          "радиатора"};
    std::string utf8;
    utf8.reserve(static_cast<std::size_t>(shape.Items()) * 60);
    for (int c = 0; c < shape.chapters; ++c) {
        utf8 += "ch" + std::to_string(c) + "\\index.htm;Глава " + std::to_string(c + 1) + "\r\n";
        for (int s = 0; s < shape.sections; ++s) {
            utf8 += "\tch" + std::to_string(c) + "\\s" + std::to_string(s) + ".htm;Раздел " +
                    std::to_string(c + 1) + "." + std::to_string(s + 1) + "\r\n";
            for (int p = 0; p < shape.pages; ++p) {
                utf8 += "\t\t" + PagePath(c, s, p) + ";" + kWords[(c + p) % 8] + " " +
                        kParts[(s + p) % 8] + " (" + std::to_string(p + 1) + ")\r\n";
            }
        }
    }
    return Utf8ToAnsi(utf8);
}

// One generated manual folder per shape, written once.
struct Contents {
    fs::path folder;
    std::string file = "contents.txt";
    Shape shape;
    TContentsTree parsed;           // for the standard model's input
    std::vector<std::string> pages; // full page names to follow, in random order
};

Contents& Make(const Shape& shape) {
    static std::map<int, std::unique_ptr<Contents>> made;
    auto& slot = made[shape.Items()];
    if (slot)
        return *slot;
    slot = std::make_unique<Contents>();
    Contents& c = *slot;
    c.shape = shape;
    c.folder = fs::temp_directory_path() / ("carmanual-tree-bench-" + std::to_string(getpid())) /
               std::to_string(shape.Items());
    fs::create_directories(c.folder);
    std::ofstream(c.folder / c.file, std::ios::binary) << ContentsText(shape);
    c.parsed = TContentsTree::Parse(ContentsText(shape), "c:\\");
    std::mt19937 random(7);
    for (int i = 0; i < 1024; ++i) {
        const int chapter = static_cast<int>(random() % shape.chapters);
        const int section = static_cast<int>(random() % shape.sections);
        const int page = static_cast<int>(random() % shape.pages);
        c.pages.push_back("c:\\" + PagePath(chapter, section, page));
    }
    return c;
}

// The manual root is the generated folder: the tree file is read from disk
// (no archive), as a manual without interface.dat has it.
void UseFolder(const Contents& c) {
    InitProgramPaths(c.folder);
    TheArchive().Close();
}

RTree Element(const Contents& c) {
    RTree element;
    element.Right = 253;
    element.Bottom = 511;
    element.ColorSelect = 0x7a4a1f;
    element.ColorSelectText = 0xffffff;
    element.File = c.file;
    element.Screen = 1;
    return element;
}

// The host window both sides are shown in, at the tree's size.
QWidget& Host() {
    static QWidget* host = [] {
        auto* w = new QWidget;
        w->resize(220, 421);
        w->show();
        return w;
    }();
    return *host;
}

std::string TargetPage(const Contents& c) {
    // Deep in the last chapter: its chapter and section must open.
    return "c:\\" + PagePath(c.shape.chapters - 1, c.shape.sections / 2, c.shape.pages - 1);
}

void LoadSelectTree(benchmark::State& state) {
    Contents& c = Make(Shape{});
    UseFolder(c);
    const RTree element = Element(c);
    const std::string target = TargetPage(c);
    for (auto _ : state) {
        auto tree = std::make_unique<TTreeViews>(&Host(), element, ProgramDir(), 1);
        tree->resize(Host().size());
        tree->SyncWithPage(target);
        benchmark::DoNotOptimize(tree->SelectedItem());
        if (tree->SelectedItem() < 0 || tree->Tree().Count() != c.shape.Items())
            state.SkipWithError("the tree did not load or select");
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * c.shape.Items());
}

// The same items into a QStandardItemModel: caption and file per item, each
// under its parent; then the item of the page is found by a search of the
// model and selected in a tree view.
void LoadSelectStandard(benchmark::State& state) {
    Contents& c = Make(Shape{});
    const std::vector<RTreeItem>& items = c.parsed.Items();
    const QString target = FromAnsi(TargetPage(c).substr(3)); // as written in the file
    for (auto _ : state) {
        auto model = std::make_unique<QStandardItemModel>();
        auto view = std::make_unique<QTreeView>(&Host());
        view->setHeaderHidden(true);
        view->setUniformRowHeights(true);
        view->resize(Host().size());
        std::vector<QStandardItem*> made(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            auto* item = new QStandardItem(FromAnsi(items[i].Caption));
            item->setData(FromAnsi(items[i].File), Qt::UserRole);
            item->setEditable(false);
            QStandardItem* parent = items[i].Parent < 0
                                        ? model->invisibleRootItem()
                                        : made[static_cast<std::size_t>(items[i].Parent)];
            parent->appendRow(item);
            made[i] = item;
        }
        view->setModel(model.get());
        const QModelIndexList found =
            model->match(model->index(0, 0), Qt::UserRole, target, 1,
                         Qt::MatchFixedString | Qt::MatchRecursive | Qt::MatchWrap);
        if (found.isEmpty()) {
            state.SkipWithError("the standard model did not find the page");
            break;
        }
        view->selectionModel()->setCurrentIndex(found.first(), QItemSelectionModel::ClearAndSelect);
        view->scrollTo(found.first());
        state.PauseTiming();
        view.reset();
        model.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(items.size()));
}

Shape ShapeOf(std::int64_t items) {
    // 2,000, 20,000 and 200,000 items: the chapters grow, the sections stay.
    Shape shape;
    shape.chapters = static_cast<int>(items / 400);
    return shape;
}

// One navigation per iteration: the page panel shows another page and the
// tree follows it.
void FollowTree(benchmark::State& state) {
    Contents& c = Make(ShapeOf(state.range(0)));
    UseFolder(c);
    TTreeViews tree(&Host(), Element(c), ProgramDir(), 1);
    tree.resize(Host().size());
    std::size_t next = 0;
    for (auto _ : state) {
        tree.SyncWithPage(c.pages[next++ % c.pages.size()]);
        benchmark::DoNotOptimize(tree.SelectedItem());
    }
    state.counters["items"] = c.shape.Items();
}

// The same with the page found by a search of a QStandardItemModel.
void FollowStandard(benchmark::State& state) {
    Contents& c = Make(ShapeOf(state.range(0)));
    const std::vector<RTreeItem>& items = c.parsed.Items();
    QStandardItemModel model;
    std::vector<QStandardItem*> made(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* item = new QStandardItem(FromAnsi(items[i].Caption));
        item->setData(FromAnsi(items[i].File), Qt::UserRole);
        (items[i].Parent < 0 ? model.invisibleRootItem()
                             : made[static_cast<std::size_t>(items[i].Parent)])
            ->appendRow(item);
        made[i] = item;
    }
    QTreeView view(&Host());
    view.setHeaderHidden(true);
    view.setUniformRowHeights(true);
    view.setModel(&model);
    view.resize(Host().size());
    std::vector<QString> pages;
    for (const std::string& page : c.pages)
        pages.push_back(FromAnsi(page.substr(3)));
    std::size_t next = 0;
    for (auto _ : state) {
        const QModelIndexList found =
            model.match(model.index(0, 0), Qt::UserRole, pages[next++ % pages.size()], 1,
                        Qt::MatchFixedString | Qt::MatchRecursive | Qt::MatchWrap);
        if (!found.isEmpty()) {
            view.selectionModel()->setCurrentIndex(found.first(),
                                                   QItemSelectionModel::ClearAndSelect);
            view.scrollTo(found.first());
        }
    }
    state.counters["items"] = c.shape.Items();
}

} // namespace

int main(int argc, char** argv) {
    // Widgets without a display: the offscreen platform unless one is named.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    std::vector<char*> args{argv[0]};
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    static char aggregates[] = "--benchmark_display_aggregates_only=true";
    args.insert(args.end(), {repetitions, interleave, aggregates});
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;
#ifndef NDEBUG
    std::printf("*** built without NDEBUG (a Debug build?): the ratios say little; configure "
                "with -DCMAKE_BUILD_TYPE=Release\n");
#endif

    benchmark::RegisterBenchmark(kTreeLoad, LoadSelectTree)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(kStandardLoad, LoadSelectStandard)->Unit(benchmark::kMillisecond);
    for (const std::int64_t items : {2000, 20000, 200000}) {
        benchmark::RegisterBenchmark("follow/tree", FollowTree)
            ->Arg(items)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("follow/standard", FollowStandard)
            ->Arg(items)
            ->Unit(benchmark::kMicrosecond);
    }

    RatioReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                 : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n");
    const auto tree = reporter.Median(kTreeLoad);
    const auto standard = reporter.Median(kStandardLoad);
    if (tree && standard && standard->cpu > 0 && standard->real > 0) {
        const double ratio = tree->cpu / standard->cpu;
        std::printf("ratio tree/standard (load 20,000 items and select by page): %.3f "
                    "(target <= %.1f): %s   [wall clock: %.3f]\n",
                    ratio, kTarget, ratio <= kTarget ? "met" : "NOT met",
                    tree->real / standard->real);
    } else {
        std::printf("ratio tree/standard: not measured (target <= %.1f)\n", kTarget);
    }
    const auto small = reporter.Median("follow/tree/2000");
    const auto large = reporter.Median("follow/tree/200000");
    if (small && large && small->cpu > 0)
        std::printf("following a page: %.2f us at 2,000 items, %.2f us at 200,000 items "
                    "(growth %.2fx for 100x the items)\n",
                    small->cpu * 1e6, large->cpu * 1e6, large->cpu / small->cpu);

    std::error_code ec;
    fs::remove_all(fs::temp_directory_path() / ("carmanual-tree-bench-" + std::to_string(getpid())),
                   ec);
    return 0;
}
