// The resources the layout engine asks a page for, resolved without an
// engine.

#include "htmlresource.h"

#include <gtest/gtest.h>

namespace carmanual {
namespace {

using TKind = THtmlResourceTarget::TKind;

} // namespace

void PrintTo(const THtmlResourceTarget& t, std::ostream* os) {
    *os << "{kind " << static_cast<int>(t.Kind) << ", control " << t.Control << ", \"" << t.File
        << "\"}";
}

namespace {

TEST(HtmlResource, NamesOfTheRewrittenPage_ResolveAgainstItsBase) {
    std::vector<THtmlResourceRef> resources(3);
    resources[0].Source = "pics/brake.jpg";
    resources[1].Kind = THtmlResourceKind::StyleSheet;
    resources[1].Source = "..\\style.css";
    resources[2].Kind = THtmlResourceKind::Background;
    resources[2].Source = "d:\\run\\bg.gif#x";
    const std::string base = "c:\\run\\ch01\\p1.htm";
    const auto P = THtmlResourceRequest::Picture;
    const auto S = THtmlResourceRequest::StyleSheet;
    const auto O = THtmlResourceRequest::Other;
    const struct {
        const char* scenario;
        const char* name;
        const char* decoded;
        THtmlResourceRequest request;
        THtmlResourceTarget expected;
    } cases[] = {
        {"a picture of the page",
         "res:0",
         "res:0",
         P,
         {TKind::Picture, -1, "c:\\run\\ch01\\pics\\brake.jpg"}},
        {"a style sheet, asked for as a picture all the same",
         "res:1",
         "res:1",
         P,
         {TKind::StyleSheet, -1, "c:\\run\\style.css"}},
        {"a background on another drive, its anchor dropped",
         "res:2",
         "res:2",
         P,
         {TKind::Picture, -1, "d:\\run\\bg.gif"}},
        {"a control's room", "ctl:1", "ctl:1", P, {TKind::Control, 1, ""}},
        // Names that look like a protocol of their own stay as they are.
        {"a control the page does not have", "ctl:5", "ctl:5", P, {TKind::Picture, -1, "ctl:5"}},
        {"a resource number out of range", "res:9", "res:9", P, {TKind::Picture, -1, "res:9"}},
        {"url() of a style sheet, percent escapes decoded",
         "img/a%20b.png",
         "img/a b.png",
         P,
         {TKind::Picture, -1, "c:\\run\\ch01\\img\\a b.png"}},
        {"a style sheet's import",
         "common.css",
         "common.css",
         S,
         {TKind::StyleSheet, -1, "c:\\run\\ch01\\common.css"}},
        {"anything else is nothing", "res:0", "res:0", O, {TKind::None, -1, ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        EXPECT_EQ(ResolveResource(c.name, c.decoded, c.request, resources, base, 2), c.expected);
    }
}

} // namespace
} // namespace carmanual
