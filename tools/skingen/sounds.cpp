#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace skingen {

namespace {

constexpr double kTau = 6.283185307179586;

using Samples = std::vector<double>;

// A small linear congruential generator: the same noise on every machine.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : m_state(seed) {}
    double Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) / double(1 << 24) * 2.0 - 1.0;
    }

private:
    std::uint32_t m_state;
};

void PutLE(QByteArray& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

QByteArray Wav(const Samples& samples, int rate, double peak) {
    double max = 0;
    for (double s : samples)
        max = std::max(max, std::abs(s));
    const double gain = max > 0 ? peak / max : 0;
    QByteArray data;
    data.reserve(static_cast<qsizetype>(samples.size() * 2));
    for (double s : samples) {
        const auto v =
            static_cast<std::int16_t>(std::lround(std::clamp(s * gain, -1.0, 1.0) * 32767));
        PutLE(data, static_cast<std::uint16_t>(v), 2);
    }
    QByteArray wav("RIFF");
    PutLE(wav, static_cast<std::uint32_t>(36 + data.size()), 4);
    wav.append("WAVEfmt ");
    PutLE(wav, 16, 4);
    PutLE(wav, 1, 2); // PCM
    PutLE(wav, 1, 2); // mono
    PutLE(wav, static_cast<std::uint32_t>(rate), 4);
    PutLE(wav, static_cast<std::uint32_t>(rate * 2), 4);
    PutLE(wav, 2, 2);
    PutLE(wav, 16, 2);
    wav.append("data");
    PutLE(wav, static_cast<std::uint32_t>(data.size()), 4);
    wav.append(data);
    return wav;
}

// Fades the ends so that no sound starts or stops with a click.
void Edges(Samples& s, int rate, double in, double out) {
    const std::size_t a = static_cast<std::size_t>(in * rate),
                      b = static_cast<std::size_t>(out * rate);
    for (std::size_t i = 0; i < a && i < s.size(); ++i)
        s[i] *= double(i) / a;
    for (std::size_t i = 0; i < b && i < s.size(); ++i)
        s[s.size() - 1 - i] *= double(i) / b;
}

QByteArray Click() {
    const int rate = 44100;
    Samples s(static_cast<std::size_t>(0.045 * rate));
    Noise noise(7);
    double low = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        low += (noise.Next() - low) * 0.25;
        s[i] = 0.6 * std::sin(kTau * 2300 * t) * std::exp(-t / 0.0035) +
               0.35 * std::sin(kTau * 820 * t) * std::exp(-t / 0.011) +
               0.4 * low * std::exp(-t / 0.002);
    }
    Edges(s, rate, 0.0004, 0.005);
    return Wav(s, rate, 0.5);
}

QByteArray Toggle() {
    const int rate = 44100;
    Samples s(static_cast<std::size_t>(0.08 * rate));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        s[i] = 0.5 * std::sin(kTau * 1700 * t) * std::exp(-t / 0.004);
        const double t2 = t - 0.028;
        if (t2 > 0)
            s[i] += 0.35 * std::sin(kTau * 2600 * t2) * std::exp(-t2 / 0.005);
    }
    Edges(s, rate, 0.0004, 0.01);
    return Wav(s, rate, 0.45);
}

double Bell(double t, double f) {
    if (t < 0)
        return 0;
    const double attack = std::min(1.0, t / 0.003);
    return attack * (std::sin(kTau * f * t) * std::exp(-t / 0.55) +
                     0.45 * std::sin(kTau * f * 2.76 * t) * std::exp(-t / 0.22) +
                     0.2 * std::sin(kTau * f * 5.4 * t) * std::exp(-t / 0.09));
}

QByteArray Chime() {
    const int rate = 44100;
    Samples s(static_cast<std::size_t>(1.5 * rate));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        s[i] = Bell(t, 1318.5) * 0.8 + Bell(t - 0.16, 987.77) * 0.85 + Bell(t - 0.32, 659.26);
    }
    Edges(s, rate, 0.001, 0.2);
    return Wav(s, rate, 0.55);
}

QByteArray Engine() {
    const int rate = 22050;
    Samples s(static_cast<std::size_t>(3.0 * rate));
    Noise noise(19);
    const double firing = 850.0 / 60.0 * 2.0; // four cylinders at 850 rpm
    double next = 0, fired = -1, jitterSeed = 0, low = 0, band = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        if (t >= next) {
            fired = t;
            jitterSeed = noise.Next();
            next = t + (1.0 + 0.04 * jitterSeed) / firing;
        }
        const double since = t - fired;
        const double thump =
            std::sin(kTau * (58 + 6 * jitterSeed) * since) * std::exp(-since / 0.018);
        low += (noise.Next() - low) * 0.08;
        band += (low - band) * 0.3;
        const double rumble = band * std::exp(-since / 0.03) * 1.6;
        const double hum =
            0.25 * std::sin(kTau * firing * t) + 0.15 * std::sin(kTau * firing * 2 * t + 1);
        s[i] = thump + rumble + hum;
    }
    Edges(s, rate, 0.08, 0.25);
    return Wav(s, rate, 0.6);
}

QByteArray Horn() {
    const int rate = 22050;
    Samples s(static_cast<std::size_t>(0.9 * rate));
    double smooth = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        double v = 0;
        for (int k = 1; k <= 8; ++k)
            v += (std::sin(kTau * 415 * k * t) + std::sin(kTau * 494 * k * t)) / k;
        v = std::tanh(v * 0.8);
        smooth += (v - smooth) * 0.35;
        s[i] = smooth;
    }
    Edges(s, rate, 0.015, 0.07);
    return Wav(s, rate, 0.5);
}

double Pitch(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

QByteArray Theme() {
    const int rate = 22050;
    const double bar = 4.0;
    // Am - F - C - G, one bar each, played as a soft pad with a bass line and
    // a slow plucked arpeggio.
    const int chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {55, 60, 64}, {55, 59, 62}};
    const int bass[4] = {45, 41, 48, 43};
    Samples s(static_cast<std::size_t>(4 * bar * rate));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        const int c = std::min(3, static_cast<int>(t / bar));
        const double inBar = t - c * bar;
        const double swell =
            std::min(1.0, inBar / 0.6) * (0.75 + 0.25 * std::cos(kTau * inBar / bar));
        double pad = 0;
        for (int n = 0; n < 3; ++n) {
            const double f = Pitch(chords[c][n]);
            const double vibrato = 1.0 + 0.002 * std::sin(kTau * 4.5 * t + n);
            pad += std::sin(kTau * f * vibrato * t) + 0.5 * std::sin(kTau * f * 1.003 * t + 0.7) +
                   0.18 * std::sin(kTau * f * 2 * t);
        }
        const double b = std::sin(kTau * Pitch(bass[c]) * t) * std::min(1.0, inBar / 0.05) *
                         std::exp(-inBar / 2.5);
        const double eighth = bar / 8;
        const int step = static_cast<int>(inBar / eighth);
        const double since = inBar - step * eighth;
        const int note = chords[c][(step * 2 + step / 4) % 3] + 12;
        const double pluck = std::sin(kTau * Pitch(note) * since) * std::exp(-since / 0.35) *
                             std::min(1.0, since / 0.004);
        s[i] = 0.16 * pad * swell + 0.5 * b + 0.22 * pluck;
    }
    Edges(s, rate, 0.4, 0.6);
    return Wav(s, rate, 0.35);
}

// The squeal of a pad worn to its indicator: the spring tab rubbing on the
// disc sings near 4 kHz, once a wheel turn, louder as the car brakes harder.
QByteArray Squeal() {
    const int rate = 22050;
    Samples s(static_cast<std::size_t>(3.2 * rate));
    Noise noise(41);
    double phase = 0, rough = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / rate;
        // The car slows from about 40 km/h: the wheel turns ever slower.
        const double turns = 5.5 * t - 0.55 * t * t;
        const double inTurn = turns - std::floor(turns);
        const double contact = std::exp(-std::pow((inTurn - 0.3) / 0.16, 2.0));
        const double pitch = 3900 + 180 * std::sin(kTau * 7.0 * t) - 120 * t;
        phase += kTau * pitch / rate;
        rough += (noise.Next() - rough) * 0.3;
        s[i] = contact * (std::sin(phase) + 0.35 * std::sin(2 * phase + 0.7) + 0.25 * rough) *
               (0.5 + 0.5 * std::min(1.0, t / 1.5));
    }
    Edges(s, rate, 0.02, 0.3);
    return Wav(s, rate, 0.4);
}

const std::map<QString, std::function<QByteArray()>>& Sounds() {
    static const std::map<QString, std::function<QByteArray()>> sounds = {
        {"click", Click}, {"toggle", Toggle}, {"chime", Chime},   {"engine", Engine},
        {"horn", Horn},   {"theme", Theme},   {"squeal", Squeal},
    };
    return sounds;
}

} // namespace

QStringList SoundNames() {
    QStringList names;
    for (const auto& [name, make] : Sounds())
        names << name;
    return names;
}

QByteArray MakeSound(const QString& name) {
    const auto it = Sounds().find(name);
    return it == Sounds().end() ? QByteArray() : it->second();
}

} // namespace skingen
