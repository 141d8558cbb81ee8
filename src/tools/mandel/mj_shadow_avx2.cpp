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
static_assert(kShadowWidth == 4, "the AVX2 loop holds four doubles a register");
QX_SHADOW_ENTRY_POINTS(Avx2)
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
// Elsewhere the same loops on the baseline set stand in (never chosen).
#include "tools/mandel/mj_shadow_loop.h"

namespace qx {
QX_SHADOW_ENTRY_POINTS(Avx2)
bool shadowAvx2Available() { return false; }
} // namespace qx
#endif
