#pragma once
// The buttons, single switches and switch groups of the screen shown, and
// what the mouse does to them: hover, press, release inside, click. The
// description's records stay as they were read; the states live here: hover
// and press for the screen shown, on and off of every screen's switches and
// group members for the whole run (TSwitchStates).
//
// The rules are the skin's contract: hit tests are strict (a point on an
// element's border is outside it); a button's command runs on a release
// inside it after a press inside it; a single switch toggles and runs goup
// (turned off) or godown (turned on) on the press; a group member runs its go
// when it is pressed while off and switches off the members of its group;
// Shift changes a switch or member without running its command. The window
// turns the actions into pictures, fades and commands, in their order.

#include "description.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace carmanual {

class ISettingsStore;

// Where a command comes from, and what kind of element carries it.
enum class TCallOrigin { User = 0, Program = 1 };
enum class TElementKind { Button = 0, SwitchOne = 1, SwitchGroup = 2, None = -1 };

// The pictures of an element. Up, the idle picture, lies in the background.
// Buttons have Up, Move and Down; switches and group members Up, MoveUp,
// MoveDown and Down.
enum class TElementPicture { Up, Move, Down, MoveUp, MoveDown };

// An element's rectangle in window pixels; Right and Bottom are edges.
struct TElementRect {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    // Strict: the border is outside.
    bool Contains(std::int32_t x, std::int32_t y) const {
        return Left < x && x < Right && Top < y && y < Bottom;
    }
    bool operator==(const TElementRect&) const = default;
};

// One thing the window does for a mouse event, in order.
struct TElementAction {
    enum class TType {
        Fade,    // cross-fade the element from one picture to another
        Show,    // show the element's state at once (group members)
        Command, // run the element's command
        Drag,    // the press hit nothing: move the window
    };
    TType Type = TType::Show;
    TElementKind Kind = TElementKind::None;
    std::int32_t Index = -1;
    TElementPicture From = TElementPicture::Up, To = TElementPicture::Up; // Fade
    std::string Command, Sound;                                           // Command
    bool operator==(const TElementAction&) const = default;
};
using TMouseOutcome = std::vector<TElementAction>;

// On and off of every screen's single switches and group members: as
// described at first, then as clicked; stored where the description says so.
class TSwitchStates final {
public:
    TSwitchStates() = default;
    explicit TSwitchStates(const TInterfaceDescription& description);

    bool SwitchOn(int screen, int index) const;
    void SetSwitch(int screen, int index, bool on);
    bool GroupOn(int screen, int index) const;
    void SetGroup(int screen, int index, bool on);

    // The screen's switches and members with their present states, for
    // rules that read them from the records.
    TDynamicSwthOneArray Switches(const TInterfaceDescription& description, int screen) const;
    TDynamicSwthGrpArray Groups(const TInterfaceDescription& description, int screen) const;

    // The values "SwOne<s><i>" and "SwGrp<s><i>" of the elements with
    // store=on. Restore leaves an element without a stored value as it is.
    void Save(const TInterfaceDescription& description, ISettingsStore& store) const;
    void Restore(const TInterfaceDescription& description, const ISettingsStore& store);

private:
    std::vector<std::vector<bool>> m_switches, m_groups;
};

class TScreenElements final {
public:
    // Whether a single switch ignores the mouse (the contents-tree rule).
    using TBlocked = std::function<bool(const RSwthOne&)>;

    // The elements of a screen with their rectangles (taken from their idle
    // pictures), in description order. Hover and press start cleared.
    void Show(int screen, const TInterfaceDescription& description, TSwitchStates& states,
              std::vector<TElementRect> buttons, std::vector<TElementRect> switches,
              std::vector<TElementRect> groups);
    void SetBlocked(TBlocked blocked) { m_blocked = std::move(blocked); }

    TMouseOutcome Move(std::int32_t x, std::int32_t y);
    TMouseOutcome Press(std::int32_t x, std::int32_t y, bool shift);
    TMouseOutcome Release(std::int32_t x, std::int32_t y);

    // The element that carried a command forgets its hover and press (a
    // screen change, a minimized window).
    void Forget(TElementKind kind, int index);
    void ForgetHover();

    // What the element shows over the background: nothing (its idle picture
    // is there), or which picture.
    std::optional<TElementPicture> Shown(TElementKind kind, int index) const;
    bool ButtonHover(int index) const;
    bool ButtonPressed(int index) const;
    bool SwitchHover(int index) const;
    bool GroupHover(int index) const;
    bool AnyActive() const; // anything shown besides the idle pictures

    int Screen() const { return m_screen; }
    std::size_t ButtonCount() const { return m_buttons.size(); }
    std::size_t SwitchCount() const { return m_switches.size(); }
    std::size_t GroupCount() const { return m_groups.size(); }
    const TElementRect& ButtonRect(int index) const;
    const TElementRect& SwitchRect(int index) const;
    const TElementRect& GroupRect(int index) const;

private:
    struct TButton {
        TElementRect Rect;
        bool Hover = false, Pressed = false;
    };
    struct TSwitch {
        TElementRect Rect;
        bool Hover = false;
    };

    bool Blocked(int index) const;
    const RBtn& ButtonRecord(int index) const;
    const RSwthOne& SwitchRecord(int index) const;
    const RSwthGrp& GroupRecord(int index) const;

    int m_screen = 0;
    const TInterfaceDescription* m_description = nullptr;
    TSwitchStates* m_states = nullptr;
    std::vector<TButton> m_buttons;
    std::vector<TSwitch> m_switches, m_groups;
    TBlocked m_blocked;
};

} // namespace carmanual
