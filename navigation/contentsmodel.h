#pragma once
// The items of a contents tree as a Qt item model. It reads the tree's own
// tables (children, row, parent) and keeps no copy of the items: a model
// index carries the item's number in file order as its internal id, so
// finding the index of a page is the tree's constant-time lookup plus one
// createIndex.

#include "contentstree.h"

#include <QAbstractItemModel>

#include <cstdint>

namespace carmanual {

class TContentsModel final : public QAbstractItemModel {
    Q_OBJECT

public:
    enum TRole {
        FileRole = Qt::UserRole + 1, // the item's page as written in the tree file (QString)
        ItemRole,                    // the item's number in file order (int)
    };

    explicit TContentsModel(TContentsTree tree = TContentsTree(), QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TContentsModel)

    const TContentsTree& Tree() const { return m_tree; }
    // Replaces the items (a model reset).
    void SetTree(TContentsTree tree);
    // The pending page lives in the tree; it changes no item.
    void SetPendingPage(std::string page) { m_tree.SetPendingPage(std::move(page)); }

    // The index of an item; invalid for -1 or a number outside the tree.
    QModelIndex IndexOf(std::int32_t item) const;
    // The item of an index of this model; -1 for an invalid index.
    static std::int32_t ItemOf(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const std::vector<std::int32_t>* ChildrenOf(const QModelIndex& parent) const;

    TContentsTree m_tree;
};

} // namespace carmanual
