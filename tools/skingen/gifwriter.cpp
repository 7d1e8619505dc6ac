#include "gifwriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <unordered_map>

namespace skingen {

namespace {

struct Bin {
    std::uint32_t rgb = 0; // one exact colour
    std::uint64_t count = 0;
};

int Channel(std::uint32_t rgb, int c) {
    return (rgb >> (16 - 8 * c)) & 0xFF;
}

// Median cut: split the box holding the most pixels along its widest channel
// until there are as many boxes as palette entries.
std::vector<std::uint32_t> ChoosePalette(std::vector<Bin> bins) {
    std::vector<std::uint32_t> palette;
    if (bins.size() <= 256) {
        for (const Bin& b : bins)
            palette.push_back(b.rgb);
        return palette;
    }
    struct Box {
        std::size_t begin, end;
        std::uint64_t count;
    };
    auto countOf = [&](std::size_t b, std::size_t e) {
        std::uint64_t n = 0;
        for (std::size_t i = b; i < e; ++i)
            n += bins[i].count;
        return n;
    };
    std::vector<Box> boxes = {{0, bins.size(), countOf(0, bins.size())}};
    while (boxes.size() < 256) {
        int best = -1;
        int bestChannel = 0;
        double bestScore = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const Box& box = boxes[i];
            if (box.end - box.begin < 2)
                continue;
            int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
            for (std::size_t k = box.begin; k < box.end; ++k)
                for (int c = 0; c < 3; ++c) {
                    lo[c] = std::min(lo[c], Channel(bins[k].rgb, c));
                    hi[c] = std::max(hi[c], Channel(bins[k].rgb, c));
                }
            int channel = 0;
            for (int c = 1; c < 3; ++c)
                if (hi[c] - lo[c] > hi[channel] - lo[channel])
                    channel = c;
            const int range = hi[channel] - lo[channel];
            if (range == 0)
                continue;
            const double score = double(range) * double(box.count);
            if (score > bestScore) {
                bestScore = score;
                best = static_cast<int>(i);
                bestChannel = channel;
            }
        }
        if (best < 0)
            break;
        Box box = boxes[best];
        std::stable_sort(
            bins.begin() + box.begin, bins.begin() + box.end, [&](const Bin& a, const Bin& b) {
                const int ca = Channel(a.rgb, bestChannel), cb = Channel(b.rgb, bestChannel);
                return ca != cb ? ca < cb : a.rgb < b.rgb;
            });
        std::uint64_t half = 0;
        std::size_t split = box.begin;
        while (split < box.end - 1 && half + bins[split].count <= box.count / 2)
            half += bins[split++].count;
        if (split == box.begin)
            split = box.begin + 1;
        boxes[best] = {box.begin, split, countOf(box.begin, split)};
        boxes.push_back({split, box.end, countOf(split, box.end)});
    }
    for (const Box& box : boxes) {
        double sum[3] = {0, 0, 0};
        for (std::size_t k = box.begin; k < box.end; ++k)
            for (int c = 0; c < 3; ++c)
                sum[c] += double(Channel(bins[k].rgb, c)) * double(bins[k].count);
        std::uint32_t rgb = 0;
        for (int c = 0; c < 3; ++c)
            rgb = (rgb << 8) | static_cast<std::uint32_t>(sum[c] / double(box.count) + 0.5);
        palette.push_back(rgb);
    }
    return palette;
}

class BitWriter {
public:
    void Put(std::uint32_t code, int bits) {
        m_acc |= code << m_bits;
        m_bits += bits;
        while (m_bits >= 8) {
            m_bytes.push_back(static_cast<char>(m_acc & 0xFF));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    QByteArray Finish() {
        if (m_bits > 0)
            m_bytes.push_back(static_cast<char>(m_acc & 0xFF));
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    std::uint32_t m_acc = 0;
    int m_bits = 0;
};

// Variable-length LZW with 8-bit pixels: codes from 9 to 12 bits, a clear
// code when the table is full.
QByteArray Lzw(const std::vector<std::uint8_t>& pixels) {
    constexpr int kClear = 256, kStop = 257;
    std::vector<std::uint16_t> child(4096 * 256, 0);
    BitWriter out;
    int size = 9;
    int next = 258;
    out.Put(kClear, size);
    int key = pixels.empty() ? -1 : pixels[0];
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const int pixel = pixels[i];
        const std::uint16_t c = child[key * 256 + pixel];
        if (c) {
            key = c;
            continue;
        }
        out.Put(key, size);
        if (next < 4096) {
            if (next == (1 << size))
                ++size;
            child[key * 256 + pixel] = static_cast<std::uint16_t>(next++);
        } else {
            out.Put(kClear, size);
            std::fill(child.begin(), child.end(), 0);
            next = 258;
            size = 9;
        }
        key = pixel;
    }
    if (key >= 0)
        out.Put(key, size);
    out.Put(kStop, size);
    return out.Finish();
}

void PutWord(QByteArray& b, int v) {
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>((v >> 8) & 0xFF));
}

} // namespace

QByteArray EncodeGif(const std::vector<GifFrame>& frames) {
    if (frames.empty())
        return {};
    const int w = frames.front().image.width(), h = frames.front().image.height();
    std::vector<QImage> images;
    std::map<std::uint32_t, std::uint64_t> histogram;
    for (const GifFrame& f : frames) {
        images.push_back(f.image.convertToFormat(QImage::Format_RGB32));
        const QImage& img = images.back();
        for (int y = 0; y < h; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < w; ++x)
                ++histogram[line[x] & 0xFFFFFF];
        }
    }
    std::vector<Bin> bins;
    for (const auto& [rgb, count] : histogram)
        bins.push_back({rgb, count});
    std::vector<std::uint32_t> palette = ChoosePalette(bins);
    // The most frequent colour (the backdrop) keeps its exact value.
    const auto common = std::max_element(
        bins.begin(), bins.end(), [](const Bin& a, const Bin& b) { return a.count < b.count; });
    std::unordered_map<std::uint32_t, std::uint8_t> nearest;
    auto indexOf = [&](std::uint32_t rgb) {
        const auto it = nearest.find(rgb);
        if (it != nearest.end())
            return it->second;
        int best = 0;
        long bestDistance = -1;
        for (std::size_t i = 0; i < palette.size(); ++i) {
            long d = 0;
            for (int c = 0; c < 3; ++c) {
                const long diff = Channel(rgb, c) - Channel(palette[i], c);
                d += diff * diff;
            }
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(i);
            }
        }
        nearest[rgb] = static_cast<std::uint8_t>(best);
        return static_cast<std::uint8_t>(best);
    };
    if (common != bins.end())
        palette[indexOf(common->rgb)] = common->rgb;
    nearest.clear();
    palette.resize(256, 0);

    QByteArray gif("GIF89a");
    PutWord(gif, w);
    PutWord(gif, h);
    gif.push_back(static_cast<char>(0xF7)); // global table of 256 entries, 8-bit colour
    gif.push_back('\0');
    gif.push_back('\0');
    for (std::uint32_t rgb : palette)
        for (int c = 0; c < 3; ++c)
            gif.push_back(static_cast<char>(Channel(rgb, c)));
    if (frames.size() > 1) {
        gif.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
        PutWord(gif, 0); // loop forever
        gif.push_back('\0');
    }
    for (std::size_t f = 0; f < frames.size(); ++f) {
        if (frames.size() > 1) {
            gif.append("\x21\xF9\x04", 3);
            gif.push_back(static_cast<char>(1 << 2)); // keep the frame, no transparency
            PutWord(gif, frames[f].delayCentiseconds);
            gif.push_back('\0');
            gif.push_back('\0');
        }
        gif.push_back(static_cast<char>(0x2C));
        PutWord(gif, 0);
        PutWord(gif, 0);
        PutWord(gif, w);
        PutWord(gif, h);
        gif.push_back('\0');
        std::vector<std::uint8_t> pixels;
        pixels.reserve(std::size_t(w) * h);
        for (int y = 0; y < h; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(images[f].constScanLine(y));
            for (int x = 0; x < w; ++x)
                pixels.push_back(indexOf(line[x] & 0xFFFFFF));
        }
        gif.push_back(static_cast<char>(8));
        const QByteArray data = Lzw(pixels);
        for (qsizetype i = 0; i < data.size(); i += 255) {
            const qsizetype n = std::min<qsizetype>(255, data.size() - i);
            gif.push_back(static_cast<char>(n));
            gif.append(data.constData() + i, n);
        }
        gif.push_back('\0');
    }
    gif.push_back(static_cast<char>(0x3B));
    return gif;
}

} // namespace skingen
