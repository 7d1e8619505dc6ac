#include "mediamodule.h"

#include "tempdir.h"

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace carmanual::test {
namespace {

const QString kModule = QStringLiteral(CARMANUAL_TEST_MEDIA_MODULE);

// A short PCM sound: 16-bit mono at 8 kHz.
QByteArray Wave(int milliseconds) {
    const std::uint32_t samples = 8 * static_cast<std::uint32_t>(milliseconds);
    const std::uint32_t data = samples * 2;
    QByteArray w;
    auto u32 = [&w](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            w.append(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    auto u16 = [&w](std::uint16_t v) {
        w.append(static_cast<char>(v & 0xff));
        w.append(static_cast<char>(v >> 8));
    };
    w.append("RIFF");
    u32(36 + data);
    w.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    w.append("data");
    u32(data);
    for (std::uint32_t i = 0; i < samples; ++i)
        u16(static_cast<std::uint16_t>((i % 16) < 8 ? 3000 : -3000));
    return w;
}

TEST(MediaModule, LoadsTheFirstFileThatIsAModuleOfThisVersion) {
    const struct {
        const char* name;
        QStringList candidates;
        bool loaded;
    } cases[] = {
        {"the module", {kModule}, true},
        {"no such file, then the module",
         {QStringLiteral("/nonexistent/libcarmanual-media.so"), kModule},
         true},
        {"a library that is not a module", {QStringLiteral("libz.so.1")}, false},
        {"a file that is no library", {QStringLiteral("/etc/hostname")}, false},
        {"nothing", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TMediaModule module(c.candidates);
        EXPECT_EQ(module.Loaded(), c.loaded);
        EXPECT_EQ(module.CreateSoundEffects() != nullptr, c.loaded);
    }
}

TEST(MediaModule, ProgramLooksBesideItselfThenInTheInstalledLibraryFolder) {
    const QStringList candidates = TMediaModule::Candidates();
    ASSERT_EQ(candidates.size(), 2);
    EXPECT_TRUE(candidates[0].endsWith(QStringLiteral("/libcarmanual-media.so")));
    EXPECT_TRUE(candidates[1].endsWith(QStringLiteral("/../lib/carmanual/libcarmanual-media.so")));
}

TEST(MediaModule, SoundsPlayToTheirEndOrTheLimit_BadFilesAndHandlesPlayNothing) {
    const TMediaModule module({kModule});
    auto effects = module.CreateSoundEffects();
    ASSERT_NE(effects, nullptr);
    TempDir dir;
    const QString good = QString::fromStdString((dir.Path() / "click.wav").string());
    const QString bad = QString::fromStdString((dir.Path() / "broken.wav").string());
    {
        QFile f(good);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Wave(200));
        QFile g(bad);
        ASSERT_TRUE(g.open(QIODevice::WriteOnly));
        g.write("RIFF but nothing more");
    }
    const int sound = effects->Load(good);
    const int broken = effects->Load(bad);
    EXPECT_GE(sound, 0);
    EXPECT_NE(sound, broken);
    // Whether or not this machine has an audio output, a sound to its end
    // returns; at the latest when the limit is reached.
    for (int handle : {sound, broken, -1, 99}) {
        SCOPED_TRACE(handle);
        QElapsedTimer clock;
        clock.start();
        effects->PlayToEnd(handle, 1000);
        effects->Play(handle);
        EXPECT_LT(clock.elapsed(), 4000);
    }
}

} // namespace
} // namespace carmanual::test
