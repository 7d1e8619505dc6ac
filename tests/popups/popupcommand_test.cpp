#include "popupcommand.h"

#include "paths.h"
#include "tempdir.h"

#include <gtest/gtest.h>

namespace carmanual {
namespace {

struct CommandCase {
    const char* command;
    TPopupCommandKind kind;
    std::string page;
    std::int32_t value;
};

class PopupCommands : public ::testing::Test {
protected:
    void SetUp() override { InitProgramPaths(m_dir.Path()); }
    test::TempDir m_dir;
};

TEST_F(PopupCommands, PageCommandsAndTheRest_AreToldApart) {
    const std::string program = ProgramDir();
    const CommandCase cases[] = {
        {"history=3", TPopupCommandKind::GoToHistory, "", 3},
        {"HISTORY=0", TPopupCommandKind::GoToHistory, "", 0},
        {"history=", TPopupCommandKind::Ignore, "", 0},
        {"history=x", TPopupCommandKind::Ignore, "", 0},
        {"history=-1", TPopupCommandKind::Ignore, "", 0},
        {"html=ch01\\p1.htm", TPopupCommandKind::OpenPage, program + "ch01\\p1.htm", 0},
        {"html=c:\\run\\a.htm", TPopupCommandKind::OpenPage, "c:\\run\\a.htm", 0},
        {"html=", TPopupCommandKind::Ignore, "", 0},
        {"htmlpos=c:\\run\\a.htm=240", TPopupCommandKind::OpenPageAt, "c:\\run\\a.htm", 240},
        {"htmlpos=c:\\run\\a=b.htm=12", TPopupCommandKind::OpenPageAt, "c:\\run\\a=b.htm", 12},
        {"htmlpos=c:\\run\\a.htm", TPopupCommandKind::OpenPageAt, "c:\\run\\a.htm", 0},
        {"htmlpos==5", TPopupCommandKind::Ignore, "", 0},
        {"copyclipboardhtml", TPopupCommandKind::CopySelection, "", 0},
        {"addtofavorite", TPopupCommandKind::AddToFavorites, "", 0},
        {"deffonthtml", TPopupCommandKind::ChooseFonts, "", 0},
        {"selectallhtml", TPopupCommandKind::SelectAll, "", 0},
        {"printhtml", TPopupCommandKind::PrintPage, "", 0},
        // The main window's commands, also those that merely contain a
        // page word, go to its dispatcher.
        {"html1=ch01\\p1.htm", TPopupCommandKind::Dispatch, "", 0},
        {"printhtml2", TPopupCommandKind::Dispatch, "", 0},
        {"screen2", TPopupCommandKind::Dispatch, "", 0},
        {"options", TPopupCommandKind::Dispatch, "", 0},
        {"run=tools\\a.exe", TPopupCommandKind::Dispatch, "", 0},
        {"", TPopupCommandKind::Dispatch, "", 0},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.command);
        const TPopupCommand parsed = ParsePopupCommand(c.command);
        EXPECT_EQ(parsed.Kind, c.kind);
        if (c.kind == TPopupCommandKind::OpenPage || c.kind == TPopupCommandKind::OpenPageAt) {
            EXPECT_EQ(parsed.Page, c.page);
        }
        if (c.kind == TPopupCommandKind::GoToHistory || c.kind == TPopupCommandKind::OpenPageAt) {
            EXPECT_EQ(parsed.Value, c.value);
        }
    }
}

} // namespace
} // namespace carmanual
