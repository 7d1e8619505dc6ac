#include "controlpopupwindow.h"

#include "historychapters.h"
#include "htmlfavorite.h"
#include "popupstest.h"
#include "popupwindow.h"
#include "settingsstore.h"

#include <QGuiApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace carmanual {
namespace {

using test::Ansi;
using test::PopupDescription;

RPopupData ContextMenu(std::int32_t type, TDynamicStringArray captions, TDynamicStringArray go) {
    RPopupData d = PopupDescription(TPopupType{type});
    d.Caption = std::move(captions);
    d.Go = std::move(go);
    return d;
}

// Screen 0: a numbered context menu; screen 1: the history lists, the
// favourites and the page's context menu; screen 2: none.
TPopupData ThreeScreens() {
    TPopupData data(3);
    data[0].push_back(ContextMenu(1, {Ansi("Параметры"), Ansi("Музыка")}, {"options", "bgsound"}));
    data[1].push_back(PopupDescription(popuptype::HistoryBack));
    data[1].push_back(PopupDescription(popuptype::HistoryForward));
    data[1].push_back(PopupDescription(popuptype::Favorite));
    data[1].push_back(ContextMenu(static_cast<std::int32_t>(popuptype::ContextHtml),
                                  {Ansi("Копировать"), Ansi("Печать"), Ansi("В избранное")},
                                  {"copyclipboardhtml", "printhtml", "addtofavorite"}));
    return data;
}

class PopupController : public ::testing::Test {
protected:
    void SetUp() override {
        const QRect desktop = QGuiApplication::primaryScreen()->geometry();
        m_mainWindow.setGeometry(desktop.left(), desktop.top(), 400, 300);
        m_mainWindow.show();
    }

    std::unique_ptr<TControlPopupWindow> NewController(int screen,
                                                       TPopupData data = ThreeScreens()) {
        auto controller = std::make_unique<TControlPopupWindow>(
            std::move(data), &m_mainWindow,
            [this](const std::string& command) { m_dispatched.push_back(command); }, Favourites(),
            screen);
        controller->SetSlideEnabled(false);
        return controller;
    }

    // Clicks the middle of an entry of a shown list.
    static void ClickItem(TPopupWindow* list, int index) {
        const QPoint centre = list->Item(index).Rect().center();
        test::SendMouse(list, QEvent::MouseMove, centre);
        test::Click(list, centre);
    }

    static std::vector<std::string> UsedCommands(const TPopupWindow* list) {
        std::vector<std::string> commands;
        for (int i = 0; i < list->ItemCount(); ++i) {
            if (list->Item(i).Used())
                commands.push_back(list->Item(i).Command());
        }
        return commands;
    }

    test::PopupManual m_manual;
    // The bookmarks of the run, loaded from the store when first asked for.
    THtmlFavorite* Favourites() {
        if (!m_favourites)
            m_favourites = std::make_unique<THtmlFavorite>(m_store);
        return m_favourites.get();
    }

    QWidget m_mainWindow;
    TMemorySettingsStore m_store;
    std::unique_ptr<THtmlFavorite> m_favourites;
    std::vector<std::string> m_dispatched;
};

TEST_F(PopupController, ListsAreBuiltForTheScreenThatHasThem) {
    auto controller = NewController(0);
    ASSERT_EQ(controller->PopupCount(), 1);
    EXPECT_EQ(controller->FindPopup(TPopupType{1}), 0);
    EXPECT_FALSE(controller->FindPopup(popuptype::HistoryBack));

    controller->ShowForScreen(1);
    ASSERT_EQ(controller->PopupCount(), 4);
    EXPECT_EQ(controller->FindPopup(popuptype::HistoryForward), 1);
    EXPECT_EQ(controller->PopupAt(3)->DescIndex(), 3);
    EXPECT_FALSE(controller->FindPopup(TPopupType{1}));

    // A screen without lists keeps the previous screen's.
    controller->ShowForScreen(2);
    EXPECT_EQ(controller->PopupCount(), 4);
    controller->ShowForScreen(7);
    EXPECT_EQ(controller->PopupCount(), 4);
    EXPECT_EQ(controller->CurrentScreen(), 7);
}

TEST_F(PopupController, ContextMenus_ListTheirDescribedEntries) {
    TPopupData data(1);
    data[0].push_back(
        ContextMenu(4, {Ansi("Первый"), Ansi("Второй")}, {"screen2", "about", "help"}));
    auto controller = NewController(0, data);
    const TPopupWindow* list = controller->PopupOfType(TPopupType{4});
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->VisibleItemCount(), 3);
    EXPECT_EQ(list->Item(0).Caption(), Ansi("Первый"));
    EXPECT_EQ(list->Item(1).Caption(), Ansi("Второй"));
    EXPECT_EQ(list->Item(2).Caption(), ""); // more commands than captions
    EXPECT_EQ(UsedCommands(list), (std::vector<std::string>{"screen2", "about", "help"}));
}

TEST_F(PopupController, HistoryListsFollowANavigationSequence) {
    auto controller = NewController(1);
    THistoryChapters chapters(1);
    chapters.RegisterChapter(0, "c:\\run\\brakes.htm");

    // Four pages read, then one step back: entry 1 is shown.
    THistorySnapshot history;
    history.Files = {"c:\\run\\d.htm", "c:\\run\\c.htm", "c:\\run\\b.htm", "c:\\run\\brakes.htm"};
    history.Titles = {Ansi("Диски"), Ansi("Колодки"), "", Ansi("Тормоза")};
    history.Position = 1;
    history.CurrentDocument = history.Files[1];
    THistoryUpdate update = chapters.HistoryChanged(0, history, history.Titles[1]);
    controller->SetHistoryPopups(update.Back, update.Forward);

    const TPopupWindow* back = controller->PopupOfType(popuptype::HistoryBack);
    const TPopupWindow* forward = controller->PopupOfType(popuptype::HistoryForward);
    ASSERT_EQ(back->ItemCount(), 8);
    EXPECT_EQ(UsedCommands(back), (std::vector<std::string>{"history=2", "history=3"}));
    EXPECT_EQ(back->Item(0).Caption(), Ansi("Без названия"));
    EXPECT_EQ(back->Item(1).Caption(), Ansi("Тормоза"));
    EXPECT_EQ(back->Item(1).Rect().top(), back->Item(0).Rect().bottom() + 1);
    EXPECT_EQ(UsedCommands(forward), (std::vector<std::string>{"history=0"}));
    EXPECT_EQ(forward->Item(7).Caption(), Ansi("Диски"));
    EXPECT_EQ(forward->Item(7).Rect().top(), 5);
    EXPECT_EQ(forward->FullSize().height(), 30);

    // Forward to the newest page: nothing is newer, three are older.
    history.Position = 0;
    history.CurrentDocument = history.Files[0];
    update = chapters.HistoryChanged(0, history, history.Titles[0]);
    controller->SetHistoryPopups(update.Back, update.Forward);
    EXPECT_EQ(UsedCommands(back),
              (std::vector<std::string>{"history=1", "history=2", "history=3"}));
    EXPECT_EQ(back->Item(0).Caption(), Ansi("Колодки"));
    EXPECT_EQ(forward->VisibleItemCount(), 0);

    // "historyforward" with an empty list shows nothing.
    controller->ShowPopup(popuptype::HistoryForward, QPoint(100, 100));
    EXPECT_FALSE(controller->AnyVisible());
    controller->ShowPopup(popuptype::HistoryBack, QPoint(300, 100));
    EXPECT_TRUE(back->isVisible());
}

TEST_F(PopupController, NewListsOfAScreen_ShowTheHistoryLastReported) {
    auto controller = NewController(1);
    THistoryPopupItems back;
    back[0] = {true, Ansi("Тормоза"), "history=1", 1};
    controller->SetHistoryPopups(back, {});
    controller->ShowForScreen(0);
    controller->ShowForScreen(1);
    const TPopupWindow* list = controller->PopupOfType(popuptype::HistoryBack);
    EXPECT_EQ(UsedCommands(list), (std::vector<std::string>{"history=1"}));
    EXPECT_EQ(list->Item(0).Caption(), Ansi("Тормоза"));
}

TEST_F(PopupController, BackListOpensToTheLeftOfItsPoint_OthersToTheRight) {
    auto controller = NewController(1);
    THistoryPopupItems items;
    items[0] = {true, "a", "history=1", 1};
    controller->SetHistoryPopups(items, items);
    const QPoint corner(300, 120);
    controller->ShowPopup(popuptype::HistoryBack, corner);
    const TPopupWindow* back = controller->PopupOfType(popuptype::HistoryBack);
    ASSERT_TRUE(back->isVisible());
    EXPECT_EQ(back->geometry().right() + 1, corner.x());
    EXPECT_EQ(back->geometry().top(), corner.y());

    controller->HideAll();
    controller->ShowPopup(popuptype::HistoryForward, corner);
    EXPECT_EQ(controller->PopupOfType(popuptype::HistoryForward)->geometry().topLeft(), corner);
}

TEST_F(PopupController, ItemClick_HidesTheListAndRunsTheCommandThroughTheDispatcher) {
    auto controller = NewController(0);
    controller->ShowPopup(TPopupType{1}, QPoint(50, 50));
    TPopupWindow* list = controller->PopupOfType(TPopupType{1});
    ASSERT_TRUE(list->isVisible());
    ClickItem(list, 1);
    EXPECT_FALSE(list->isVisible());
    ASSERT_TRUE(test::PumpUntil([&] { return !m_dispatched.empty(); }));
    EXPECT_EQ(m_dispatched, (std::vector<std::string>{"bgsound"}));
}

TEST_F(PopupController, PageCommands_GoToThePagePanelNotTheDispatcher) {
    TPopupData data(1);
    data[0].push_back(ContextMenu(static_cast<std::int32_t>(popuptype::ContextHtml), {},
                                  {"history=4", "htmlpos=c:\\run\\a.htm=240", "copyclipboardhtml",
                                   "printhtml", "selectallhtml", "deffonthtml", "addtofavorite",
                                   "html=c:\\run\\b.htm", "screen3"}));
    auto controller = NewController(0, data);
    std::vector<std::string> actions;
    TPopupPageActions page;
    page.GoToHistory = [&](std::int32_t i) { actions.push_back("history " + std::to_string(i)); };
    page.OpenPage = [&](const std::string& p) { actions.push_back("open " + p); };
    page.OpenPageAt = [&](const std::string& p, std::int32_t y) {
        actions.push_back("open " + p + " at " + std::to_string(y));
    };
    page.CopySelection = [&] { actions.push_back("copy"); };
    page.PrintPage = [&] { actions.push_back("print"); };
    page.SelectAll = [&] { actions.push_back("select all"); };
    page.ChooseFonts = [&] { actions.push_back("fonts"); };
    page.AddToFavorites = [&] { actions.push_back("bookmark"); };
    controller->SetPageActions(page);

    TPopupWindow* list = controller->PopupOfType(popuptype::ContextHtml);
    for (int i = 0; i < list->ItemCount(); ++i) {
        controller->ShowPopup(popuptype::ContextHtml, QPoint(20, 20));
        ClickItem(list, i);
        test::Pump();
    }
    ASSERT_TRUE(test::PumpUntil([&] { return actions.size() == 8 && m_dispatched.size() == 1; }));
    EXPECT_EQ(actions,
              (std::vector<std::string>{"history 4", "open c:\\run\\a.htm at 240", "copy", "print",
                                        "select all", "fonts", "bookmark", "open c:\\run\\b.htm"}));
    EXPECT_EQ(m_dispatched, (std::vector<std::string>{"screen3"}));
}

TEST_F(PopupController, PageCommandsWithoutAPagePanel_DoNothing) {
    TPopupData data(1);
    data[0].push_back(ContextMenu(static_cast<std::int32_t>(popuptype::ContextHtml), {},
                                  {"printhtml", "history=2"}));
    auto controller = NewController(0, data);
    TPopupWindow* list = controller->PopupOfType(popuptype::ContextHtml);
    for (int i = 0; i < 2; ++i) {
        controller->ShowPopup(popuptype::ContextHtml, QPoint(20, 20));
        ClickItem(list, i);
    }
    test::Pump();
    EXPECT_TRUE(m_dispatched.empty());
}

TEST_F(PopupController, CommandThatChangesTheScreen_RebuildsTheListsSafely) {
    TPopupData data = ThreeScreens();
    data[0][0].Go = {"screen2", "screen2"};
    std::unique_ptr<TControlPopupWindow> controller;
    controller = std::make_unique<TControlPopupWindow>(
        data, &m_mainWindow,
        [&](const std::string& command) {
            m_dispatched.push_back(command);
            controller->ShowForScreen(1); // the screen change frees the clicked list
        },
        Favourites(), 0);
    controller->SetSlideEnabled(false);
    controller->ShowPopup(TPopupType{1}, QPoint(10, 10));
    ClickItem(controller->PopupOfType(TPopupType{1}), 0);
    ASSERT_TRUE(test::PumpUntil([&] { return !m_dispatched.empty(); }));
    EXPECT_EQ(controller->PopupCount(), 4);
    EXPECT_EQ(controller->PopupOfType(TPopupType{1}), nullptr);
    test::Pump();
}

TEST_F(PopupController, FavouritesListShowsTheStoredBookmarks) {
    m_store.WriteString("Favorite0", Ansi("{Тормоза}htmlpos=c:\\run\\brakes.htm=240"));
    m_store.WriteString("Favorite1", "damaged value");
    m_store.WriteString("Favorite2", Ansi("{Колодки}htmlpos=c:\\run\\pads.htm=0"));
    auto controller = NewController(1);
    ASSERT_NE(controller->Favorites(), nullptr);
    const TPopupWindow* list = controller->PopupOfType(popuptype::Favorite);
    EXPECT_EQ(UsedCommands(list), (std::vector<std::string>{"htmlpos=c:\\run\\brakes.htm=240",
                                                            "htmlpos=c:\\run\\pads.htm=0"}));
    EXPECT_EQ(list->Item(1).Caption(), Ansi("Колодки"));

    // A bookmark added later appears at the end of the list.
    EXPECT_TRUE(controller->Favorites()->AddCurrentPage(Ansi("Диски"), "c:\\run\\discs.htm", 80));
    ASSERT_EQ(list->VisibleItemCount(), 3);
    EXPECT_EQ(list->Item(2).Command(), "htmlpos=c:\\run\\discs.htm=80");

    // Screens without a favourites list keep no favourites object.
    controller->ShowForScreen(0);
    EXPECT_EQ(controller->Favorites(), nullptr);
    EXPECT_TRUE(m_store.ValueExists("Favorite2"));
}

// A screen whose lists have no favourites list used to make the bookmarks be
// loaded again by a later list, and the copy made first stored its older
// entries over the newer ones.
TEST_F(PopupController, RebuiltLists_ShowTheBookmarksOfTheRunAndStoreNoOlderOnes) {
    m_store.WriteString("Favorite0", "{A}htmlpos=c:\\a.htm=1");
    auto controller = NewController(0); // a context menu only
    EXPECT_EQ(controller->Favorites(), nullptr);
    EXPECT_EQ(Favourites()->List(), nullptr);

    controller->ShowForScreen(1);
    ASSERT_NE(controller->Favorites(), nullptr);
    EXPECT_TRUE(controller->Favorites()->AddCurrentPage("B", "c:\\b.htm", 2));
    controller->ShowForScreen(0);
    // Bookmarked elsewhere while this screen's lists have no favourites list.
    EXPECT_TRUE(Favourites()->AddCurrentPage("C", "c:\\c.htm", 3));
    controller->ShowForScreen(1);
    const TPopupWindow* list = controller->PopupOfType(popuptype::Favorite);
    EXPECT_EQ(UsedCommands(list),
              (std::vector<std::string>{"htmlpos=c:\\a.htm=1", "htmlpos=c:\\b.htm=2",
                                        "htmlpos=c:\\c.htm=3"}));
    controller.reset();
    EXPECT_EQ(Favourites()->List(), nullptr);
    m_favourites.reset();
    EXPECT_EQ(m_store.ReadString("Favorite2"),
              std::optional<std::string>("{C}htmlpos=c:\\c.htm=3"));
}

TEST_F(PopupController, DeleteMode_RemovesClickedBookmarkAndKeepsTheListOpen) {
    m_store.WriteString("Favorite0", "{A}htmlpos=c:\\a.htm=1");
    m_store.WriteString("Favorite1", "{B}htmlpos=c:\\b.htm=2");
    m_store.WriteString("Favorite2", "{C}htmlpos=c:\\c.htm=3");
    auto controller = NewController(1);
    TPopupWindow* list = controller->PopupOfType(popuptype::Favorite);
    controller->ShowPopup(popuptype::DeleteFavorite, QPoint(40, 40));
    ASSERT_TRUE(list->isVisible());
    EXPECT_TRUE(list->DeleteMode());

    ClickItem(list, 1);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(UsedCommands(list),
              (std::vector<std::string>{"htmlpos=c:\\a.htm=1", "htmlpos=c:\\c.htm=3"}));
    ASSERT_EQ(controller->Favorites()->Count(), 2);
    EXPECT_EQ(controller->Favorites()->Entries()[1].Caption, "C");
    EXPECT_FALSE(m_store.ValueExists("Favorite2"));

    ClickItem(list, 0);
    ClickItem(list, 0);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(controller->Favorites()->Count(), 0);
    test::Pump();
    EXPECT_TRUE(m_dispatched.empty());

    // Shown normally, the favourites list runs its entries again.
    controller->Favorites()->AddCurrentPage("D", "c:\\d.htm", 4);
    controller->ShowPopup(popuptype::Favorite, QPoint(40, 40));
    EXPECT_FALSE(list->DeleteMode());
}

TEST_F(PopupController, EmptyFavouritesList_ShowsNothingInEitherMode) {
    auto controller = NewController(1);
    controller->ShowPopup(popuptype::Favorite, QPoint(40, 40));
    controller->ShowPopup(popuptype::DeleteFavorite, QPoint(40, 40));
    EXPECT_FALSE(controller->AnyVisible());
}

TEST_F(PopupController, PressAnywhereElseInTheApplication_ClosesTheLists) {
    auto controller = NewController(0);
    controller->ShowPopup(TPopupType{1}, QPoint(50, 50));
    TPopupWindow* list = controller->PopupOfType(TPopupType{1});
    ASSERT_TRUE(list->isVisible());

    // A press on the list outside its entries keeps it open.
    test::SendMouse(list, QEvent::MouseButtonPress, QPoint(2, 2));
    EXPECT_TRUE(list->isVisible());

    test::SendMouse(&m_mainWindow, QEvent::MouseButtonPress, QPoint(300, 250), Qt::RightButton);
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(m_dispatched.empty());

    QWidget other;
    other.resize(50, 50);
    other.show();
    controller->ShowPopup(TPopupType{1}, QPoint(50, 50));
    ASSERT_TRUE(list->isVisible());
    test::Click(&other, QPoint(10, 10));
    EXPECT_FALSE(list->isVisible());
}

TEST_F(PopupController, ApplicationLosingActivation_ClosesTheLists) {
    auto controller = NewController(0);
    controller->ShowPopup(TPopupType{1}, QPoint(50, 50));
    ASSERT_TRUE(controller->AnyVisible());
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(controller->AnyVisible());
}

TEST_F(PopupController, DamagedDescriptions_AreShownAsFarAsTheyCanBe) {
    TPopupData data(2);
    RPopupData noPictures = ContextMenu(2, {"a"}, {"screen1"});
    noPictures.FnFon = "skin\\gone.bmp";
    noPictures.FnBtnUp = {};
    noPictures.FnBtnMove = {};
    noPictures.FnBtnDown = {};
    RPopupData noEntries = ContextMenu(3, {"a", "b"}, {});
    RPopupData described4 =
        ContextMenu(static_cast<std::int32_t>(popuptype::DeleteFavorite), {"x"}, {"about"});
    RPopupData badShape = ContextMenu(5, {"a"}, {"help"});
    badShape.Vertex = {"1;2", "3,4", "5,6"};
    data[0] = {noPictures, noEntries, described4, badShape};
    auto controller = NewController(0, data);
    ASSERT_EQ(controller->PopupCount(), 4);

    controller->ShowPopup(TPopupType{2}, QPoint(10, 10)); // nothing to paint
    controller->ShowPopup(TPopupType{3}, QPoint(10, 10)); // no entries
    controller->ShowPopup(TPopupType{5}, QPoint(10, 10)); // shape list is not pairs of integers
    controller->ShowPopup(TPopupType{42}, QPoint(10, 10));
    controller->ShowPopup(popuptype::DeleteFavorite, QPoint(10, 10)); // no favourites list
    EXPECT_FALSE(controller->AnyVisible());
    EXPECT_EQ(controller->Favorites(), nullptr);

    controller->SetItem("z", "z", 99, TPopupType{2});
    controller->SetItem("z", "z", -1, TPopupType{2});
    controller->SetItemVisible(true, TPopupType{2}, 5);
    controller->SetItemVisible(true, TPopupType{77}, 0);
    controller->AddItem("z", "z", TPopupType{77});
    controller->SetItemCount(3, TPopupType{77});
    controller->SetHistoryPopups({}, {});
    EXPECT_EQ(controller->PopupOfType(TPopupType{2})->ItemCount(), 1);

    // On another screen the same list shows without its shape.
    controller->ShowForScreen(1);
    controller->ShowPopup(TPopupType{5}, QPoint(10, 10));
    EXPECT_TRUE(controller->PopupOfType(TPopupType{5})->isVisible());
}

} // namespace
} // namespace carmanual
