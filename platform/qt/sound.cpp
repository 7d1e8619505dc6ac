#include "sound.h"

#include "archive.h"
#include "comprstream.h"

#include <QEventLoop>
#include <QFile>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace carmanual {

namespace {
// Longest wait for a synchronous sound: an exit chime is shorter, and a
// sound that never reports its end must not hold up closing.
constexpr int kMaxSyncMs = 4000;
} // namespace

TSoundPlayer::TSoundPlayer(QObject* parent) : QObject(parent) {}

TSoundPlayer::~TSoundPlayer() = default;

bool TSoundPlayer::HasAudioOutput() { return !QMediaDevices::audioOutputs().isEmpty(); }

QSoundEffect* TSoundPlayer::Effect(std::string_view manualName) {
    if (manualName.empty() || !HasAudioOutput() || !m_cache.isValid())
        return nullptr;
    const std::string key = Folded(manualName);
    const auto it = m_effects.find(key);
    if (it != m_effects.end())
        return it->second;
    QSoundEffect* effect = nullptr;
    try {
        TComprStream stream(manualName);
        const QString path = m_cache.filePath(QStringLiteral("sound%1.wav").arg(m_next++));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly) &&
            file.write(stream.Bytes().data(), static_cast<qint64>(stream.Size())) ==
                static_cast<qint64>(stream.Size())) {
            file.close();
            effect = new QSoundEffect(this);
            effect->setSource(QUrl::fromLocalFile(path));
        }
    } catch (const EFOpenError&) {
    }
    m_effects.emplace(key, effect); // a missing sound is looked for once
    return effect;
}

void TSoundPlayer::PlayAsync(std::string_view manualName) {
    if (QSoundEffect* effect = Effect(manualName)) {
        effect->stop();
        effect->play();
    }
}

void TSoundPlayer::PlaySync(std::string_view manualName) {
    QSoundEffect* effect = Effect(manualName);
    if (!effect)
        return;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(effect, &QSoundEffect::playingChanged, &loop, [&loop, effect] {
        if (!effect->isPlaying())
            loop.quit();
    });
    connect(effect, &QSoundEffect::statusChanged, &loop, [&loop, effect] {
        if (effect->status() == QSoundEffect::Error)
            loop.quit();
    });
    effect->stop();
    effect->play();
    if (effect->status() == QSoundEffect::Error)
        return;
    limit.start(kMaxSyncMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace carmanual
