#pragma once
// The body of the shadow's vector loop (mj_shadow_lanes.h), with internal
// linkage: each file that includes it compiles its own copy for its own
// instruction set (the AVX2 file sets its target, and QX_SHADOW_AVX2,
// before including this).
#include "tools/mandel/mj_shadow_lanes.h"

#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace qx {
namespace {

#if defined(QX_SHADOW_AVX2)
constexpr int kShadowWidth = 4;
#else
constexpr int kShadowWidth = 2;
#endif
constexpr int kShadowVectors = kShadowLanes / kShadowWidth;
using ShadowV = double __attribute__((vector_size(8 * kShadowWidth)));
using ShadowM = long long __attribute__((vector_size(8 * kShadowWidth)));

// Added under the square root of |D|^2: where |D|^2 underflows, the root
// still bounds |D| (below 1e-154 then).
constexpr double kTinySquare = 1e-300;
// 1 + 16u and 16u for the rounding unit u = 2^-53.
constexpr double kGrow = 1 + 0x1p-49;
constexpr double kRound = 0x1p-49;

inline ShadowV shadowLoad(const double* p)
{
    ShadowV v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void shadowStore(double* p, ShadowV v) { std::memcpy(p, &v, sizeof v); }

// Square roots, each correctly rounded.
inline ShadowV shadowSqrt(ShadowV a)
{
#if defined(QX_SHADOW_AVX2)
    return (ShadowV)_mm256_sqrt_pd((__m256d)a);
#elif defined(__SSE2__)
    return (ShadowV)_mm_sqrt_pd((__m128d)a);
#else
    for (int i = 0; i < kShadowWidth; ++i)
        a[i] = __builtin_sqrt(a[i]);
    return a;
#endif
}

// Bit i set where lane i of the mask is.
inline uint32_t shadowBits(ShadowM m)
{
#if defined(QX_SHADOW_AVX2)
    return static_cast<uint32_t>(_mm256_movemask_pd((__m256d)m));
#elif defined(__SSE2__)
    return static_cast<uint32_t>(_mm_movemask_pd((__m128d)m));
#else
    uint32_t bits = 0;
    for (int i = 0; i < kShadowWidth; ++i)
        bits |= (m[i] != 0 ? 1u : 0u) << i;
    return bits;
#endif
}

// The test quantities of one vector of lanes: the squares, |D|^2 and
// t >= e (2|D| + e) (1 + 9u) (the root a >= |D| (1 - 3u), which kGrow
// makes up for).
struct ShadowTerms {
    ShadowV x2, y2, nd, t;
};

__attribute__((always_inline)) inline ShadowTerms shadowTerms(ShadowV x, ShadowV y, ShadowV e)
{
    ShadowTerms s;
    s.x2 = x * x;
    s.y2 = y * y;
    s.nd = s.x2 + s.y2;
    const ShadowV a = shadowSqrt(s.nd + kTinySquare);
    s.t = (a + a + e) * (e * kGrow);
    return s;
}

// The lanes' state in registers.
struct ShadowState {
    ShadowV x[kShadowVectors], y[kShadowVectors], e[kShadowVectors];

    explicit ShadowState(const ShadowBlock& b)
    {
        for (int j = 0; j < kShadowVectors; ++j) {
            x[j] = shadowLoad(b.x + j * kShadowWidth);
            y[j] = shadowLoad(b.y + j * kShadowWidth);
            e[j] = shadowLoad(b.e + j * kShadowWidth);
        }
    }
    void store(ShadowBlock& b) const
    {
        for (int j = 0; j < kShadowVectors; ++j) {
            shadowStore(b.x + j * kShadowWidth, x[j]);
            shadowStore(b.y + j * kShadowWidth, y[j]);
            shadowStore(b.e + j * kShadowWidth, e[j]);
        }
    }
    // One step of every lane, given its terms: z^2 + c, and the new bound.
    __attribute__((always_inline)) void step(const ShadowTerms* s, const ShadowBlock& b)
    {
#pragma GCC unroll 4
        for (int j = 0; j < kShadowVectors; ++j) {
            const ShadowV p = x[j] * y[j];
            y[j] = p + p + shadowLoad(b.ci + j * kShadowWidth);
            x[j] = s[j].x2 - s[j].y2 + shadowLoad(b.cr + j * kShadowWidth);
            e[j] = s[j].t + kRound * (s[j].nd + shadowLoad(b.q + j * kShadowWidth));
        }
    }
};

int32_t shadowLoop(ShadowBlock& b, int32_t steps, double inside, uint32_t* failed)
{
    constexpr int K = kShadowVectors, W = kShadowWidth;
    ShadowState z(b);
    int32_t k = 0;
    for (; k < steps; ++k) {
        ShadowTerms s[K];
        ShadowM out[K];
        ShadowM any = ShadowM{};
#pragma GCC unroll 4
        for (int j = 0; j < K; ++j) {
            s[j] = shadowTerms(z.x[j], z.y[j], z.e[j]);
            out[j] = ~(s[j].nd + s[j].t <= inside); // not a number fails too
            any |= out[j];
        }
        if (shadowBits(any)) {
            uint32_t bits = 0;
            for (int j = 0; j < K; ++j)
                bits |= shadowBits(out[j]) << (j * W);
            *failed = bits;
            break;
        }
        z.step(s, b);
    }
    z.store(b);
    return k;
}

// The first `steps` steps of eight new orbits, none stopping the others: a
// lane that fails a test ends there, with that step in at[l] and its bit
// in *sure when the extended orbit surely passes the threshold there
// (|Z|^2 >= |D|^2 - t > outside). Returns the bits of the lanes in `live`
// still running after all the steps.
uint32_t shadowOpenLoop(ShadowBlock& b, int32_t steps, uint32_t live, double inside, double outside, int32_t* at,
                        uint32_t* sure)
{
    constexpr int K = kShadowVectors, W = kShadowWidth;
    ShadowState z(b);
    ShadowV when[K];
    ShadowM alive[K], certain[K];
    for (int j = 0; j < K; ++j) {
        when[j] = ShadowV{} + steps;
        certain[j] = ShadowM{};
        for (int i = 0; i < W; ++i)
            alive[j][i] = (live >> (j * W + i) & 1) ? -1 : 0;
    }
    for (int32_t k = 0; k < steps; ++k) {
        ShadowTerms s[K];
        ShadowM out[K];
        ShadowM any = ShadowM{};
#pragma GCC unroll 4
        for (int j = 0; j < K; ++j) {
            s[j] = shadowTerms(z.x[j], z.y[j], z.e[j]);
            out[j] = alive[j] & ~(s[j].nd + s[j].t <= inside);
            any |= out[j];
        }
        if (shadowBits(any)) {
            ShadowM still = ShadowM{};
            for (int j = 0; j < K; ++j) {
                // |D|^2 >= nd (1 - 3u), so nd (1 - 16u) - t, rounded, is below |Z|^2.
                certain[j] |= out[j] & (s[j].nd * (1 - 0x1p-49) - s[j].t > outside);
                when[j] = (ShadowV)(((ShadowM)when[j] & ~out[j]) | ((ShadowM)(ShadowV{} + k) & out[j]));
                alive[j] &= ~out[j];
                still |= alive[j];
            }
            if (!shadowBits(still))
                break;
        }
        z.step(s, b);
    }
    z.store(b);
    uint32_t running = 0, sureBits = 0;
    for (int j = 0; j < K; ++j) {
        running |= shadowBits(alive[j]) << (j * W);
        sureBits |= shadowBits(certain[j]) << (j * W);
        for (int i = 0; i < W; ++i)
            at[j * W + i] = static_cast<int32_t>(when[j][i]);
    }
    *sure = sureBits;
    return running;
}

} // namespace
} // namespace qx

// The two entry points of one build of the loops (mj_shadow_lanes.h).
#define QX_SHADOW_ENTRY_POINTS(Suffix)                                                                              \
    int32_t shadowAdvance##Suffix(ShadowBlock& b, int32_t steps, double inside, uint32_t* failed)                   \
    {                                                                                                               \
        return shadowLoop(b, steps, inside, failed);                                                                \
    }                                                                                                               \
    uint32_t shadowOpen##Suffix(ShadowBlock& b, int32_t steps, uint32_t live, double inside, double outside,        \
                                int32_t* at, uint32_t* sure)                                                        \
    {                                                                                                               \
        return shadowOpenLoop(b, steps, live, inside, outside, at, sure);                                           \
    }
