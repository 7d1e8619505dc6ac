// History steps, chapters and the switches pressed to follow them, the
// history popups and what the history event updates.

#include "historychapters.h"

#include "ansi.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace carmanual {
namespace {

using TKind = TSwitchPress::TKind;

std::string A(std::string_view utf8) {
    return Utf8ToAnsi(utf8);
}

THistorySnapshot History(std::vector<std::string> files, std::int32_t position) {
    THistorySnapshot h;
    for (std::size_t i = 0; i < files.size(); ++i)
        h.Titles.push_back("Title " + std::to_string(i));
    h.Files = std::move(files);
    h.Position = position;
    if (position >= 0 && static_cast<std::size_t>(position) < h.Files.size())
        h.CurrentDocument = h.Files[static_cast<std::size_t>(position)];
    return h;
}

std::vector<std::int32_t> UsedEntries(const THistoryPopupItems& items) {
    std::vector<std::int32_t> out;
    for (const THistoryPopupItem& item : items)
        out.push_back(item.Used ? item.Entry : -1);
    return out;
}

// ---- the history popups ----

TEST(HistoryPopups, FourEntriesAtPositionOne) {
    const THistorySnapshot h = History({"d0", "d1", "d2", "d3"}, 1);
    EXPECT_EQ(UsedEntries(BackPopupItems(h)),
              (std::vector<std::int32_t>{2, 3, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(UsedEntries(ForwardPopupItems(h)),
              (std::vector<std::int32_t>{-1, -1, -1, -1, -1, -1, -1, 0}));
    const THistoryPopupItem item = BackPopupItems(h)[1];
    EXPECT_EQ(item.Caption, "Title 3");
    EXPECT_EQ(item.Command, "history=3");
}

TEST(HistoryPopups, AtMostEightEachWay_NearestNewerAtTheTop) {
    std::vector<std::string> files;
    for (int i = 0; i < 10; ++i)
        files.push_back("d" + std::to_string(i));
    EXPECT_EQ(UsedEntries(BackPopupItems(History(files, 0))),
              (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(UsedEntries(ForwardPopupItems(History(files, 9))),
              (std::vector<std::int32_t>{8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(UsedEntries(ForwardPopupItems(History(files, 3))),
              (std::vector<std::int32_t>{-1, -1, -1, -1, -1, 2, 1, 0}));
    EXPECT_EQ(UsedEntries(BackPopupItems(History(files, 9))), std::vector<std::int32_t>(8, -1));
}

TEST(HistoryPopups, Captions) {
    THistorySnapshot h = History({"d0", "d1", "d2"}, 0);
    h.Titles = {"", "", std::string(300, 'x')};
    const THistoryPopupItems back = BackPopupItems(h);
    EXPECT_EQ(back[0].Caption, A("Без названия"));
    EXPECT_EQ(back[1].Caption, std::string(255, 'x'));
    // titles missing from the engine's list count as empty
    h.Titles.clear();
    EXPECT_EQ(BackPopupItems(h)[0].Caption, A("Без названия"));
}

TEST(HistoryPopups, EntriesWhosePageIsGone_AreLeftOut) {
    const std::set<std::string> gone = {"d2"};
    const TPageExists exists = [&](std::string_view f) { return !gone.count(std::string(f)); };
    const THistorySnapshot h = History({"d0", "d1", "d2", "d3", "d4#top"}, 1);
    EXPECT_EQ(UsedEntries(BackPopupItems(h, exists)),
              (std::vector<std::int32_t>{3, 4, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(BackPopupItems(h, exists)[0].Command, "history=3");
}

// ---- steps and jumps ----

TEST(HistorySteps, EndsOfTheHistory_GiveNothing) {
    const THistorySnapshot h = History({"d0", "d1", "d2"}, 0);
    EXPECT_EQ(HistoryStepTarget(THistoryDirection::Back, h), 1);
    EXPECT_EQ(HistoryStepTarget(THistoryDirection::Forward, h), std::nullopt);
    const THistorySnapshot oldest = History({"d0", "d1", "d2"}, 2);
    EXPECT_EQ(HistoryStepTarget(THistoryDirection::Back, oldest), std::nullopt);
    EXPECT_EQ(HistoryStepTarget(THistoryDirection::Forward, oldest), 1);
    EXPECT_EQ(HistoryStepTarget(THistoryDirection::Back, THistorySnapshot{}), std::nullopt);
}

TEST(HistorySteps, EntryWhosePageIsGone_IsSteppedOver) {
    const TPageExists exists = [](std::string_view f) { return f != "d1" && f != "d2"; };
    EXPECT_EQ(
        HistoryStepTarget(THistoryDirection::Back, History({"d0", "d1", "d2", "d3"}, 0), exists),
        3);
    EXPECT_EQ(
        HistoryStepTarget(THistoryDirection::Forward, History({"d0", "d1", "d2", "d3"}, 3), exists),
        0);
    EXPECT_EQ(HistoryStepTarget(THistoryDirection::Back, History({"d0", "d1", "d2"}, 0), exists),
              std::nullopt);
}

TEST(HistoryJump, OnlyToEntriesThatExist) {
    const TPageExists exists = [](std::string_view f) { return f != "d1"; };
    const THistorySnapshot h = History({"d0", "d1", "d2"}, 0);
    EXPECT_EQ(HistoryJumpTarget(2, h, exists), 2);
    EXPECT_EQ(HistoryJumpTarget(1, h, exists), std::nullopt);
    EXPECT_EQ(HistoryJumpTarget(3, h, exists), std::nullopt);
    EXPECT_EQ(HistoryJumpTarget(-1, h, exists), std::nullopt);
}

TEST(HistoryJump, CommandIndex) {
    EXPECT_EQ(HistoryCommandIndex("history=3"), 3);
    EXPECT_EQ(HistoryCommandIndex("history=12"), 12);
    EXPECT_EQ(HistoryCommandIndex("history="), std::nullopt);
    EXPECT_EQ(HistoryCommandIndex("history=x"), std::nullopt);
    EXPECT_EQ(HistoryCommandIndex("history=3x"), std::nullopt);
    EXPECT_EQ(HistoryCommandIndex("html=3"), std::nullopt);
    EXPECT_EQ(HistoryCommandIndex("history"), std::nullopt);
}

// ---- chapters ----

TEST(Chapters, FirstPath) {
    EXPECT_EQ(ChapterFirstPath("d:\\run\\brakes.htm; d:\\run\\pads.htm"), "d:\\run\\brakes.htm");
    EXPECT_EQ(ChapterFirstPath("  d:\\run\\brakes.htm  "), "d:\\run\\brakes.htm");
}

TEST(Chapters, RegisterChapter_FindsOrStartsAChapter) {
    THistoryChapters c(1);
    EXPECT_EQ(c.CurrentChapter(0), -1);
    c.RegisterChapter(0, "c:\\run\\brakes.htm");
    c.RegisterChapter(0, "c:\\run\\engine.htm");
    EXPECT_EQ(c.CurrentChapter(0), 1);
    c.RegisterChapter(0, "c:\\run\\BRAKES.htm");
    EXPECT_EQ(c.CurrentChapter(0), 0);
    EXPECT_EQ(c.Chapters(0).size(), 2u);
    // a page is not a chapter of a longer name that merely contains it
    c.RegisterChapter(0, "c:\\run\\engine.ht");
    EXPECT_EQ(c.Chapters(0).size(), 3u);
    EXPECT_EQ(c.CurrentChapterFirstPath(0), "c:\\run\\engine.ht");
}

TEST(Chapters, UnknownViewer_IsIgnored) {
    THistoryChapters c(1);
    c.RegisterChapter(5, "c:\\run\\a.htm");
    EXPECT_TRUE(c.Chapters(5).empty());
    EXPECT_EQ(c.CurrentChapter(5), -1);
    const THistoryUpdate u = c.HistoryChanged(5, History({"c:\\run\\a.htm"}, 0), std::nullopt);
    EXPECT_EQ(u.Document, "c:\\run\\a.htm");
}

TEST(Chapters, EachViewerKeepsItsOwnCurrentChapter) {
    THistoryChapters c(2);
    c.RegisterChapter(0, "c:\\run\\a.htm");
    c.RegisterChapter(0, "c:\\run\\b.htm");
    c.RegisterChapter(1, "c:\\run\\x.htm");
    EXPECT_EQ(c.CurrentChapter(0), 1);
    EXPECT_EQ(c.CurrentChapter(1), 0);
    // a link page on viewer 0 joins viewer 0's current chapter
    c.HistoryChanged(0, History({"c:\\run\\link.htm"}, 0), std::nullopt);
    EXPECT_EQ(c.Chapters(0)[1], "c:\\run\\b.htm; c:\\run\\link.htm");
    EXPECT_EQ(c.Chapters(1)[0], "c:\\run\\x.htm");
}

// ---- a viewer's history driven like the engine drives it ----

// Keeps a history like the HTML engine (newest first, at most 10 entries; a
// new page drops the entries newer than the one shown) and runs the history
// event after every navigation.
class Reader : public ::testing::Test {
protected:
    void Html(const std::string& page) {
        m_chapters.RegisterChapter(0, page);
        Load(page);
    }
    void Link(const std::string& page) { Load(page); }

    // Back or forward: the entry to step to, the switches the step presses.
    std::vector<TSwitchPress> Step(THistoryDirection direction, bool* beeped = nullptr) {
        const std::optional<std::int32_t> target =
            HistoryStepTarget(direction, m_history, m_exists);
        if (beeped)
            *beeped = !target;
        if (!target)
            return {};
        const std::string before = m_history.CurrentDocument;
        m_history.Position = *target;
        m_history.CurrentDocument = Document(m_history.Files[static_cast<std::size_t>(*target)]);
        m_last = m_chapters.HistoryChanged(0, m_history, std::nullopt, m_exists);
        return m_chapters.SwitchesToPress(0, before, m_history.CurrentDocument, m_switches,
                                          m_groups);
    }
    std::vector<TSwitchPress> Back(bool* beeped = nullptr) {
        return Step(THistoryDirection::Back, beeped);
    }
    std::vector<TSwitchPress> Forward(bool* beeped = nullptr) {
        return Step(THistoryDirection::Forward, beeped);
    }

    static std::string Document(const std::string& file) { return file.substr(0, file.find('#')); }
    void Load(const std::string& page) {
        m_history.Files.erase(m_history.Files.begin(),
                              m_history.Files.begin() + m_history.Position);
        m_history.Files.insert(m_history.Files.begin(), page);
        if (m_history.Files.size() > 10)
            m_history.Files.resize(10);
        m_history.Titles.assign(m_history.Files.size(), "");
        m_history.Position = 0;
        m_history.CurrentDocument = Document(page);
        m_last = m_chapters.HistoryChanged(0, m_history, std::nullopt, m_exists);
    }

    static RSwthOne Switch(std::string down, std::string up, std::int32_t left, std::int32_t top) {
        RSwthOne s;
        s.CommandDown = std::move(down);
        s.CommandUp = std::move(up);
        s.Left = left;
        s.Top = top;
        return s;
    }
    static RSwthGrp Member(std::string command, std::int32_t left, std::int32_t top) {
        RSwthGrp g;
        g.Command = std::move(command);
        g.Left = left;
        g.Top = top;
        return g;
    }

    THistoryChapters m_chapters{1, "z:\\tmp\\"};
    THistorySnapshot m_history;
    THistoryUpdate m_last;
    TPageExists m_exists;
    std::vector<RSwthOne> m_switches = {
        Switch("html1=c:\\run\\brakes.htm", "html1=c:\\run\\intro.htm", 10, 20),
        Switch("html1=c:\\run\\engine.htm", "screen1", 30, 40),
    };
    std::vector<RSwthGrp> m_groups = {Member("html1=c:\\run\\body.htm", 50, 60),
                                      Member("screen2", 70, 80)};
};

TEST_F(Reader, BackAndForward_PressTheSwitchOfTheChapterRead) {
    Html("c:\\run\\brakes.htm");
    Link("c:\\run\\pads.htm");
    Html("c:\\run\\engine.htm");
    Html("c:\\run\\body.htm");

    EXPECT_EQ(Back(), (std::vector<TSwitchPress>{{TKind::SingleSwitch, 1, 31, 41}}));
    // pads.htm was reached by a link from brakes.htm: its chapter is brakes
    EXPECT_EQ(Back(), (std::vector<TSwitchPress>{{TKind::SingleSwitch, 0, 11, 21}}));
    EXPECT_EQ(m_chapters.CurrentChapter(0), 0);
    EXPECT_EQ(Back(), (std::vector<TSwitchPress>{{TKind::SingleSwitch, 0, 11, 21}}));
    bool beeped = false;
    EXPECT_TRUE(Back(&beeped).empty());
    EXPECT_TRUE(beeped);

    EXPECT_EQ(Forward(), (std::vector<TSwitchPress>{{TKind::SingleSwitch, 0, 11, 21}}));
    EXPECT_EQ(Forward(), (std::vector<TSwitchPress>{{TKind::SingleSwitch, 1, 31, 41}}));
    EXPECT_EQ(Forward(), (std::vector<TSwitchPress>{{TKind::GroupMember, 0, 51, 61}}));
    EXPECT_TRUE(Forward(&beeped).empty());
    EXPECT_TRUE(beeped);
}

TEST_F(Reader, LinkedPage_JoinsTheChapterInLowerCase_AndAStepOntoItSelectsItAgain) {
    Html("c:\\run\\brakes.htm");
    Link("C:\\RUN\\Pads.htm");
    EXPECT_EQ(m_chapters.Chapters(0)[0], "c:\\run\\brakes.htm; c:\\run\\pads.htm");
    Html("c:\\run\\engine.htm");
    EXPECT_EQ(m_chapters.CurrentChapter(0), 1);
    Back();
    EXPECT_EQ(m_chapters.CurrentChapter(0), 0);
    // the page is not appended a second time
    EXPECT_EQ(m_chapters.Chapters(0)[0], "c:\\run\\brakes.htm; c:\\run\\pads.htm");
}

TEST_F(Reader, StepOntoTheSameDocument_PressesNothing) {
    Html("c:\\run\\brakes.htm");
    Html("c:\\run\\engine.htm");
    Link("c:\\run\\engine.htm#pistons");
    EXPECT_TRUE(Back().empty()); // engine.htm#pistons -> engine.htm
    EXPECT_EQ(Back().size(), 1u);
}

TEST_F(Reader, SwitchThatIsOn_IsMatchedByTheCommandItsClickRuns) {
    m_switches[0].State = true; // its click runs goup: intro.htm
    Html("c:\\run\\intro.htm");
    Html("c:\\run\\brakes.htm");
    Html("c:\\run\\engine.htm");
    EXPECT_EQ(Back(), std::vector<TSwitchPress>{}); // brakes: switch 0 is on, goup is intro
    EXPECT_EQ(Back(), (std::vector<TSwitchPress>{{TKind::SingleSwitch, 0, 11, 21}}));
}

TEST_F(Reader, SeveralSwitchesNamingTheChapter_AreAllPressedInOrder) {
    m_groups.push_back(Member("html2=c:\\run\\brakes.htm", 90, 100));
    Html("c:\\run\\brakes.htm");
    Html("c:\\run\\engine.htm");
    EXPECT_EQ(Back(), (std::vector<TSwitchPress>{{TKind::SingleSwitch, 0, 11, 21},
                                                 {TKind::GroupMember, 2, 91, 101}}));
}

TEST_F(Reader, BeforeAnyHtmlCommand_NothingIsAppendedOrPressed) {
    Link("c:\\run\\brakes.htm");
    Link("c:\\run\\engine.htm");
    EXPECT_TRUE(m_chapters.Chapters(0).empty());
    EXPECT_TRUE(Back().empty());
    EXPECT_TRUE(Forward().empty());
    EXPECT_TRUE(m_chapters.Chapters(0).empty());
}

TEST_F(Reader, HistoryEntryWhosePageIsGone_IsSteppedOverAndNotListed) {
    Html("c:\\run\\brakes.htm");
    Html("c:\\run\\deleted.htm");
    Html("c:\\run\\engine.htm");
    m_exists = [](std::string_view f) { return f != "c:\\run\\deleted.htm"; };
    EXPECT_EQ(Back(), (std::vector<TSwitchPress>{{TKind::SingleSwitch, 0, 11, 21}}));
    EXPECT_EQ(m_history.Position, 2);
    EXPECT_EQ(UsedEntries(m_last.Forward),
              (std::vector<std::int32_t>{-1, -1, -1, -1, -1, -1, -1, 0}));
}

TEST_F(Reader, HistoryLimit_KeepsTenEntries) {
    for (int i = 0; i < 14; ++i)
        Html("c:\\run\\p" + std::to_string(i) + ".htm");
    EXPECT_EQ(m_history.Files.size(), 10u);
    EXPECT_EQ(UsedEntries(m_last.Back), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(m_last.Back[0].Command, "history=1");
}

// ---- the other updates of the history event ----

TEST(HistoryChanged, PageTitleText_IsTheTitleAndTwoSpaces) {
    THistoryChapters c(1);
    const THistorySnapshot h = History({"c:\\run\\a.htm"}, 0);
    EXPECT_EQ(c.HistoryChanged(0, h, A("Тормоза")).PageTitleText, A("Тормоза") + "  ");
    EXPECT_EQ(c.HistoryChanged(0, h, std::string()).PageTitleText, "  ");
    EXPECT_EQ(c.HistoryChanged(0, h, std::nullopt).PageTitleText, std::nullopt);
}

TEST(HistoryChanged, ArchiveListing_OnlyForListingPagesInTheTemporaryFolder) {
    THistoryChapters c(1, "z:\\tmp\\");
    struct Row {
        const char* document;
        bool listing;
    };
    const Row rows[] = {
        {"z:\\tmp\\as_D__soft_drv_rar\\as_drv.rar.htm", true},
        {"Z:\\TMP\\AS_d__soft_drv_rar\\as_01234.htm", true},
        {"z:\\tmp\\as_x.htm", true},
        {"z:\\tmp\\other\\as_x.htm", false},
        {"z:\\tmp\\bas_x.htm", false},
        {"c:\\run\\as_drv.htm", false},
        {"z:\\tmp\\", false},
        {"", false},
    };
    for (const Row& r : rows) {
        const THistorySnapshot h = History({r.document}, 0);
        EXPECT_EQ(c.HistoryChanged(0, h, std::nullopt).ArchiveListing, r.listing) << r.document;
    }
}

TEST(SwitchesNaming, IgnoresLetterCase_AndAnEmptyPathNamesNothing) {
    std::vector<RSwthOne> switches(1);
    switches[0].CommandDown = "html1=c:\\run\\brakes.htm";
    EXPECT_EQ(THistoryChapters::SwitchesNaming("C:\\RUN\\Brakes.htm", switches, {}).size(), 1u);
    EXPECT_TRUE(THistoryChapters::SwitchesNaming("", switches, {}).empty());
    EXPECT_TRUE(THistoryChapters::SwitchesNaming("  ", switches, {}).empty());
}

} // namespace
} // namespace carmanual
