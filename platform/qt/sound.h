#pragma once
// Click and exit sounds. Sounds are read through the resource archive (or the
// disk) like every other resource and played by the media module, loaded
// when the first sound is wanted (or earlier through Prepare). A missing
// file, an unreadable one, a missing module or a machine without an audio
// output plays nothing and reports nothing.

#include <QObject>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace carmanual {

class ISoundEffects;

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

    // Loads the media module and opens the audio output now, so that the
    // first click does not wait for them.
    void Prepare();
    // False when the machine has no audio output (or no media module):
    // sounds are skipped.
    bool HasAudioOutput();

private:
    int Sound(std::string_view manualName);

    bool m_prepared = false;
    std::unique_ptr<ISoundEffects> m_effects;
    bool m_hasOutput = false;
    QTemporaryDir m_cache;               // sounds unpacked from the archive
    std::map<std::string, int> m_sounds; // folded name -> the module's sound, -1: none
    int m_next = 0;
};

} // namespace carmanual
