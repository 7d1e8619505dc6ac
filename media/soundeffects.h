#pragma once
// Short sounds on QSoundEffect: one effect per file, kept for the run.

#include "mediainterface.h"

#include <QObject>

#include <vector>

class QSoundEffect;

namespace carmanual {

class TSoundEffects final : public QObject, public ISoundEffects {
    Q_OBJECT

public:
    TSoundEffects();
    ~TSoundEffects() override;

    bool HasAudioOutput() override;
    int Load(const QString& path) override;
    void Play(int sound) override;
    void PlayToEnd(int sound, int maxMs) override;

private:
    QSoundEffect* Effect(int sound) const;

    std::vector<QSoundEffect*> m_effects;
};

} // namespace carmanual
