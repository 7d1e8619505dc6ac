#pragma once
// Finds and loads the media module (libcarmanual-media.so) once per process:
// beside the program, then in ../lib/carmanual from the program's folder (an
// installed layout). CARMANUAL_MEDIA_MODULE names another file.

#include "mediainterface.h"

#include <QStringList>

#include <memory>

namespace carmanual {

class TMediaModule {
public:
    // The module of this process; loading is tried once.
    static TMediaModule& Instance();
    // Loads the first of these files that is a media module of this
    // program's version.
    explicit TMediaModule(const QStringList& candidates);
    // The files Instance() tries, in order.
    static QStringList Candidates();

    // False when no module of this program's version could be loaded: the
    // program then plays no sounds.
    bool Loaded() const { return m_createSoundEffects != nullptr; }
    // A new player of short sounds, or nullptr without a module.
    std::unique_ptr<ISoundEffects> CreateSoundEffects() const;

private:
    using TCreateSoundEffects = ISoundEffects* (*)();
    TCreateSoundEffects m_createSoundEffects = nullptr;
};

} // namespace carmanual
