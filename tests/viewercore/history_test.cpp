#include "viewerhistory.h"
#include "visitedlinks.h"

#include "ansi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace carmanual {
namespace {

std::vector<std::string> Entries(const TViewerHistory<std::string>& h) {
    return h.Entries();
}

TEST(ViewerHistory, NewestFirstWithinTheLimit) {
    TViewerHistory<std::string> h;
    h.SetMaxCount(3);
    for (const char* f : {"a", "b", "c", "d"})
        EXPECT_TRUE(h.Push(f));
    EXPECT_EQ(Entries(h), (std::vector<std::string>{"d", "c", "b"}));
    EXPECT_EQ(h.Position(), 0);
    EXPECT_TRUE(h.CanGoBack());
    EXPECT_FALSE(h.CanGoForward());
}

TEST(ViewerHistory, NavigatingFromAnOlderEntry_DropsTheNewerOnes) {
    TViewerHistory<std::string> h;
    h.SetMaxCount(10);
    for (const char* f : {"a", "b", "c", "d"})
        h.Push(f);
    ASSERT_TRUE(h.SetPosition(2)); // "b"
    EXPECT_EQ(h.Current(), "b");
    EXPECT_TRUE(h.CanGoForward());
    h.Push("e");
    EXPECT_EQ(Entries(h), (std::vector<std::string>{"e", "b", "a"}));
    EXPECT_EQ(h.Position(), 0);
}

TEST(ViewerHistory, PositionOutOfRange_ChangesNothing) {
    TViewerHistory<std::string> h;
    h.SetMaxCount(5);
    h.Push("a");
    h.Push("b");
    EXPECT_FALSE(h.SetPosition(2));
    EXPECT_FALSE(h.SetPosition(-1));
    EXPECT_EQ(h.Position(), 0);
}

TEST(ViewerHistory, ZeroLimit_KeepsNothing) {
    TViewerHistory<std::string> h;
    EXPECT_FALSE(h.Push("a"));
    EXPECT_TRUE(h.Empty());
    h.SetMaxCount(4);
    for (const char* f : {"a", "b", "c", "d"})
        h.Push(f);
    h.SetPosition(3);
    h.SetMaxCount(2); // shrinking keeps the newest and a valid position
    EXPECT_EQ(Entries(h), (std::vector<std::string>{"d", "c"}));
    EXPECT_EQ(h.Position(), 1);
}

TEST(VisitedLinks, IgnoreCaseAndAnchorsNewestFirst) {
    TVisitedLinks v;
    v.SetMaxCount(3);
    v.Add("c:\\ch02\\a.htm");
    v.Add("c:\\ch02\\B.htm#x");
    v.Add("c:\\\xD0\xE0\xE7\xE4\xE5\xEB\\c.htm");
    EXPECT_TRUE(v.Contains("C:\\CH02\\A.HTM#part"));
    EXPECT_TRUE(v.Contains("c:\\ch02\\b.htm"));
    EXPECT_TRUE(v.Contains("c:\\\xF0\xE0\xE7\xE4\xE5\xEB\\c.htm")); // Cyrillic case ignored
    v.Add("c:\\ch02\\a.htm"); // moves to the front, no duplicate
    EXPECT_EQ(v.Names().front(), "c:\\ch02\\a.htm");
    EXPECT_EQ(v.Names().size(), 3u);
    v.Add("d.htm"); // the oldest (B) drops out
    EXPECT_FALSE(v.Contains("c:\\ch02\\b.htm"));
    v.SetMaxCount(0);
    v.Add("e.htm");
    EXPECT_TRUE(v.Names().empty());
}

TEST(VisitedLinks, Lookups_FollowTheListThroughMovesTrimsAndClear) {
    // Names of six documents in several spellings (letter case, anchors).
    const std::vector<std::string> names = {"c:\\ch01\\a.htm",
                                            "C:\\CH01\\A.HTM#top",
                                            "c:\\ch01\\b.htm#x",
                                            "c:\\ch01\\B.htm#y",
                                            "c:\\ch02\\a.htm",
                                            "c:\\\xD0\xE0\xE7\\c.htm",
                                            "c:\\\xF0\xE0\xE7\\C.HTM",
                                            "d.htm",
                                            "D.HTM#1",
                                            "e.htm"};
    auto sameDocument = [](const std::string& a, const std::string& b) {
        return AnsiSameText(a.substr(0, a.find('#')), b.substr(0, b.find('#')));
    };
    TVisitedLinks v;
    for (int step = 0; step < 120; ++step) {
        SCOPED_TRACE(step);
        if (step % 17 == 16)
            v.SetMaxCount(step % 5); // 1, 3, 0, 2, 4, ... entries
        else if (step == 75)
            v.Clear();
        else
            v.Add(names[static_cast<std::size_t>(step * 7 % 10)]);
        const TDynamicStringArray& list = v.Names();
        ASSERT_LE(static_cast<int>(list.size()), v.MaxCount());
        for (std::size_t i = 0; i < list.size(); ++i)
            for (std::size_t j = i + 1; j < list.size(); ++j)
                EXPECT_FALSE(sameDocument(list[i], list[j])) << list[i] << " " << list[j];
        for (const std::string& name : names) {
            const bool listed = std::any_of(list.begin(), list.end(), [&](const std::string& n) {
                return sameDocument(n, name);
            });
            EXPECT_EQ(v.Contains(name), listed) << name;
        }
    }
}

} // namespace
} // namespace carmanual
