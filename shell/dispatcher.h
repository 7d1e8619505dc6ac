#pragma once
// The dispatcher of the skin's command texts: the rule a text falls under
// (shell/core/commandrules.h, tried in its fixed order) decides which
// component or window operation runs it. Commands come from clicks, popup
// entries, keys and other windows; while the process is busy (a long
// operation pumping events) they are ignored. A rule whose component the
// description did not ask for does nothing.

#include "commandrules.h"
#include "historychapters.h"
#include "panelelements.h"
#include "screenelements.h"

#include <cstdint>
#include <string>

namespace carmanual {

class TMainComposition;
class TMainForm;
struct TMainServices;

class TCommandDispatcher final {
public:
    TCommandDispatcher(TMainForm& window, TMainComposition& components,
                       const TMainServices& services);

    void Run(const std::string& command, const std::string& sound, TCallOrigin origin,
             TElementKind kind, int index);

    // One step back or forward in the page panel's history; at its end
    // only a beep.
    void StepHistory(THistoryDirection direction);
    // Shows a history entry; the chapter switch of the page follows with
    // its state and picture only.
    void GoToHistoryEntry(int entry);
    // "help" and F1: the help topic of the screen shown.
    void ShowScreenHelp();
    void PlayButtonSound(const std::string& sound);

private:
    // The rules by the part they act on; each returns whether it was one of
    // its rules.
    bool RunWindowRule(TCommandRule rule, const std::string& command, TElementKind kind, int index);
    bool RunPageRule(TCommandRule rule, const std::string& command, TElementKind kind, int index);
    void RunNavigationRule(TCommandRule rule, const std::string& command, TElementKind kind);
    bool RunPageCommand(const std::string& command);
    void RunProgram(const std::string& command);
    void ShowButtonPopup(TPopupType type, TElementKind kind, int index, bool rightCorner);

    TMainForm& m_window;
    TMainComposition& m_components;
    const TMainServices& m_services;
};

} // namespace carmanual
