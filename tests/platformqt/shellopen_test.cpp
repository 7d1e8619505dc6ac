// The URLs the desktop is asked to open for links written in pages.

#include "shellopen.h"

#include <gtest/gtest.h>

namespace carmanual {
namespace {

TEST(WebUrl, LinksAsWritten_AreOpenedPercentEncoded) {
    const struct {
        const char* link;
        const char* encoded; // nullptr: not a URL to open
    } cases[] = {
        {"http://example.com/A", "http://example.com/A"},
        {"https://x.com/", "https://x.com/"},
        {"  https://x.com/a b  ", "https://x.com/a%20b"},
        {"https://example.com/путь", "https://example.com/%D0%BF%D1%83%D1%82%D1%8C"},
        {"https://пример.рф/", "https://xn--e1afmkfd.xn--p1ai/"},
        {"mailto:Иван@example.com?subject=Тормоза",
         "mailto:%D0%98%D0%B2%D0%B0%D0%BD@example.com?subject=%D0%A2%D0%BE%D1%80%D0%BC%D0%BE%D0%B7%"
         "D0%B0"},
        {"ftp://ftp.example.org/pub/a%20b.zip", "ftp://ftp.example.org/pub/a%20b.zip"},
        {"/tmp/page.htm", nullptr},
        {"c:\\docs\\page.htm", nullptr},
        {"file:///tmp/page.htm", nullptr},
        {"page.htm", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        const QUrl url = WebUrl(QString::fromUtf8(c.link));
        if (!c.encoded) {
            EXPECT_FALSE(url.isValid()) << url.toString().toStdString();
            continue;
        }
        ASSERT_TRUE(url.isValid());
        EXPECT_EQ(url.toEncoded().toStdString(), c.encoded);
    }
}

} // namespace
} // namespace carmanual
