#include "textmsg.h"

#include "componentstest.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace carmanual {
namespace {

using test::Ansi;
using test::PixelsWhere;

constexpr TColor Red = 255;
constexpr TColor Green = 160 * 256;
constexpr TColor Blue = 255 * 65536;

RText Field(int left, int top, const char* value, TColor color, std::int32_t number = 0,
            std::int32_t screen = 0, const char* ident = "", std::int32_t size = 14,
            const char* style = "bold") {
    RText r;
    r.Left = left;
    r.Top = top;
    r.Right = left + 150;
    r.Font = "dejavu sans";
    r.Size = size;
    r.Style = style;
    r.Color = color;
    r.Value = Ansi(value);
    r.Number = number;
    r.Screen = screen;
    r.Ident = ident;
    return r;
}

QImage Paint(TTextMsg& texts, int screen, TTextTarget target = TTextTarget::MainWindow) {
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    texts.PaintTextFields(painter, screen, target);
    return image;
}

// A skinned window as far as the text fields care: a background, the fields
// of its screen over it, and a record of the areas it was asked to repaint.
class SkinWindow final : public QWidget {
public:
    SkinWindow() {
        resize(320, 200);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    TTextMsg* Texts = nullptr;
    TTextTarget Target = TTextTarget::MainWindow;
    int Screen = 0;
    QRegion Painted;

protected:
    void paintEvent(QPaintEvent* event) override {
        Painted += event->region();
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (Texts)
            Texts->PaintTextFields(painter, Screen, Target);
    }
};

TEST(TextMsg, NoFields_NoComponent) {
    QWidget window;
    EXPECT_EQ(TTextMsg::CreateTextFields({}, &window), nullptr);
    const auto texts = TTextMsg::CreateTextFields({Field(1, 1, "a", Red)}, &window);
    ASSERT_NE(texts, nullptr);
    EXPECT_EQ(texts->FieldCount(), 1);
}

TEST(TextMsg, FontFromRecord_NameSizeAndStyleWords) {
    struct Case {
        const char* style;
        std::int32_t size;
        bool bold, italic, underline, strikeOut;
        int pixelSize; // points on a 96-dpi screen
    };
    const Case cases[] = {
        {"", 9, false, false, false, false, 12},
        {"bold", 12, true, false, false, false, 16},
        {"italic", 10, false, true, false, false, 13},
        {"underline", 8, false, false, true, false, 11},
        {"strikeout", 24, false, false, false, true, 32},
        {"bold,italic,underline,strikeout", 14, true, true, true, true, 19},
        {"BOLD Italic", 14, true, true, false, false, 19},
        {"boldface", 14, true, false, false, false, 19},
        {"normal", 0, false, false, false, false, 11}, // no size: 8 points
    };
    for (const Case& c : cases) {
        RText r = Field(0, 0, "", 0, 0, 0, "", c.size, c.style);
        const QFont font = TTextMsg::FieldFontFromRecord(r);
        EXPECT_EQ(font.family(), "dejavu sans");
        EXPECT_EQ(font.bold(), c.bold) << c.style;
        EXPECT_EQ(font.italic(), c.italic) << c.style;
        EXPECT_EQ(font.underline(), c.underline) << c.style;
        EXPECT_EQ(font.strikeOut(), c.strikeOut) << c.style;
        EXPECT_EQ(font.pixelSize(), c.pixelSize) << c.style << " " << c.size;
    }
}

TEST(TextMsg, Colour_RedPlusGreenTimes256PlusBlueTimes65536) {
    QWidget window;
    TTextMsg texts({Field(0, 0, "", 10 + 20 * 256 + 30 * 65536)}, &window);
    EXPECT_EQ(texts.FieldColor(0), QColor(10, 20, 30));
}

TEST(TextMsg, InitialTexts_AreTheValuesInWindows1251) {
    QWidget window;
    TTextMsg texts({Field(0, 0, "Руководство", Red), Field(0, 0, "", Red)}, &window);
    EXPECT_EQ(texts.FieldText(0), QString::fromUtf8("Руководство"));
    EXPECT_EQ(texts.FieldText(1), QString());
}

TEST(TextMsg, Paint_EachFieldOfTheScreenAtItsPlaceInItsFont) {
    QWidget window;
    TTextMsg texts({Field(20, 30, "Тормоза", Red, 1, 0, "", 16, "bold"),
                    Field(40, 120, "Двигатель", Blue, 2, 0, "", 9, "")},
                   &window);
    const QImage image = Paint(texts, 0);

    for (int i = 0; i < texts.FieldCount(); ++i) {
        const QFontMetrics metrics(texts.FieldFont(i));
        const QRect rect = texts.FieldRect(i);
        EXPECT_EQ(rect.topLeft(), i == 0 ? QPoint(20, 30) : QPoint(40, 120));
        EXPECT_EQ(rect.width(), metrics.horizontalAdvance(texts.FieldText(i))) << i;
        EXPECT_EQ(rect.height(), metrics.height()) << i;
    }
    const QRect red = PixelsWhere(image, test::Reddish);
    const QRect blue = PixelsWhere(image, test::Bluish);
    ASSERT_FALSE(red.isEmpty());
    ASSERT_FALSE(blue.isEmpty());
    EXPECT_TRUE(texts.FieldRect(0).contains(red)) << red.x() << "," << red.y();
    EXPECT_TRUE(texts.FieldRect(1).contains(blue)) << blue.x() << "," << blue.y();
    // The glyphs start at the field's left edge, not centred or right-aligned.
    EXPECT_LT(red.left() - 20, 4);
    EXPECT_LT(blue.left() - 40, 4);
    // The bigger font makes the taller glyphs.
    EXPECT_GT(red.height(), blue.height());
    // Transparent: the glyphs only, no box behind them, nothing outside.
    int whiteInside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inside =
                texts.FieldRect(0).contains(x, y) || texts.FieldRect(1).contains(x, y);
            const bool white = image.pixelColor(x, y) == QColor(Qt::white);
            EXPECT_TRUE(inside || white) << x << "," << y;
            whiteInside += inside && white;
        }
    EXPECT_GT(whiteInside, (texts.FieldRect(0).width() * texts.FieldRect(0).height()) / 3);
}

TEST(TextMsg, Paint_OnlyTheCurrentScreensMainWindowFields) {
    QWidget window;
    TTextMsg texts({Field(10, 10, "Экран1", Red, 0, 0), Field(10, 60, "Экран2", Blue, 0, 1),
                    Field(10, 110, "Диалог", Red, TTextMsg::DialogFieldNumber, 0)},
                   &window);

    const QImage first = Paint(texts, 0);
    EXPECT_FALSE(PixelsWhere(first, test::Reddish).isEmpty());
    EXPECT_TRUE(PixelsWhere(first, test::Bluish).isEmpty());
    EXPECT_LT(PixelsWhere(first, test::NotWhite).bottom(), 60);

    const QImage second = Paint(texts, 1);
    EXPECT_TRUE(PixelsWhere(second, test::Reddish).isEmpty());
    EXPECT_FALSE(PixelsWhere(second, test::Bluish).isEmpty());

    EXPECT_TRUE(PixelsWhere(Paint(texts, 2), test::NotWhite).isEmpty());
}

TEST(TextMsg, DialogTarget_PaintsOnlyNumber1000OfTheCurrentScreen) {
    QWidget window;
    TTextMsg texts({Field(10, 10, "Главная", Blue, 0, 0),
                    Field(10, 110, "Диалог", Red, TTextMsg::DialogFieldNumber, 0)},
                   &window);
    const QImage dialog = Paint(texts, 0, TTextTarget::DialogWindow);
    EXPECT_TRUE(PixelsWhere(dialog, test::Bluish).isEmpty());
    const QRect red = PixelsWhere(dialog, test::Reddish);
    ASSERT_FALSE(red.isEmpty());
    EXPECT_GE(red.top(), 110);
    EXPECT_TRUE(PixelsWhere(Paint(texts, 1, TTextTarget::DialogWindow), test::NotWhite).isEmpty());
}

TEST(TextMsg, Rect_BeforeThePaintHasNoHeight) {
    QWidget window;
    TTextMsg texts({Field(20, 30, "Текст", Red)}, &window);
    EXPECT_EQ(texts.FieldRect(0).topLeft(), QPoint(20, 30));
    EXPECT_EQ(texts.FieldRect(0).width(), 150);
    EXPECT_EQ(texts.FieldRect(0).height(), 0);
}

TEST(TextMsg, SetFieldText_ByNumberOrStatusLine) {
    struct Case {
        std::int32_t number;
        std::vector<bool> changed; // per field below
    };
    const Case cases[] = {
        {1, {true, false, false, false, false}},  // the first field numbered 1 only
        {0, {false, false, true, false, false}},  // number 0 is a number like any other
        {7, {false, false, false, false, false}}, // no such field
        {-1, {false, false, false, true, true}},  // every "statusline" field, any case
        {-2, {false, false, false, false, false}}, {-100, {false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        QWidget window;
        TTextMsg texts({Field(0, 0, "a", Red, 1), Field(0, 0, "b", Red, 1),
                        Field(0, 0, "c", Red, 0, 0, "statuslinex"),
                        Field(0, 0, "d", Red, 2, 1, "statusline"),
                        Field(0, 0, "e", Red, 3, 0, "StatusLine")},
                       &window);
        const QString before[] = {"a", "b", "c", "d", "e"};
        texts.SetFieldText("new", c.number, false);
        for (int i = 0; i < texts.FieldCount(); ++i)
            EXPECT_EQ(texts.FieldText(i),
                      c.changed[static_cast<std::size_t>(i)] ? "new" : before[i])
                << "number " << c.number << " field " << i;
    }
}

TEST(TextMsg, SameText_DoesNotRepaint) {
    QWidget window;
    TTextMsg texts({Field(0, 0, "Стоп", Red, 1)}, &window);
    QSignalSpy repaints(&texts, &TTextMsg::fieldRepaintRequested);
    texts.SetFieldText(QString::fromUtf8("Стоп"), 1, true);
    EXPECT_EQ(repaints.count(), 0);
    // Letter case counts.
    texts.SetFieldText(QString::fromUtf8("стоп"), 1, true);
    EXPECT_EQ(repaints.count(), 1);
}

TEST(TextMsg, WithoutRepaint_TheTextChangesUnseenUntilThePaint) {
    QWidget window;
    TTextMsg texts({Field(10, 10, "", Red, 1)}, &window);
    QSignalSpy repaints(&texts, &TTextMsg::fieldRepaintRequested);
    texts.SetFieldText("Title", 1, false);
    EXPECT_EQ(repaints.count(), 0);
    EXPECT_EQ(texts.FieldText(0), "Title");
    EXPECT_FALSE(PixelsWhere(Paint(texts, 0), test::Reddish).isEmpty());
}

TEST(TextMsg, ShownWindow_RepaintsTheOldAndTheNewTextArea) {
    SkinWindow window;
    TTextMsg texts({Field(20, 40, "Очень длинный заголовок", Red, 1)}, &window);
    window.Texts = &texts;
    window.show();
    ASSERT_TRUE(test::PumpUntil([&] { return !texts.FieldRect(0).isEmpty(); }));
    const QRect oldText = texts.FieldRect(0);

    QSignalSpy repaints(&texts, &TTextMsg::fieldRepaintRequested);
    window.Painted = QRegion();
    texts.SetFieldText("Ok", 1, true);
    ASSERT_EQ(repaints.count(), 1);
    const QRect area = repaints.at(0).at(1).toRect();
    EXPECT_TRUE(area.contains(oldText));
    ASSERT_TRUE(test::PumpUntil([&] { return window.Painted.contains(oldText); }));

    // The repaint erased the old text: only the short one is left.
    const QImage shown = window.grab().toImage();
    const QRect red = PixelsWhere(shown, test::Reddish);
    EXPECT_TRUE(texts.FieldRect(0).contains(red));
    EXPECT_LT(texts.FieldRect(0).width(), oldText.width());
}

TEST(TextMsg, DialogField_RepaintsTheDialogNotTheMainWindow) {
    SkinWindow main;
    SkinWindow dialog;
    dialog.Target = TTextTarget::DialogWindow;
    TTextMsg texts({Field(10, 10, "", Red, TTextMsg::DialogFieldNumber)}, &main);
    main.Texts = &texts;
    dialog.Texts = &texts;
    main.show();
    ASSERT_TRUE(test::PumpUntil([&] { return !main.Painted.isEmpty(); }));

    // No dialog window yet: the text is kept, nothing shows it.
    main.Painted = QRegion();
    texts.SetFieldText("Поиск", TTextMsg::DialogFieldNumber, true);
    EXPECT_EQ(texts.FieldText(0), QString::fromUtf8("Поиск"));
    EXPECT_TRUE(PixelsWhere(main.grab().toImage(), test::Reddish).isEmpty());

    texts.SetDialogWindow(&dialog);
    dialog.show();
    ASSERT_TRUE(test::PumpUntil([&] { return !dialog.Painted.isEmpty(); }));
    dialog.Painted = QRegion();
    texts.SetFieldText("Найдено", TTextMsg::DialogFieldNumber, true);
    ASSERT_TRUE(test::PumpUntil([&] { return !dialog.Painted.isEmpty(); }));
    EXPECT_FALSE(PixelsWhere(dialog.grab().toImage(), test::Reddish).isEmpty());
    EXPECT_TRUE(PixelsWhere(main.grab().toImage(), test::Reddish).isEmpty());
}

} // namespace
} // namespace carmanual
