#include "popupwindow.h"

#include "paths.h"
#include "pictures.h"
#include "windowshape.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QVariantAnimation>
#include <QWheelEvent>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstring>

namespace carmanual {

namespace {

// Margin above the first entry and below the last when the description
// leaves it open.
constexpr int kDefaultMargin = 5;
// A list shown again this soon after its last showing appears at once.
constexpr std::uint32_t kSlidePauseMs = 250;
constexpr int kSlideMs = 100;

std::uint32_t SteadyTicks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

} // namespace

TPopupWindow::TPopupWindow(const RPopupData& description, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                              Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
      m_description(description), m_mainWindow(mainWindow), m_ticks(SteadyTicks) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    // Entries show their tool tips although the list is never the active
    // window.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    if (ShapeNeedsTranslucency()) {
        // Where a mask only limits input, the outside of the shape must stay
        // transparent; it is set before the window exists.
        setAttribute(Qt::WA_TranslucentBackground);
    } else {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    m_loader = [this](const std::string& name) { return Picture(name); };

    if (!description.FnFon.empty())
        m_backPicture = LoadPicture(ProgramDir() + description.FnFon);
    if (!m_backPicture.isNull()) {
        m_size = m_backPicture.size();
        resize(m_size);
    }
    m_posX = description.XFon;
    m_posY = description.YFon;
    m_itemLeft = description.XBtn;
    m_itemTop = description.YBtn;
    m_shaped = description.Vertex.size() > 1;
}

TPopupWindow::~TPopupWindow() = default;

int TPopupWindow::VisibleItemCount() const {
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const auto& item) { return item->Used(); }));
}

TItemsBtn* TPopupWindow::At(int index) {
    if (index < 0 || index >= ItemCount())
        return nullptr;
    return m_items[static_cast<std::size_t>(index)].get();
}

QImage TPopupWindow::Picture(const std::string& manualName) {
    if (manualName.empty())
        return {};
    const auto found = m_pictures.find(manualName);
    if (found != m_pictures.end())
        return found->second;
    QImage picture = LoadPicture(manualName);
    m_pictures.emplace(manualName, picture);
    return picture;
}

void TPopupWindow::SetUpItem(TItemsBtn& item, std::size_t index) {
    item.SetUp(m_description, index);
    item.LoadPictures(m_loader);
}

void TPopupWindow::SetItemCount(int n) {
    const std::size_t count = static_cast<std::size_t>(std::max(0, n));
    m_items.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (!m_items[i])
            m_items[i] = std::make_unique<TItemsBtn>();
        TItemsBtn& item = *m_items[i];
        item.m_command.clear();
        item.m_toolTip.clear();
        // The pictures are loaded afresh without a caption, so the entry has
        // none: a later caption equal to the old one is drawn again.
        item.m_caption.clear();
        item.m_drawnCaption.clear();
        SetUpItem(item, i);
    }
    for (std::size_t i = 0; i < count; ++i)
        SetUsed(static_cast<int>(i), false);
    update();
}

void TPopupWindow::AppendItem(const std::string& caption, const std::string& command) {
    auto item = std::make_unique<TItemsBtn>();
    SetUpItem(*item, m_items.size());
    item->m_command = command;
    item->SetCaption(caption, m_loader);
    m_items.push_back(std::move(item));
    SetUsed(ItemCount() - 1, true);
}

void TPopupWindow::SetCaption(int index, const std::string& caption) {
    if (TItemsBtn* item = At(index)) {
        if (item->SetCaption(caption, m_loader))
            update();
    }
}

void TPopupWindow::SetCommand(int index, const std::string& command) {
    if (TItemsBtn* item = At(index))
        item->m_command = command;
}

void TPopupWindow::SetUsed(int index, bool used) {
    TItemsBtn* item = At(index);
    if (!item || item->m_used == used)
        return;
    item->m_used = used;
    if (!used) {
        item->m_placed = false;
        item->m_hover = false;
        item->m_pressed = false;
    }
    LayoutItems();
}

void TPopupWindow::RemoveItem(int index) {
    if (!At(index))
        return;
    // The following entries move up with their command, pictures, caption and
    // pressed state; being listed and being under the mouse belong to the
    // place, not to the entry.
    std::vector<std::pair<bool, bool>> places;
    places.reserve(m_items.size());
    for (const auto& item : m_items)
        places.emplace_back(item->m_used, item->m_hover);
    const auto at = static_cast<std::size_t>(index);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(at));
    for (std::size_t i = at; i < m_items.size(); ++i) {
        TItemsBtn& item = *m_items[i];
        item.m_used = places[i].first;
        item.m_hover = places[i].second && item.m_used;
        if (!item.m_used)
            item.m_pressed = false;
        item.m_placed = false;
    }
    LayoutItems();
    if (m_items.empty())
        HidePopup();
}

int TPopupWindow::WindowWidth() const {
    if (!m_backPicture.isNull())
        return m_backPicture.width();
    // No background picture: as wide as the widest entry with the margins.
    int widest = 0;
    for (const auto& item : m_items) {
        if (item->m_used)
            widest = std::max(widest, item->m_width);
    }
    if (widest == 0)
        return 0;
    const int side =
        m_itemLeft >= 0 ? m_itemLeft : (m_itemTop == -1 ? kDefaultMargin : std::max(0, m_itemTop));
    return widest + 2 * side;
}

void TPopupWindow::LayoutItems() {
    if (Sliding())
        FinishSlide();
    const int margin = m_itemTop == -1 ? kDefaultMargin : m_itemTop;

    // Entries before the first one that is hidden or not yet placed keep
    // their places; the rest are placed again.
    std::size_t first = 0;
    while (first < m_items.size() && m_items[first]->m_used && m_items[first]->m_placed)
        ++first;
    for (std::size_t i = first; i < m_items.size(); ++i)
        m_items[i]->m_placed = false;

    const int width = WindowWidth();
    int sum = 0;
    const TItemsBtn* last = nullptr;
    for (const auto& entry : m_items) {
        TItemsBtn& item = *entry;
        if (item.m_placed) {
            sum += item.m_height;
            last = &item;
        } else if (item.m_used) {
            item.m_left = m_itemLeft == -1 ? (width - item.m_width) / 2 : m_itemLeft;
            item.m_top = last ? last->m_top + last->m_height : margin;
            item.m_placed = true;
            sum += item.m_height;
            last = &item;
        }
    }

    // A shaped list keeps the size of its picture; without one it is sized
    // like any other list.
    if (!m_shaped || m_backPicture.isNull()) {
        const int height = sum + 2 * margin;
        ResizeBackground(height, margin);
        m_size = QSize(width, height);
        if (isVisible()) {
            m_target.setSize(m_size);
            setGeometry(m_target);
        } else if (!m_size.isEmpty()) {
            resize(m_size);
        }
    }
    update();
}

void TPopupWindow::ResizeBackground(int newHeight, int margin) {
    const int oldHeight = m_backPicture.height();
    if (m_backPicture.isNull() || newHeight <= 0 || newHeight == oldHeight)
        return;
    // The bottom strip of margin rows moves to the new bottom; rows freed in
    // between repeat the old middle row, rows no longer needed are cut.
    const int strip = std::clamp(margin, 0, std::min(oldHeight, newHeight));
    QImage resized(m_backPicture.width(), newHeight, m_backPicture.format());
    const auto rowBytes =
        static_cast<std::size_t>(std::min(resized.bytesPerLine(), m_backPicture.bytesPerLine()));
    const auto copyRow = [&](int to, int from) {
        std::memcpy(resized.scanLine(to), m_backPicture.constScanLine(from), rowBytes);
    };
    const int top = std::min(oldHeight, newHeight) - strip;
    for (int y = 0; y < top; ++y)
        copyRow(y, y);
    for (int y = top; y < newHeight - strip; ++y)
        copyRow(y, oldHeight / 2);
    for (int k = 0; k < strip; ++k)
        copyRow(newHeight - strip + k, oldHeight - strip + k);
    m_backPicture = std::move(resized);
}

std::optional<TWindowRegion> TPopupWindow::VertexPolygon(const TDynamicStringArray& vertex) {
    try {
        return RegionFromPoints(vertex);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

void TPopupWindow::SetTickSource(TTickSource source) {
    m_ticks = source ? std::move(source) : TTickSource(SteadyTicks);
}

void TPopupWindow::ShowAt(QPoint point, int screen) {
    const std::uint32_t started = m_ticks();
    const bool showRecently = started - m_lastShown <= kSlidePauseMs;
    struct TStamp {
        TPopupWindow* window;
        ~TStamp() { window->m_lastShown = window->m_ticks(); }
    } stamp{this};

    FinishSlide();
    if (m_posX != -1 || m_posY != -1) {
        const QPoint client(m_posX, m_posY);
        const QPoint global = m_mainWindow ? m_mainWindow->mapToGlobal(client) : client;
        if (m_posX != -1)
            point.setX(global.x());
        if (m_posY != -1)
            point.setY(global.y());
    }

    // The first screen's lists take their shape; a damaged shape list keeps
    // the list hidden rather than showing it in a wrong shape.
    if (screen == 0) {
        const std::optional<TWindowRegion> polygon = VertexPolygon(m_description.Vertex);
        if (!polygon)
            return;
        m_shaped = polygon->points.size() > 1;
        m_region = PolygonRegion(*polygon);
        if (m_region.isEmpty())
            clearMask(); // fewer than three points shape nothing
        else
            ApplyWindowShape(this, m_region);
    }

    const QSize size = m_size;
    if (size.isEmpty())
        return; // nothing to show: no background and no entry pictures

    // Keep the list on the screen it opens on.
    QScreen* desktop = QGuiApplication::screenAt(point);
    if (!desktop && m_mainWindow)
        desktop = m_mainWindow->screen();
    if (!desktop)
        desktop = QGuiApplication::primaryScreen();
    if (desktop) {
        const QRect area = desktop->geometry();
        if (point.y() + size.height() > area.y() + area.height())
            point.setY(area.y() + area.height() - size.height());
        if (point.x() + size.width() > area.x() + area.width())
            point.setX(area.x() + area.width() - size.width());
        point.setX(std::max(point.x(), area.x()));
        point.setY(std::max(point.y(), area.y()));
    }
    m_target = QRect(point, size);
    setGeometry(m_target);

    if (screen == 1 && m_slideEnabled && !showRecently) {
        // Slides down from its top edge unless the pointer is below it.
        StartSlide(QCursor::pos().y() <= m_target.top());
    }
    show();
    update();
}

void TPopupWindow::HidePopup() {
    if (m_slide)
        m_slide->stop();
    m_paintOffsetY = 0;
    for (const auto& item : m_items) {
        item->m_hover = false;
        item->m_pressed = false;
    }
    m_deleteMode = false;
    hide();
}

bool TPopupWindow::Sliding() const {
    return m_slide && m_slide->state() == QAbstractAnimation::Running;
}

void TPopupWindow::StartSlide(bool downwards) {
    if (!m_slide) {
        m_slide = new QVariantAnimation(this);
        m_slide->setDuration(kSlideMs);
        connect(m_slide, &QVariantAnimation::valueChanged, this,
                [this](const QVariant& value) { SlideStep(value.toInt()); });
        connect(m_slide, &QVariantAnimation::finished, this, [this] { FinishSlide(); });
    }
    m_slideDownwards = downwards;
    m_slide->stop();
    m_slide->setStartValue(0);
    m_slide->setEndValue(m_target.height());
    SlideStep(0);
    m_slide->start();
}

void TPopupWindow::SlideStep(int visibleHeight) {
    const int full = m_target.height();
    const int visible = std::clamp(visibleHeight, 1, std::max(1, full));
    if (m_slideDownwards) {
        // The list's bottom appears first under its top edge and moves down.
        setGeometry(m_target.x(), m_target.y(), m_target.width(), visible);
        m_paintOffsetY = visible - full;
    } else {
        // The list rises from its bottom edge, its top first.
        setGeometry(m_target.x(), m_target.bottom() + 1 - visible, m_target.width(), visible);
        m_paintOffsetY = 0;
    }
    if (!m_region.isEmpty())
        setMask(m_region.translated(0, m_paintOffsetY));
    update();
}

void TPopupWindow::FinishSlide() {
    const bool wasSliding = Sliding();
    if (m_slide)
        m_slide->stop();
    if (!wasSliding && m_paintOffsetY == 0)
        return;
    m_paintOffsetY = 0;
    if (m_target.isValid())
        setGeometry(m_target);
    if (!m_region.isEmpty())
        setMask(m_region);
    update();
}

QPoint TPopupWindow::ContentPoint(QPoint windowPoint) const {
    return windowPoint - QPoint(0, m_paintOffsetY);
}

bool TPopupWindow::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint point = ContentPoint(help->pos());
        for (const auto& item : m_items) {
            if (item->m_used && item->m_placed && item->Rect().contains(point) &&
                !item->m_toolTip.isEmpty()) {
                QToolTip::showText(help->globalPos(), item->m_toolTip, this,
                                   item->Rect().translated(0, m_paintOffsetY));
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    // The list never takes part in activation or focus, nor in the mouse
    // entering and leaving: an entry stays lit until the pointer moves over
    // another part of the list.
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        return true;
    default:
        return QWidget::event(event);
    }
}

void TPopupWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (testAttribute(Qt::WA_TranslucentBackground) && !m_region.isEmpty())
        painter.setClipRegion(m_region.translated(0, m_paintOffsetY));
    painter.translate(0, m_paintOffsetY);
    if (!m_backPicture.isNull())
        painter.drawImage(0, 0, m_backPicture);
    else
        painter.fillRect(QRect(QPoint(0, 0), m_size), palette().color(QPalette::Window));
    for (const auto& item : m_items) {
        if (!item->m_used || !item->m_placed)
            continue;
        const QImage& picture = item->CurrentPicture();
        if (!picture.isNull())
            painter.drawImage(item->Rect(), picture);
    }
}

void TPopupWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = ContentPoint(event->position().toPoint());
    bool changed = false;
    for (const auto& item : m_items) {
        if (!item->m_used)
            continue;
        const bool inside = item->Contains(point);
        if (inside && !item->m_hover) {
            item->m_hover = true;
            changed = true;
        } else if (!inside && item->m_hover) {
            item->m_hover = false;
            item->m_pressed = false;
            changed = true;
        }
    }
    if (changed)
        update();
}

void TPopupWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint point = ContentPoint(event->position().toPoint());
    for (int i = 0; i < ItemCount(); ++i) {
        TItemsBtn& item = *m_items[static_cast<std::size_t>(i)];
        if (!item.m_used || !item.Contains(point) || item.m_pressed)
            continue;
        item.m_pressed = true;
        update();
        // The handler may remove the entry or retire the whole list: it works
        // on copies.
        const std::string command = item.m_command;
        if (const auto handler = OnItemClicked)
            handler(command, i);
        return;
    }
}

void TPopupWindow::wheelEvent(QWheelEvent* event) {
    event->accept(); // the wheel means nothing to a list
}

} // namespace carmanual
