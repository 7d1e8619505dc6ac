#pragma once
// The sounds of the demo skin, synthesised and written as PCM WAV (16-bit,
// mono): button clicks, the switch click, the exit chime, the sample clips
// of the media screen and the background music. A sound is chosen by the
// base name of the file the description asks for (sound\click.wav: "click").

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace skingen {

QStringList SoundNames();

// The WAV file's bytes; empty for a name that is not one of SoundNames().
QByteArray MakeSound(const QString& name);

} // namespace skingen
