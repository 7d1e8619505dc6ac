// Bookmarks: their stored form, the 17-entry limit, deletion, damaged values
// and the list they fill.

#include "htmlfavorite.h"

#include "ansi.h"
#include "settingnames.h"
#include "settingsstore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace carmanual {
namespace {

std::string A(std::string_view utf8) {
    return Utf8ToAnsi(utf8);
}

std::string Name(std::int32_t i) {
    return settingname::Favorite(i);
}

// Records what the favourites do to their popup list.
class RecordingList final : public IFavoriteList {
public:
    void AddItem(const std::string& caption, const std::string& command) override {
        items.push_back({caption, command});
    }
    void SetItem(const std::string& caption, const std::string& command,
                 std::int32_t index) override {
        ++setCalls;
        ASSERT_GE(index, 0);
        ASSERT_LT(static_cast<std::size_t>(index), items.size());
        items[static_cast<std::size_t>(index)] = {caption, command};
    }
    TDynamicFavoriteCaption items;
    int setCalls = 0;
};

std::string Page(int i) {
    return "c:\\run\\page" + std::to_string(i) + ".htm";
}

TEST(Favorites, StoredValue_HasTheCaptionInBracesAndTheCommand) {
    TMemorySettingsStore store;
    {
        THtmlFavorite favorites(store);
        EXPECT_TRUE(favorites.AddCurrentPage(A("Тормоза"), "d:\\run\\brakes.htm", 240));
    }
    EXPECT_EQ(store.ReadString(Name(0)), A("{Тормоза}htmlpos=d:\\run\\brakes.htm=240"));
}

TEST(Favorites, RoundTrip_ThroughTheStore) {
    TMemorySettingsStore store;
    {
        THtmlFavorite favorites(store);
        favorites.AddCurrentPage("One", Page(1), 0);
        favorites.AddCurrentPage("Two", Page(2), 120);
        favorites.AddCurrentPage(A("Три"), Page(3), 99999);
    }
    RecordingList list;
    THtmlFavorite again(store, &list);
    const TDynamicFavoriteCaption expected = {
        {"One", "htmlpos=" + Page(1) + "=0"},
        {"Two", "htmlpos=" + Page(2) + "=120"},
        {A("Три"), "htmlpos=" + Page(3) + "=99999"},
    };
    EXPECT_EQ(again.Entries(), expected);
    EXPECT_EQ(list.items, expected);
    EXPECT_EQ(ParseHtmlPosCommand(again.Entries()[1].Command), (THtmlPosTarget{Page(2), 120}));
}

TEST(Favorites, AddedEntries_AreStoredAtOnce) {
    TMemorySettingsStore store;
    THtmlFavorite favorites(store);
    favorites.AddCurrentPage("One", Page(1), 5);
    EXPECT_EQ(store.ReadString(Name(0)), "{One}htmlpos=" + Page(1) + "=5");
}

TEST(Favorites, SameTitleInAnyLetterCase_IsRefused) {
    TMemorySettingsStore store;
    RecordingList list;
    THtmlFavorite favorites(store, &list);
    EXPECT_TRUE(favorites.AddCurrentPage(A("Тормоза"), Page(1), 0));
    EXPECT_FALSE(favorites.AddCurrentPage(A("ТОРМОЗА"), Page(2), 10));
    EXPECT_EQ(favorites.Count(), 1);
    EXPECT_EQ(list.items.size(), 1u);
}

TEST(Favorites, UntitledPage_HasAnEmptyCaption_AndASecondOneIsRefused) {
    TMemorySettingsStore store;
    THtmlFavorite favorites(store);
    EXPECT_TRUE(favorites.AddCurrentPage("", Page(1), 0));
    EXPECT_EQ(favorites.Entries()[0].Caption, "");
    EXPECT_FALSE(favorites.AddCurrentPage("", Page(2), 0));
}

TEST(Favorites, NoPageShown_AddsNothing) {
    TMemorySettingsStore store;
    THtmlFavorite favorites(store);
    EXPECT_FALSE(favorites.AddCurrentPage("Title", "", 0));
    EXPECT_EQ(favorites.Count(), 0);
}

TEST(Favorites, ClosingBraceInTheTitle_DoesNotBreakTheStoredValue) {
    TMemorySettingsStore store;
    {
        THtmlFavorite favorites(store);
        favorites.AddCurrentPage("Set {a} and b", Page(1), 7);
    }
    THtmlFavorite again(store);
    ASSERT_EQ(again.Count(), 1);
    EXPECT_EQ(again.Entries()[0].Command, "htmlpos=" + Page(1) + "=7");
    EXPECT_EQ(again.Entries()[0].Caption.find('}'), std::string::npos);
}

TEST(Favorites, SeventeenEntries_ANewOneDropsTheOldestAndBecomesTheLast) {
    TMemorySettingsStore store;
    RecordingList list;
    {
        THtmlFavorite favorites(store, &list);
        for (int i = 0; i < 17; ++i)
            ASSERT_TRUE(favorites.AddCurrentPage("T" + std::to_string(i), Page(i), i));
        EXPECT_EQ(list.setCalls, 0);
        EXPECT_TRUE(favorites.AddCurrentPage("New", Page(99), 42));
        EXPECT_EQ(favorites.Count(), 17);
        EXPECT_EQ(favorites.Entries().front().Caption, "T1");
        EXPECT_EQ(favorites.Entries().back(),
                  (RFavoriteCaption{"New", "htmlpos=" + Page(99) + "=42"}));
        // the list shows the same entries, without growing
        EXPECT_EQ(list.items, favorites.Entries());
        EXPECT_EQ(list.setCalls, 17);
    }
    EXPECT_EQ(store.ReadString(Name(0)), "{T1}htmlpos=" + Page(1) + "=1");
    EXPECT_EQ(store.ReadString(Name(16)), "{New}htmlpos=" + Page(99) + "=42");
    EXPECT_FALSE(store.ValueExists(Name(17)));
}

TEST(Favorites, DeletingTwoOfFive_LeavesThreeValuesWithoutGaps) {
    TMemorySettingsStore store;
    {
        THtmlFavorite favorites(store);
        for (int i = 0; i < 5; ++i)
            favorites.AddCurrentPage("T" + std::to_string(i), Page(i), 0);
        EXPECT_TRUE(favorites.DeleteEntry(1));
        EXPECT_TRUE(favorites.DeleteEntry(2)); // T3, now at index 2
        EXPECT_FALSE(favorites.DeleteEntry(3));
        EXPECT_FALSE(favorites.DeleteEntry(-1));
    }
    EXPECT_EQ(store.ReadString(Name(0)), "{T0}htmlpos=" + Page(0) + "=0");
    EXPECT_EQ(store.ReadString(Name(1)), "{T2}htmlpos=" + Page(2) + "=0");
    EXPECT_EQ(store.ReadString(Name(2)), "{T4}htmlpos=" + Page(4) + "=0");
    EXPECT_FALSE(store.ValueExists(Name(3)));
    EXPECT_FALSE(store.ValueExists(Name(4)));
}

TEST(Favorites, DamagedValues_AreSkippedAndTheOthersKept) {
    TMemorySettingsStore store;
    store.WriteString(Name(0), "{Good one}htmlpos=" + Page(0) + "=10");
    store.WriteString(Name(1), "no braces at all");
    store.WriteString(Name(2), "{never closed htmlpos=" + Page(2) + "=0");
    store.WriteString(Name(3), "{Caption only}");
    store.WriteInteger(Name(4), 12345);
    store.WriteString(Name(5), std::string("\x01\xff}{\0garbage", 12));
    store.WriteString(Name(6), "");
    // Name(7) missing
    store.WriteString(Name(8), "{Good two}htmlpos=" + Page(8) + "=80");
    store.WriteString(Name(16), "{Last}htmlpos=" + Page(16) + "=0");
    store.WriteString(Name(17), "{Beyond the limit}htmlpos=" + Page(17) + "=0");

    RecordingList list;
    {
        THtmlFavorite favorites(store, &list);
        ASSERT_EQ(favorites.Count(), 3);
        EXPECT_EQ(favorites.Entries()[0].Caption, "Good one");
        EXPECT_EQ(favorites.Entries()[1].Caption, "Good two");
        EXPECT_EQ(favorites.Entries()[2].Caption, "Last");
        EXPECT_EQ(list.items, favorites.Entries());
    }
    // stored again without gaps: the damaged values are gone
    EXPECT_EQ(store.ReadString(Name(1)), "{Good two}htmlpos=" + Page(8) + "=80");
    EXPECT_EQ(store.ReadString(Name(2)), "{Last}htmlpos=" + Page(16) + "=0");
    for (int i = 3; i < 17; ++i)
        EXPECT_FALSE(store.ValueExists(Name(i))) << i;
}

TEST(Favorites, ReadOnlyStore_KeepsTheEntriesInMemory) {
    TMemorySettingsStore store;
    store.WriteString(Name(0), "{Old}htmlpos=" + Page(0) + "=0");
    store.SetReadOnly(true);
    {
        THtmlFavorite favorites(store);
        EXPECT_TRUE(favorites.AddCurrentPage("New", Page(1), 0));
        EXPECT_EQ(favorites.Count(), 2);
        EXPECT_TRUE(favorites.DeleteEntry(0));
    }
    EXPECT_EQ(store.ReadString(Name(0)), "{Old}htmlpos=" + Page(0) + "=0");
    EXPECT_FALSE(store.ValueExists(Name(1)));
}

TEST(FavoriteValue, Parsing) {
    struct Row {
        std::string value;
        std::optional<RFavoriteCaption> entry;
    };
    const Row rows[] = {
        {"{A}htmlpos=c:\\a.htm=1", RFavoriteCaption{"A", "htmlpos=c:\\a.htm=1"}},
        {"{}htmlpos=c:\\a.htm=1", RFavoriteCaption{"", "htmlpos=c:\\a.htm=1"}},
        {"{a{b}cmd", RFavoriteCaption{"a{b", "cmd"}},
        {"{a}b}cmd", RFavoriteCaption{"a", "b}cmd"}},
        {"x}{A}cmd", RFavoriteCaption{"A", "cmd"}},
        {"{A}  ", std::nullopt},
        {"A}cmd", std::nullopt},
        {"{A cmd", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& r : rows)
        EXPECT_EQ(THtmlFavorite::ParseValue(r.value), r.entry) << r.value;
}

TEST(HtmlPosCommand, OpensTheDocumentAtThePosition) {
    struct Row {
        std::string command;
        std::optional<THtmlPosTarget> target;
    };
    const Row rows[] = {
        {"htmlpos=d:\\run\\brakes.htm=240", THtmlPosTarget{"d:\\run\\brakes.htm", 240}},
        {"HTMLPOS=d:\\run\\brakes.htm=0", THtmlPosTarget{"d:\\run\\brakes.htm", 0}},
        {"htmlpos=d:\\run\\a=b.htm=30", THtmlPosTarget{"d:\\run\\a=b.htm", 30}},
        {"htmlpos=d:\\run\\brakes.htm", THtmlPosTarget{"d:\\run\\brakes.htm", 0}},
        {"htmlpos=d:\\run\\brakes.htm=abc", THtmlPosTarget{"d:\\run\\brakes.htm", 0}},
        {"htmlpos=d:\\run\\brakes.htm=-5", THtmlPosTarget{"d:\\run\\brakes.htm", 0}},
        {"htmlpos==240", std::nullopt},
        {"htmlpos=", std::nullopt},
        {"html=d:\\run\\brakes.htm=240", std::nullopt},
        {"garbage", std::nullopt},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ParseHtmlPosCommand(r.command), r.target) << r.command;
    EXPECT_EQ(HtmlPosCommand("d:\\x.htm", 15), "htmlpos=d:\\x.htm=15");
}

} // namespace
} // namespace carmanual
