// The shadow's vector loop for processors with AVX2 (four doubles a
// register), compiled with that target for this file only.
#include "tools/mandel/mj_shadow_lanes.h"

#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#include <immintrin.h>
#pragma GCC push_options
#pragma GCC target("avx2")
#define QX_SHADOW_AVX2 1
#include "tools/mandel/mj_shadow_loop.h"

namespace qx {
int32_t shadowAdvanceAvx2(ShadowBlock& b, int32_t steps, double inside, uint32_t* failed)
{
    static_assert(kShadowWidth == 4, "the AVX2 loop holds four doubles a register");
    return shadowLoop(b, steps, inside, failed);
}
uint32_t shadowOpenAvx2(ShadowBlock& b, int32_t steps, uint32_t live, double inside, double outside, int32_t* at,
                        uint32_t* sure)
{
    return shadowOpenLoop(b, steps, live, inside, outside, at, sure);
}
} // namespace qx
#pragma GCC pop_options

namespace qx {
bool shadowAvx2Available()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
} // namespace qx
#else
namespace qx {
int32_t shadowAdvanceAvx2(ShadowBlock& b, int32_t steps, double inside, uint32_t* failed)
{
    return shadowAdvanceBase(b, steps, inside, failed);
}
uint32_t shadowOpenAvx2(ShadowBlock& b, int32_t steps, uint32_t live, double inside, double outside, int32_t* at,
                        uint32_t* sure)
{
    return shadowOpenBase(b, steps, live, inside, outside, at, sure);
}
bool shadowAvx2Available() { return false; }
} // namespace qx
#endif
