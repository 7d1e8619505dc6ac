#include "sound.h"

#include "archive.h"
#include "comprstream.h"
#include "mediamodule.h"

#include <QFile>

namespace carmanual {

namespace {
// Longest wait for a synchronous sound: an exit chime is shorter, and a
// sound that never reports its end must not hold up closing.
constexpr int kMaxSyncMs = 4000;
} // namespace

TSoundPlayer::TSoundPlayer(QObject* parent) : QObject(parent) {}

TSoundPlayer::~TSoundPlayer() = default;

void TSoundPlayer::Prepare() {
    if (m_prepared)
        return;
    m_prepared = true;
    m_effects = TMediaModule::Instance().CreateSoundEffects();
    m_hasOutput = m_effects && m_effects->HasAudioOutput();
}

bool TSoundPlayer::HasAudioOutput() {
    Prepare();
    return m_hasOutput;
}

int TSoundPlayer::Sound(std::string_view manualName) {
    if (manualName.empty() || !HasAudioOutput() || !m_cache.isValid())
        return -1;
    const std::string key = Folded(manualName);
    const auto it = m_sounds.find(key);
    if (it != m_sounds.end())
        return it->second;
    int sound = -1;
    try {
        TComprStream stream(manualName);
        const QString path = m_cache.filePath(QStringLiteral("sound%1.wav").arg(m_next++));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly) &&
            file.write(stream.Bytes().data(), static_cast<qint64>(stream.Size())) ==
                static_cast<qint64>(stream.Size())) {
            file.close();
            sound = m_effects->Load(path);
        }
    } catch (const EFOpenError&) {
    }
    m_sounds.emplace(key, sound); // a missing sound is looked for once
    return sound;
}

void TSoundPlayer::PlayAsync(std::string_view manualName) {
    const int sound = Sound(manualName);
    if (sound >= 0)
        m_effects->Play(sound);
}

void TSoundPlayer::PlaySync(std::string_view manualName) {
    const int sound = Sound(manualName);
    if (sound >= 0)
        m_effects->PlayToEnd(sound, kMaxSyncMs);
}

} // namespace carmanual
