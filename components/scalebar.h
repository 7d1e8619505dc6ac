#pragma once
// The progress bar of the search over all documents, painted on the search
// page of the dialog window from two pictures: the empty bar ("up") and the
// full bar ("down"). Each step fills one more pixel column. The bar lives on
// one screen of the main window; its pictures are held only while that
// screen is current, and it draws only then. Every drawing goes into the
// dialog's page image (its off-screen background) and is repainted from it.

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

namespace carmanual {

class TScaleBar final {
public:
    // The main window gives the pictures (names relative to the program
    // folder), the screen index the bar belongs to and its top-left corner on
    // the dialog page; currentScreen reports the main window's screen.
    TScaleBar(std::string downFile, std::string upFile, std::int32_t barScreen, std::int32_t y,
              std::int32_t x, std::function<int()> currentScreen);
    Q_DISABLE_COPY_MOVE(TScaleBar)

    // The dialog window and its page image, once the dialog exists; both
    // must outlive the bar or be detached with (nullptr, nullptr).
    void SetDialogWindow(QWidget* dialog, QImage* pageImage);

    // The dialog builds its search page: on the bar's screen the pictures are
    // loaded and the bar is drawn empty; on any other screen they are let go.
    void PrepareBar();
    // Empties the bar.
    void ResetBar();
    // Fills the next column; the position advances also where nothing is
    // drawn, so the caller's step count stays right on any screen.
    void StepBar();

    std::int32_t LastScreen() const { return m_lastScreen; }
    const std::string& UpFile() const { return m_upFile; }
    const std::string& DownFile() const { return m_downFile; }
    std::int32_t X() const { return m_x; }
    std::int32_t Y() const { return m_y; }
    // X plus the width of the empty-bar picture, once it was loaded.
    std::int32_t Right() const { return m_right; }
    std::int32_t Bottom() const { return m_bottom; }
    std::int32_t BarScreen() const { return m_barScreen; }
    // The next column to fill.
    std::int32_t Pos() const { return m_pos; }
    // The pictures are held (loaded, or tried to: a missing one is empty).
    bool Prepared() const { return m_prepared; }

private:
    bool OnBarScreen() const;
    // Draws picture (or its columns from sourceX, width wide) at (x, Y) into
    // the page image and repaints that area of the dialog.
    void Draw(const QImage& picture, int x, int sourceX, int width);

    std::int32_t m_lastScreen = -1;
    std::string m_upFile;
    std::string m_downFile;
    QImage m_upPicture;
    QImage m_downPicture;
    bool m_prepared = false;
    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
    std::int32_t m_right = 0;
    std::int32_t m_bottom = 0;
    std::int32_t m_barScreen = 0;
    std::int32_t m_pos = 0;
    std::function<int()> m_currentScreen;
    QPointer<QWidget> m_dialog;
    QImage* m_pageImage = nullptr;
};

} // namespace carmanual
