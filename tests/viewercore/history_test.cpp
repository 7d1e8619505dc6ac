#include "viewerhistory.h"
#include "visitedlinks.h"

#include <gtest/gtest.h>

#include <string>

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

} // namespace
} // namespace carmanual
