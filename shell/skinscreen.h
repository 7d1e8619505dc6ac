#pragma once
// The pictures of the screen shown: for every button, single switch and
// switch-group member its state pictures (captions drawn by the program),
// its hot-spot control and its cross-fade. The idle pictures are drawn into
// the screen's background, so the common paint is one copy; the others are
// loaded once the screen needs them. What each element shows comes from
// TScreenElements; this class only draws it.

#include "screenelements.h"

#include <QImage>
#include <QRect>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;
class QWidget;

namespace carmanual {

class TEffBtnCar;
class TMyControl;

class TSkinScreen final {
public:
    // Mouse events of the hot-spot controls, in window coordinates.
    struct THandlers {
        std::function<void(QPoint)> Move;
        std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, QPoint)> Press;
        std::function<void(QPoint)> Release;
    };

    // The screen's background; white of the size given when it has none.
    static QImage LoadBackground(const TInterfaceDescription& description, int screen,
                                 QSize fallback);
    // The font families of the screen's captions and text fields.
    static QStringList FontFamilies(const TInterfaceDescription& description, int screen);

    TSkinScreen(QWidget* window, THandlers handlers);
    ~TSkinScreen();
    Q_DISABLE_COPY_MOVE(TSkinScreen)

    // Builds the screen's elements from the description: the idle pictures
    // with their captions, the controls with the hints given, the fades;
    // draws the idle pictures into background and gives the elements their
    // rectangles (from the idle pictures' sizes) in the model.
    void Build(int screen, const TInterfaceDescription& description, QImage& background,
               TScreenElements& elements, TSwitchStates& states,
               const std::function<QString(TElementKind, int)>& hint);
    // The hover and press pictures of the screen built last.
    void EnsurePictures();
    bool PicturesLoaded() const { return m_picturesLoaded; }

    // Carries out a picture action of the mouse (a fade, or a member shown
    // at once); other actions are the caller's.
    void Apply(const TElementAction& action, const TScreenElements& elements);
    // Draws every element that shows more than its idle picture.
    void Paint(QPainter& painter, const TScreenElements& elements) const;

    void CancelFade(TElementKind kind, int index);
    void CancelFades();
    bool AnyFadeRunning() const;
    // Tool tips of the controls: the hint of each element, or none.
    void SetHints(const std::function<QString(TElementKind, int)>& hint);

private:
    struct TElement {
        QImage Up, Move, Down, MoveUp, MoveDown;
        TMyControl* Control = nullptr;
        std::unique_ptr<TEffBtnCar> Effect;
        QRect Rect;
        const QImage& Picture(TElementPicture name) const;
    };

    std::vector<TElement>& List(TElementKind kind);
    const std::vector<TElement>& List(TElementKind kind) const;
    void Resize(std::vector<TElement>& list, std::size_t count);
    TMyControl* NewControl();

    QWidget* m_window;
    THandlers m_handlers;
    std::vector<TElement> m_buttons, m_switches, m_groups;
    const TInterfaceDescription* m_description = nullptr;
    int m_screen = 0;
    bool m_picturesLoaded = false;
};

} // namespace carmanual
