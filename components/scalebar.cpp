#include "scalebar.h"

#include "paths.h"
#include "pictures.h"

#include <QPainter>

namespace carmanual {

TScaleBar::TScaleBar(std::string downFile, std::string upFile, std::int32_t barScreen,
                     std::int32_t y, std::int32_t x, std::function<int()> currentScreen)
    : m_upFile(std::move(upFile)), m_downFile(std::move(downFile)), m_x(x), m_y(y), m_right(x),
      m_bottom(y), m_barScreen(barScreen), m_pos(x), m_currentScreen(std::move(currentScreen)) {}

void TScaleBar::SetDialogWindow(QWidget* dialog, QImage* pageImage) {
    m_dialog = dialog;
    m_pageImage = pageImage;
}

bool TScaleBar::OnBarScreen() const {
    return m_currentScreen && m_currentScreen() == m_barScreen;
}

void TScaleBar::Draw(const QImage& picture, int x, int sourceX, int width) {
    if (picture.isNull() || !m_pageImage || m_pageImage->isNull() || sourceX < 0)
        return;
    width = std::min(width, picture.width() - sourceX);
    if (width <= 0)
        return;
    const QRect target(x, m_y, width, picture.height());
    {
        QPainter painter(m_pageImage);
        painter.drawImage(target.topLeft(), picture, QRect(sourceX, 0, width, picture.height()));
    }
    if (m_dialog)
        m_dialog->update(target);
}

void TScaleBar::PrepareBar() {
    const int screen = m_currentScreen ? m_currentScreen() : -1;
    if (screen == m_barScreen) {
        m_upPicture = LoadPicture(ProgramDir() + m_upFile);
        m_downPicture = LoadPicture(ProgramDir() + m_downFile);
        m_prepared = true;
        m_right = m_upPicture.width() + m_x;
        m_bottom = m_upPicture.height() + m_y;
        if (m_pageImage) {
            // The filled part, then the rest of the empty bar.
            Draw(m_downPicture, m_x, 0, m_pos - m_x);
            Draw(m_upPicture, m_pos, m_pos - m_x, m_right - m_pos);
        }
        ResetBar();
    } else {
        m_upPicture = QImage();
        m_downPicture = QImage();
        m_prepared = false;
    }
    m_lastScreen = screen;
}

void TScaleBar::ResetBar() {
    m_pos = m_x;
    if (OnBarScreen())
        Draw(m_upPicture, m_pos, 0, m_upPicture.width());
}

void TScaleBar::StepBar() {
    if (OnBarScreen())
        Draw(m_downPicture, m_pos, m_pos - m_x, 1);
    ++m_pos;
}

} // namespace carmanual
