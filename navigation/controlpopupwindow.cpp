#include "controlpopupwindow.h"

#include "popupcommand.h"
#include "popupwindow.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace carmanual {

// The favourites list as the favourites fill it.
class TControlPopupWindow::TFavoriteList final : public IFavoriteList {
public:
    explicit TFavoriteList(TControlPopupWindow& owner) : m_owner(owner) {}
    void AddItem(const std::string& caption, const std::string& command) override {
        m_owner.AddItem(caption, command, popuptype::Favorite);
    }
    void SetItem(const std::string& caption, const std::string& command,
                 std::int32_t index) override {
        m_owner.SetItem(caption, command, index, popuptype::Favorite);
    }

private:
    TControlPopupWindow& m_owner;
};

TControlPopupWindow::TControlPopupWindow(TPopupData popups, QWidget* mainWindow,
                                         TDispatcher dispatcher, THtmlFavorite* favorites,
                                         int currentScreen, QObject* parent)
    : QObject(parent), m_popups(std::move(popups)), m_mainWindow(mainWindow),
      m_dispatcher(std::move(dispatcher)), m_favorites(favorites), m_screen(currentScreen) {
    // Clicks anywhere else in the application close the open lists, which
    // grab nothing; so does the application losing activation.
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    HideAll();
            });
    BuildPopups();
}

TControlPopupWindow::~TControlPopupWindow() {
    DetachFavorites();
    for (const QPointer<TPopupWindow>& list : m_lists)
        delete list.data();
    for (const QPointer<TPopupWindow>& list : m_retired)
        delete list.data();
}

void TControlPopupWindow::ShowForScreen(int screen) {
    m_screen = screen;
    BuildPopups();
}

void TControlPopupWindow::DetachFavorites() {
    if (m_favorites && m_favorites->List() == m_favoriteList.get())
        m_favorites->SetList(nullptr);
    m_favoriteList.reset();
}

void TControlPopupWindow::FreeLists() {
    DetachFavorites();
    std::erase_if(m_retired, [](const QPointer<TPopupWindow>& list) { return list.isNull(); });
    for (const QPointer<TPopupWindow>& list : m_lists) {
        if (!list)
            continue;
        list->HidePopup();
        list->OnItemClicked = nullptr;
        // A list may be freed from the command of its own entry.
        list->deleteLater();
        m_retired.push_back(list);
    }
    m_lists.clear();
}

void TControlPopupWindow::BuildPopups() {
    if (m_screen < 0 || static_cast<std::size_t>(m_screen) >= m_popups.size() ||
        m_popups[static_cast<std::size_t>(m_screen)].empty())
        return;
    FreeLists();

    const std::vector<RPopupData>& descriptions = m_popups[static_cast<std::size_t>(m_screen)];
    for (std::size_t i = 0; i < descriptions.size(); ++i) {
        auto* list = new TPopupWindow(descriptions[i], m_mainWindow);
        list->SetDescIndex(static_cast<std::int32_t>(i));
        list->SetSlideEnabled(m_slideEnabled);
        list->OnItemClicked = [this, list](const std::string& command, int index) {
            ItemClicked(list, command, index);
        };
        m_lists.emplace_back(list);
    }

    bool favoritesMade = false;
    for (const QPointer<TPopupWindow>& list : m_lists) {
        const RPopupData& description = list->Description();
        switch (description.Type) {
        case popuptype::HistoryBack:
        case popuptype::HistoryForward:
            // Filled by the history.
            list->SetItemCount(static_cast<int>(kHistoryPopupItems));
            break;
        case popuptype::Favorite:
            list->SetItemCount(0);
            // The first favourites list shows the bookmarks.
            if (!favoritesMade && m_favorites) {
                favoritesMade = true;
                m_favoriteList = std::make_unique<TFavoriteList>(*this);
                m_favorites->SetList(m_favoriteList.get());
            }
            break;
        default:
            list->SetItemCount(0);
            for (std::size_t j = 0; j < description.Go.size(); ++j) {
                const std::string caption =
                    j < description.Caption.size() ? description.Caption[j] : std::string();
                list->AppendItem(caption, description.Go[j]);
            }
            break;
        }
    }

    // The history is still the one last reported: the new lists show it
    // without waiting for the next page.
    if (m_historyBack)
        ApplyHistory(popuptype::HistoryBack, *m_historyBack);
    if (m_historyForward)
        ApplyHistory(popuptype::HistoryForward, *m_historyForward);
}

std::optional<int> TControlPopupWindow::FindPopup(TPopupType type) const {
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        if (m_lists[i] && m_lists[i]->Type() == type)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

TPopupWindow* TControlPopupWindow::PopupAt(int index) const {
    if (index < 0 || index >= PopupCount())
        return nullptr;
    return m_lists[static_cast<std::size_t>(index)].data();
}

TPopupWindow* TControlPopupWindow::PopupOfType(TPopupType type) const {
    const std::optional<int> index = FindPopup(type);
    return index ? PopupAt(*index) : nullptr;
}

void TControlPopupWindow::ShowPopup(TPopupType type, QPoint screenPoint) {
    const TPopupType listType = type == popuptype::DeleteFavorite ? popuptype::Favorite : type;
    TPopupWindow* list = PopupOfType(listType);
    if (!list || list->VisibleItemCount() == 0)
        return;
    if (type == popuptype::HistoryBack)
        screenPoint.rx() -= list->FullSize().width(); // opens to the left of its button
    if (listType == popuptype::Favorite)
        list->SetDeleteMode(type == popuptype::DeleteFavorite);
    list->ShowAt(screenPoint, m_screen);
}

void TControlPopupWindow::HideAll() {
    for (const QPointer<TPopupWindow>& list : m_lists) {
        if (list)
            list->HidePopup();
    }
}

bool TControlPopupWindow::AnyVisible() const {
    return std::any_of(m_lists.begin(), m_lists.end(), [](const QPointer<TPopupWindow>& list) {
        return list && list->isVisible();
    });
}

void TControlPopupWindow::SetItemCount(int count, TPopupType type) {
    if (TPopupWindow* list = PopupOfType(type))
        list->SetItemCount(count);
}

void TControlPopupWindow::AddItem(const std::string& caption, const std::string& command,
                                  TPopupType type) {
    if (TPopupWindow* list = PopupOfType(type))
        list->AppendItem(caption, command);
}

void TControlPopupWindow::SetItem(const std::string& caption, const std::string& command, int index,
                                  TPopupType type) {
    TPopupWindow* list = PopupOfType(type);
    if (!list || index < 0 || index >= list->ItemCount())
        return;
    list->SetCaption(index, caption);
    list->SetCommand(index, command);
}

void TControlPopupWindow::SetItemVisible(bool visible, TPopupType type, int index) {
    if (TPopupWindow* list = PopupOfType(type))
        list->SetUsed(index, visible);
}

void TControlPopupWindow::SetHistoryPopups(const THistoryPopupItems& back,
                                           const THistoryPopupItems& forward) {
    m_historyBack = back;
    m_historyForward = forward;
    ApplyHistory(popuptype::HistoryBack, back);
    ApplyHistory(popuptype::HistoryForward, forward);
}

void TControlPopupWindow::ApplyHistory(TPopupType type, const THistoryPopupItems& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int index = static_cast<int>(i);
        if (items[i].Used)
            SetItem(items[i].Caption, items[i].Command, index, type);
        SetItemVisible(items[i].Used, type, index);
    }
}

void TControlPopupWindow::SetSlideEnabled(bool enabled) {
    m_slideEnabled = enabled;
    for (const QPointer<TPopupWindow>& list : m_lists) {
        if (list)
            list->SetSlideEnabled(enabled);
    }
}

void TControlPopupWindow::ItemClicked(TPopupWindow* list, const std::string& command, int index) {
    if (list->DeleteMode()) {
        // Deleting keeps the list open for the next one.
        const bool favorites = list == PopupOfType(popuptype::Favorite);
        list->RemoveItem(index);
        if (favorites && m_favorites)
            m_favorites->DeleteEntry(index);
        return;
    }
    list->HidePopup();
    // The command runs once the click is over and the list has gone from the
    // screen: it may change the screen, which frees this very list.
    QTimer::singleShot(0, this, [this, command] { RunItemCommand(command); });
}

void TControlPopupWindow::RunItemCommand(const std::string& command) {
    const TPopupCommand parsed = ParsePopupCommand(command);
    const auto run = [](const std::function<void()>& action) {
        if (action)
            action();
    };
    switch (parsed.Kind) {
    case TPopupCommandKind::Ignore:
        break;
    case TPopupCommandKind::GoToHistory:
        if (m_actions.GoToHistory)
            m_actions.GoToHistory(parsed.Value);
        break;
    case TPopupCommandKind::OpenPage:
        if (m_actions.OpenPage)
            m_actions.OpenPage(parsed.Page);
        break;
    case TPopupCommandKind::OpenPageAt:
        if (m_actions.OpenPageAt)
            m_actions.OpenPageAt(parsed.Page, parsed.Value);
        break;
    case TPopupCommandKind::CopySelection:
        run(m_actions.CopySelection);
        break;
    case TPopupCommandKind::AddToFavorites:
        run(m_actions.AddToFavorites);
        break;
    case TPopupCommandKind::ChooseFonts:
        run(m_actions.ChooseFonts);
        break;
    case TPopupCommandKind::SelectAll:
        run(m_actions.SelectAll);
        break;
    case TPopupCommandKind::PrintPage:
        run(m_actions.PrintPage);
        break;
    case TPopupCommandKind::Dispatch:
        if (m_dispatcher)
            m_dispatcher(command);
        break;
    }
}

bool TControlPopupWindow::IsOwnList(const QObject* object) const {
    if (!object->isWidgetType())
        return false;
    const QWidget* window = static_cast<const QWidget*>(object)->window();
    const auto same = [window](const QPointer<TPopupWindow>& list) { return list == window; };
    return std::any_of(m_lists.begin(), m_lists.end(), same) ||
           std::any_of(m_retired.begin(), m_retired.end(), same);
}

bool TControlPopupWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        // Widgets only: a press reaches a widget's window first, then the
        // widget itself.
        if (watched->isWidgetType() && AnyVisible() && !IsOwnList(watched))
            HideAll();
        break;
    default:
        break;
    }
    return false;
}

} // namespace carmanual
