#include "contentsmodel.h"

#include "qtansi.h"

namespace carmanual {

TContentsModel::TContentsModel(TContentsTree tree, QObject* parent)
    : QAbstractItemModel(parent), m_tree(std::move(tree)) {}

void TContentsModel::SetTree(TContentsTree tree) {
    beginResetModel();
    m_tree = std::move(tree);
    endResetModel();
}

QModelIndex TContentsModel::IndexOf(std::int32_t item) const {
    if (item < 0 || item >= m_tree.Count())
        return {};
    return createIndex(m_tree.Items()[static_cast<std::size_t>(item)].Row, 0,
                       static_cast<quintptr>(item));
}

std::int32_t TContentsModel::ItemOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<std::int32_t>(index.internalId()) : -1;
}

const std::vector<std::int32_t>* TContentsModel::ChildrenOf(const QModelIndex& parent) const {
    if (!parent.isValid())
        return &m_tree.TopLevel();
    if (parent.model() != this || parent.column() != 0)
        return nullptr;
    const std::int32_t item = ItemOf(parent);
    if (item < 0 || item >= m_tree.Count())
        return nullptr;
    return &m_tree.Items()[static_cast<std::size_t>(item)].Children;
}

QModelIndex TContentsModel::index(int row, int column, const QModelIndex& parent) const {
    const std::vector<std::int32_t>* children = ChildrenOf(parent);
    if (!children || column != 0 || row < 0 || row >= static_cast<int>(children->size()))
        return {};
    return createIndex(row, 0, static_cast<quintptr>((*children)[static_cast<std::size_t>(row)]));
}

QModelIndex TContentsModel::parent(const QModelIndex& child) const {
    const std::int32_t item = ItemOf(child);
    if (item < 0 || item >= m_tree.Count())
        return {};
    return IndexOf(m_tree.Items()[static_cast<std::size_t>(item)].Parent);
}

int TContentsModel::rowCount(const QModelIndex& parent) const {
    const std::vector<std::int32_t>* children = ChildrenOf(parent);
    return children ? static_cast<int>(children->size()) : 0;
}

int TContentsModel::columnCount(const QModelIndex& parent) const {
    return ChildrenOf(parent) ? 1 : 0;
}

bool TContentsModel::hasChildren(const QModelIndex& parent) const {
    const std::vector<std::int32_t>* children = ChildrenOf(parent);
    return children && !children->empty();
}

QVariant TContentsModel::data(const QModelIndex& index, int role) const {
    const std::int32_t item = ItemOf(index);
    if (item < 0 || item >= m_tree.Count())
        return {};
    const RTreeItem& it = m_tree.Items()[static_cast<std::size_t>(item)];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        // Converted on demand: the view asks only for the rows it paints.
        return FromAnsi(it.Caption);
    case FileRole:
        return FromAnsi(it.File);
    case ItemRole:
        return item;
    default:
        return {};
    }
}

Qt::ItemFlags TContentsModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace carmanual
