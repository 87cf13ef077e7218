#include "shell/web/web_wave.h"

#include <cstring>

namespace {

uint32_t Le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

int32_t ReadWave(const uint8_t* data, uint32_t size, WaveSound* sound) {
    *sound = WaveSound{};
    if (!data || size < 12 || std::memcmp(data, "RIFF", 4) != 0 ||
        std::memcmp(data + 8, "WAVE", 4) != 0)
        return 0;
    int32_t haveFormat = 0;
    int32_t blockAlign = 0;
    // Chunks are padded to an even size; sizes are checked against what is left, so a
    // chunk that claims more than the file holds ends the walk.
    for (uint32_t at = 12; size - at >= 8;) {
        const uint8_t* chunk = data + at;
        uint32_t length = Le32(chunk + 4);
        if (length > size - at - 8) return 0;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16) return 0;
            const uint8_t* f = chunk + 8;
            int32_t channels = Le16(f + 2);
            int32_t bits = Le16(f + 14);
            blockAlign = Le16(f + 12);
            if (Le16(f) != 1 || bits != 16 || channels < 1 || channels > 2 ||
                blockAlign != channels * 2)
                return 0;
            sound->Channels = channels;
            sound->SampleRate = static_cast<int32_t>(Le32(f + 4));
            if (sound->SampleRate < 3000 || sound->SampleRate > 192000) return 0;
            haveFormat = 1;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return 0;
            sound->Samples = chunk + 8;
            sound->FrameCount = length / static_cast<uint32_t>(blockAlign);
            return 1;
        }
        at += 8 + length + (length & 1);
        if (at > size) return 0;
    }
    return 0;
}
