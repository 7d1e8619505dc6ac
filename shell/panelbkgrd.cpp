#include "panelbkgrd.h"

#include "captions.h"

#include <QHBoxLayout>
#include <QPainter>

namespace carmanual {

TPanelBkgrd::TPanelBkgrd(QWidget* window, TColor splitterColor)
    : QWidget(window), m_color(ColorFromTColor(splitterColor)) {
    setGeometry(kRect);
    setAttribute(Qt::WA_OpaquePaintEvent);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(4);
    m_splitter->setStyleSheet(
        QStringLiteral("QSplitter::handle { background-color: %1; }").arg(m_color.name()));
    layout->addWidget(m_splitter);
    hide();
}

void TPanelBkgrd::SetTreePane(QWidget* tree) {
    if (!tree)
        return;
    m_splitter->insertWidget(0, tree);
    m_splitter->setStretchFactor(0, 0);
}

void TPanelBkgrd::SetClientPane(QWidget* client) {
    if (!client)
        return;
    m_splitter->addWidget(client);
    m_splitter->setStretchFactor(m_splitter->indexOf(client), 1);
}

void TPanelBkgrd::MoveSplitter(int width) {
    QList<int> sizes = m_splitter->sizes();
    if (sizes.size() < 2)
        return;
    const int total = m_splitter->width() - m_splitter->handleWidth() * (sizes.size() - 1);
    sizes[0] = width;
    sizes[sizes.size() - 1] = std::max(0, total - width);
    m_splitter->setSizes(sizes);
}

void TPanelBkgrd::paintEvent(QPaintEvent*) {
    // Only what the panes leave uncovered is painted: white, as the panel is.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
}

} // namespace carmanual
