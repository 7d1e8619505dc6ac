#include "htmlprepare.h"
#include "htmltags.h"

#include <gtest/gtest.h>

namespace carmanual {
namespace {

TEST(PrepareHtml, LinksBecomeTokensWithTheirTargets) {
    const TPreparedPage p =
        PrepareHtml("<a href=\"pads.htm\" target=main>Pads</a> <a name=top>x</a>"
                    "<A HREF='c:\\ch02\\a.htm#s2'>A</A> <a href=x.htm?a=1&amp;b=2>B</a>",
                    THtmlCharset::Windows1251);
    ASSERT_EQ(p.Links.size(), 3u);
    EXPECT_EQ(p.Links[0].Href, "pads.htm");
    EXPECT_EQ(p.Links[0].Target, "main");
    EXPECT_EQ(p.Links[1].Href, "c:\\ch02\\a.htm#s2");
    EXPECT_EQ(p.Links[1].Target, "");
    EXPECT_EQ(p.Links[2].Href, "x.htm?a=1&b=2");
    EXPECT_EQ(p.Html, "<a href=\"lnk:0\" target=main>Pads</a> <a name=top>x</a>"
                      "<A HREF='lnk:1'>A</A> <a href=\"lnk:2\">B</a>");
}

TEST(PrepareHtml, PicturesKeepTheirAltTexts) {
    // ALT "Колодка" in windows-1251; the table gives it in UTF-8.
    const TPreparedPage p = PrepareHtml(
        "<img src=\"pics\\pad.jpg\" alt=\"\xCA\xEE\xEB\xEE\xE4\xEA\xE0\"><img src=a.gif>"
        "<table background=\"bg.bmp\"><tr><td>x</td></tr></table>",
        THtmlCharset::Windows1251);
    ASSERT_EQ(p.Resources.size(), 3u);
    EXPECT_EQ(p.Resources[0].Source, "pics\\pad.jpg");
    EXPECT_TRUE(p.Resources[0].HasAlt);
    EXPECT_EQ(p.Resources[0].Alt, "\xD0\x9A\xD0\xBE\xD0\xBB\xD0\xBE\xD0\xB4\xD0\xBA\xD0\xB0");
    EXPECT_FALSE(p.Resources[1].HasAlt);
    EXPECT_EQ(p.Resources[2].Kind, THtmlResourceKind::Background);
    EXPECT_EQ(p.Resources[2].Source, "bg.bmp");
    EXPECT_NE(p.Html.find("<img src=\"res:0\" alt="), std::string::npos);
    EXPECT_NE(p.Html.find("<img src=\"res:1\">"), std::string::npos);
    EXPECT_NE(p.Html.find("background=\"res:2\""), std::string::npos);
}

TEST(PrepareHtml, StyleSheetLinksAndBase) {
    const TPreparedPage p = PrepareHtml(
        "<head><base href=\"c:\\ch03\\\" target=\"main\"><link rel=\"StyleSheet\" "
        "href=\"style.css\"><link rel=icon href=i.ico><title> \xD2\xEE\xF0\xEC\xEE\xE7\xE0  "
        "&amp; ABS </title></head><body link=\"#ff0000\" vlink=#00ff00>",
        THtmlCharset::Windows1251);
    ASSERT_EQ(p.Resources.size(), 1u);
    EXPECT_EQ(p.Resources[0].Kind, THtmlResourceKind::StyleSheet);
    EXPECT_EQ(p.Resources[0].Source, "style.css");
    EXPECT_EQ(p.BaseHref, "c:\\ch03\\");
    EXPECT_EQ(p.BaseTarget, "main");
    EXPECT_EQ(p.Title, "\xD2\xEE\xF0\xEC\xEE\xE7\xE0 & ABS");
    EXPECT_EQ(p.LinkColor, "#ff0000");
    EXPECT_EQ(p.VisitedColor, "#00ff00");
}

TEST(PrepareHtml, Koi8Page_NamesComeInWindows1251) {
    // href "рис.htm" and title "Тормоза" written in koi8-r.
    const TPreparedPage p =
        PrepareHtml("<title>\xF4\xCF\xD2\xCD\xCF\xDA\xC1</title><a href=\"\xD2\xC9\xD3.htm\">x</a>",
                    THtmlCharset::Koi8R);
    EXPECT_EQ(p.Title, "\xD2\xEE\xF0\xEC\xEE\xE7\xE0");
    ASSERT_EQ(p.Links.size(), 1u);
    EXPECT_EQ(p.Links[0].Href, "\xF0\xE8\xF1.htm");
}

TEST(PrepareHtml, FormControlsBecomePlaceholders) {
    const TPreparedPage p = PrepareHtml(
        "<form><select name=\"Serial\" size=1><option value=1>AB-100\n<option selected>CD &amp; 200"
        "</option><optgroup label=g><option>EF</select>"
        "<input type=hidden name=h value=1><input name=q size=30 value='x y'>"
        "<input type=password name=p><input type=checkbox name=c checked>"
        "<input type=radio name=r><input type=submit value=Go>"
        "<textarea name=t rows=3 cols=40>\nline1\nline2</textarea>"
        "<button type=reset>Clear <b>all</b></button><input type=image src=go.gif></form>",
        THtmlCharset::Windows1251);
    ASSERT_EQ(p.Controls.size(), 8u);
    const TFormControlSpec& sel = p.Controls[0];
    EXPECT_EQ(sel.Kind, TFormControlKind::Select);
    EXPECT_EQ(sel.Name, "Serial");
    EXPECT_EQ(sel.Options, (std::vector<std::string>{"AB-100", "CD & 200", "EF"}));
    EXPECT_EQ(sel.OptionValues, (std::vector<std::string>{"1", "CD & 200", "EF"}));
    EXPECT_EQ(sel.Selected, 1);
    EXPECT_EQ(p.Controls[1].Kind, TFormControlKind::Text);
    EXPECT_EQ(p.Controls[1].Value, "x y");
    EXPECT_EQ(p.Controls[1].Size, 30);
    EXPECT_EQ(p.Controls[2].Kind, TFormControlKind::Password);
    EXPECT_EQ(p.Controls[3].Kind, TFormControlKind::CheckBox);
    EXPECT_TRUE(p.Controls[3].Checked);
    EXPECT_EQ(p.Controls[4].Kind, TFormControlKind::Radio);
    EXPECT_EQ(p.Controls[5].Kind, TFormControlKind::Submit);
    EXPECT_EQ(p.Controls[5].Value, "Go");
    EXPECT_EQ(p.Controls[6].Kind, TFormControlKind::TextArea);
    EXPECT_EQ(p.Controls[6].Value, "line1\nline2");
    EXPECT_EQ(p.Controls[6].Rows, 3);
    EXPECT_EQ(p.Controls[7].Kind, TFormControlKind::Reset);
    EXPECT_EQ(p.Controls[7].Value, "Clear all");
    EXPECT_EQ(p.Resources.size(), 1u);
    EXPECT_EQ(p.Html.find("option"), std::string::npos);
    EXPECT_EQ(p.Html.find("hidden"), std::string::npos);
    EXPECT_NE(p.Html.find("<img src=\"ctl:0\">"), std::string::npos);
    EXPECT_NE(p.Html.find("<img src=\"ctl:7\">"), std::string::npos);
}

TEST(PrepareHtml, SelectWithoutSelection_TakesTheFirst) {
    const TPreparedPage p = PrepareHtml("<select name=s><option>a<option>b", THtmlCharset::Utf8);
    ASSERT_EQ(p.Controls.size(), 1u);
    EXPECT_EQ(p.Controls[0].Selected, 0);
    EXPECT_EQ(p.Controls[0].Options, (std::vector<std::string>{"a", "b"}));
}

TEST(PrepareHtml, ScriptsStylesAndCommentsAreNotMarkup) {
    const std::string page = "<script>var s = '<a href=\"x\">';</script><!-- <img src=y> -->"
                             "<style>a { color: red }</style><p>1 < 2</p>";
    const TPreparedPage p = PrepareHtml(page, THtmlCharset::Windows1251);
    EXPECT_TRUE(p.Links.empty());
    EXPECT_TRUE(p.Resources.empty());
    EXPECT_EQ(p.Html, page);
}

TEST(PrepareHtml, UnterminatedMarkup_EndsAtTheEnd) {
    for (const char* page : {"<a href=\"x", "<img src=", "<select><option>a", "<textarea>abc",
                             "<!-- x", "<", "<a", "<title>t"}) {
        const TPreparedPage p = PrepareHtml(page, THtmlCharset::Windows1251);
        EXPECT_LE(p.Html.size(), std::string(page).size() + 32) << page;
    }
}

TEST(TokenIndex, ReadsOnlyWholeTokens) {
    EXPECT_EQ(TokenIndex("lnk:12", "lnk:"), 12);
    EXPECT_EQ(TokenIndex("lnk:", "lnk:"), -1);
    EXPECT_EQ(TokenIndex("lnk:1x", "lnk:"), -1);
    EXPECT_EQ(TokenIndex("res:1", "lnk:"), -1);
    EXPECT_EQ(TokenIndex("lnk:99999999999", "lnk:"), -1);
}

TEST(DecodeEntities, NamedAndNumeric) {
    EXPECT_EQ(DecodeEntitiesUtf8("a &amp; b &lt;&gt; &#1058;&#x43E; &bogus; &"),
              "a & b <> \xD0\xA2\xD0\xBE &bogus; &");
}

} // namespace
} // namespace carmanual
