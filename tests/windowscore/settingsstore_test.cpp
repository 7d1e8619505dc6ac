#include "settingsstore.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace carmanual {
namespace {

TEST(MemorySettingsStore, Values_RoundTripWithTheirType) {
    TMemorySettingsStore store;
    EXPECT_TRUE(store.WriteBool("b", true));
    EXPECT_TRUE(store.WriteInteger("min", std::numeric_limits<std::int32_t>::min()));
    EXPECT_TRUE(store.WriteString("s", "\xCA\xEB\xE8\xEF")); // "Клип"
    EXPECT_EQ(store.ReadBool("b"), true);
    EXPECT_EQ(store.ReadInteger("min"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(store.ReadString("s"), "\xCA\xEB\xE8\xEF");
}

TEST(MemorySettingsStore, BooleanIsAnInteger) {
    TMemorySettingsStore store;
    store.WriteBool("b", true);
    EXPECT_EQ(store.ReadInteger("b"), 1);
    store.WriteInteger("n", 7);
    EXPECT_EQ(store.ReadBool("n"), true);
    store.WriteInteger("z", 0);
    EXPECT_EQ(store.ReadBool("z"), false);
}

TEST(MemorySettingsStore, ValueOfAnotherType_ReadsAsMissing) {
    TMemorySettingsStore store;
    store.WriteString("s", "1");
    store.WriteInteger("n", 1);
    EXPECT_EQ(store.ReadBool("s"), std::nullopt);
    EXPECT_EQ(store.ReadInteger("s"), std::nullopt);
    EXPECT_EQ(store.ReadString("n"), std::nullopt);
    EXPECT_TRUE(store.ValueExists("s"));
}

TEST(MemorySettingsStore, NamesAreExact) {
    TMemorySettingsStore store;
    store.WriteBool("SwOne12", true);
    EXPECT_FALSE(store.ValueExists("swone12"));
    EXPECT_FALSE(store.ValueExists("SwOne1"));
}

TEST(MemorySettingsStore, Delete_RemovesOnlyExistingValues) {
    TMemorySettingsStore store;
    store.WriteString("Favorite3", "x");
    EXPECT_TRUE(store.DeleteValue("Favorite3"));
    EXPECT_FALSE(store.ValueExists("Favorite3"));
    EXPECT_FALSE(store.DeleteValue("Favorite3"));
}

TEST(MemorySettingsStore, ReadOnly_RefusesChangesAndKeepsValues) {
    TMemorySettingsStore store;
    store.WriteInteger("n", 1);
    store.SetReadOnly(true);
    EXPECT_FALSE(store.WriteInteger("n", 2));
    EXPECT_FALSE(store.WriteBool("b", true));
    EXPECT_FALSE(store.DeleteValue("n"));
    EXPECT_EQ(store.ReadInteger("n"), 1);
    EXPECT_FALSE(store.ValueExists("b"));
    EXPECT_EQ(store.ChangeCount(), 1u);
}

TEST(ReadBoolDefault, Missing_WritesTheDefaultBack) {
    for (const bool fallback : {false, true}) {
        TMemorySettingsStore store;
        EXPECT_EQ(ReadBoolDefault(store, "Hint", fallback), fallback);
        EXPECT_EQ(store.ReadBool("Hint"), fallback);
    }
}

TEST(ReadBoolDefault, ValueOfAnotherType_IsReplacedByTheDefault) {
    TMemorySettingsStore store;
    store.WriteString("Wav", "yes");
    EXPECT_TRUE(ReadBoolDefault(store, "Wav", true));
    EXPECT_EQ(store.ReadBool("Wav"), true);
}

TEST(ReadBoolDefault, StoredValue_WinsAndIsNotRewritten) {
    TMemorySettingsStore store;
    store.WriteBool("Clip", false);
    const std::size_t before = store.ChangeCount();
    EXPECT_FALSE(ReadBoolDefault(store, "Clip", true));
    EXPECT_EQ(store.ChangeCount(), before);
}

TEST(ReadBoolDefault, ReadOnlyStore_StillGivesTheDefault) {
    TMemorySettingsStore store;
    store.SetReadOnly(true);
    EXPECT_TRUE(ReadBoolDefault(store, "Clip", true));
    EXPECT_FALSE(store.ValueExists("Clip"));
}

TEST(ReadIntegerDefault, MissingOrDamaged_WritesTheDefaultBack) {
    TMemorySettingsStore store;
    store.WriteString("ImageSequence", "1");
    EXPECT_EQ(ReadIntegerDefault(store, "ImageSequence", 0), 0);
    EXPECT_EQ(store.ReadInteger("ImageSequence"), 0);
    EXPECT_EQ(ReadIntegerDefault(store, "SlideShowTime", 5), 5);
    EXPECT_EQ(store.ReadInteger("SlideShowTime"), 5);
    store.WriteInteger("SlideShowTime", 9);
    EXPECT_EQ(ReadIntegerDefault(store, "SlideShowTime", 5), 9);
}

} // namespace
} // namespace carmanual
