#include "generalsettings.h"

#include "ansi.h"
#include "settingnames.h"
#include "settingsstore.h"

#include <gtest/gtest.h>

#include <string>

namespace carmanual {
namespace {

namespace name = settingname;

const char* const kBooleans[] = {name::Clip, name::Wav, name::BGSound, name::Animation, name::Hint};
const char* const kSlideValues[] = {name::RunSlideShow, name::SlideShowTime, name::ImageSequence};

TEST(LoadGeneralSettings, FirstRun_WritesEveryDefault) {
    TMemorySettingsStore store;
    const TGeneralSettings s = LoadGeneralSettings(store, true);
    for (const char* value : kBooleans)
        EXPECT_EQ(store.ReadBool(value), true) << value;
    EXPECT_EQ(store.ReadBool(name::RunSlideShow), false);
    EXPECT_EQ(store.ReadInteger(name::SlideShowTime), 5);
    EXPECT_EQ(store.ReadInteger(name::ImageSequence), 0);
    EXPECT_FALSE(store.ValueExists(name::SizeInterface));

    EXPECT_TRUE(s.Clip && s.Wav && s.BGSound && s.Animation && s.Hint);
    EXPECT_FALSE(s.RunSlideShow);
    EXPECT_EQ(s.SlideShowTime, 5);
    EXPECT_EQ(s.ImageSequence, 0);
    EXPECT_EQ(s.SizeInterface, 0);
    EXPECT_TRUE(s.HasPictures);
}

TEST(LoadGeneralSettings, WithoutPictures_SlideValuesAreNeitherReadNorWritten) {
    TMemorySettingsStore store;
    store.WriteBool(name::RunSlideShow, true);
    store.WriteInteger(name::SlideShowTime, 9);
    const TGeneralSettings s = LoadGeneralSettings(store, false);
    EXPECT_FALSE(s.HasPictures);
    EXPECT_FALSE(s.RunSlideShow);
    EXPECT_EQ(s.SlideShowTime, 5);
    EXPECT_EQ(store.ReadInteger(name::SlideShowTime), 9);
    EXPECT_FALSE(store.ValueExists(name::ImageSequence));

    TMemorySettingsStore empty;
    LoadGeneralSettings(empty, false);
    for (const char* value : kSlideValues)
        EXPECT_FALSE(empty.ValueExists(value)) << value;
    EXPECT_EQ(empty.ValueCount(), std::size(kBooleans));
}

TEST(LoadGeneralSettings, StoredValues_AreTaken) {
    TMemorySettingsStore store;
    for (const char* value : kBooleans)
        store.WriteBool(value, false);
    store.WriteBool(name::RunSlideShow, true);
    store.WriteInteger(name::SlideShowTime, 10);
    store.WriteInteger(name::ImageSequence, 1);
    store.WriteInteger(name::SizeInterface, 3);
    const std::size_t before = store.ChangeCount();

    const TGeneralSettings s = LoadGeneralSettings(store, true);
    EXPECT_FALSE(s.Clip || s.Wav || s.BGSound || s.Animation || s.Hint);
    EXPECT_TRUE(s.RunSlideShow);
    EXPECT_EQ(s.SlideShowTime, 10);
    EXPECT_EQ(s.ImageSequence, 1);
    // The interface variant is stored but never read back.
    EXPECT_EQ(s.SizeInterface, 0);
    EXPECT_EQ(store.ChangeCount(), before);
}

TEST(LoadGeneralSettings, DamagedBoolean_GetsTheDefaultWrittenBack) {
    for (const char* value : kBooleans) {
        TMemorySettingsStore store;
        for (const char* other : kBooleans)
            store.WriteBool(other, false);
        store.WriteString(value, "false");
        const TGeneralSettings s = LoadGeneralSettings(store, false);
        EXPECT_EQ(store.ReadBool(value), true) << value;
        EXPECT_EQ(s.Clip + s.Wav + s.BGSound + s.Animation + s.Hint, 1) << value;
    }
}

struct SlideTimeCase {
    const char* text;
    std::int32_t stored;
    bool asString;
    std::int32_t expected;
};

class SlideTime : public testing::TestWithParam<SlideTimeCase> {};

TEST_P(SlideTime, OutOfRangeOrUnreadable_GetsFiveWrittenBack) {
    const SlideTimeCase c = GetParam();
    TMemorySettingsStore store;
    if (c.asString)
        store.WriteString(name::SlideShowTime, c.text);
    else
        store.WriteInteger(name::SlideShowTime, c.stored);
    EXPECT_EQ(LoadGeneralSettings(store, true).SlideShowTime, c.expected);
    EXPECT_EQ(store.ReadInteger(name::SlideShowTime), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlideTime,
    testing::Values(SlideTimeCase{"lowest", 1, false, 1}, SlideTimeCase{"highest", 10, false, 10},
                    SlideTimeCase{"zero", 0, false, 5}, SlideTimeCase{"negative", -3, false, 5},
                    SlideTimeCase{"above", 11, false, 5},
                    SlideTimeCase{"huge", 2147483647, false, 5}, SlideTimeCase{"7", 0, true, 5}));

TEST(LoadGeneralSettings, UnofferedImageSequence_IsKept) {
    TMemorySettingsStore store;
    store.WriteInteger(name::ImageSequence, 2);
    EXPECT_EQ(LoadGeneralSettings(store, true).ImageSequence, 2);
    EXPECT_EQ(store.ReadInteger(name::ImageSequence), 2);
}

TEST(LoadGeneralSettings, DamagedImageSequence_GetsZeroWrittenBack) {
    TMemorySettingsStore store;
    store.WriteString(name::ImageSequence, "backward");
    EXPECT_EQ(LoadGeneralSettings(store, true).ImageSequence, 0);
    EXPECT_EQ(store.ReadInteger(name::ImageSequence), 0);
}

TEST(LoadGeneralSettings, ReadOnlyStore_GivesTheDefaults) {
    TMemorySettingsStore store;
    store.SetReadOnly(true);
    const TGeneralSettings s = LoadGeneralSettings(store, true);
    EXPECT_TRUE(s.Clip && s.Hint);
    EXPECT_EQ(s.SlideShowTime, 5);
    EXPECT_EQ(store.ValueCount(), 0u);
}

TOptionsChoice ChoiceOf(const TGeneralSettings& s) {
    TOptionsChoice c;
    c.Clip = s.Clip;
    c.Wav = s.Wav;
    c.SizeInterface = s.SizeInterface;
    c.RunSlideShow = s.RunSlideShow;
    c.SlideShowTime = s.SlideShowTime;
    c.ImageSequence = s.ImageSequence;
    return c;
}

TEST(StoreOptions, NothingChanged_WritesOnlySizeInterface) {
    TMemorySettingsStore store;
    TGeneralSettings s = LoadGeneralSettings(store, true);
    const std::size_t before = store.ChangeCount();
    const TOptionsOutcome outcome = StoreOptions(s, ChoiceOf(s), store);
    EXPECT_EQ(store.ChangeCount(), before + 1);
    EXPECT_EQ(store.ReadInteger(name::SizeInterface), 0);
    EXPECT_FALSE(outcome.SlideShowSwitched);
    EXPECT_FALSE(outcome.SlideShowTimeChanged);
}

TEST(StoreOptions, DisabledBoxes_StoreClipAndWavOff) {
    TMemorySettingsStore store;
    TGeneralSettings s = LoadGeneralSettings(store, false);
    TOptionsChoice choice; // both boxes disabled, so unchecked
    StoreOptions(s, choice, store);
    EXPECT_FALSE(s.Clip);
    EXPECT_FALSE(s.Wav);
    EXPECT_EQ(store.ReadBool(name::Clip), false);
    EXPECT_EQ(store.ReadBool(name::Wav), false);
}

TEST(StoreOptions, ChangedSlideShow_IsStoredAndReported) {
    TMemorySettingsStore store;
    TGeneralSettings s = LoadGeneralSettings(store, true);
    TOptionsChoice choice = ChoiceOf(s);
    choice.RunSlideShow = true;
    choice.SlideShowTime = 3;
    choice.ImageSequence = 1;
    choice.SizeInterface = 2;
    const TOptionsOutcome outcome = StoreOptions(s, choice, store);
    EXPECT_TRUE(outcome.SlideShowSwitched);
    EXPECT_TRUE(outcome.SlideShowTimeChanged);
    EXPECT_EQ(store.ReadBool(name::RunSlideShow), true);
    EXPECT_EQ(store.ReadInteger(name::SlideShowTime), 3);
    EXPECT_EQ(store.ReadInteger(name::ImageSequence), 1);
    EXPECT_EQ(store.ReadInteger(name::SizeInterface), 2);
    EXPECT_EQ(s.SizeInterface, 2);
}

TEST(StoreOptions, WithoutPictures_SlideShowIsUntouched) {
    TMemorySettingsStore store;
    TGeneralSettings s = LoadGeneralSettings(store, false);
    TOptionsChoice choice = ChoiceOf(s);
    choice.RunSlideShow = true;
    choice.SlideShowTime = 8;
    choice.ImageSequence = 1;
    const TOptionsOutcome outcome = StoreOptions(s, choice, store);
    EXPECT_FALSE(outcome.SlideShowSwitched || outcome.SlideShowTimeChanged);
    EXPECT_FALSE(s.RunSlideShow);
    EXPECT_EQ(s.SlideShowTime, 5);
    for (const char* value : kSlideValues)
        EXPECT_FALSE(store.ValueExists(value)) << value;
}

TEST(StoreOptions, NoOrderSelected_KeepsTheStoredOrder) {
    TMemorySettingsStore store;
    store.WriteInteger(name::ImageSequence, 2);
    TGeneralSettings s = LoadGeneralSettings(store, true);
    TOptionsChoice choice = ChoiceOf(s);
    choice.ImageSequence.reset();
    StoreOptions(s, choice, store);
    EXPECT_EQ(s.ImageSequence, 2);
    EXPECT_EQ(store.ReadInteger(name::ImageSequence), 2);
}

TEST(StoreOptions, FailingWrites_KeepTheNewValuesInMemory) {
    TMemorySettingsStore store;
    TGeneralSettings s = LoadGeneralSettings(store, true);
    store.SetReadOnly(true);
    TOptionsChoice choice = ChoiceOf(s);
    choice.Wav = false;
    choice.SlideShowTime = 2;
    choice.SizeInterface = 3;
    const TOptionsOutcome outcome = StoreOptions(s, choice, store);
    EXPECT_FALSE(s.Wav);
    EXPECT_EQ(s.SlideShowTime, 2);
    EXPECT_EQ(s.SizeInterface, 3);
    EXPECT_TRUE(outcome.SlideShowTimeChanged);
    EXPECT_EQ(store.ReadInteger(name::SlideShowTime), 5);
}

TEST(StoreOptions, StoredChoice_IsWhatTheNextRunLoads) {
    TMemorySettingsStore store;
    TGeneralSettings s = LoadGeneralSettings(store, true);
    TOptionsChoice choice;
    choice.Clip = true;
    choice.Wav = false;
    choice.SizeInterface = 3;
    choice.RunSlideShow = true;
    choice.SlideShowTime = 10;
    choice.ImageSequence = 1;
    StoreOptions(s, choice, store);

    const TGeneralSettings next = LoadGeneralSettings(store, true);
    EXPECT_TRUE(next.Clip);
    EXPECT_FALSE(next.Wav);
    EXPECT_TRUE(next.RunSlideShow);
    EXPECT_EQ(next.SlideShowTime, 10);
    EXPECT_EQ(next.ImageSequence, 1);
    EXPECT_EQ(next.SizeInterface, 0);
}

TEST(StoreOptions, NotStoredSettings_AreNeverWritten) {
    TMemorySettingsStore store;
    TGeneralSettings s = LoadGeneralSettings(store, true);
    s.Animation = false;
    s.BGSound = false;
    s.Hint = false;
    TOptionsChoice choice = ChoiceOf(s);
    choice.Clip = false;
    StoreOptions(s, choice, store);
    EXPECT_EQ(store.ReadBool(name::Animation), true);
    EXPECT_EQ(store.ReadBool(name::BGSound), true);
    EXPECT_EQ(store.ReadBool(name::Hint), true);
}

TEST(SlideShowTimeCaption, EndingFollowsTheNumber) {
    const struct {
        std::int32_t seconds;
        const char* utf8;
    } cases[] = {{1, "1 секунда"}, {2, "2 секунды"}, {3, "3 секунды"}, {4, "4 секунды"},
                 {5, "5 секунд"},  {9, "9 секунд"},  {10, "10 секунд"}};
    for (const auto& c : cases)
        EXPECT_EQ(AnsiToUtf8(SlideShowTimeCaption(c.seconds)), c.utf8) << c.seconds;
}

TEST(SettingNames, NumbersFollowThePrefixWithoutSeparator) {
    EXPECT_EQ(settingname::SwOne(1, 2), "SwOne12");
    EXPECT_EQ(settingname::SwOne(11, 2), "SwOne112");
    EXPECT_EQ(settingname::SwGrp(0, 0), "SwGrp00");
    EXPECT_EQ(settingname::SwGrpD(2, 10), "SwGrpD210");
    EXPECT_EQ(settingname::Favorite(16), "Favorite16");
    EXPECT_EQ(settingname::PathInstall(0), "PathInstall0");
}

} // namespace
} // namespace carmanual
