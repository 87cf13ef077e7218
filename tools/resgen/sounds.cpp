// The sounds, synthesised: short notes of a soft square-ish tone, each with its own attack
// and decay, and the whole sound faded in and out so it starts and ends at silence.
#include <algorithm>
#include <cmath>

#include "tools/resgen/resgen.h"

namespace {

constexpr int32_t SampleRate = 11025;
constexpr double Pi = 3.14159265358979323846;

struct Note {
    double Start, Length; // seconds
    double FromHz, ToHz;  // a glide from one pitch to the other
    double Volume;        // 0..1
    double Brightness;    // weight of the odd harmonics
    double Decay;         // exponential decay per second
};

void AddNote(std::vector<double>& out, const Note& n) {
    const int32_t first = static_cast<int32_t>(n.Start * SampleRate);
    const int32_t count = static_cast<int32_t>(n.Length * SampleRate);
    double phase = 0;
    for (int32_t i = 0; i < count && first + i < static_cast<int32_t>(out.size()); ++i) {
        double t = static_cast<double>(i) / SampleRate;
        double hz = n.FromHz + (n.ToHz - n.FromHz) * (t / n.Length);
        phase += 2 * Pi * hz / SampleRate;
        double tone =
            std::sin(phase) + n.Brightness * (std::sin(3 * phase) / 3 + std::sin(5 * phase) / 5);
        double attack = std::min(1.0, t / 0.008);
        double release = std::min(1.0, (n.Length - t) / 0.03);
        out[first + i] += n.Volume * tone * attack * release * std::exp(-n.Decay * t);
    }
}

// A bell: a sine with inharmonic partials that die away faster than the fundamental.
void AddBell(std::vector<double>& out, double start, double length, double hz, double volume) {
    const int32_t first = static_cast<int32_t>(start * SampleRate);
    const double partials[][3] = {{1.0, 1.0, 5}, {2.76, 0.45, 9}, {5.4, 0.25, 14}, {8.9, 0.1, 20}};
    for (int32_t i = 0; first + i < static_cast<int32_t>(out.size()); ++i) {
        double t = static_cast<double>(i) / SampleRate;
        if (t >= length) break;
        double v = 0;
        for (const auto& p : partials)
            v += p[1] * std::sin(2 * Pi * hz * p[0] * t) * std::exp(-p[2] * t);
        out[first + i] += volume * v * std::min(1.0, t / 0.004);
    }
}

std::vector<uint8_t> Riff(const std::vector<double>& samples) {
    std::vector<uint8_t> out;
    auto put16 = [&](uint32_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    auto tag = [&](const char* t) {
        for (int32_t i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
    };
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    tag("RIFF");
    put32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(SampleRate);
    put32(SampleRate * 2);
    put16(2);
    put16(16);
    tag("data");
    put32(dataBytes);
    for (double s : samples) {
        long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
        put16(static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(v))));
    }
    return out;
}

} // namespace

std::vector<uint8_t> SynthesiseSound(int32_t id) {
    double seconds = 0;
    std::vector<Note> notes;
    switch (id) {
    case 121: // life lost: three falling steps, the last sagging further
        seconds = 0.68;
        notes = {{0.00, 0.17, 392.0, 380.0, 0.42, 0.7, 2},
                 {0.16, 0.17, 330.0, 318.0, 0.42, 0.7, 2},
                 {0.32, 0.36, 262.0, 175.0, 0.45, 0.7, 3}};
        break;
    case 122: // level start: a bright rising arpeggio ending on a held octave
        seconds = 0.64;
        notes = {{0.00, 0.13, 523.3, 523.3, 0.33, 0.5, 4},
                 {0.11, 0.13, 659.3, 659.3, 0.33, 0.5, 4},
                 {0.22, 0.13, 784.0, 784.0, 0.33, 0.5, 4},
                 {0.33, 0.31, 1046.5, 1046.5, 0.36, 0.5, 5},
                 {0.33, 0.31, 784.0, 784.0, 0.16, 0.3, 5}};
        break;
    case 123: // game over: slow descent through a minor triad
        seconds = 0.79;
        notes = {{0.00, 0.25, 440.0, 440.0, 0.40, 0.6, 2},
                 {0.24, 0.25, 349.2, 349.2, 0.40, 0.6, 2},
                 {0.48, 0.31, 293.7, 290.0, 0.42, 0.6, 3},
                 {0.48, 0.31, 220.0, 218.0, 0.20, 0.4, 3}};
        break;
    case 124: seconds = 0.40; break; // a short chime
    default: return {};
    }
    std::vector<double> samples(static_cast<size_t>(std::lround(seconds * SampleRate)), 0.0);
    for (const Note& n : notes) AddNote(samples, n);
    if (id == 124) {
        AddBell(samples, 0.0, 0.40, 1318.5, 0.35);
        AddBell(samples, 0.07, 0.33, 1760.0, 0.25);
    }
    // Fade the whole sound in and out so neither end clicks.
    const size_t fadeIn = SampleRate / 200, fadeOut = SampleRate / 40;
    for (size_t i = 0; i < samples.size(); ++i) {
        double gain = 1.0;
        if (i < fadeIn) gain = static_cast<double>(i) / fadeIn;
        size_t fromEnd = samples.size() - 1 - i;
        if (fromEnd < fadeOut) gain = std::min(gain, static_cast<double>(fromEnd) / fadeOut);
        samples[i] *= gain;
    }
    return Riff(samples);
}
