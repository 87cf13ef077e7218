// Result codes of the software surfaces, in the platform's convention: 0 is success and
// failures are negative.
#pragma once
#include <cstdint>

constexpr int32_t SurfaceOk = 0;
// What an operation on a surface that does not exist reports, like a lost surface.
constexpr int32_t SurfaceMissing = static_cast<int32_t>(0x887601C2u);
// Two surfaces that cannot be copied one onto the other (different depths).
constexpr int32_t SurfaceMismatch = static_cast<int32_t>(0x80004005u);
