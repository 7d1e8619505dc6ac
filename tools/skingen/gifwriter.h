#pragma once
// A GIF89a writer (Qt reads GIF but cannot write it): one global palette of at
// most 256 colours chosen by median cut over all frames, LZW-compressed
// frames, and the looping extension for animations.

#include <QByteArray>
#include <QImage>

#include <vector>

namespace skingen {

struct GifFrame {
    QImage image;
    int delayCentiseconds = 0;
};

// All frames must have the size of the first. Returns the file's bytes.
QByteArray EncodeGif(const std::vector<GifFrame>& frames);

} // namespace skingen
