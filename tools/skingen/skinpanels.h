#pragma once
// The panel elements of a skin description: where page panels, the contents
// tree, text fields and path boxes stand (checked against the screens and the
// background panel of the document screen), and the popup lists, whose
// backgrounds and entry pictures are painted here, each background sized for
// the entries its list shows.

#include "skinsource.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace skingen {

// The background panel of the document screen (screen index 1): the page
// panel and the contents tree live inside it.
inline const QRect kBackgroundPanel(33, 90, 673, 421);

struct PanelPicture {
    QString name;
    QImage image;
};

struct PopupPreview {
    int screen = 0; // from 0
    int type = 0;
    QImage image; // the list as the program shows it, captions drawn
};

using ProblemFn = std::function<void(const QString&)>;

// Checks every panel's place and paints the popup pictures. Pictures come
// back in description order, each once.
std::vector<PanelPicture> MakePanelPictures(const SkinSource& skin, const ProblemFn& problem,
                                            std::vector<PopupPreview>* previews);

// Draws the panels of one screen over its preview: text fields with their
// first values, frames where pages, the tree and path boxes will be.
void DrawPanelsPreview(QPainter& p, const SkinSource& skin, int screen);

} // namespace skingen
