// Reading the game's WAVE resources for the browser's audio: RIFF chunks, PCM format.
#pragma once
#include <cstdint>

struct WaveSound {
    const uint8_t* Samples = nullptr; // little-endian 16-bit, channels interleaved
    uint32_t FrameCount = 0;          // samples per channel
    int32_t Channels = 0;
    int32_t SampleRate = 0;
};

// 1 when data holds a PCM WAVE of 16-bit samples in one or two channels, with *sound
// pointing into it; 0 for anything else or anything cut short.
int32_t ReadWave(const uint8_t* data, uint32_t size, WaveSound* sound);
