#include "scalebar.h"

#include "componentstest.h"

#include <QPaintEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace carmanual {
namespace {

using test::PixelsWhere;

constexpr int BarWidth = 60;
constexpr int BarHeight = 7;

// The dialog window as far as the bar cares: a page image it paints.
class DialogWindow final : public QWidget {
public:
    DialogWindow() {
        resize(Page.size());
        Page.fill(Qt::white);
    }
    QImage Page{200, 120, QImage::Format_RGB32};
    QRegion Painted;

protected:
    void paintEvent(QPaintEvent* event) override {
        Painted += event->region();
        QPainter(this).drawImage(0, 0, Page);
    }
};

class ScaleBar : public ::testing::Test {
protected:
    ScaleBar() {
        QImage up(BarWidth, BarHeight, QImage::Format_RGB32);
        up.fill(Qt::blue);
        QImage down(BarWidth, BarHeight, QImage::Format_RGB32);
        down.fill(Qt::red);
        up.save(QString::fromStdString((manual.Path() / "status_up.bmp").string()));
        down.save(QString::fromStdString((manual.Path() / "status_dn.bmp").string()));
        bar.SetDialogWindow(&dialog, &dialog.Page);
    }

    // The columns of the bar's row, as painted: 'u' empty, 'd' full, '.' page.
    std::string Row() const {
        std::string row;
        for (int x = 0; x < dialog.Page.width(); ++x) {
            const QColor c = dialog.Page.pixelColor(x, 75 + BarHeight / 2);
            row += c == QColor(Qt::blue) ? 'u' : c == QColor(Qt::red) ? 'd' : '.';
        }
        return row;
    }
    static std::string Expected(int filled, int empty) {
        return std::string(33, '.') + std::string(static_cast<std::size_t>(filled), 'd') +
               std::string(static_cast<std::size_t>(empty), 'u') +
               std::string(static_cast<std::size_t>(200 - 33 - filled - empty), '.');
    }

    test::ManualFolder manual;
    int screen = 1;
    DialogWindow dialog;
    TScaleBar bar{"status_dn.bmp", "status_up.bmp", 1, 75, 33, [this] { return screen; }};
};

TEST_F(ScaleBar, Creation_TakesTheMainWindowsValues) {
    EXPECT_EQ(bar.UpFile(), "status_up.bmp");
    EXPECT_EQ(bar.DownFile(), "status_dn.bmp");
    EXPECT_EQ(bar.BarScreen(), 1);
    EXPECT_EQ(bar.X(), 33);
    EXPECT_EQ(bar.Y(), 75);
    EXPECT_EQ(bar.Pos(), 33);
    EXPECT_EQ(bar.LastScreen(), -1);
    EXPECT_FALSE(bar.Prepared());
}

TEST_F(ScaleBar, Prepare_OnItsScreenDrawsTheEmptyBar) {
    bar.PrepareBar();
    EXPECT_TRUE(bar.Prepared());
    EXPECT_EQ(bar.Right(), 33 + BarWidth);
    EXPECT_EQ(bar.Bottom(), 75 + BarHeight);
    EXPECT_EQ(bar.Pos(), 33);
    EXPECT_EQ(bar.LastScreen(), 1);
    EXPECT_EQ(Row(), Expected(0, BarWidth));
    EXPECT_EQ(PixelsWhere(dialog.Page, test::NotWhite), QRect(33, 75, BarWidth, BarHeight));
}

TEST_F(ScaleBar, Steps_FillOneColumnEach) {
    bar.PrepareBar();
    for (int filled = 1; filled <= BarWidth; ++filled) {
        bar.StepBar();
        ASSERT_EQ(bar.Pos(), 33 + filled);
        ASSERT_EQ(Row(), Expected(filled, BarWidth - filled)) << filled;
    }
    // Steps past the end move on but draw nothing outside the bar.
    bar.StepBar();
    bar.StepBar();
    EXPECT_EQ(bar.Pos(), 33 + BarWidth + 2);
    EXPECT_EQ(PixelsWhere(dialog.Page, test::NotWhite), QRect(33, 75, BarWidth, BarHeight));
}

TEST_F(ScaleBar, Reset_EmptiesTheBar) {
    bar.PrepareBar();
    for (int i = 0; i < 25; ++i)
        bar.StepBar();
    bar.ResetBar();
    EXPECT_EQ(bar.Pos(), 33);
    EXPECT_EQ(Row(), Expected(0, BarWidth));
}

TEST_F(ScaleBar, PrepareAgain_StartsEmpty) {
    bar.PrepareBar();
    for (int i = 0; i < 10; ++i)
        bar.StepBar();
    bar.PrepareBar();
    EXPECT_EQ(bar.Pos(), 33);
    EXPECT_EQ(Row(), Expected(0, BarWidth));
}

TEST_F(ScaleBar, OtherScreen_LetsThePicturesGoAndDrawsNothing) {
    bar.PrepareBar();
    screen = 0;
    bar.PrepareBar();
    EXPECT_FALSE(bar.Prepared());
    EXPECT_EQ(bar.LastScreen(), 0);
    const std::string before = Row();
    bar.StepBar();
    bar.StepBar();
    EXPECT_EQ(bar.Pos(), 35);
    EXPECT_EQ(Row(), before);
    bar.ResetBar();
    EXPECT_EQ(bar.Pos(), 33);
    EXPECT_EQ(Row(), before);
}

TEST_F(ScaleBar, StepsOnAnotherScreen_DrawNothingEvenWithPictures) {
    bar.PrepareBar();
    screen = 2;
    bar.StepBar();
    EXPECT_EQ(Row(), Expected(0, BarWidth));
    EXPECT_EQ(bar.Pos(), 34);
}

TEST_F(ScaleBar, MissingPictures_NothingVisible) {
    std::filesystem::remove(manual.Path() / "status_up.bmp");
    std::filesystem::remove(manual.Path() / "status_dn.bmp");
    bar.PrepareBar();
    EXPECT_TRUE(bar.Prepared());
    EXPECT_EQ(bar.Right(), 33);
    EXPECT_EQ(bar.Bottom(), 75);
    bar.StepBar();
    bar.ResetBar();
    EXPECT_TRUE(PixelsWhere(dialog.Page, test::NotWhite).isEmpty());
}

TEST_F(ScaleBar, NoDialogWindow_StepsStillCount) {
    bar.SetDialogWindow(nullptr, nullptr);
    bar.PrepareBar();
    EXPECT_EQ(bar.Right(), 33 + BarWidth);
    bar.StepBar();
    EXPECT_EQ(bar.Pos(), 34);
    EXPECT_TRUE(PixelsWhere(dialog.Page, test::NotWhite).isEmpty());
}

TEST_F(ScaleBar, ShownDialog_RepaintsWhatTheBarDrew) {
    dialog.show();
    ASSERT_TRUE(test::PumpUntil([&] { return !dialog.Painted.isEmpty(); }));
    bar.PrepareBar();
    dialog.Painted = QRegion();
    bar.StepBar();
    ASSERT_TRUE(test::PumpUntil([&] { return dialog.Painted.contains(QPoint(33, 75)); }));
    const QImage shown = dialog.grab().toImage();
    EXPECT_EQ(shown.pixelColor(33, 76), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(34, 76), QColor(Qt::blue));
}

} // namespace
} // namespace carmanual
