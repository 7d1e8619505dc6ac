#include "skinscreen.h"

#include "captions.h"
#include "commandrules.h"
#include "effbtncar.h"
#include "mycontrol.h"
#include "paths.h"
#include "pictures.h"
#include "qtansi.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace carmanual {

namespace {

QRect ToQRect(const TElementRect& r) {
    return QRect(r.Left, r.Top, std::max(0, r.Right - r.Left), std::max(0, r.Bottom - r.Top));
}

// Fades of the skin's elements add this much alpha per tick; context-menu
// buttons fade a little slower.
constexpr int kFadeStep = 4;
constexpr int kContextMenuFadeStep = 3;

} // namespace

const QImage& TSkinScreen::TElement::Picture(TElementPicture name) const {
    switch (name) {
    case TElementPicture::Up:
        return Up;
    case TElementPicture::Move:
        return Move;
    case TElementPicture::Down:
        return Down;
    case TElementPicture::MoveUp:
        return MoveUp;
    case TElementPicture::MoveDown:
        return MoveDown;
    }
    return Up;
}

QImage TSkinScreen::LoadBackground(const TInterfaceDescription& description, int screen,
                                   QSize fallback) {
    QImage background;
    if (screen >= 0 && screen < description.ScreenCount()) {
        const std::string& name = description.ScreenBackgrounds[static_cast<std::size_t>(screen)];
        if (!name.empty())
            background = LoadPicture(ProgramDir() + name);
    }
    if (background.isNull()) {
        background = QImage(fallback, QImage::Format_RGB32);
        background.fill(Qt::white);
    }
    return background;
}

QStringList TSkinScreen::FontFamilies(const TInterfaceDescription& description, int screen) {
    QStringList families;
    auto add = [&families](const std::string& name) {
        const QString family = FromAnsi(name);
        if (!family.isEmpty() && !families.contains(family, Qt::CaseInsensitive))
            families.push_back(family);
    };
    const std::size_t s = static_cast<std::size_t>(screen);
    if (s < description.Buttons.size())
        for (const RBtn& b : description.Buttons[s])
            if (!b.Caption.empty())
                add(b.FontName);
    if (s < description.Switches.size())
        for (const RSwthOne& sw : description.Switches[s])
            add(sw.FontName);
    if (s < description.Groups.size())
        for (const RSwthGrp& g : description.Groups[s])
            add(g.FontName);
    for (const RText& t : description.Texts)
        if (t.Screen == screen)
            add(t.Font);
    return families;
}

TSkinScreen::TSkinScreen(QWidget* window, THandlers handlers)
    : m_window(window), m_handlers(std::move(handlers)) {}

TSkinScreen::~TSkinScreen() {
    CancelFades();
}

std::vector<TSkinScreen::TElement>& TSkinScreen::List(TElementKind kind) {
    return kind == TElementKind::Button      ? m_buttons
           : kind == TElementKind::SwitchOne ? m_switches
                                             : m_groups;
}

const std::vector<TSkinScreen::TElement>& TSkinScreen::List(TElementKind kind) const {
    return kind == TElementKind::Button      ? m_buttons
           : kind == TElementKind::SwitchOne ? m_switches
                                             : m_groups;
}

TMyControl* TSkinScreen::NewControl() {
    TMyControl::Handlers h;
    h.mouseMove = [this](QMouseEvent*, QPoint p) {
        if (m_handlers.Move)
            m_handlers.Move(p);
    };
    h.mouseDown = [this](QMouseEvent* e, QPoint p) {
        if (m_handlers.Press)
            m_handlers.Press(e->button(), e->modifiers(), p);
    };
    h.mouseUp = [this](QMouseEvent*, QPoint p) {
        if (m_handlers.Release)
            m_handlers.Release(p);
    };
    auto* control = new TMyControl(m_window, std::move(h));
    control->show();
    return control;
}

void TSkinScreen::Resize(std::vector<TElement>& list, std::size_t count) {
    while (list.size() > count) {
        delete list.back().Control;
        list.pop_back();
    }
    while (list.size() < count) {
        list.emplace_back();
        list.back().Control = NewControl();
        list.back().Effect =
            std::make_unique<TEffBtnCar>(m_window, static_cast<int>(list.size() - 1), kFadeStep);
    }
}

void TSkinScreen::Build(int screen, const TInterfaceDescription& description, QImage& background,
                        TScreenElements& elements, TSwitchStates& states,
                        const std::function<QString(TElementKind, int)>& hint) {
    m_description = &description;
    m_screen = screen;
    const std::size_t s = static_cast<std::size_t>(screen);
    static const TDynamicBtnArray noButtons;
    static const TDynamicSwthOneArray noSwitches;
    static const TDynamicSwthGrpArray noGroups;
    const TDynamicBtnArray& buttons =
        s < description.Buttons.size() ? description.Buttons[s] : noButtons;
    const TDynamicSwthOneArray& switches =
        s < description.Switches.size() ? description.Switches[s] : noSwitches;
    const TDynamicSwthGrpArray& groups =
        s < description.Groups.size() ? description.Groups[s] : noGroups;
    Resize(m_buttons, buttons.size());
    Resize(m_switches, switches.size());
    Resize(m_groups, groups.size());

    // The idle pictures now: they are part of the screen. The hover and
    // press pictures follow once the screen is shown (EnsurePictures).
    m_picturesLoaded = false;
    std::vector<TElementRect> buttonRects, switchRects, groupRects;
    auto idle = [](TElement& e, const auto& record, auto drawCaption) {
        e.Effect->CancelFade();
        e.Up = LoadPicture(ProgramDir() + record.FileUp);
        // Right and bottom come from the idle picture; without it the
        // element is never hit.
        const TElementRect rect{record.Left, record.Top, record.Left + e.Up.width(),
                                record.Top + e.Up.height()};
        drawCaption(e.Up, record, TElementPicture::Up);
        e.Move = e.Down = e.MoveUp = e.MoveDown = QImage();
        e.Rect = ToQRect(rect);
        return rect;
    };
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttonRects.push_back(idle(m_buttons[i], buttons[i], DrawButtonCaption));
        m_buttons[i].Effect->SetStep(OpensContextMenu(buttons[i].Command) ? kContextMenuFadeStep
                                                                          : kFadeStep);
    }
    for (std::size_t i = 0; i < switches.size(); ++i) {
        switchRects.push_back(idle(m_switches[i], switches[i], DrawSwitchCaption));
        m_switches[i].Effect->SetStep(kFadeStep);
    }
    for (std::size_t i = 0; i < groups.size(); ++i) {
        groupRects.push_back(idle(m_groups[i], groups[i], DrawGroupCaption));
        m_groups[i].Effect->SetStep(kFadeStep);
    }
    elements.Show(screen, description, states, std::move(buttonRects), std::move(switchRects),
                  std::move(groupRects));
    SetHints(hint);

    // Idle pictures live in the background: the common paint is one copy.
    QPainter painter(&background);
    for (const auto* list : {&m_buttons, &m_switches, &m_groups})
        for (const TElement& e : *list)
            painter.drawImage(e.Rect.topLeft(), e.Up);
}

void TSkinScreen::EnsurePictures() {
    if (m_picturesLoaded || !m_description)
        return;
    m_picturesLoaded = true;
    const std::size_t s = static_cast<std::size_t>(m_screen);
    if (s < m_description->Buttons.size()) {
        const auto& buttons = m_description->Buttons[s];
        for (std::size_t i = 0; i < buttons.size() && i < m_buttons.size(); ++i) {
            const RBtn& b = buttons[i];
            TElement& e = m_buttons[i];
            e.Move = LoadPicture(ProgramDir() + b.FileMove);
            DrawButtonCaption(e.Move, b, TElementPicture::Move);
            e.Down = LoadPicture(ProgramDir() + b.FileDown);
            DrawButtonCaption(e.Down, b, TElementPicture::Down);
        }
    }
    auto load = [](const auto& record, TElement& e, auto drawCaption) {
        e.MoveUp = LoadPicture(ProgramDir() + record.FileMoveUp);
        drawCaption(e.MoveUp, record, TElementPicture::MoveUp);
        e.MoveDown = LoadPicture(ProgramDir() + record.FileMoveDown);
        drawCaption(e.MoveDown, record, TElementPicture::MoveDown);
        e.Down = LoadPicture(ProgramDir() + record.FileDown);
        drawCaption(e.Down, record, TElementPicture::Down);
    };
    if (s < m_description->Switches.size()) {
        const auto& switches = m_description->Switches[s];
        for (std::size_t i = 0; i < switches.size() && i < m_switches.size(); ++i)
            load(switches[i], m_switches[i], DrawSwitchCaption);
    }
    if (s < m_description->Groups.size()) {
        const auto& groups = m_description->Groups[s];
        for (std::size_t i = 0; i < groups.size() && i < m_groups.size(); ++i)
            load(groups[i], m_groups[i], DrawGroupCaption);
    }
}

void TSkinScreen::Apply(const TElementAction& action, const TScreenElements&) {
    if (action.Kind == TElementKind::None)
        return;
    std::vector<TElement>& list = List(action.Kind);
    if (action.Index < 0 || static_cast<std::size_t>(action.Index) >= list.size())
        return;
    TElement& e = list[static_cast<std::size_t>(action.Index)];
    switch (action.Type) {
    case TElementAction::TType::Fade:
        // The pictures are filled in place when they load.
        EnsurePictures();
        e.Effect->StartCrossFade(e.Picture(action.From), e.Picture(action.To), e.Rect.topLeft());
        m_window->update();
        break;
    case TElementAction::TType::Show:
        e.Effect->CancelFade();
        m_window->update(e.Rect);
        break;
    default:
        break;
    }
}

void TSkinScreen::Paint(QPainter& painter, const TScreenElements& elements) const {
    for (TElementKind kind :
         {TElementKind::Button, TElementKind::SwitchOne, TElementKind::SwitchGroup}) {
        const std::vector<TElement>& list = List(kind);
        for (std::size_t i = 0; i < list.size(); ++i) {
            const TElement& e = list[i];
            if (e.Effect->Running()) {
                e.Effect->Paint(painter);
            } else if (const auto shown = elements.Shown(kind, static_cast<int>(i))) {
                painter.drawImage(e.Rect.topLeft(), e.Picture(*shown));
            }
        }
    }
}

void TSkinScreen::CancelFade(TElementKind kind, int index) {
    if (kind == TElementKind::None)
        return;
    std::vector<TElement>& list = List(kind);
    if (index >= 0 && static_cast<std::size_t>(index) < list.size())
        list[static_cast<std::size_t>(index)].Effect->CancelFade();
}

void TSkinScreen::CancelFades() {
    for (auto* list : {&m_buttons, &m_switches, &m_groups})
        for (TElement& e : *list)
            if (e.Effect)
                e.Effect->CancelFade();
}

bool TSkinScreen::AnyFadeRunning() const {
    for (const auto* list : {&m_buttons, &m_switches, &m_groups})
        for (const TElement& e : *list)
            if (e.Effect->Running())
                return true;
    return false;
}

void TSkinScreen::SetHints(const std::function<QString(TElementKind, int)>& hint) {
    for (TElementKind kind :
         {TElementKind::Button, TElementKind::SwitchOne, TElementKind::SwitchGroup}) {
        std::vector<TElement>& list = List(kind);
        for (std::size_t i = 0; i < list.size(); ++i)
            list[i].Control->Place(list[i].Rect,
                                   hint ? hint(kind, static_cast<int>(i)) : QString());
    }
}

} // namespace carmanual
