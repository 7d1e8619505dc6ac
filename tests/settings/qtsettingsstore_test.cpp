#include "qtsettingsstore.h"

#include "ansi.h"
#include "generalsettings.h"
#include "settingnames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <limits>
#include <string>

namespace carmanual {
namespace {

// Every test opens titles no other test uses: QSettings keeps what it read
// for the whole process.
std::string FreshTitle(const std::string& utf8Prefix) {
    static std::atomic<int> counter = 0;
    return Utf8ToAnsi(utf8Prefix) + std::to_string(++counter);
}

QString ConfigFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QByteArray FileBytes(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

TEST(QtSettingsStore, LivesInTheKorrinelFolderUnderTheTitle) {
    const std::string title = FreshTitle("Руководство ");
    const TQtSettingsStore store(title);
    const QFileInfo file(store.FileName());
    EXPECT_EQ(file.absolutePath(), QDir(ConfigFolder()).absoluteFilePath("Korrinel"));
    EXPECT_EQ(file.completeBaseName(), QString::fromUtf8(AnsiToUtf8(title)));
    EXPECT_TRUE(
        file.absoluteFilePath().startsWith(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"))));
}

TEST(QtSettingsStore, Values_SurviveReopening) {
    const std::string title = FreshTitle("Тест ");
    const std::string cyrillicName = Utf8ToAnsi("ПутьУстановки");
    const std::string cyrillicText = Utf8ToAnsi("{Тормоза, передние}c:\\глава 2\\тормоза.htm");
    {
        TQtSettingsStore store(title);
        EXPECT_TRUE(store.WriteBool("Clip", false));
        EXPECT_TRUE(store.WriteBool("Hint", true));
        EXPECT_TRUE(store.WriteInteger("Min", std::numeric_limits<std::int32_t>::min()));
        EXPECT_TRUE(store.WriteInteger("Max", std::numeric_limits<std::int32_t>::max()));
        EXPECT_TRUE(store.WriteString("Favorite0", cyrillicText));
        EXPECT_TRUE(store.WriteString("Empty", ""));
        EXPECT_TRUE(store.WriteString("At", "@Variant(x)"));
        EXPECT_TRUE(store.WriteString(cyrillicName, "d:\\install"));
    }
    const TQtSettingsStore store(title);
    EXPECT_EQ(store.ReadBool("Clip"), false);
    EXPECT_EQ(store.ReadBool("Hint"), true);
    EXPECT_EQ(store.ReadInteger("Min"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(store.ReadInteger("Max"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(store.ReadString("Favorite0"), cyrillicText);
    EXPECT_EQ(store.ReadString("Empty"), "");
    EXPECT_EQ(store.ReadString("At"), "@Variant(x)");
    EXPECT_EQ(store.ReadString(cyrillicName), "d:\\install");
    EXPECT_FALSE(store.ValueExists("Missing"));
    EXPECT_EQ(store.ReadBool("Missing"), std::nullopt);
}

TEST(QtSettingsStore, Writes_ReachTheDiskWhenControlReturnsToTheEventLoop) {
    TQtSettingsStore store(FreshTitle("Disk"));
    store.WriteInteger("SlideShowTime", 7);
    store.WriteBool("RunSlideShow", true);
    QCoreApplication::processEvents();
    // The store is still open: nothing would be written by its destruction.
    const QByteArray bytes = FileBytes(store.FileName());
    EXPECT_TRUE(bytes.contains("SlideShowTime=7")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("RunSlideShow=true")) << bytes.constData();
    store.DeleteValue("SlideShowTime");
    QCoreApplication::processEvents();
    EXPECT_FALSE(FileBytes(store.FileName()).contains("SlideShowTime"));
}

TEST(QtSettingsStore, Flush_WritesAtOnce) {
    TQtSettingsStore store(FreshTitle("Flush"));
    store.WriteString("FontName", "Arial");
    EXPECT_TRUE(store.Flush());
    EXPECT_TRUE(FileBytes(store.FileName()).contains("FontName=Arial"));
}

TEST(QtSettingsStore, StoreDestroyedBeforeTheEventLoopTurns_StillWrites) {
    QString file;
    {
        TQtSettingsStore store(FreshTitle("Gone"));
        store.WriteInteger("BGSoundSong", 2);
        file = store.FileName();
    }
    QCoreApplication::processEvents(); // the cancelled flush must not run
    EXPECT_TRUE(FileBytes(file).contains("BGSoundSong=2"));
}

TEST(QtSettingsStore, CyrillicTitles_GetTheirOwnStores) {
    const std::string a = FreshTitle("Руководство ВАЗ ");
    const std::string b = FreshTitle("Руководство ГАЗ ");
    TQtSettingsStore storeA(a);
    TQtSettingsStore storeB(b);
    storeA.WriteString("FontName", Utf8ToAnsi("Таймс"));
    storeB.WriteString("FontName", "Arial");
    EXPECT_NE(storeA.FileName(), storeB.FileName());
    EXPECT_EQ(TQtSettingsStore(a).ReadString("FontName"), Utf8ToAnsi("Таймс"));
    EXPECT_EQ(TQtSettingsStore(b).ReadString("FontName"), "Arial");
}

TEST(QtSettingsStore, EmptyTitle_UsesTheOrganisationFileAndIsNoFallback) {
    TQtSettingsStore empty("");
    EXPECT_EQ(QFileInfo(empty.FileName()).fileName(), "Korrinel.conf");
    ASSERT_TRUE(empty.WriteBool("Hint", false));
    EXPECT_EQ(TQtSettingsStore("").ReadBool("Hint"), false);
    // Values of the empty title are not a fallback for other titles.
    const TQtSettingsStore other(FreshTitle("Other"));
    EXPECT_FALSE(other.ValueExists("Hint"));
    EXPECT_TRUE(empty.DeleteValue("Hint"));
}

TEST(QtSettingsStore, TitlesThatAreNoFileNames_StillWork) {
    const std::string titles[] = {
        "a/b",       "a\\b", "..",    "x:*?\"<>|",
        "tab\there", "100%", "a%2Fb", std::string(300, '\xC6'), // 300 Cyrillic letters
    };
    QStringList files;
    for (const std::string& title : titles) {
        const std::string unique = title + FreshTitle("");
        {
            TQtSettingsStore store(unique);
            ASSERT_TRUE(store.WriteInteger("SlideShowTime", 3)) << AnsiToUtf8(title);
            const QFileInfo file(store.FileName());
            EXPECT_EQ(file.absolutePath(), QDir(ConfigFolder()).absoluteFilePath("Korrinel"));
            EXPECT_LE(file.fileName().toUtf8().size(), 255);
            files << file.absoluteFilePath();
        }
        EXPECT_TRUE(QFileInfo::exists(files.back())) << AnsiToUtf8(title);
        EXPECT_EQ(TQtSettingsStore(unique).ReadInteger("SlideShowTime"), 3);
    }
    files.removeDuplicates();
    EXPECT_EQ(files.size(), static_cast<qsizetype>(std::size(titles)));
}

TEST(QtSettingsStore, LongTitlesDifferingAtTheEnd_DoNotShareAFile) {
    const std::string stem(300, 'x');
    EXPECT_NE(TQtSettingsStore::ApplicationName(stem + "1"),
              TQtSettingsStore::ApplicationName(stem + "2"));
}

TEST(QtSettingsStore, SeparatorsInNames_KeepValuesApart) {
    const std::string title = FreshTitle("Names");
    const std::string names[] = {"a/b", "a//b", "a\\b", "a%2Fb", "/a", "a", "", "%"};
    {
        TQtSettingsStore store(title);
        int n = 0;
        for (const std::string& name : names)
            ASSERT_TRUE(store.WriteInteger(name, n++)) << name;
    }
    const TQtSettingsStore store(title);
    int n = 0;
    for (const std::string& name : names)
        EXPECT_EQ(store.ReadInteger(name), n++) << name;
}

TEST(QtSettingsStore, Texts_ReadAsTheirTypeOrAsMissing) {
    TQtSettingsStore store(FreshTitle("Types"));
    const struct {
        const char* text;
        std::optional<bool> asBool;
        std::optional<std::int32_t> asInteger;
    } cases[] = {
        {"true", true, 1},
        {"FALSE", false, 0},
        {"0", false, 0},
        {"-1", true, -1},
        {"+5", true, 5},
        {"+-5", std::nullopt, std::nullopt},
        {"2147483647", true, 2147483647},
        {"2147483648", std::nullopt, std::nullopt},
        {"12x", std::nullopt, std::nullopt},
        {" 12", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"yes", std::nullopt, std::nullopt},
        {"\xE4\xE0", std::nullopt, std::nullopt}, // "да"
    };
    for (const auto& c : cases) {
        store.WriteString("v", c.text);
        EXPECT_EQ(store.ReadBool("v"), c.asBool) << c.text;
        EXPECT_EQ(store.ReadInteger("v"), c.asInteger) << c.text;
        EXPECT_EQ(store.ReadString("v"), c.text);
    }
}

TEST(QtSettingsStore, DeleteValue_ReportsWhetherThereWasOne) {
    TQtSettingsStore store(FreshTitle("Delete"));
    store.WriteString("Favorite16", "x");
    EXPECT_TRUE(store.ValueExists("Favorite16"));
    EXPECT_TRUE(store.DeleteValue("Favorite16"));
    EXPECT_FALSE(store.ValueExists("Favorite16"));
    EXPECT_FALSE(store.DeleteValue("Favorite16"));
}

TEST(QtSettingsStore, HandEditedFile_DamagedValuesGetTheirDefaults) {
    const std::string title = FreshTitle("Edited");
    const QString folder = QDir(ConfigFolder()).absoluteFilePath("Korrinel");
    QDir().mkpath(folder);
    QFile file(folder + "/" + TQtSettingsStore::ApplicationName(title) + ".conf");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nClip=a, b\nWav=false\nHint=@ByteArray(0)\n"
               "SlideShowTime=0\nImageSequence=1\nRunSlideShow=1\n");
    file.close();

    TQtSettingsStore store(title);
    const TGeneralSettings s = LoadGeneralSettings(store, true);
    EXPECT_TRUE(s.Clip);
    EXPECT_FALSE(s.Wav);
    EXPECT_TRUE(s.Hint);
    EXPECT_TRUE(s.RunSlideShow);
    EXPECT_EQ(s.SlideShowTime, 5);
    EXPECT_EQ(s.ImageSequence, 1);
    QCoreApplication::processEvents();
    const QByteArray bytes = FileBytes(store.FileName());
    EXPECT_TRUE(bytes.contains("Clip=true")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("Hint=true")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("SlideShowTime=5")) << bytes.constData();
}

TEST(QtSettingsStore, FirstRun_HoldsEveryGeneralSettingAfterLoading) {
    const std::string title = FreshTitle("Первый запуск ");
    {
        TQtSettingsStore store(title);
        LoadGeneralSettings(store, true);
    }
    const TQtSettingsStore store(title);
    for (const char* name : {settingname::Clip, settingname::Wav, settingname::BGSound,
                             settingname::Animation, settingname::Hint})
        EXPECT_EQ(store.ReadBool(name), true) << name;
    EXPECT_EQ(store.ReadBool(settingname::RunSlideShow), false);
    EXPECT_EQ(store.ReadInteger(settingname::SlideShowTime), 5);
    EXPECT_EQ(store.ReadInteger(settingname::ImageSequence), 0);
}

} // namespace
} // namespace carmanual
