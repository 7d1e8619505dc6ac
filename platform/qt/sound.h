#pragma once
// Click and exit sounds. Sounds are read through the resource archive (or the
// disk) like every other resource. A missing file, an unreadable one or a
// machine without an audio output plays nothing and reports nothing.

#include <QObject>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <string>
#include <string_view>

class QSoundEffect;

namespace carmanual {

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Starts the sound and returns at once.
    virtual void PlayAsync(std::string_view manualName) = 0;
    // Plays the sound to its end (bounded by a few seconds) before returning.
    virtual void PlaySync(std::string_view manualName) = 0;
};

class TSoundPlayer final : public QObject, public ISoundPlayer {
    Q_OBJECT

public:
    explicit TSoundPlayer(QObject* parent = nullptr);
    ~TSoundPlayer() override;

    void PlayAsync(std::string_view manualName) override;
    void PlaySync(std::string_view manualName) override;

    // False when the machine has no audio output: sounds are skipped.
    static bool HasAudioOutput();

private:
    QSoundEffect* Effect(std::string_view manualName);

    QTemporaryDir m_cache; // sounds unpacked from the archive
    std::map<std::string, QSoundEffect*> m_effects;
    int m_next = 0;
};

} // namespace carmanual
