#include "soundeffects.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace carmanual {

TSoundEffects::TSoundEffects() = default;

TSoundEffects::~TSoundEffects() = default;

bool TSoundEffects::HasAudioOutput() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

int TSoundEffects::Load(const QString& path) {
    auto* effect = new QSoundEffect(this);
    effect->setSource(QUrl::fromLocalFile(path));
    m_effects.push_back(effect);
    return static_cast<int>(m_effects.size()) - 1;
}

QSoundEffect* TSoundEffects::Effect(int sound) const {
    if (sound < 0 || static_cast<std::size_t>(sound) >= m_effects.size())
        return nullptr;
    return m_effects[static_cast<std::size_t>(sound)];
}

void TSoundEffects::Play(int sound) {
    if (QSoundEffect* effect = Effect(sound)) {
        effect->stop();
        effect->play();
    }
}

void TSoundEffects::PlayToEnd(int sound, int maxMs) {
    QSoundEffect* effect = Effect(sound);
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
    limit.start(maxMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace carmanual

extern "C" {

Q_DECL_EXPORT int carmanual_media_interface_version() {
    return carmanual::kMediaInterfaceVersion;
}

Q_DECL_EXPORT carmanual::ISoundEffects* carmanual_media_create_sound_effects() {
    return new carmanual::TSoundEffects;
}
}
