#include "frameset.h"

#include <gtest/gtest.h>

#include <numeric>

namespace carmanual {
namespace {

using L = TFrameLength;

TEST(ParseFrameLengths, PixelsPercentAndShares) {
    EXPECT_EQ(
        ParseFrameLengths("100, 20%,*, 2*"),
        (std::vector<L>{{L::Pixels, 100}, {L::Percent, 20}, {L::Relative, 1}, {L::Relative, 2}}));
    EXPECT_EQ(ParseFrameLengths(""), (std::vector<L>{{L::Relative, 1}}));
    EXPECT_EQ(ParseFrameLengths(" , "), (std::vector<L>{{L::Relative, 1}}));
    EXPECT_EQ(ParseFrameLengths("-5,30"), (std::vector<L>{{L::Pixels, 0}, {L::Pixels, 30}}));
}

TEST(FrameSizes, AsBrowsersShareTheSpace) {
    struct Case {
        const char* lengths;
        int total;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"100,*", 400, {100, 300}},
        {"*,100", 400, {300, 100}},
        {"25%,*", 400, {100, 300}},
        {"*,2*", 300, {100, 200}},
        {"100,20%,*", 500, {100, 100, 300}},
        {"300,300", 400, {200, 200}}, // pixels that do not fit are scaled down
        {"100,100", 400, {200, 200}}, // no share: the rest in proportion
        {"60%,60%", 100, {50, 50}},   // percentages over 100 scaled down
        {"100,*", 50, {50, 0}},
        {"*,*,*", 100, {33, 34, 33}},
        {"*", 0, {0}},
    };
    for (const Case& c : cases) {
        const std::vector<int> sizes = FrameSizes(ParseFrameLengths(c.lengths), c.total);
        EXPECT_EQ(sizes, c.expected) << c.lengths << " in " << c.total;
        EXPECT_EQ(std::accumulate(sizes.begin(), sizes.end(), 0), c.total) << c.lengths;
    }
}

TEST(ParseFrameSet, FramesNestedSetsAndNoFrames) {
    const auto doc =
        ParseFrameSet("<html><head><title>\xD0\xE5\xEC\xEE\xED\xF2</title><base target=main></head>"
                      "<frameset rows=\"80,*\" border=2 frameborder=no>"
                      "  <frame name=top src=\"top.htm\" scrolling=NO noresize marginwidth=5>"
                      "  <frameset cols=\"25%,*\">"
                      "    <frame name=menu src=menu.htm>"
                      "    <frame name=main src=\"ch02\\brakes.htm\" scrolling=yes>"
                      "  </frameset>"
                      "  <noframes><body><frame name=bogus src=x.htm></body></noframes>"
                      "</frameset></html>",
                      THtmlCharset::Windows1251);
    ASSERT_TRUE(doc.has_value());
    EXPECT_EQ(doc->Title, "\xD0\xE5\xEC\xEE\xED\xF2");
    EXPECT_EQ(doc->BaseTarget, "main");
    const TFrameSetSpec& root = doc->Root;
    EXPECT_TRUE(root.Rows);
    EXPECT_EQ(root.Border, 2);
    EXPECT_FALSE(root.FrameBorder);
    ASSERT_EQ(root.Frames.size(), 2u);
    EXPECT_EQ(root.Frames[0].Name, "top");
    EXPECT_EQ(root.Frames[0].Source, "top.htm");
    EXPECT_EQ(root.Frames[0].Scrolling, "no");
    EXPECT_TRUE(root.Frames[0].NoResize);
    EXPECT_EQ(root.Frames[0].MarginWidth, 5);
    ASSERT_TRUE(root.Frames[1].Nested);
    const TFrameSetSpec& cols = *root.Frames[1].Nested;
    EXPECT_FALSE(cols.Rows);
    ASSERT_EQ(cols.Frames.size(), 2u);
    EXPECT_EQ(cols.Frames[0].Name, "menu");
    EXPECT_EQ(cols.Frames[1].Source, "ch02\\brakes.htm");
    EXPECT_EQ(cols.Frames[1].Scrolling, "yes");
}

TEST(ParseFrameSet, RowsAndColsTogether_MakeAGrid) {
    const auto doc = ParseFrameSet("<frameset rows=*,* cols=*,*><frame src=a><frame src=b>"
                                   "<frame src=c><frame src=d></frameset>",
                                   THtmlCharset::Windows1251);
    ASSERT_TRUE(doc.has_value());
    ASSERT_EQ(doc->Root.Frames.size(), 2u);
    ASSERT_TRUE(doc->Root.Frames[1].Nested);
    EXPECT_EQ(doc->Root.Frames[1].Nested->Frames[0].Source, "c");
    EXPECT_EQ(doc->Root.Frames[1].Nested->Frames[1].Source, "d");
}

TEST(ParseFrameSet, MissingFrames_AreEmptyOnes) {
    const auto doc =
        ParseFrameSet("<frameset cols=\"100,*,*\"><frame src=a.htm>", THtmlCharset::Windows1251);
    ASSERT_TRUE(doc.has_value());
    ASSERT_EQ(doc->Root.Frames.size(), 3u);
    EXPECT_EQ(doc->Root.Frames[2].Source, "");
}

TEST(ParseFrameSet, OrdinaryPages_AreNotFrameSets) {
    EXPECT_FALSE(ParseFrameSet("<html><body><p>text</p></body></html>", THtmlCharset::Utf8));
    EXPECT_FALSE(ParseFrameSet("<body>Text<frameset rows=*></frameset>", THtmlCharset::Utf8));
    EXPECT_FALSE(ParseFrameSet("<!-- <frameset rows=*> -->", THtmlCharset::Utf8));
    EXPECT_TRUE(
        ParseFrameSet("<body>\n <frameset rows=*><frame src=a></frameset>", THtmlCharset::Utf8));
}

} // namespace
} // namespace carmanual
