#include "resources/resources.h"

namespace {

int32_t Find(const ResourceEntry* table, uint32_t count, int32_t id, const uint8_t** data,
             uint32_t* size) {
    for (uint32_t i = 0; i < count; ++i) {
        if (table[i].Id != id) continue;
        if (data) *data = table[i].Data;
        if (size) *size = table[i].Size;
        return 1;
    }
    return 0;
}

} // namespace

int32_t FindBitmapResource(int32_t id, const uint8_t** data, uint32_t* size) {
    return Find(BitmapResources, BitmapResourceCount, id, data, size);
}

int32_t FindWaveResource(int32_t id, const uint8_t** data, uint32_t* size) {
    return Find(WaveResources, WaveResourceCount, id, data, size);
}
