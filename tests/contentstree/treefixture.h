#pragma once
// A contents tree on a shown host window, with the pages it hands to the
// page panel recorded.

#include "contentsmodel.h"
#include "treelist.h"
#include "treeviews.h"

#include "ansi.h"

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual::test {

inline const std::string kDir = "c:\\run\\";

inline std::string A(std::string_view utf8) {
    return Utf8ToAnsi(utf8);
}

inline RTree Element(std::string file = "tree.txt") {
    RTree element;
    element.Right = 233;  // 200 wide
    element.Bottom = 390; // 300 high
    element.ColorSelect = 0x00 + 0x66 * 256 + 0xCC * 65536;
    element.ColorSelectText = 0xFFFFFF;
    element.File = std::move(file);
    element.Screen = 1;
    return element;
}

class TreeOnScreen {
public:
    explicit TreeOnScreen(std::string_view treeText, int screen = 1, RTree element = Element()) {
        m_host = std::make_unique<QWidget>();
        m_host->resize(200, 300);
        auto* layout = new QVBoxLayout(m_host.get());
        layout->setContentsMargins(0, 0, 0, 0);
        tree = new TTreeViews(m_host.get(), element, TContentsTree::Parse(treeText, kDir), screen);
        layout->addWidget(tree);
        tree->SetOpenPage([this](const std::string& page) {
            opened.push_back(page);
            shown = page;
        });
        tree->SetCurrentDocument([this] { return shown; });
        m_host->show();
        QApplication::processEvents();
    }

    TTreeList* List() const { return tree->List(); }
    QModelIndex Index(std::int32_t item) const { return tree->Model()->IndexOf(item); }

    // A left click on the item's row (the list scrolls it into view first).
    void Click(std::int32_t item) {
        const QModelIndex index = Index(item);
        List()->scrollTo(index);
        QApplication::processEvents();
        const QRect r = List()->visualRect(index);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, r.center());
        QApplication::processEvents();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        List()->setFocus();
        QTest::keyClick(List(), key, modifiers);
        QApplication::processEvents();
    }

    QWidget* Host() const { return m_host.get(); }

    TTreeViews* tree = nullptr;
    std::vector<std::string> opened; // pages handed to the page panel
    std::string shown;               // the page panel's current document

private:
    std::unique_ptr<QWidget> m_host;
};

} // namespace carmanual::test
