#include "statusline.h"
#include "textmsg.h"

#include "componentstest.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace carmanual {
namespace {

RText StatusField(std::int32_t screen, const char* ident = "statusline") {
    RText r;
    r.Left = 10;
    r.Top = 10;
    r.Right = 200;
    r.Font = "dejavu sans";
    r.Size = 10;
    r.Ident = ident;
    r.Number = 5;
    r.Screen = screen;
    return r;
}

class StatusLine : public ::testing::Test {
protected:
    QWidget window;
    TTextMsg texts{{StatusField(0), StatusField(1), StatusField(0, "title")}, &window};
    TStatusLine status{&texts};

    QString Shown() const { return texts.FieldText(0); }
};

TEST_F(StatusLine, ShowStatus_ShowsInEveryStatusFieldAndStartsBlinking) {
    status.ShowStatus(QString::fromUtf8("Файл скопирован"));
    EXPECT_EQ(texts.FieldText(0), QString::fromUtf8("Файл скопирован"));
    EXPECT_EQ(texts.FieldText(1), QString::fromUtf8("Файл скопирован"));
    EXPECT_EQ(texts.FieldText(2), QString());
    EXPECT_TRUE(status.Blinking());
    EXPECT_EQ(status.TimerInterval(), 200);
    EXPECT_EQ(status.BlinkCount(), 1);
}

TEST_F(StatusLine, Ticks_BlinkAndEndBlankAfterForty) {
    const QString message = QString::fromUtf8("Текст не найден");
    status.ShowStatus(message);
    QSignalSpy repaints(&texts, &TTextMsg::fieldRepaintRequested);

    std::vector<QString> seen;
    int ticks = 0;
    while (status.Blinking() && ticks < 100) {
        status.StatusTimerTick();
        ++ticks;
        seen.push_back(Shown());
    }
    EXPECT_EQ(ticks, TStatusLine::BlinkTicks);
    EXPECT_FALSE(status.Blinking());
    EXPECT_EQ(Shown(), QString());
    // Hidden, shown, hidden, ...: every tick but the last changes the text.
    for (std::size_t i = 0; i + 1 < seen.size(); ++i)
        EXPECT_EQ(seen[i], i % 2 == 0 ? QString() : message) << "tick " << i + 1;
    EXPECT_EQ(seen.back(), seen[seen.size() - 2]);
    // Two status fields on two screens, each repainted at every change.
    EXPECT_EQ(repaints.count(), 2 * (TStatusLine::BlinkTicks - 1));

    // A stray tick after the end changes nothing.
    status.StatusTimerTick();
    EXPECT_EQ(repaints.count(), 2 * (TStatusLine::BlinkTicks - 1));
}

TEST_F(StatusLine, ShowStatusWhileBlinking_RestartsWithTheNewText) {
    status.ShowStatus("first");
    for (int i = 0; i < 7; ++i)
        status.StatusTimerTick();
    ASSERT_EQ(Shown(), QString()); // caught in a dark phase
    status.ShowStatus("second");
    EXPECT_EQ(Shown(), "second");
    EXPECT_EQ(status.BlinkCount(), 1);
    EXPECT_TRUE(status.Blinking());
    int ticks = 0;
    while (status.Blinking() && ticks < 100) {
        status.StatusTimerTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, TStatusLine::BlinkTicks);
}

TEST_F(StatusLine, ClearStatus_StopsAndEmpties) {
    status.ShowStatus("message");
    status.StatusTimerTick();
    status.StatusTimerTick();
    status.ClearStatus();
    EXPECT_FALSE(status.Blinking());
    EXPECT_EQ(status.Text(), QString());
    EXPECT_EQ(status.BlinkCount(), 1);
    EXPECT_EQ(texts.FieldText(0), QString());
    EXPECT_EQ(texts.FieldText(1), QString());
}

TEST_F(StatusLine, Timer_DrivesTheTicks) {
    status.ShowStatus("message");
    ASSERT_TRUE(test::PumpUntil([&] { return status.BlinkCount() >= 3; }));
    EXPECT_TRUE(status.Blinking());
}

TEST(StatusLineAlone, WithoutTextFields_NothingHappens) {
    TStatusLine status;
    status.ShowStatus("message");
    EXPECT_FALSE(status.Blinking());
    EXPECT_EQ(status.Text(), QString());
    status.ClearStatus();
    EXPECT_FALSE(status.Blinking());
}

TEST(StatusLineAlone, TextFieldsGivenLater_AreUsed) {
    // Start-up makes the status line before the text fields.
    TStatusLine status;
    QWidget window;
    TTextMsg texts({StatusField(0)}, &window);
    status.SetTextFields(&texts);
    status.ShowStatus("message");
    EXPECT_EQ(texts.FieldText(0), "message");
    EXPECT_TRUE(status.Blinking());
}

TEST(StatusLineAlone, TextFieldsGone_TicksAreHarmless) {
    QWidget window;
    auto texts = std::make_unique<TTextMsg>(TDynamicTextArray{StatusField(0)}, &window);
    TStatusLine status(texts.get());
    status.ShowStatus("message");
    texts.reset();
    status.StatusTimerTick();
    status.ShowStatus("again");
    status.ClearStatus();
    // Without text fields there is no status line to change.
    EXPECT_EQ(status.Text(), "message");
}

} // namespace
} // namespace carmanual
