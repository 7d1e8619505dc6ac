// The description-file line syntax and the small text helpers. Positions are
// 0-based byte offsets, found the way the readers find them: by searching for
// the key in the line.

#include "ansi.h"
#include "paths.h"
#include "syntax.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace carmanual {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::string A(std::string_view utf8) {
    return Utf8ToAnsi(utf8);
}

// The program lies directly in the manual's folder: ProgramDir is "c:\".
class Syntax : public ::testing::Test {
protected:
    void SetUp() override { InitProgramPaths(m_tmp.Path()); }
    TempDir m_tmp;
};

// The program lies in a folder named run: ProgramDir is "c:\run\".
class SyntaxInRunFolder : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_tmp.Path() / "run");
        InitProgramPaths(m_tmp.Path() / "run");
        ASSERT_EQ(ProgramDir(), "c:\\run\\");
    }
    TempDir m_tmp;
};

// ---- line readers ----

using Lines = std::vector<std::pair<bool, std::string>>;

Lines ReadAll(const std::string& bytes, bool (*reader)(TComprStream&, std::string&)) {
    TComprStream stream = TComprStream::FromBytes(bytes);
    Lines out;
    std::string line = "stale";
    for (int guard = 0; guard < 100; ++guard) {
        const bool more = reader(stream, line);
        out.emplace_back(more, line);
        if (!more)
            break;
    }
    return out;
}

struct LineCase {
    const char* input;
    Lines expected;
};

TEST(ReadTextLine, EndsAtCrDropsLfAndDeliversAnUnterminatedLastLine) {
    const LineCase cases[] = {
        {"a\r\nb", {{true, "a"}, {true, "b"}, {false, ""}}},
        {"a\r\n", {{true, "a"}, {true, ""}, {false, ""}}},
        {"", {{false, ""}}},
        {"a", {{true, "a"}, {false, ""}}},
        {"a\r", {{true, "a"}, {false, ""}}},
        {"\r\r", {{true, ""}, {true, ""}, {false, ""}}},
        {"x\ny\r\nz", {{true, "xy"}, {true, "z"}, {false, ""}}},
        {"\n\n", {{true, ""}, {false, ""}}},
        {"a\rb\rc\r", {{true, "a"}, {true, "b"}, {true, "c"}, {false, ""}}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.input)));
        EXPECT_EQ(ReadAll(c.input, &ReadTextLine), c.expected);
    }
}

TEST(ReadIndexLine, FalseAtTheEndWithTheUnterminatedPiece) {
    const LineCase cases[] = {
        {"a\r\nb", {{true, "a"}, {false, "b"}}},
        {"a\r\n", {{true, "a"}, {false, ""}}},
        {"", {{false, ""}}},
        {"a", {{false, "a"}}},
        {"a\rb\r", {{true, "a"}, {true, "b"}, {false, ""}}},
        {"x\ny", {{false, "xy"}}},
        {"\r\n\r\n", {{true, ""}, {true, ""}, {false, ""}}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.input)));
        EXPECT_EQ(ReadAll(c.input, &ReadIndexLine), c.expected);
    }
}

TEST(ReadTextLine, KeepsNulAndHighBytesOfTheLine) {
    const std::string bytes = std::string("a\0b", 3) + A("Тормоза") + "\r\n";
    TComprStream stream = TComprStream::FromBytes(bytes);
    std::string line;
    ASSERT_TRUE(ReadTextLine(stream, line));
    EXPECT_EQ(line, std::string("a\0b", 3) + A("Тормоза"));
}

TEST(ReadDescriptionLines, LowersLatinOnlyWhenAsked) {
    const std::string bytes = "Vx=5;" + A("ТЕКСТ") + "\r\nSECOND\r\n";
    TComprStream s1 = TComprStream::FromBytes(bytes);
    EXPECT_EQ(ReadDescriptionLines(s1, true),
              (TDynamicStringArray{"vx=5;" + A("ТЕКСТ"), "second", ""}));
    TComprStream s2 = TComprStream::FromBytes(bytes);
    EXPECT_EQ(ReadDescriptionLines(s2, false),
              (TDynamicStringArray{"Vx=5;" + A("ТЕКСТ"), "SECOND", ""}));
}

// ---- value readers ----

struct IntCase {
    std::string line;
    std::string key; // position: where the key is found; empty: use pos
    std::size_t pos;
    std::int32_t expected;
};

TEST(IntAt, FirstRunOfMinusAndDigitsAtOrAfterThePosition) {
    const IntCase cases[] = {
        {"vx=-12;", "vx", 0, -12},
        {"vx=;", "vx", 0, -1},
        {"vx=; vy=20", "vx", 0, 20},
        {"vx=10; vy=20", "vy", 0, 20},
        {"go=5-3", "go", 0, -1},
        {"go=5-", "go", 0, -1},
        {"go=--5", "go", 0, -1},
        {"go=-", "go", 0, -1},
        {"go=- 5", "go", 0, -1},
        {"vx=007", "vx", 0, 7},
        {"vx=12px", "vx", 0, 12},
        {"vx=2147483647", "vx", 0, 2147483647},
        {"vx=-2147483648", "vx", 0, -2147483647 - 1},
        {"vx=2147483648", "vx", 0, -1},
        {"vx=-2147483649", "vx", 0, -1},
        {"vx=99999999999999999999999", "vx", 0, -1},
        {"vx=5", "", 10, -1},
        {"", "", 0, -1},
        {"", "", 7, -1},
        {std::string("vx=\0 7", 6), "vx", 0, -1},
        {"x1=5", "", 0, 1},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.line));
        const std::size_t pos = c.key.empty() ? c.pos : c.line.find(c.key);
        ASSERT_NE(pos, std::string::npos);
        EXPECT_EQ(IntAt(c.line, pos), c.expected);
    }
}

TEST(StringAt, TextUpToSemicolonOrTheEndTrimmed) {
    struct Case {
        std::string line;
        std::string key;
        std::string expected;
    };
    const Case cases[] = {
        {"caption= Hello world ;x=1", "caption=", "Hello world"},
        {"name=abc", "name=", "abc"},
        {"name=", "name=", ""},
        {"name=;rest", "name=", ""},
        {"name=\t x \x01;", "name=", "x"},
        {std::string("a=b\0c;d", 7), "a=", "b"},
        {"title=" + A(" Руководство по ремонту "), "title=", A("Руководство по ремонту")},
        {"k=a=b", "k=", "a=b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.line));
        EXPECT_EQ(StringAt(c.line, c.line.find(c.key) + c.key.size()), c.expected);
    }
    // A key with no '=' and no value gives what follows the key.
    EXPECT_EQ(StringAt("flag on ; x", 4), "on");
    EXPECT_EQ(StringAt("abc", 3), "");
    EXPECT_EQ(StringAt("abc", 99), "");
}

TEST(ColorAt, RedGreenBlueAsOneNumber) {
    struct Case {
        std::string line;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"color=0,128,255", 0 + 128 * 256 + 255 * 65536},
        {"color=255,0,0", 255},
        {"color=1,2,3;x=9", 1 + 2 * 256 + 3 * 65536},
        // Extra spaces shift the computed positions: blue is read as 6.
        {"color=5 , 6 , 7", 5 + 6 * 256 + 6 * 65536},
        // Each part keeps its low 8 bits.
        {"color=300,256,511", 44 + 0 * 256 + 255 * 65536},
        // A leading '-' is skipped.
        {"color=-5,1,2", 5 + 1 * 256 + 2 * 65536},
        // A missing blue reads as -1, of which 255 remains.
        {"color=1,2", 1 + 2 * 256 + 255 * 65536},
        // No digit: black.
        {"color=none", 0},
        {"color=", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ColorAt(c.line, c.line.find("color")), c.expected);
    }
    EXPECT_EQ(ColorAt("color=1,2,3", 100), 0u);
    EXPECT_EQ(ColorAt(std::string("color=\0 1,2,3", 13), 0), 0u);
}

TEST(Trim, RemovesControlBytesAndSpacesFromBothEnds) {
    EXPECT_EQ(Trim(" \t\r\n\x01x y\x1f "), "x y");
    EXPECT_EQ(Trim(std::string("\0a\0", 3)), "a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(A(" я ")), A("я")); // 0xFF is no space
}

// ---- lists ----

struct ListCase {
    const char* name;
    TDynamicStringArray lines;
    std::size_t start;
    TDynamicStringArray expected;
    std::size_t endIndex;
};

TEST_F(Syntax, BracketList_ItemsAndTheLineOfTheClosingBracket) {
    const ListCase cases[] = {
        {"OverTwoLines", {"x=[a;b", "c]"}, 0, {"a", "b", "c"}, 1},
        {"OneLine", {"x=[a;b]"}, 0, {"a", "b"}, 0},
        {"Empty", {"x=[]"}, 0, {}, 0},
        {"Trimmed", {"x=[ a ; b ]"}, 0, {"a", "b"}, 0},
        {"LineEndingWithSemicolon", {"x=[a;", "b]"}, 0, {"a", "", "b"}, 1},
        {"LineBeginningWithSemicolon", {"x=[a", ";b]"}, 0, {"a", "", "b"}, 1},
        {"EmptyItemInside", {"x=[a;;b]"}, 0, {"a", "", "b"}, 0},
        {"SemicolonBeforeBracket", {"x=[a;]"}, 0, {"a"}, 0},
        {"NoBracket", {"no list here", "[a]"}, 0, {}, 0},
        {"StartsInTheMiddle", {"junk", "x=[p;q]", "after"}, 1, {"p", "q"}, 1},
        {"ThreeLines", {"x=[a", "b", "c]", "rest"}, 0, {"a", "b", "c"}, 2},
        {"TextAfterBracketIgnored", {"x=[a] y=[b]"}, 0, {"a"}, 0},
        {"NoClosingBracket", {"x=[a;b", "c"}, 0, {"a", "b", "c"}, 1},
        {"IndexPastTheLines", {"x=[a]"}, 5, {}, 5},
        {"ItemsAreResolved",
         {"files=[pics\\a.bmp;<cd>v.avi;16;html=p.htm]"},
         0,
         {"c:\\pics\\a.bmp", "c:\\v.avi", "16", "html=c:\\p.htm"},
         0},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::size_t index = c.start;
        EXPECT_EQ(BracketList(c.lines, index), c.expected);
        EXPECT_EQ(index, c.endIndex);
    }
}

TEST_F(Syntax, BracketList_WithoutClosingBracket_StopsAtTheLastLine) {
    for (const TDynamicStringArray& lines :
         {TDynamicStringArray{"x=[a;"}, TDynamicStringArray{"x=[a"},
          TDynamicStringArray{"x=[", "", ""}, TDynamicStringArray{"x=[a;b;", "c;"}}) {
        SCOPED_TRACE(lines.front());
        std::size_t index = 0;
        const TDynamicStringArray items = BracketList(lines, index);
        EXPECT_EQ(index, lines.size() - 1);
        ASSERT_FALSE(items.empty());
    }
    std::size_t index = 0;
    const TDynamicStringArray items = BracketList({"x=[a;b", "c"}, index);
    EXPECT_EQ(items, (TDynamicStringArray{"a", "b", "c"}));
}

TEST_F(Syntax, WindowRegionFromList_PointsInListOrder) {
    std::size_t index = 0;
    const TWindowRegion region =
        WindowRegionFromList({"region=[0,0;100,0", "100,50;-5,-7]", "next"}, index);
    EXPECT_EQ(region.points, (std::vector<TPoint>{{0, 0}, {100, 0}, {100, 50}, {-5, -7}}));
    EXPECT_EQ(index, 1u);

    index = 0;
    EXPECT_TRUE(WindowRegionFromList({"no region"}, index).points.empty());
}

TEST_F(Syntax, WindowRegionFromList_KeepsAtMost2000Points) {
    std::string line = "region=[";
    for (int i = 0; i < 2500; ++i)
        line += std::to_string(i) + "," + std::to_string(2 * i) + (i + 1 < 2500 ? ";" : "]");
    std::size_t index = 0;
    const TWindowRegion region = WindowRegionFromList({line}, index);
    ASSERT_EQ(region.points.size(), kMaxRegionPoints);
    EXPECT_EQ(region.points.front(), (TPoint{0, 0}));
    EXPECT_EQ(region.points.back(), (TPoint{1999, 3998}));
}

TEST_F(Syntax, WindowRegionFromList_ItemThatIsNotTwoIntegers_Throws) {
    for (const char* line :
         {"r=[1,2;3]", "r=[a,b]", "r=[1,2,3]", "r=[1,]", "r=[,1]", "r=[1,2;;3,4]", "r=[1.5,2]",
          "r=[99999999999,1]", "r=[1,2;", "r=[1 2]"}) {
        SCOPED_TRACE(line);
        std::size_t index = 0;
        EXPECT_THROW(WindowRegionFromList({line}, index), EConvertError);
    }
}

// ---- paths ----

TEST_F(Syntax, ResolveValuePath_CdAndRelativePaths) {
    const std::pair<std::string, std::string> cases[] = {
        {"<cd>video\\clip.avi", "c:\\video\\clip.avi"},
        {"html=page.htm", "html=c:\\page.htm"},
        {"16", "16"},
        {"historyback", "historyback"},
        {"", ""},
        {"d:\\x\\y.htm", "d:\\x\\y.htm"},
        {"html=d:\\x.htm", "html=d:\\x.htm"},
        {"pics\\a.bmp", "c:\\pics\\a.bmp"},
        {"a.bmp", "c:\\a.bmp"},
        {"a=b=c.htm", "a=b=c:\\c.htm"},
        {"<cd>a<cd>", "c:\\a<cd>"},
        {"x=<cd>a.htm", "x=c:\\a.htm"},
        {"html=..\\up.htm", "html=c:\\up.htm"},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(ResolveValuePath(value), expected);
    }
}

TEST_F(SyntaxInRunFolder, ResolveValuePath_RelativeToTheRunFolder) {
    EXPECT_EQ(ResolveValuePath("html=page.htm"), "html=c:\\run\\page.htm");
    EXPECT_EQ(ResolveValuePath("<cd>video\\clip.avi"), "c:\\video\\clip.avi");
    // The run folder is the floor: a relative path does not climb above it.
    EXPECT_EQ(ResolveValuePath("..\\pics\\p.jpg"), "c:\\run\\pics\\p.jpg");
    std::size_t index = 0;
    EXPECT_EQ(BracketList({"[a.bmp]"}, index), (TDynamicStringArray{"c:\\run\\a.bmp"}));
}

TEST(JoinRelativePath, JoinsAndNeverClimbsAboveTheFloor) {
    struct Case {
        const char* base;
        const char* relative;
        const char* expected;
    };
    const Case cases[] = {
        {"d:\\run\\", "..\\pics\\p.jpg", "d:\\run\\pics\\p.jpg"},
        {"d:\\run\\", "\\p.jpg", "d:\\run\\p.jpg"},
        {"d:\\run\\sub\\", "..\\p.jpg", "d:\\run\\p.jpg"},
        {"d:\\run\\a\\b\\", "..\\..\\..\\..\\p.jpg", "d:\\run\\p.jpg"},
        {"d:\\run\\a\\", "b\\..\\c", "d:\\run\\a\\c"},
        {"d:\\run\\sub\\", "\\p.jpg", "d:\\run\\p.jpg"},
        {"d:\\run\\", "\\..\\x", "d:\\run\\x"},
        {"d:\\run\\", "..\\..\\", "d:\\run\\"},
        {"d:\\run", "x.htm", "d:\\run\\x.htm"},
        {"c:\\", "..\\x", "c:\\x"},
        {"c:\\", "a\\..\\x", "c:\\x"},
        {"d:\\run\\", "  x.htm \t", "d:\\run\\x.htm"},
        {"d:\\run\\", ".\\x.htm", "d:\\run\\.\\x.htm"},
        {"run\\a\\", "..\\x", "run\\x"},
        {"abc", "..\\x", "abc\\x"},
        {"", "x", "\\x"},
        {"d:\\run\\", "", "d:\\run\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.base) + " + " + c.relative);
        EXPECT_EQ(JoinRelativePath(c.base, c.relative), c.expected);
    }
}

TEST_F(Syntax, ValueAfterFirstAndLastEq) {
    struct Case {
        const char* text;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {"a=b=c", "b", "c"},
        {"a=b", "b", ""},
        {"abc", "", ""},
        {"a=", "", ""},
        {"a=b=c=d", "b=c", "d"},
        {"html1=ch02\\brakes.htm", "c:\\ch02\\brakes.htm", ""},
        {"go=x.htm=y.htm", "c:\\x.htm", "c:\\y.htm"},
        {"go=<cd>a.avi=1", "c:\\a.avi", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ValueAfterFirstEq(c.text), c.first);
        EXPECT_EQ(ValueAfterLastEq(c.text), c.last);
    }
}

// ---- splitting and searching ----

TEST(SplitBySeparator, PiecesTrimmedEmptyOnesDropped) {
    struct Case {
        const char* separator;
        std::string text;
        MyArray expected;
    };
    const Case cases[] = {
        {"~", "word~syn", {"word", "syn"}},
        {"~", "word~", {"word", ""}},
        {"~", "~syn", {"syn"}},
        {"~", "a~~b", {"a", "b"}},
        {"~", "", {}},
        {"~", "word", {"word"}},
        {"~", "a~b~c", {"a", "b", "c"}},
        {"~", "a~b~", {"a", "b"}},
        {"~", "~", {}},
        {"~", "~~", {}},
        // The last piece is kept as it stands.
        {"~", " a ~ b ", {"a", " b "}},
        {"~", "a ~ ", {"a", " "}},
        {"~", "   ", {"   "}},
        {"||", "a||b|c", {"a", "b|c"}},
        {"ab", "xaby", {"x", "y"}},
        {"~", A("слово~синоним"), {A("слово"), A("синоним")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.separator + std::string(" in ") + testing::PrintToString(c.text));
        EXPECT_EQ(SplitBySeparator(c.separator, c.text), c.expected);
    }
}

TEST(IndexOfInteger, FirstIndexOrMinusOne) {
    const TDynamicIntegerArray array = {5, 7, 5, -1};
    EXPECT_EQ(IndexOfInteger(array, 5), 0);
    EXPECT_EQ(IndexOfInteger(array, 7), 1);
    EXPECT_EQ(IndexOfInteger(array, -1), 3);
    EXPECT_EQ(IndexOfInteger(array, 9), -1);
    EXPECT_EQ(IndexOfInteger({}, 0), -1);
}

TEST(ListHasText, IgnoresTheCaseOfLatinLettersOnly) {
    const TDynamicStringArray list = {"Abc", A("Дом"), ""};
    EXPECT_TRUE(ListHasText(list, "aBC"));
    EXPECT_TRUE(ListHasText(list, A("Дом")));
    EXPECT_FALSE(ListHasText(list, A("ДОМ")));
    EXPECT_FALSE(ListHasText(list, "abcd"));
    EXPECT_TRUE(ListHasText(list, ""));
    EXPECT_FALSE(ListHasText({}, "abc"));
}

TEST(MatchesMask, WildcardsIgnoringLetterCase) {
    struct Case {
        std::string name;
        std::string mask;
        bool expected;
    };
    const Case cases[] = {
        {"font.TTF", "*.ttf", true},
        {"font.ttf", "*.fon", false},
        {"a.ttf", "*.*", true},
        {"readme", "*", true},
        {"abc", "a?c", true},
        {"ab", "a?c", false},
        {"x.ttf.bak", "*.ttf", false},
        {"x.bak.ttf", "*.ttf", true},
        {"abcbcd", "a*bcd", true},
        {A("ШРИФТ.TTF"), A("шрифт.ttf"), true},
        {A("шрифт.ttf"), A("ш*.ttf"), true},
        {"a", "", false},
        {"", "*", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " ~ " + c.mask);
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.expected);
    }
}

// ---- directory scan ----

class ScanDirectoryTest : public Syntax {
protected:
    void SetUp() override {
        Syntax::SetUp();
        for (const char* f : {"fonts/a.ttf", "fonts/B.TTF", "fonts/c.fon", "fonts/readme.txt",
                              "fonts/sub/d.ttf", "fonts/sub/deeper/e.TTF", "fonts/other/f.fon",
                              "fonts/dir.ttf/g.ttf", "fonts/Шрифт.ttf"})
            m_tmp.Write(f, "x");
    }
    static std::size_t IndexOf(const TDynamicStringArray& list, const std::string& s) {
        return static_cast<std::size_t>(std::find(list.begin(), list.end(), s) - list.begin());
    }
};

TEST_F(ScanDirectoryTest, Recursive_FindsEveryMatchOnceAndLowersTheMasks) {
    TDynamicStringArray masks = {"*.TTF", "*.FON"};
    TDynamicStringArray out;
    ScanDirectory("c:\\fonts", masks, true, out, false);
    EXPECT_EQ(masks, (TDynamicStringArray{"*.ttf", "*.fon"}));
    TDynamicStringArray expected = {
        "c:\\fonts\\a.ttf",
        "c:\\fonts\\B.TTF",
        "c:\\fonts\\c.fon",
        "c:\\fonts\\sub\\d.ttf",
        "c:\\fonts\\sub\\deeper\\e.TTF",
        "c:\\fonts\\other\\f.fon",
        "c:\\fonts\\dir.ttf\\g.ttf",
        "c:\\fonts\\" + A("Шрифт.ttf"),
    };
    TDynamicStringArray sorted = out;
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);
    // In one folder the first mask's matches come first; a folder's files come
    // before those of the folders below it.
    EXPECT_LT(IndexOf(out, "c:\\fonts\\a.ttf"), IndexOf(out, "c:\\fonts\\c.fon"));
    EXPECT_LT(IndexOf(out, "c:\\fonts\\B.TTF"), IndexOf(out, "c:\\fonts\\c.fon"));
    EXPECT_LT(IndexOf(out, "c:\\fonts\\c.fon"), IndexOf(out, "c:\\fonts\\sub\\d.ttf"));
    EXPECT_LT(IndexOf(out, "c:\\fonts\\sub\\d.ttf"), IndexOf(out, "c:\\fonts\\sub\\deeper\\e.TTF"));
}

TEST_F(ScanDirectoryTest, NotRecursive_OnlyTheFolderItself) {
    TDynamicStringArray masks = {"*.ttf"};
    TDynamicStringArray out;
    ScanDirectory("c:\\fonts\\", masks, false, out, false);
    std::sort(out.begin(), out.end());
    EXPECT_EQ(out, (TDynamicStringArray{"c:\\fonts\\B.TTF", "c:\\fonts\\a.ttf",
                                        "c:\\fonts\\" + A("Шрифт.ttf")}));
}

TEST_F(ScanDirectoryTest, IncludeDirectories_EachFolderBeforeItsFiles) {
    TDynamicStringArray masks = {"*.ttf"};
    TDynamicStringArray out;
    ScanDirectory("c:\\fonts", masks, true, out, true);
    for (const char* dir : {"c:\\fonts\\", "c:\\fonts\\sub\\", "c:\\fonts\\sub\\deeper\\",
                            "c:\\fonts\\other\\", "c:\\fonts\\dir.ttf\\"}) {
        SCOPED_TRACE(dir);
        EXPECT_EQ(std::count(out.begin(), out.end(), dir), 1);
    }
    EXPECT_LT(IndexOf(out, "c:\\fonts\\"), IndexOf(out, "c:\\fonts\\a.ttf"));
    EXPECT_LT(IndexOf(out, "c:\\fonts\\sub\\"), IndexOf(out, "c:\\fonts\\sub\\d.ttf"));
    EXPECT_LT(IndexOf(out, "c:\\fonts\\sub\\deeper\\"),
              IndexOf(out, "c:\\fonts\\sub\\deeper\\e.TTF"));
    EXPECT_EQ(out.size(), 5u + 6u);
}

TEST_F(ScanDirectoryTest, EachMaskAddsItsOwnMatches) {
    TDynamicStringArray masks = {"*.ttf", "a.*"};
    TDynamicStringArray out;
    ScanDirectory("c:\\fonts", masks, false, out, false);
    EXPECT_EQ(std::count(out.begin(), out.end(), "c:\\fonts\\a.ttf"), 2);
}

TEST_F(ScanDirectoryTest, FolderNamedInAnotherCase_IsFound) {
    TDynamicStringArray masks = {"*.fon"};
    TDynamicStringArray out;
    ScanDirectory("c:\\FONTS\\OTHER", masks, false, out, false);
    EXPECT_EQ(out, (TDynamicStringArray{"c:\\FONTS\\OTHER\\f.fon"}));
}

TEST_F(ScanDirectoryTest, MissingFolder_YieldsNothing) {
    TDynamicStringArray masks = {"*.*"};
    TDynamicStringArray out;
    ScanDirectory("c:\\nowhere", masks, true, out, true);
    EXPECT_TRUE(out.empty());
    ScanDirectory("c:\\fonts\\readme.txt", masks, true, out, false);
    EXPECT_TRUE(out.empty());
}

} // namespace
} // namespace carmanual
