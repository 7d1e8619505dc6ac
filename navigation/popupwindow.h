#pragma once
// A popup list of the skinned interface (history, favourites, the page's
// context menu, the skin's context menus): a borderless window painted from
// a background picture with one entry per list item, each drawn from its
// own pictures (see TItemsBtn). Unshaped lists grow and shrink with their
// entries by stretching the middle of the background; a list on the first
// screen may take the polygon shape of its description.
//
// The window never takes activation or focus and grabs nothing: the main
// window keeps its keys and hovers while a list is open, and the controller
// (TControlPopupWindow) closes the lists on clicks elsewhere. It is a
// Qt::ToolTip window because that is the one window kind that is both
// placed where asked and never activated everywhere: override-redirect on
// X11, a grab-free xdg_popup of its parent on Wayland (a Qt::Tool window
// cannot place itself there). Qt::Popup would grab mouse and keyboard, eat
// the click that closes it and take Esc from the main window.

#include "itemsbtn.h"
#include "panelelements.h"
#include "syntax.h"

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QVariantAnimation;

namespace carmanual {

class TPopupWindow final : public QWidget {
    Q_OBJECT

public:
    // Milliseconds of a monotonic clock; wraps around like a tick count.
    using TTickSource = std::function<std::uint32_t()>;

    // The list of a description: background picture (ProgramDir + fnfon; the
    // window takes its size, a missing picture leaves the size alone), fixed
    // position, entry margins and shape flag. No entries yet. mainWindow is
    // the window whose client coordinates xfon and yfon are given in; the
    // list stays above it.
    explicit TPopupWindow(const RPopupData& description, QWidget* mainWindow = nullptr);
    ~TPopupWindow() override;
    Q_DISABLE_COPY_MOVE(TPopupWindow)

    const RPopupData& Description() const { return m_description; }
    TPopupType Type() const { return m_description.Type; }
    // Index of the description in the current screen's list.
    std::int32_t DescIndex() const { return m_descIndex; }
    void SetDescIndex(std::int32_t index) { m_descIndex = index; }

    const QImage& BackPicture() const { return m_backPicture; }
    std::int32_t PosX() const { return m_posX; }
    std::int32_t PosY() const { return m_posY; }
    std::int32_t ItemLeft() const { return m_itemLeft; }
    std::int32_t ItemTop() const { return m_itemTop; }
    bool Shaped() const { return m_shaped; }
    // The window shape set when last shown on the first screen; empty: none.
    const QRegion& Region() const { return m_region; }
    // A click removes the entry instead of running it (favourites).
    bool DeleteMode() const { return m_deleteMode; }
    void SetDeleteMode(bool value) { m_deleteMode = value; }
    // The tick count when ShowAt last ended.
    std::uint32_t LastShown() const { return m_lastShown; }

    int ItemCount() const { return static_cast<int>(m_items.size()); }
    const TItemsBtn& Item(int index) const { return *m_items.at(static_cast<std::size_t>(index)); }
    // Number of used entries.
    int VisibleItemCount() const;

    // Keeps n entries (freeing the rest or adding new ones) and resets each to
    // the description's look with no caption, no command, not used.
    void SetItemCount(int n);
    // Adds a used entry at the end.
    void AppendItem(const std::string& caption, const std::string& command);
    // Draws a caption into an entry's pictures; an unknown index does nothing.
    void SetCaption(int index, const std::string& caption);
    void SetCommand(int index, const std::string& command);
    // Includes or excludes an entry and lays the list out again.
    void SetUsed(int index, bool used);
    // Removes an entry, closing the gap; the list hides when none is left.
    void RemoveItem(int index);
    // Places the used entries one below the other and sizes the window.
    void LayoutItems();

    // Shows the list at a screen point without activating it: at the fixed
    // position where the description gives one, kept on the screen, slid in
    // on the document screen (index 1), shaped on the first screen (index
    // 0). A shape list that is not pairs of integers leaves it hidden.
    void ShowAt(QPoint screenPoint, int screen);
    void HidePopup();

    // Runs when an entry is clicked (any button), with its command and index.
    // It may hide the list, remove the entry or free the list.
    std::function<void(const std::string& command, int index)> OnItemClicked;

    // Where the desktop offers no window animation the lists appear at once.
    void SetSlideEnabled(bool enabled) { m_slideEnabled = enabled; }
    bool SlideEnabled() const { return m_slideEnabled; }
    bool Sliding() const;
    // Ends a running slide at its final geometry.
    void FinishSlide();
    // The size of the whole list (the window's size once shown).
    QSize FullSize() const { return m_size; }
    // The geometry of the shown list; a slide ends there.
    QRect TargetGeometry() const { return m_target; }
    void SetTickSource(TTickSource source);

    // The polygon of a description's vertex list, each item "x,y" (two
    // decimal integers split at the first comma); nothing when an item is
    // not.
    static std::optional<TWindowRegion> VertexPolygon(const TDynamicStringArray& vertex);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    TItemsBtn* At(int index);
    QImage Picture(const std::string& manualName);
    void SetUpItem(TItemsBtn& item, std::size_t index);
    int WindowWidth() const;
    void ResizeBackground(int newHeight, int margin);
    void StartSlide(bool downwards);
    void SlideStep(int visibleHeight);
    QPoint ContentPoint(QPoint windowPoint) const;

    RPopupData m_description;
    QPointer<QWidget> m_mainWindow;
    std::int32_t m_descIndex = 0;
    std::uint32_t m_lastShown = 0;
    bool m_shaped = false;
    QRegion m_region;
    QImage m_backPicture;
    std::int32_t m_posX = -1, m_posY = -1;
    std::int32_t m_itemLeft = -1, m_itemTop = -1;
    std::vector<std::unique_ptr<TItemsBtn>> m_items;
    bool m_deleteMode = false;

    QSize m_size; // the size of the whole list, also while a slide shows part of it
    QRect m_target;
    bool m_slideEnabled = true;
    bool m_slideDownwards = true;
    int m_paintOffsetY = 0; // content shift while sliding
    QVariantAnimation* m_slide = nullptr;
    TTickSource m_ticks;
    // Decoded pictures by name: entries reload theirs at every caption.
    std::map<std::string, QImage> m_pictures;
    TItemsBtn::TPictureLoader m_loader;
};

} // namespace carmanual
