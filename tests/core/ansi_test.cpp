// Windows-1251 to and from Unicode.

#include "ansi.h"

#include <gtest/gtest.h>

#include <string>

namespace carmanual {
namespace {

TEST(Ansi, EveryByte_RoundTripsThroughUtf8) {
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = AnsiToUtf8(one);
        bool exact = false;
        EXPECT_EQ(Utf8ToAnsi(utf8, &exact), one);
        EXPECT_TRUE(exact);
        EXPECT_EQ(UnicodeToAnsi(AnsiToUnicode(static_cast<unsigned char>(b))), b);
    }
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
}

TEST(Ansi, EveryByte_MapsToADistinctCharacter) {
    for (int a = 0; a < 256; ++a) {
        for (int b = a + 1; b < 256; ++b)
            ASSERT_NE(AnsiToUnicode(static_cast<unsigned char>(a)),
                      AnsiToUnicode(static_cast<unsigned char>(b)))
                << a << " " << b;
    }
}

TEST(Ansi, KnownMappings) {
    const std::pair<unsigned char, const char*> cases[] = {
        {0x41, "A"}, {0xC0, "А"}, {0xDF, "Я"},      {0xE0, "а"}, {0xFF, "я"},
        {0xA8, "Ё"}, {0xB8, "ё"}, {0xB9, "№"},      {0x88, "€"}, {0x96, "–"},
        {0xAB, "«"}, {0xBB, "»"}, {0xA0, "\u00A0"}, {0x80, "Ђ"}, {0xB2, "І"},
    };
    for (const auto& [byte, utf8] : cases) {
        SCOPED_TRACE(static_cast<int>(byte));
        EXPECT_EQ(AnsiToUtf8(std::string(1, static_cast<char>(byte))), utf8);
        EXPECT_EQ(Utf8ToAnsi(utf8), std::string(1, static_cast<char>(byte)));
    }
    EXPECT_EQ(AnsiToUtf8("\xD2\xEE\xF0\xEC\xEE\xE7\xE0"), "Тормоза");
}

TEST(Ansi, UnmappableCharacters_BecomeQuestionMarks) {
    const std::pair<const char*, const char*> cases[] = {
        {"日本", "??"},
        {"a\xF0\x9F\x98\x80z", "a?z"}, // U+1F600
        {"\xC3\xA9t\xC3\xA9", "?t?"},  // é is not in the code page
        {"\xC2\x98", "\x98"},          // the one undefined byte maps to itself
    };
    for (const auto& [utf8, ansi] : cases) {
        SCOPED_TRACE(utf8);
        bool exact = true;
        EXPECT_EQ(Utf8ToAnsi(utf8, &exact), ansi);
        EXPECT_EQ(exact, std::string(ansi).find('?') == std::string::npos);
    }
    bool exact = false;
    EXPECT_EQ(Utf8ToAnsi("", &exact), "");
    EXPECT_TRUE(exact);
    EXPECT_EQ(UnicodeToAnsi(U'\u00E9'), -1);
}

TEST(Ansi, MalformedUtf8_BecomesQuestionMarksAndIsNotExact) {
    const char* cases[] = {
        "\xFF",
        "\x80",
        "\xD0",             // cut after the lead byte
        "\xE2\x82",         // cut inside a 3-byte sequence
        "\xF0\x9F\x98",     // cut inside a 4-byte sequence
        "\xC0\xAF",         // overlong '/'
        "\xC0\x80",         // overlong NUL
        "\xE0\x80\xAF",     // overlong '/' in three bytes
        "\xF0\x80\x80\xAF", // overlong '/' in four bytes
        "\xED\xA0\x80",     // a UTF-16 surrogate
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "\xF8\x88\x80\x80\x80",
    };
    for (const char* utf8 : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(utf8)));
        bool exact = true;
        const std::string ansi = Utf8ToAnsi(utf8, &exact);
        EXPECT_FALSE(exact);
        EXPECT_FALSE(ansi.empty());
        EXPECT_EQ(ansi.find_first_not_of('?'), std::string::npos) << ansi;
    }
    // A bad byte spoils only itself.
    bool exact = true;
    EXPECT_EQ(Utf8ToAnsi("\xD0"
                         "A\xD0\x91",
                         &exact),
              "?A\xC1");
    EXPECT_FALSE(exact);
}

TEST(Ansi, Utf8ToUtf32_ReplacesMalformedSequences) {
    EXPECT_EQ(Utf8ToUtf32("a\xD0\x91\xE2\x82\xAC\xF0\x9F\x98\x80"), U"aБ€\U0001F600");
    EXPECT_EQ(Utf8ToUtf32("\xFF"
                          "a"),
              U"\uFFFD"
              "a");
    const std::u32string overlong = Utf8ToUtf32("\xC0\xAF");
    EXPECT_EQ(overlong.find(U'/'), std::u32string::npos);
    EXPECT_EQ(Utf32ToUtf8(U"aБ€\U0001F600"), "a\xD0\x91\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(Ansi, LetterCase) {
    EXPECT_EQ(AnsiUpper('a'), 'A');
    EXPECT_EQ(AnsiUpper('Z'), 'Z');
    EXPECT_EQ(AnsiUpper(0xE0), 0xC0); // а → А
    EXPECT_EQ(AnsiUpper(0xFF), 0xDF); // я → Я
    EXPECT_EQ(AnsiUpper(0xB8), 0xB8); // ё keeps its case
    EXPECT_EQ(AnsiUpper('1'), '1');
    EXPECT_EQ(LowerLatin("AbC" + Utf8ToAnsi("ДОМ")), "abc" + Utf8ToAnsi("ДОМ"));
    EXPECT_TRUE(AnsiSameText(Utf8ToAnsi("Тормоза.HTM"), Utf8ToAnsi("тОРМОЗА.htm")));
    EXPECT_FALSE(AnsiSameText("abc", "abcd"));
    EXPECT_FALSE(AnsiSameText(Utf8ToAnsi("ё"), Utf8ToAnsi("Ё")));
}

} // namespace
} // namespace carmanual
