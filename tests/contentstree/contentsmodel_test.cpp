// The item model over the contents tree: its structure is the tree file's.

#include "treefixture.h"

#include "qtansi.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <random>

namespace carmanual::test {
namespace {

// One item of a tree built first and written out as a tree file after.
struct Node {
    std::int32_t parent = -1;
    std::int32_t level = 0;
    std::string file;
    std::string caption;
};

// The model walked depth-first: every index with its parent's item.
struct Visited {
    std::int32_t item;
    std::int32_t parentItem;
    std::int32_t level;
};

void Walk(const QAbstractItemModel& model, const QModelIndex& parent, std::int32_t level,
          std::vector<Visited>& out) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        EXPECT_TRUE(index.isValid());
        EXPECT_EQ(model.parent(index), parent);
        out.push_back({TContentsModel::ItemOf(index), TContentsModel::ItemOf(parent), level});
        Walk(model, index, level + 1, out);
    }
}

// Model checks report through qWarning in this mode; they are collected here.
std::vector<QString>* g_modelWarnings = nullptr;
void CollectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (g_modelWarnings && type != QtDebugMsg && type != QtInfoMsg)
        g_modelWarnings->push_back(text);
}

std::vector<QString> ModelTesterComplaints(QAbstractItemModel& model) {
    std::vector<QString> warnings;
    g_modelWarnings = &warnings;
    const QtMessageHandler previous = qInstallMessageHandler(CollectWarnings);
    {
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    qInstallMessageHandler(previous);
    g_modelWarnings = nullptr;
    return warnings;
}

TEST(ContentsModel, ExampleFile_GivesTheTreeOfTheFile) {
    // A with children B and D, C under B; E at the top again.
    TContentsModel model(TContentsTree::Parse(
        "a.htm;A\r\n\tb.htm;B\r\n\t\tc.htm;C\r\n\td.htm;D\r\ne.htm;E\r\n", kDir));
    ASSERT_EQ(model.rowCount(), 2);
    const QModelIndex a = model.index(0, 0);
    const QModelIndex e = model.index(1, 0);
    EXPECT_EQ(a.data().toString(), "A");
    EXPECT_EQ(e.data().toString(), "E");
    ASSERT_EQ(model.rowCount(a), 2);
    const QModelIndex b = model.index(0, 0, a);
    const QModelIndex d = model.index(1, 0, a);
    EXPECT_EQ(b.data().toString(), "B");
    EXPECT_EQ(d.data().toString(), "D");
    ASSERT_EQ(model.rowCount(b), 1);
    const QModelIndex c = model.index(0, 0, b);
    EXPECT_EQ(c.data().toString(), "C");
    EXPECT_EQ(c.data(TContentsModel::FileRole).toString(), "c.htm");
    EXPECT_EQ(model.parent(c), b);
    EXPECT_EQ(model.parent(b), a);
    EXPECT_FALSE(model.parent(a).isValid());
    EXPECT_FALSE(model.hasChildren(c));
    EXPECT_FALSE(model.hasChildren(e));
    EXPECT_TRUE(model.hasChildren(a));
    EXPECT_EQ(model.rowCount(c), 0);
    EXPECT_EQ(model.columnCount(), 1);
    // Nothing beyond the rows and the one column.
    EXPECT_FALSE(model.index(2, 0).isValid());
    EXPECT_FALSE(model.index(0, 1).isValid());
    EXPECT_FALSE(model.index(-1, 0).isValid());
}

TEST(ContentsModel, GeneratedTree_ModelIsTheTreeThatWasWritten) {
    // A random tree, written out with TABs: the model must give back the
    // same parents, levels, order and captions.
    std::mt19937 random(20240611);
    std::vector<Node> nodes;
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        Node node;
        if (!nodes.empty()) {
            // Any ancestor of the last node (or the last node itself) may
            // take the next child, or the top level.
            std::vector<std::int32_t> candidates{-1};
            for (std::int32_t n = static_cast<std::int32_t>(nodes.size()) - 1; n >= 0;
                 n = nodes[static_cast<std::size_t>(n)].parent)
                candidates.push_back(n);
            node.parent = candidates[random() % candidates.size()];
            node.level =
                node.parent < 0 ? 0 : nodes[static_cast<std::size_t>(node.parent)].level + 1;
        }
        node.file = random() % 7 == 0 ? "" : "ch\\p" + std::to_string(i) + ".htm";
        node.caption = A("Раздел ") + std::to_string(i);
        text += std::string(static_cast<std::size_t>(node.level), '\t') + node.file + ";" +
                node.caption + (i % 2 ? "\r\n" : "\n");
        nodes.push_back(node);
    }
    TContentsModel model(TContentsTree::Parse(text, kDir));
    std::vector<Visited> visited;
    Walk(model, {}, 0, visited);
    ASSERT_EQ(visited.size(), nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        SCOPED_TRACE(i);
        // Depth-first order of the model is the order of the file.
        ASSERT_EQ(visited[i].item, static_cast<std::int32_t>(i));
        EXPECT_EQ(visited[i].parentItem, nodes[i].parent);
        EXPECT_EQ(visited[i].level, nodes[i].level);
    }
    const QModelIndex some = model.IndexOf(2999);
    EXPECT_EQ(some.data().toString(), FromAnsi(nodes[2999].caption));
    EXPECT_EQ(some.data(TContentsModel::FileRole).toString(),
              QString::fromStdString(nodes[2999].file));
    EXPECT_EQ(some.data(TContentsModel::ItemRole).toInt(), 2999);
    EXPECT_TRUE(ModelTesterComplaints(model).empty());
}

TEST(ContentsModel, RussianCaptions_AreDecodedFromWindows1251) {
    TContentsModel model(TContentsTree::Parse(
        A("brakes.htm;Тормозная система\r\n\tpads.htm;Колодки, ёмкость\r\n"), kDir));
    const QModelIndex brakes = model.index(0, 0);
    EXPECT_EQ(brakes.data().toString(), QString::fromUtf8("Тормозная система"));
    EXPECT_EQ(model.index(0, 0, brakes).data().toString(), QString::fromUtf8("Колодки, ёмкость"));
    EXPECT_EQ(brakes.data(Qt::ToolTipRole).toString(), QString::fromUtf8("Тормозная система"));
}

TEST(ContentsModel, IndexOfAndItemOf_AreInverse) {
    TContentsModel model(
        TContentsTree::Parse("a.htm;A\r\n\tb.htm;B\r\n\tc.htm;C\r\nd.htm;D\r\n", kDir));
    for (std::int32_t item = 0; item < 4; ++item)
        EXPECT_EQ(TContentsModel::ItemOf(model.IndexOf(item)), item);
    EXPECT_EQ(model.IndexOf(2).row(), 1);
    EXPECT_EQ(model.IndexOf(3).row(), 1);
    EXPECT_FALSE(model.IndexOf(-1).isValid());
    EXPECT_FALSE(model.IndexOf(4).isValid());
    EXPECT_EQ(TContentsModel::ItemOf({}), -1);
}

TEST(ContentsModel, EmptyTree_HasNoRows) {
    TContentsModel model;
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.hasChildren());
    EXPECT_FALSE(model.index(0, 0).isValid());
    EXPECT_TRUE(ModelTesterComplaints(model).empty());
}

TEST(ContentsModel, SetTree_ResetsTheModel) {
    TContentsModel model(TContentsTree::Parse("a.htm;A\r\n", kDir));
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.SetTree(TContentsTree::Parse("x.htm;X\r\ny.htm;Y\r\n\tz.htm;Z\r\n", kDir));
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(1, 0).data().toString(), "Y");
    EXPECT_TRUE(ModelTesterComplaints(model).empty());
}

} // namespace
} // namespace carmanual::test
