#pragma once
// The popup lists of the current screen: built from the screen's _popup
// elements, filled by their owners (the history, the favourites) or from
// the description (context menus), shown by type at a screen point, closed
// together. A clicked entry's command goes to the page panel when it is one
// of the lists' page commands and to the main window's dispatcher otherwise.
//
// Open lists close on any mouse press outside them in the application and
// when the application loses activation; the lists themselves never take
// activation (see TPopupWindow).

#include "historychapters.h"
#include "htmlfavorite.h"
#include "panelelements.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace carmanual {

class TPopupWindow;

// What the lists' page commands do; an action left empty (no page panel)
// does nothing.
struct TPopupPageActions {
    std::function<void(std::int32_t historyIndex)> GoToHistory; // "history=N"
    std::function<void(const std::string& page)> OpenPage;      // "html=page"
    // "htmlpos=page=y": open the page, then scroll its active document to y.
    std::function<void(const std::string& page, std::int32_t scrollY)> OpenPageAt;
    std::function<void()> CopySelection;  // "copyclipboardhtml"
    std::function<void()> AddToFavorites; // "addtofavorite"
    std::function<void()> ChooseFonts;    // "deffonthtml"
    std::function<void()> SelectAll;      // "selectallhtml"
    std::function<void()> PrintPage;      // "printhtml"
};

class TControlPopupWindow final : public QObject {
    Q_OBJECT

public:
    // Runs a command text of the skin as a programmatic call of the current
    // screen's first button (the main window's RunCommand).
    using TDispatcher = std::function<void(const std::string& command)>;

    // popups: every screen's _popup elements. mainWindow: the window the
    // lists belong to (client coordinates of fixed positions; the lists stay
    // above it). favorites: the bookmarks of the run, shown by the favourites
    // list of each screen that has one; without them the favourites list
    // stays empty. Builds the lists of currentScreen.
    TControlPopupWindow(TPopupData popups, QWidget* mainWindow, TDispatcher dispatcher,
                        THtmlFavorite* favorites = nullptr, int currentScreen = 0,
                        QObject* parent = nullptr);
    ~TControlPopupWindow() override;
    Q_DISABLE_COPY_MOVE(TControlPopupWindow)

    void SetPageActions(TPopupPageActions actions) { m_actions = std::move(actions); }
    void SetDispatcher(TDispatcher dispatcher) { m_dispatcher = std::move(dispatcher); }

    // The screen has changed: the lists of that screen are built, when it has
    // any; a screen without lists keeps those of the previous one.
    void ShowForScreen(int screen);
    // Rebuilds the lists for the current screen (same rule).
    void BuildPopups();
    int CurrentScreen() const { return m_screen; }

    // Index of the first list of the type; nothing when the screen has none.
    std::optional<int> FindPopup(TPopupType type) const;
    // Shows the list of a type at a screen point: the favourites list for
    // popuptype::DeleteFavorite, in delete mode; the back list with its right
    // edge at the point. A missing or empty list shows nothing.
    void ShowPopup(TPopupType type, QPoint screenPoint);
    void HideAll();
    bool AnyVisible() const;

    // The list operations by type; an unknown type or index does nothing.
    void SetItemCount(int count, TPopupType type);
    void AddItem(const std::string& caption, const std::string& command, TPopupType type);
    void SetItem(const std::string& caption, const std::string& command, int index,
                 TPopupType type);
    void SetItemVisible(bool visible, TPopupType type, int index);

    // The history lists' entries (THistoryUpdate::Back and ::Forward). They
    // are kept and given again to the lists of a later screen.
    void SetHistoryPopups(const THistoryPopupItems& back, const THistoryPopupItems& forward);

    // The favourites while the current lists have a favourites list that
    // shows them; nullptr otherwise. Entries appear in the list as they are
    // added.
    THtmlFavorite* Favorites() const { return m_favoriteList ? m_favorites : nullptr; }

    // The lists of the current screen, in description order.
    int PopupCount() const { return static_cast<int>(m_lists.size()); }
    TPopupWindow* PopupAt(int index) const;
    TPopupWindow* PopupOfType(TPopupType type) const;

    // Whether lists slide in on the document screen (the desktop's animation
    // setting); applies to the current lists and to later ones.
    void SetSlideEnabled(bool enabled);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TFavoriteList;

    void FreeLists();
    void DetachFavorites();
    void ApplyHistory(TPopupType type, const THistoryPopupItems& items);
    void ItemClicked(TPopupWindow* list, const std::string& command, int index);
    void RunItemCommand(const std::string& command);
    bool IsOwnList(const QObject* object) const;

    TPopupData m_popups;
    QPointer<QWidget> m_mainWindow;
    TDispatcher m_dispatcher;
    THtmlFavorite* m_favorites = nullptr;
    TPopupPageActions m_actions;
    int m_screen = 0;
    bool m_slideEnabled = true;

    std::vector<QPointer<TPopupWindow>> m_lists;
    // Lists replaced while one of them may still be handling a click.
    std::vector<QPointer<TPopupWindow>> m_retired;
    std::unique_ptr<TFavoriteList> m_favoriteList;
    std::optional<THistoryPopupItems> m_historyBack, m_historyForward;
};

} // namespace carmanual
