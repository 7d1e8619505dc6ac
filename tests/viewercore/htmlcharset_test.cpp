#include "htmlcharset.h"

#include <gtest/gtest.h>

namespace carmanual {
namespace {

// "Тормоза" in each encoding.
const std::string kCp1251 = "\xD2\xEE\xF0\xEC\xEE\xE7\xE0";
const std::string kKoi8 = "\xF4\xCF\xD2\xCD\xCF\xDA\xC1";
const std::string kUtf8 = "\xD0\xA2\xD0\xBE\xD1\x80\xD0\xBC\xD0\xBE\xD0\xB7\xD0\xB0";

TEST(DetectCharset, ReadsMetaTagsAndMarks) {
    struct Case {
        std::string page;
        THtmlCharset expected;
        std::size_t bom;
    };
    const Case cases[] = {
        {"<html><head><title>x</title></head>", THtmlCharset::Windows1251, 0},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">",
         THtmlCharset::Koi8R, 0},
        {"<META HTTP-EQUIV=Content-Type CONTENT='text/html; CHARSET=Windows-1251'>",
         THtmlCharset::Windows1251, 0},
        {"<meta charset=\"utf-8\">", THtmlCharset::Utf8, 0},
        {"<meta charset=UTF8/>", THtmlCharset::Utf8, 0},
        {"<meta charset = 'x-cp1251'>", THtmlCharset::Windows1251, 0},
        {"<meta name=keywords content=charset><meta charset=koi8r>", THtmlCharset::Koi8R, 0},
        {"\xEF\xBB\xBF<meta charset=koi8-r>", THtmlCharset::Utf8, 3},
        {"\xFF\xFE<\0h\0", THtmlCharset::Utf16LE, 2},
        {"<meta charset=iso-8859-5>", THtmlCharset::Other, 0},
        {"<meta charset=utf-16>", THtmlCharset::Windows1251, 0},
    };
    for (const Case& c : cases) {
        const THtmlCharsetInfo info = DetectCharset(c.page);
        EXPECT_EQ(info.Charset, c.expected) << c.page;
        EXPECT_EQ(info.BomBytes, c.bom) << c.page;
    }
}

TEST(DetectCharset, MetaBeyondTheHead_IsNotLookedFor) {
    const std::string page = "<html>" + std::string(9000, ' ') + "<meta charset=utf-8>";
    EXPECT_EQ(DetectCharset(page).Charset, THtmlCharset::Windows1251);
}

TEST(DecodeToUtf8, EveryCharsetGivesTheSameText) {
    EXPECT_EQ(DecodeToUtf8(kCp1251, THtmlCharset::Windows1251), kUtf8);
    EXPECT_EQ(DecodeToUtf8(kKoi8, THtmlCharset::Koi8R), kUtf8);
    EXPECT_EQ(DecodeToUtf8(kUtf8, THtmlCharset::Utf8), kUtf8);
    EXPECT_EQ(DecodeToUtf8("\xEF\xBB\xBF" + kUtf8, THtmlCharset::Utf8), kUtf8);
    const std::string utf16("\xFF\xFE\x22\x04\x3E\x04", 6); // "То"
    EXPECT_EQ(DecodeToUtf8(utf16, THtmlCharset::Utf16LE), "\xD0\xA2\xD0\xBE");
    EXPECT_EQ(DecodeToAnsi(kKoi8, THtmlCharset::Koi8R), kCp1251);
    EXPECT_EQ(DecodeToAnsi(kUtf8, THtmlCharset::Utf8), kCp1251);
}

TEST(SingleByteTable, Koi8rLettersAndBoxDrawing) {
    const char16_t* koi = SingleByteTable(THtmlCharset::Koi8R);
    EXPECT_EQ(koi[0xC1], u'а');
    EXPECT_EQ(koi[0xE1], u'А');
    EXPECT_EQ(koi[0xA3], u'ё');
    EXPECT_EQ(koi[0xB3], u'Ё');
    EXPECT_EQ(koi[0x80], u'\u2500');
    EXPECT_EQ(koi['A'], u'A');
    const char16_t* win = SingleByteTable(THtmlCharset::Windows1251);
    EXPECT_EQ(win[0xE0], u'а');
    EXPECT_EQ(win[0xB8], u'ё');
}

} // namespace
} // namespace carmanual
