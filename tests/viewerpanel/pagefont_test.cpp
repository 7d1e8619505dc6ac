// The page font and colours: read from the settings store with their
// defaults, handed to every viewer, changed in the font dialog and written
// back when the panel goes.

#include "panelfixture.h"

#include "colorgrid.h"
#include "fontform.h"
#include "pagefont.h"
#include "qtansi.h"
#include "settingnames.h"

#include <QApplication>
#include <QFontDatabase>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTextDocument>

namespace carmanual::test {
namespace {

TEST(PageFontStore, EmptyStore_GivesTheDefaults) {
    TMemorySettingsStore store;
    const TPageFont font = ReadPageFont(store);
    EXPECT_EQ(font.Name, "Arial");
    EXPECT_EQ(font.Color, 0u);
    EXPECT_EQ(font.Size, 8);
    EXPECT_EQ(font.HotSpotColor, 13158u);
    EXPECT_EQ(font.Background, 16777215u);
}

TEST(PageFontStore, EmptyOrMistypedValues_GiveTheirDefaults) {
    TMemorySettingsStore store;
    store.WriteString(settingname::FontName, "");
    store.WriteString(settingname::FontSize, "12");
    store.WriteInteger(settingname::FontColor, 0x0000FF);
    store.WriteString(settingname::Background, "white");
    const TPageFont font = ReadPageFont(store);
    EXPECT_EQ(font.Name, "Arial");
    EXPECT_EQ(font.Size, 8);
    EXPECT_EQ(font.Color, 0x0000FFu);
    EXPECT_EQ(font.Background, 16777215u);
}

TEST(PageFontStore, WrittenValuesReadBack) {
    TMemorySettingsStore store;
    TPageFont font;
    font.Name = "Verdana";
    font.Color = 0x102030;
    font.Size = 14;
    font.HotSpotColor = 0xFF0000;
    font.Background = 0xF0FBFF;
    WritePageFont(store, font);
    EXPECT_EQ(ReadPageFont(store), font);
    EXPECT_EQ(store.ReadInteger(settingname::FontSize), 14);
}

class PageFonts : public PanelTest {
protected:
    PageFonts() { m_page = WritePage("docs/a.htm", "<p>text</p><a href='b.htm'>b</a>"); }
    std::unique_ptr<THtmlFrame> TwoScreens(THtmlFrameServices s) {
        return BuildHtmlFrame(
            {Element(0, 0, 400, 300, m_page, 1, 0), Element(0, 0, 400, 300, m_page, 2, 2)},
            std::move(s));
    }
    std::string m_page;
};

TEST_F(PageFonts, StoredValues_ReachEveryViewer) {
    m_store.WriteString(settingname::FontName, "Verdana");
    m_store.WriteInteger(settingname::FontSize, 11);
    m_store.WriteInteger(settingname::HotSpotColor, 0x00FF00);
    auto frame = TwoScreens(Services());
    for (int i = 0; i < frame->ViewerCount(); ++i) {
        EXPECT_EQ(frame->Viewer(i)->DefFontName(), "Verdana");
        EXPECT_EQ(frame->Viewer(i)->DefFontSize(), 11);
        EXPECT_EQ(frame->Viewer(i)->DefHotSpotColor(), 0x00FF00u);
        EXPECT_EQ(frame->Viewer(i)->DefBackground(), 16777215u);
    }
}

TEST_F(PageFonts, NoFontSizeStored_PagesUseEightPoints) {
    auto frame = TwoScreens(Services());
    EXPECT_EQ(frame->CurrentViewer()->DefFontSize(), 8);
}

TEST_F(PageFonts, ChosenFont_AppliesToEveryViewerAndIsStoredAtTheEnd) {
    THtmlFrameServices s = Services();
    s.RunFontForm = [](TFontForm& form) {
        form.FormShow();
        form.SetFontName("No Such Font Family");
        form.SetFontSize(16);
        form.FontColorGrid()->ChooseCell(9);     // red
        form.HotSpotColorGrid()->ChooseCell(12); // blue
        form.SetBackground(0xF0FBFF);            // clCream
        return true;
    };
    auto frame = TwoScreens(std::move(s));
    frame->ChooseFonts();
    for (int i = 0; i < frame->ViewerCount(); ++i) {
        const TFrameViewer* v = frame->Viewer(i);
        EXPECT_EQ(v->DefFontName(), "Arial"); // the list had no such name
        EXPECT_EQ(v->DefFontSize(), 16);
        EXPECT_EQ(v->DefFontColor(), 0x0000FFu);
        EXPECT_EQ(v->DefHotSpotColor(), 0xFF0000u);
        EXPECT_EQ(v->DefBackground(), 0xF0FBFFu);
    }
    EXPECT_FALSE(m_store.ValueExists(settingname::FontSize));
    frame.reset();
    const TPageFont stored = ReadPageFont(m_store);
    EXPECT_EQ(stored.Size, 16);
    EXPECT_EQ(stored.Color, 0x0000FFu);
    EXPECT_EQ(stored.HotSpotColor, 0xFF0000u);
    EXPECT_EQ(stored.Background, 0xF0FBFFu);

    // The next run starts with them.
    auto next = TwoScreens(Services());
    EXPECT_EQ(next->Viewer(1)->DefFontSize(), 16);
}

TEST_F(PageFonts, DialogStartsWithTheCurrentViewersValues) {
    m_store.WriteInteger(settingname::FontSize, 13);
    m_store.WriteInteger(settingname::Background, 0x030201);
    TPageFont seen;
    THtmlFrameServices s = Services();
    s.RunFontForm = [&](TFontForm& form) {
        seen = {form.GetFontName(), form.FontColor(), form.Size(), form.HotSpotColor(),
                form.GetBackground()};
        return false;
    };
    auto frame = TwoScreens(std::move(s));
    frame->ChooseFonts();
    EXPECT_EQ(seen.Size, 13);
    EXPECT_EQ(seen.Background, 0x030201u);
    EXPECT_EQ(seen.HotSpotColor, 13158u);
}

TEST_F(PageFonts, Cancel_LeavesEveryViewerUnchanged) {
    THtmlFrameServices s = Services();
    s.RunFontForm = [](TFontForm& form) {
        form.SetFontSize(20);
        form.SetBackground(0x000000);
        return false;
    };
    auto frame = TwoScreens(std::move(s));
    frame->ChooseFonts();
    for (int i = 0; i < frame->ViewerCount(); ++i) {
        EXPECT_EQ(frame->Viewer(i)->DefFontSize(), 8);
        EXPECT_EQ(frame->Viewer(i)->DefBackground(), 16777215u);
    }
}

TEST_F(PageFonts, ReadOnlyStore_WritesNothingAndDoesNotFail) {
    m_store.SetReadOnly(true);
    auto frame = TwoScreens(Services());
    frame.reset();
    EXPECT_EQ(m_store.ValueCount(), 0u);
}

// --- The dialog itself ---

TEST(FontForm, BuiltAsTheDialogIsDescribed) {
    TFontForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Шрифт"));
    EXPECT_EQ(form.size(), QSize(315, 339));
    EXPECT_EQ(form.FontViewer()->geometry(), QRect(15, 16, 193, 177));
    EXPECT_FALSE(form.FontViewer()->ViewImages());
    EXPECT_TRUE(form.FontViewer()->NoSelect());
    EXPECT_EQ(form.FontViewer()->HistoryMaxCount(), 0);
    EXPECT_EQ(form.FontSizeEdit()->minimum(), 6);
    EXPECT_EQ(form.FontSizeEdit()->maximum(), 24);
    EXPECT_EQ(form.ResetButton()->text(), QStringLiteral("&Сброс"));
    EXPECT_EQ(form.OKButton()->text(), QStringLiteral("O&K"));
    EXPECT_TRUE(form.OKButton()->isDefault());
    EXPECT_EQ(form.CancelButton()->text(), QStringLiteral("Отмена"));
    EXPECT_TRUE(form.FontListBox()->isSortingEnabled());
    EXPECT_EQ(form.FontListBox()->count(), QFontDatabase::families().size());

    QStringList backs;
    for (int i = 0; i < form.BackListBox()->count(); ++i)
        backs << form.BackListBox()->item(i)->text();
    EXPECT_EQ(backs.size(), 22);
    EXPECT_EQ(backs.front(), QStringLiteral("clBlack"));
    EXPECT_EQ(backs.at(15), QStringLiteral("clWhite"));
    EXPECT_EQ(backs.back(), QStringLiteral("clNone"));
}

TEST(FontForm, SampleFollowsEveryChange) {
    TFontForm form;
    form.SetFontSize(18);
    form.SetFontColor(0x0000FF);
    form.SetHotSpotColor(0x00FF00);
    THTMLViewer* sample = form.FontViewer();
    EXPECT_EQ(sample->DefFontSize(), 18);
    EXPECT_EQ(sample->DefFontColor(), 0x0000FFu);
    EXPECT_EQ(sample->DefHotSpotColor(), 0x00FF00u);
    EXPECT_EQ(form.FontSizeEdit()->value(), 18);
    const QString text = sample->Document()->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Заголовок")));
    EXPECT_TRUE(text.contains(QStringLiteral("Текст кода")));

    // The reader's own changes run through the same setters.
    form.FontSizeEdit()->setValue(10);
    EXPECT_EQ(form.Size(), 10);
    EXPECT_EQ(sample->DefFontSize(), 10);
    form.HotSpotColorGrid()->ChooseCell(4); // navy
    EXPECT_EQ(form.HotSpotColor(), 0x800000u);
    form.BackListBox()->setCurrentRow(9); // clRed
    EXPECT_EQ(form.GetBackground(), 0x0000FFu);
    EXPECT_EQ(sample->DefBackground(), 0x0000FFu);
}

TEST(FontForm, FontNotInstalled_ListKeepsArialButSampleShowsTheName) {
    TFontForm form;
    form.SetFontName("No Such Font Family");
    EXPECT_EQ(form.GetFontName(), "Arial");
    EXPECT_EQ(form.SampleFontName(), "No Such Font Family");
    EXPECT_EQ(form.FontViewer()->DefFontName(), "No Such Font Family");
}

TEST(FontForm, ChoosingAnInstalledFont) {
    TFontForm form;
    ASSERT_GT(form.FontListBox()->count(), 0);
    const QString family = form.FontListBox()->item(0)->text();
    form.FontListBox()->setCurrentRow(0);
    EXPECT_EQ(form.GetFontName(), ToAnsi(family));
    EXPECT_EQ(form.FontViewer()->DefFontName(), ToAnsi(family));
}

TEST(FontForm, ColourWithoutAName_IsAddedInHexadecimalAndSelected) {
    TFontForm form;
    const int count = form.BackListBox()->count();
    form.SetBackground(1 + 2 * 256 + 3 * 65536);
    ASSERT_EQ(form.BackListBox()->count(), count + 1);
    EXPECT_EQ(form.BackListBox()->item(count)->text(), QStringLiteral("$00030201"));
    EXPECT_EQ(form.BackListBox()->currentRow(), count);
    EXPECT_EQ(form.GetBackground(), 0x030201u);
    // A second time it is found, not added again; a named colour is selected.
    form.SetBackground(0x030201);
    EXPECT_EQ(form.BackListBox()->count(), count + 1);
    form.SetBackground(0xFFFFFF);
    EXPECT_EQ(form.BackListBox()->currentItem()->text(), QStringLiteral("clWhite"));
}

TEST(FontForm, ColourNames) {
    EXPECT_EQ(TFontForm::ColorName(0x808000), "clTeal");
    EXPECT_EQ(TFontForm::ColorName(0x20000000), "clDefault");
    EXPECT_EQ(TFontForm::ColorName(0xABCDEF), "$00ABCDEF");
    EXPECT_EQ(TFontForm::ColorFromName("$00ABCDEF"), 0xABCDEFu);
    EXPECT_EQ(TFontForm::ColorFromName("clMoneyGreen"), 0xC0DCC0u);
    EXPECT_EQ(TFontForm::ColorFromName("beige"), std::nullopt);
}

TEST(FontForm, NoBackgroundSelected_GivesTheButtonFace) {
    TFontForm form;
    const QColor face = QApplication::palette().color(QPalette::Button);
    const TColor expected = static_cast<TColor>(face.red()) |
                            static_cast<TColor>(face.green()) << 8 |
                            static_cast<TColor>(face.blue()) << 16;
    EXPECT_EQ(form.GetBackground(), expected);
}

TEST(FontForm, ResetRestoresTheValuesShownWhenOpened) {
    TFontForm form;
    form.SetFontName("Arial");
    form.SetFontSize(9);
    form.SetFontColor(0x000080);
    form.SetHotSpotColor(0x008000);
    form.SetBackground(0xC0C0C0);
    form.FormShow();
    const std::string name = form.GetFontName();

    form.SetFontSize(20);
    form.FontColorGrid()->ChooseCell(15);
    form.HotSpotColorGrid()->ChooseCell(0);
    form.SetBackground(0x123456);
    form.ResetButton()->click();

    EXPECT_EQ(form.GetFontName(), name);
    EXPECT_EQ(form.Size(), 9);
    EXPECT_EQ(form.FontColor(), 0x000080u);
    EXPECT_EQ(form.HotSpotColor(), 0x008000u);
    EXPECT_EQ(form.GetBackground(), 0xC0C0C0u);
    EXPECT_EQ(form.FontViewer()->DefFontSize(), 9);
}

TEST(FontForm, OkAndCancelCloseTheDialog) {
    TFontForm ok;
    ok.show();
    ok.OKButton()->click();
    EXPECT_EQ(ok.result(), QDialog::Accepted);
    TFontForm cancel;
    cancel.show();
    cancel.CancelButton()->click();
    EXPECT_EQ(cancel.result(), QDialog::Rejected);
}

} // namespace
} // namespace carmanual::test
