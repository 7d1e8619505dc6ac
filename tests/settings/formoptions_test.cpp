#include "formoptions.h"

#include "settingnames.h"
#include "settingsstore.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace carmanual {
namespace {

namespace name = settingname;

template <typename T> T* Child(const TFormOptions& form, const char* objectName) {
    T* child = form.findChild<T*>(QString::fromLatin1(objectName));
    EXPECT_NE(child, nullptr) << objectName;
    return child;
}

QRadioButton* Order(const TFormOptions& form, const QString& caption) {
    for (QRadioButton* radio :
         Child<QGroupBox>(form, "RadioGroupImageSequence")->findChildren<QRadioButton*>())
        if (radio->text() == caption)
            return radio;
    ADD_FAILURE() << caption.toStdString();
    return nullptr;
}

QString LabelText(const TFormOptions& form) {
    return Child<QLabel>(form, "LabelTimeSlideShow")->text();
}

TEST(FormOptions, Creation_LoadsAndWritesBackTheDefaults) {
    TMemorySettingsStore store;
    TFormOptions form(store, true);
    const TGeneralSettings& s = form.Settings();
    EXPECT_TRUE(s.Clip && s.Wav && s.BGSound && s.Animation && s.Hint && s.HasPictures);
    EXPECT_EQ(store.ReadBool(name::Clip), true);
    EXPECT_EQ(store.ReadBool(name::RunSlideShow), false);
    EXPECT_EQ(store.ReadInteger(name::SlideShowTime), 5);
    EXPECT_EQ(store.ReadInteger(name::ImageSequence), 0);
    EXPECT_FALSE(form.isVisible());
}

TEST(FormOptions, Design_HasTheCaptionsAndStates) {
    TMemorySettingsStore store;
    TFormOptions form(store, true);
    EXPECT_EQ(form.windowTitle(), "Настройки");
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(form.isModal());
    EXPECT_GE(form.width(), 401);
    EXPECT_GE(form.height(), 277);
    EXPECT_EQ(form.minimumSize(), form.maximumSize());

    auto* pages = Child<QTabWidget>(form, "PageControl");
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), "Основные");
    EXPECT_EQ(pages->tabText(1), "Картинки");
    EXPECT_EQ(pages->currentWidget(), Child<QWidget>(form, "TabSheetMain"));
    EXPECT_EQ(pages->widget(1), Child<QWidget>(form, "TabSheetPictures"));

    EXPECT_EQ(Child<QGroupBox>(form, "RadioGroupInterface")->title(), " Вариант интерфейса ");
    const struct {
        const char* object;
        const char* caption;
    } radios[] = {{"RBInerf1", "Автоматический выбор"},
                  {"RBInerf2", "800x600"},
                  {"RBInerf3", "1024x768"},
                  {"RBInerf4", "Произвольный"}};
    for (const auto& r : radios)
        EXPECT_EQ(Child<QRadioButton>(form, r.object)->text(), QString::fromUtf8(r.caption));
    EXPECT_TRUE(Child<QRadioButton>(form, "RBInerf1")->isChecked());
    EXPECT_EQ(Child<QPushButton>(form, "Button1")->text(), "Шрифт");

    const struct {
        const char* object;
        const char* caption;
        bool hidden;
        bool enabled;
    } boxes[] = {{"CheckBoxWav", "Озвучка кнопок", false, false},
                 {"CheckBoxClip", "Клип при запуске", true, false},
                 {"CheckBoxBGSound", "Фоновая музыка", true, true},
                 {"CheckBoxAnimation", "Анимация окон", true, true},
                 {"CheckBoxHint", "Всплывающие подсказки", true, true},
                 {"CheckBoxRunSlideShow", "Включить Слайд-шоу", false, true}};
    for (const auto& b : boxes) {
        auto* box = Child<QCheckBox>(form, b.object);
        EXPECT_EQ(box->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(box->isHidden(), b.hidden) << b.object;
        EXPECT_EQ(box->isEnabled(), b.enabled) << b.object;
    }

    auto* track = Child<QSlider>(form, "TrackBarSlideShow");
    EXPECT_EQ(track->minimum(), 1);
    EXPECT_EQ(track->maximum(), 10);
    EXPECT_EQ(track->singleStep(), 1);
    EXPECT_EQ(Child<QGroupBox>(form, "RadioGroupImageSequence")->title(), " Последовательность ");
    EXPECT_NE(Order(form, "Прямая"), nullptr);
    EXPECT_NE(Order(form, "Обратная"), nullptr);

    auto* ok = Child<QPushButton>(form, "ButtonOK");
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(Child<QPushButton>(form, "ButtonCancel")->text(), "Отмена");
}

TEST(FormOptions, WithoutPictures_TheirTabIsHiddenAndTheirValuesUntouched) {
    TMemorySettingsStore store;
    TFormOptions form(store, false);
    auto* pages = Child<QTabWidget>(form, "PageControl");
    EXPECT_TRUE(pages->isTabVisible(0));
    EXPECT_FALSE(pages->isTabVisible(1));
    form.ShowOptions();
    Child<QCheckBox>(form, "CheckBoxRunSlideShow")->setChecked(true);
    Child<QSlider>(form, "TrackBarSlideShow")->setValue(9);
    QSignalSpy switched(&form, &TFormOptions::slideShowSwitched);
    QSignalSpy interval(&form, &TFormOptions::slideShowIntervalChanged);
    form.ButtonOKClick();
    for (const char* value : {name::RunSlideShow, name::SlideShowTime, name::ImageSequence})
        EXPECT_FALSE(store.ValueExists(value)) << value;
    EXPECT_EQ(switched.count(), 0);
    EXPECT_EQ(interval.count(), 0);
}

TEST(FormOptions, Show_ControlsReflectTheLoadedSettings) {
    TMemorySettingsStore store;
    store.WriteBool(name::Clip, true);
    store.WriteBool(name::Wav, false);
    store.WriteBool(name::RunSlideShow, true);
    store.WriteInteger(name::SlideShowTime, 7);
    store.WriteInteger(name::ImageSequence, 1);
    store.WriteInteger(name::SizeInterface, 2);
    TFormOptions form(store, true);
    form.EnableCheckBoxes(true, true);
    form.ShowOptions();

    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(Child<QCheckBox>(form, "CheckBoxClip")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(form, "CheckBoxWav")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(form, "CheckBoxAnimation")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(form, "CheckBoxHint")->isChecked());
    // The stored variant is never read back.
    EXPECT_TRUE(Child<QRadioButton>(form, "RBInerf1")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(form, "CheckBoxRunSlideShow")->isChecked());
    EXPECT_EQ(Child<QSlider>(form, "TrackBarSlideShow")->value(), 7);
    EXPECT_EQ(LabelText(form), "7 секунд");
    EXPECT_TRUE(Order(form, "Обратная")->isChecked());
    EXPECT_FALSE(Order(form, "Прямая")->isChecked());
}

TEST(FormOptions, DisabledBoxes_StayUncheckedAndOkStoresThemOff) {
    TMemorySettingsStore store;
    TFormOptions form(store, false);
    form.EnableCheckBoxes(false, false);
    form.ShowOptions();
    EXPECT_FALSE(Child<QCheckBox>(form, "CheckBoxClip")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(form, "CheckBoxWav")->isChecked());
    form.ButtonOKClick();
    EXPECT_EQ(store.ReadBool(name::Clip), false);
    EXPECT_EQ(store.ReadBool(name::Wav), false);
    EXPECT_FALSE(form.Settings().Clip);
    EXPECT_FALSE(form.Settings().Wav);
}

TEST(FormOptions, EnabledBoxes_OkWithoutChangesKeepsThemOn) {
    TMemorySettingsStore store;
    TFormOptions form(store, true);
    form.EnableCheckBoxes(true, true);
    form.ShowOptions();
    const std::size_t before = store.ChangeCount();
    QSignalSpy switched(&form, &TFormOptions::slideShowSwitched);
    QSignalSpy interval(&form, &TFormOptions::slideShowIntervalChanged);
    QTest::mouseClick(Child<QPushButton>(form, "ButtonOK"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.Settings().Clip);
    EXPECT_TRUE(form.Settings().Wav);
    // Only the interface variant, which is written every time.
    EXPECT_EQ(store.ChangeCount(), before + 1);
    EXPECT_EQ(store.ReadInteger(name::SizeInterface), 0);
    EXPECT_EQ(switched.count(), 0);
    EXPECT_EQ(interval.count(), 0);
}

TEST(FormOptions, Ok_StoresTheChangesAndTellsTheSlideShow) {
    TMemorySettingsStore store;
    TFormOptions form(store, true);
    form.EnableCheckBoxes(true, true);
    form.ShowOptions();
    Child<QCheckBox>(form, "CheckBoxWav")->setChecked(false);
    Child<QRadioButton>(form, "RBInerf3")->setChecked(true);
    Child<QCheckBox>(form, "CheckBoxRunSlideShow")->setChecked(true);
    Child<QSlider>(form, "TrackBarSlideShow")->setValue(3);
    Order(form, "Обратная")->setChecked(true);
    QSignalSpy switched(&form, &TFormOptions::slideShowSwitched);
    QSignalSpy interval(&form, &TFormOptions::slideShowIntervalChanged);

    QTest::mouseClick(Child<QPushButton>(form, "ButtonOK"), Qt::LeftButton);

    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(store.ReadBool(name::Wav), false);
    EXPECT_EQ(store.ReadInteger(name::SizeInterface), 2);
    EXPECT_EQ(store.ReadBool(name::RunSlideShow), true);
    EXPECT_EQ(store.ReadInteger(name::SlideShowTime), 3);
    EXPECT_EQ(store.ReadInteger(name::ImageSequence), 1);
    EXPECT_FALSE(form.Settings().Wav);
    EXPECT_EQ(form.Settings().SlideShowTime, 3);
    ASSERT_EQ(switched.count(), 1);
    EXPECT_EQ(switched.at(0).at(0).toBool(), true);
    ASSERT_EQ(interval.count(), 1);
    EXPECT_EQ(interval.at(0).at(0).toInt(), 3001);
}

TEST(FormOptions, NextRun_StartsWithTheAutomaticVariant) {
    TMemorySettingsStore store;
    {
        TFormOptions form(store, false);
        form.ShowOptions();
        Child<QRadioButton>(form, "RBInerf4")->setChecked(true);
        form.ButtonOKClick();
        EXPECT_EQ(store.ReadInteger(name::SizeInterface), 3);
        // Shown again in the same run, the choice stays.
        form.ShowOptions();
        EXPECT_TRUE(Child<QRadioButton>(form, "RBInerf4")->isChecked());
    }
    TFormOptions next(store, false);
    next.ShowOptions();
    EXPECT_TRUE(Child<QRadioButton>(next, "RBInerf1")->isChecked());
    EXPECT_EQ(next.Settings().SizeInterface, 0);
}

TEST(FormOptions, Cancel_StoresNothingAndTheNextShowRefills) {
    TMemorySettingsStore store;
    TFormOptions form(store, true);
    form.EnableCheckBoxes(true, true);
    form.ShowOptions();
    const std::size_t before = store.ChangeCount();
    auto* track = Child<QSlider>(form, "TrackBarSlideShow");
    track->setValue(9);
    Child<QCheckBox>(form, "CheckBoxWav")->setChecked(false);
    Child<QCheckBox>(form, "CheckBoxRunSlideShow")->setChecked(true);
    QSignalSpy switched(&form, &TFormOptions::slideShowSwitched);
    QSignalSpy interval(&form, &TFormOptions::slideShowIntervalChanged);

    QTest::mouseClick(Child<QPushButton>(form, "ButtonCancel"), Qt::LeftButton);

    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(store.ChangeCount(), before);
    EXPECT_EQ(form.Settings().SlideShowTime, 5);
    EXPECT_TRUE(form.Settings().Wav);
    EXPECT_FALSE(form.Settings().RunSlideShow);
    EXPECT_EQ(switched.count(), 0);
    EXPECT_EQ(interval.count(), 0);

    form.ShowOptions();
    EXPECT_EQ(track->value(), 5);
    EXPECT_EQ(LabelText(form), "5 секунд");
    EXPECT_TRUE(Child<QCheckBox>(form, "CheckBoxWav")->isChecked());
}

TEST(FormOptions, EscapeAndClose_ActAsCancel) {
    TMemorySettingsStore store;
    TFormOptions form(store, true);
    form.ShowOptions();
    const std::size_t before = store.ChangeCount();
    Child<QSlider>(form, "TrackBarSlideShow")->setValue(2);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    form.ShowOptions();
    Child<QSlider>(form, "TrackBarSlideShow")->setValue(2);
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(store.ChangeCount(), before);
    EXPECT_EQ(form.Settings().SlideShowTime, 5);
}

TEST(FormOptions, TrackBar_LabelFollowsThePosition) {
    TMemorySettingsStore store;
    TFormOptions form(store, true);
    auto* track = Child<QSlider>(form, "TrackBarSlideShow");
    const struct {
        int position;
        const char* label;
    } cases[] = {{1, "1 секунда"}, {3, "3 секунды"}, {5, "5 секунд"}, {10, "10 секунд"}};
    for (const auto& c : cases) {
        track->setValue(c.position);
        EXPECT_EQ(LabelText(form), QString::fromUtf8(c.label));
    }
}

TEST(FormOptions, UnofferedOrder_ShowsNoSelectionAndIsKeptByOk) {
    TMemorySettingsStore store;
    store.WriteInteger(name::ImageSequence, 2);
    TFormOptions form(store, true);
    form.ShowOptions();
    EXPECT_FALSE(Order(form, "Прямая")->isChecked());
    EXPECT_FALSE(Order(form, "Обратная")->isChecked());
    form.ButtonOKClick();
    EXPECT_EQ(store.ReadInteger(name::ImageSequence), 2);
    EXPECT_EQ(form.Settings().ImageSequence, 2);
}

TEST(FormOptions, FontButton_AsksForTheFontDialog) {
    TMemorySettingsStore store;
    TFormOptions form(store, false);
    form.ShowOptions();
    QSignalSpy fonts(&form, &TFormOptions::chooseFontsRequested);
    QTest::mouseClick(Child<QPushButton>(form, "Button1"), Qt::LeftButton);
    EXPECT_EQ(fonts.count(), 1);
    // With nothing connected the click does nothing.
    TFormOptions lonely(store, false);
    lonely.Button1Click();
}

TEST(FormOptions, RunOnlyChanges_AreNotStored) {
    TMemorySettingsStore store;
    TFormOptions form(store, false);
    form.SwitchOffAnimation();
    form.SetBGSound(false);
    EXPECT_FALSE(form.Settings().Animation);
    EXPECT_FALSE(form.Settings().BGSound);
    EXPECT_FALSE(Child<QCheckBox>(form, "CheckBoxBGSound")->isChecked());
    form.ShowOptions();
    form.ButtonOKClick();
    EXPECT_EQ(store.ReadBool(name::Animation), true);
    EXPECT_EQ(store.ReadBool(name::BGSound), true);

    form.WriteBGSound();
    EXPECT_EQ(store.ReadBool(name::BGSound), false);
}

} // namespace
} // namespace carmanual
