#include "screenelements.h"

#include "commandrules.h"
#include "settingsstore.h"

#include <algorithm>

namespace carmanual {

namespace {

using TType = TElementAction::TType;
using P = TElementPicture;

TElementAction Fade(TElementKind kind, int index, P from, P to) {
    TElementAction a;
    a.Type = TType::Fade;
    a.Kind = kind;
    a.Index = index;
    a.From = from;
    a.To = to;
    return a;
}

TElementAction ShowNow(TElementKind kind, int index) {
    TElementAction a;
    a.Type = TType::Show;
    a.Kind = kind;
    a.Index = index;
    return a;
}

TElementAction RunCommand(TElementKind kind, int index, const std::string& command,
                          const std::string& sound) {
    TElementAction a;
    a.Type = TType::Command;
    a.Kind = kind;
    a.Index = index;
    a.Command = command;
    a.Sound = sound;
    return a;
}

template <typename T> bool Valid(const std::vector<T>& v, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < v.size();
}

bool StateAt(const std::vector<std::vector<bool>>& states, int screen, int index) {
    return Valid(states, screen) && Valid(states[static_cast<std::size_t>(screen)], index) &&
           states[static_cast<std::size_t>(screen)][static_cast<std::size_t>(index)];
}

void SetStateAt(std::vector<std::vector<bool>>& states, int screen, int index, bool on) {
    if (Valid(states, screen) && Valid(states[static_cast<std::size_t>(screen)], index))
        states[static_cast<std::size_t>(screen)][static_cast<std::size_t>(index)] = on;
}

} // namespace

// ------------------------------------------------------------ switch states

TSwitchStates::TSwitchStates(const TInterfaceDescription& description) {
    for (const auto& screen : description.Switches) {
        std::vector<bool> states;
        for (const RSwthOne& s : screen)
            states.push_back(s.State);
        m_switches.push_back(std::move(states));
    }
    for (const auto& screen : description.Groups) {
        std::vector<bool> states;
        for (const RSwthGrp& g : screen)
            states.push_back(g.State);
        m_groups.push_back(std::move(states));
    }
}

bool TSwitchStates::SwitchOn(int screen, int index) const {
    return StateAt(m_switches, screen, index);
}

void TSwitchStates::SetSwitch(int screen, int index, bool on) {
    SetStateAt(m_switches, screen, index, on);
}

bool TSwitchStates::GroupOn(int screen, int index) const {
    return StateAt(m_groups, screen, index);
}

void TSwitchStates::SetGroup(int screen, int index, bool on) {
    SetStateAt(m_groups, screen, index, on);
}

TDynamicSwthOneArray TSwitchStates::Switches(const TInterfaceDescription& description,
                                             int screen) const {
    if (!Valid(description.Switches, screen))
        return {};
    TDynamicSwthOneArray out = description.Switches[static_cast<std::size_t>(screen)];
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i].State = SwitchOn(screen, static_cast<int>(i));
    return out;
}

TDynamicSwthGrpArray TSwitchStates::Groups(const TInterfaceDescription& description,
                                           int screen) const {
    if (!Valid(description.Groups, screen))
        return {};
    TDynamicSwthGrpArray out = description.Groups[static_cast<std::size_t>(screen)];
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i].State = GroupOn(screen, static_cast<int>(i));
    return out;
}

void TSwitchStates::Save(const TInterfaceDescription& description, ISettingsStore& store) const {
    for (std::size_t s = 0; s < description.Switches.size(); ++s) {
        const auto& switches = description.Switches[s];
        for (std::size_t i = 0; i < switches.size(); ++i)
            if (switches[i].Store)
                store.WriteBool(
                    SwitchStateValueName(false, static_cast<int>(s), static_cast<int>(i)),
                    SwitchOn(static_cast<int>(s), static_cast<int>(i)));
    }
    for (std::size_t s = 0; s < description.Groups.size(); ++s) {
        const auto& groups = description.Groups[s];
        for (std::size_t i = 0; i < groups.size(); ++i)
            if (groups[i].Store)
                store.WriteBool(
                    SwitchStateValueName(true, static_cast<int>(s), static_cast<int>(i)),
                    GroupOn(static_cast<int>(s), static_cast<int>(i)));
    }
}

void TSwitchStates::Restore(const TInterfaceDescription& description, const ISettingsStore& store) {
    for (std::size_t s = 0; s < description.Switches.size(); ++s) {
        const auto& switches = description.Switches[s];
        for (std::size_t i = 0; i < switches.size(); ++i) {
            if (!switches[i].Store)
                continue;
            const int screen = static_cast<int>(s), index = static_cast<int>(i);
            if (const auto v = store.ReadBool(SwitchStateValueName(false, screen, index)))
                SetSwitch(screen, index, *v);
        }
    }
    for (std::size_t s = 0; s < description.Groups.size(); ++s) {
        const auto& groups = description.Groups[s];
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (!groups[i].Store)
                continue;
            const int screen = static_cast<int>(s), index = static_cast<int>(i);
            if (const auto v = store.ReadBool(SwitchStateValueName(true, screen, index)))
                SetGroup(screen, index, *v);
        }
    }
}

// ------------------------------------------------------------ the screen

void TScreenElements::Show(int screen, const TInterfaceDescription& description,
                           TSwitchStates& states, std::vector<TElementRect> buttons,
                           std::vector<TElementRect> switches, std::vector<TElementRect> groups) {
    m_screen = screen;
    m_description = &description;
    m_states = &states;
    m_buttons.clear();
    m_switches.clear();
    m_groups.clear();
    for (const TElementRect& r : buttons)
        m_buttons.push_back({r});
    for (const TElementRect& r : switches)
        m_switches.push_back({r});
    for (const TElementRect& r : groups)
        m_groups.push_back({r});
}

const RBtn& TScreenElements::ButtonRecord(int index) const {
    return m_description
        ->Buttons[static_cast<std::size_t>(m_screen)][static_cast<std::size_t>(index)];
}

const RSwthOne& TScreenElements::SwitchRecord(int index) const {
    return m_description
        ->Switches[static_cast<std::size_t>(m_screen)][static_cast<std::size_t>(index)];
}

const RSwthGrp& TScreenElements::GroupRecord(int index) const {
    return m_description
        ->Groups[static_cast<std::size_t>(m_screen)][static_cast<std::size_t>(index)];
}

bool TScreenElements::Blocked(int index) const {
    return m_blocked && m_blocked(SwitchRecord(index));
}

TMouseOutcome TScreenElements::Move(std::int32_t x, std::int32_t y) {
    TMouseOutcome out;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        TButton& b = m_buttons[i];
        const int index = static_cast<int>(i);
        const bool inside = b.Rect.Contains(x, y);
        if (inside && !b.Hover) {
            out.push_back(Fade(TElementKind::Button, index, P::Up, P::Move));
            b.Hover = true;
        } else if (!inside && b.Hover) {
            out.push_back(Fade(TElementKind::Button, index, P::Move, P::Up));
            b.Hover = false;
            b.Pressed = false;
        }
    }
    for (std::size_t i = 0; i < m_switches.size(); ++i) {
        TSwitch& s = m_switches[i];
        const int index = static_cast<int>(i);
        const bool inside = s.Rect.Contains(x, y);
        const bool on = m_states->SwitchOn(m_screen, index);
        if (inside && !s.Hover) {
            if (Blocked(index))
                continue;
            out.push_back(on ? Fade(TElementKind::SwitchOne, index, P::Down, P::MoveDown)
                             : Fade(TElementKind::SwitchOne, index, P::Up, P::MoveUp));
            s.Hover = true;
        } else if (!inside && s.Hover) {
            out.push_back(on ? Fade(TElementKind::SwitchOne, index, P::MoveDown, P::Down)
                             : Fade(TElementKind::SwitchOne, index, P::MoveUp, P::Up));
            s.Hover = false;
        }
    }
    for (std::size_t i = 0; i < m_groups.size(); ++i) {
        TSwitch& g = m_groups[i];
        const bool inside = g.Rect.Contains(x, y);
        if (inside != g.Hover) {
            // Group members change at once, without a fade.
            g.Hover = inside;
            out.push_back(ShowNow(TElementKind::SwitchGroup, static_cast<int>(i)));
        }
    }
    return out;
}

TMouseOutcome TScreenElements::Press(std::int32_t x, std::int32_t y, bool shift) {
    TMouseOutcome out;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        TButton& b = m_buttons[i];
        if (b.Rect.Contains(x, y) && !b.Pressed) {
            b.Hover = true;
            out.push_back(Fade(TElementKind::Button, static_cast<int>(i), P::Move, P::Down));
            b.Pressed = true;
            return out; // the command runs on release
        }
    }
    for (std::size_t i = 0; i < m_switches.size(); ++i) {
        const int index = static_cast<int>(i);
        if (!m_switches[i].Rect.Contains(x, y) || Blocked(index))
            continue;
        const RSwthOne& record = SwitchRecord(index);
        const bool on = m_states->SwitchOn(m_screen, index);
        // Hover stays as the mouse left it: a press delivered by the program
        // (a history step) leaves the switch in its plain picture.
        if (on)
            out.push_back(Fade(TElementKind::SwitchOne, index, P::MoveDown, P::MoveUp));
        else
            out.push_back(Fade(TElementKind::SwitchOne, index, P::MoveUp, P::MoveDown));
        m_states->SetSwitch(m_screen, index, !on);
        if (!shift)
            out.push_back(RunCommand(TElementKind::SwitchOne, index,
                                     on ? record.CommandUp : record.CommandDown, record.Sound));
        return out;
    }
    for (std::size_t i = 0; i < m_groups.size(); ++i) {
        const int index = static_cast<int>(i);
        if (!m_groups[i].Rect.Contains(x, y))
            continue;
        if (m_states->GroupOn(m_screen, index))
            return out;
        const RSwthGrp& record = GroupRecord(index);
        for (std::size_t k = 0; k < m_groups.size(); ++k) {
            const int other = static_cast<int>(k);
            if (k != i && GroupRecord(other).Group == record.Group &&
                m_states->GroupOn(m_screen, other)) {
                m_states->SetGroup(m_screen, other, false);
                out.push_back(ShowNow(TElementKind::SwitchGroup, other));
            }
        }
        m_states->SetGroup(m_screen, index, true);
        // Shift shows the plain "on" picture: the pointer is not counted as hovering.
        m_groups[i].Hover = !shift;
        out.push_back(ShowNow(TElementKind::SwitchGroup, index));
        if (!shift)
            out.push_back(
                RunCommand(TElementKind::SwitchGroup, index, record.Command, record.Sound));
        return out;
    }
    TElementAction drag;
    drag.Type = TType::Drag;
    out.push_back(drag);
    return out;
}

TMouseOutcome TScreenElements::Release(std::int32_t x, std::int32_t y) {
    TMouseOutcome out;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        TButton& b = m_buttons[i];
        const int index = static_cast<int>(i);
        if (!b.Rect.Contains(x, y))
            continue;
        if (b.Pressed) {
            b.Pressed = false;
            const RBtn& record = ButtonRecord(index);
            // A button that leaves the screen does not fade back: the
            // screen goes before the fade would end.
            if (!CommandLeavesScreen(record.Command))
                out.push_back(Fade(TElementKind::Button, index, P::Down, P::Move));
            out.push_back(RunCommand(TElementKind::Button, index, record.Command, record.Sound));
        } else {
            out.push_back(Fade(TElementKind::Button, index, P::Down, P::Up));
        }
    }
    bool groupHit = false;
    for (TSwitch& g : m_groups) {
        if (g.Rect.Contains(x, y)) {
            g.Hover = false;
            groupHit = true;
        }
    }
    if (groupHit) {
        // Hovered again, now with its new state.
        TMouseOutcome again = Move(x, y);
        out.insert(out.end(), again.begin(), again.end());
    }
    return out;
}

void TScreenElements::Forget(TElementKind kind, int index) {
    switch (kind) {
    case TElementKind::Button:
        if (Valid(m_buttons, index))
            m_buttons[static_cast<std::size_t>(index)] = {
                m_buttons[static_cast<std::size_t>(index)].Rect};
        break;
    case TElementKind::SwitchOne:
        if (Valid(m_switches, index))
            m_switches[static_cast<std::size_t>(index)].Hover = false;
        break;
    case TElementKind::SwitchGroup:
        if (Valid(m_groups, index))
            m_groups[static_cast<std::size_t>(index)].Hover = false;
        break;
    case TElementKind::None:
        break;
    }
}

void TScreenElements::ForgetHover() {
    for (TSwitch& s : m_switches)
        s.Hover = false;
    for (TSwitch& g : m_groups)
        g.Hover = false;
}

std::optional<TElementPicture> TScreenElements::Shown(TElementKind kind, int index) const {
    switch (kind) {
    case TElementKind::Button: {
        if (!Valid(m_buttons, index))
            return std::nullopt;
        const TButton& b = m_buttons[static_cast<std::size_t>(index)];
        if (b.Pressed && b.Hover)
            return P::Down;
        if (b.Hover)
            return P::Move;
        return std::nullopt;
    }
    case TElementKind::SwitchOne:
    case TElementKind::SwitchGroup: {
        const bool group = kind == TElementKind::SwitchGroup;
        const auto& list = group ? m_groups : m_switches;
        if (!Valid(list, index))
            return std::nullopt;
        const bool hover = list[static_cast<std::size_t>(index)].Hover;
        const bool on =
            group ? m_states->GroupOn(m_screen, index) : m_states->SwitchOn(m_screen, index);
        if (!on && hover)
            return P::MoveUp;
        if (on && hover)
            return P::MoveDown;
        if (on)
            return P::Down;
        return std::nullopt;
    }
    case TElementKind::None:
        break;
    }
    return std::nullopt;
}

bool TScreenElements::ButtonHover(int index) const {
    return Valid(m_buttons, index) && m_buttons[static_cast<std::size_t>(index)].Hover;
}

bool TScreenElements::ButtonPressed(int index) const {
    return Valid(m_buttons, index) && m_buttons[static_cast<std::size_t>(index)].Pressed;
}

bool TScreenElements::SwitchHover(int index) const {
    return Valid(m_switches, index) && m_switches[static_cast<std::size_t>(index)].Hover;
}

bool TScreenElements::GroupHover(int index) const {
    return Valid(m_groups, index) && m_groups[static_cast<std::size_t>(index)].Hover;
}

bool TScreenElements::AnyActive() const {
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        if (Shown(TElementKind::Button, static_cast<int>(i)))
            return true;
    for (std::size_t i = 0; i < m_switches.size(); ++i)
        if (Shown(TElementKind::SwitchOne, static_cast<int>(i)))
            return true;
    for (std::size_t i = 0; i < m_groups.size(); ++i)
        if (Shown(TElementKind::SwitchGroup, static_cast<int>(i)))
            return true;
    return false;
}

const TElementRect& TScreenElements::ButtonRect(int index) const {
    static const TElementRect none;
    return Valid(m_buttons, index) ? m_buttons[static_cast<std::size_t>(index)].Rect : none;
}

const TElementRect& TScreenElements::SwitchRect(int index) const {
    static const TElementRect none;
    return Valid(m_switches, index) ? m_switches[static_cast<std::size_t>(index)].Rect : none;
}

const TElementRect& TScreenElements::GroupRect(int index) const {
    static const TElementRect none;
    return Valid(m_groups, index) ? m_groups[static_cast<std::size_t>(index)].Rect : none;
}

} // namespace carmanual
