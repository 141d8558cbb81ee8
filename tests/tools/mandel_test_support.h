#pragma once
// Colours with recognisable values for the Mandelbrot and Julia tests.
#include "tools/mandel/mj_kernel.h"

namespace qx::test {

// An 80-entry cycle (entry i is 0x100000 + i, entry 80 closes it), binary
// colour b is 0xAA0000 + b, set colour black (index 0), DEM colour index 52.
inline MJColours testColours()
{
    MJColours c;
    for (uint32_t i = 0; i < 80; ++i)
        c.table.push_back(0x100000u + i);
    c.table.push_back(c.table[0]);
    for (uint32_t b = 0; b < c.binary.size(); ++b)
        c.binary[b] = 0xAA0000u + b;
    c.setRgb = 0;
    c.setIndex = 0;
    c.demRgb = 0x0070C8;
    c.demIndex = 52;
    return c;
}

inline constexpr int32_t kSetCode = 0 - (1 << 24);
inline constexpr int32_t kDemCode = 52 - (1 << 24);

} // namespace qx::test
