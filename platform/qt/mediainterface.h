#pragma once
// What the media module offers the program. The module (libcarmanual-media)
// holds everything that needs the system's media framework and is loaded the
// first time a sound is wanted, so starting the program does not wait for
// the framework's libraries. Only Qt Core types cross this line.

#include <QString>

namespace carmanual {

// Bumped whenever this interface changes: a module of another version is
// not used.
inline constexpr int kMediaInterfaceVersion = 1;

// Short sounds (button clicks, the exit chime) played from WAV files.
class ISoundEffects {
public:
    virtual ~ISoundEffects() = default;
    // False when the machine has no audio output: nothing is played.
    virtual bool HasAudioOutput() = 0;
    // Prepares the sound in a file; -1 when it cannot be played.
    virtual int Load(const QString& path) = 0;
    // Plays the sound from its start and returns at once.
    virtual void Play(int sound) = 0;
    // Plays the sound and returns at its end, or after maxMs at the latest.
    // Input stays queued meanwhile.
    virtual void PlayToEnd(int sound, int maxMs) = 0;
};

} // namespace carmanual

// The module's entry points, looked up by name.
extern "C" {
int carmanual_media_interface_version();
// A new player of short sounds, owned by the caller, which deletes it before
// the application object goes.
carmanual::ISoundEffects* carmanual_media_create_sound_effects();
}
