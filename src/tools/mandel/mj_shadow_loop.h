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

// Lanes run side by side, none stopping the others: which still run, the
// step at which each ended and whether its extended orbit surely escaped
// there (|Z|^2 >= |D|^2 - t > outside).
struct ShadowEndings {
    ShadowV when[kShadowVectors];
    ShadowM alive[kShadowVectors], certain[kShadowVectors];

    ShadowEndings(int32_t steps, uint32_t live)
    {
        for (int j = 0; j < kShadowVectors; ++j) {
            when[j] = ShadowV{} + steps;
            certain[j] = ShadowM{};
            for (int i = 0; i < kShadowWidth; ++i)
                alive[j][i] = (live >> (j * kShadowWidth + i) & 1) ? -1 : 0;
        }
    }
    // The lanes of `out` failed the test of step k; false when none runs on.
    bool end(const ShadowM* out, const ShadowV* nd, const ShadowV* t, double outside, int32_t k)
    {
        ShadowM still = ShadowM{};
        for (int j = 0; j < kShadowVectors; ++j) {
            // |D|^2 >= nd (1 - 3u), so nd (1 - 16u) - t, rounded, is below |Z|^2.
            certain[j] |= out[j] & (nd[j] * (1 - 0x1p-49) - t[j] > outside);
            when[j] = (ShadowV)(((ShadowM)when[j] & ~out[j]) | ((ShadowM)(ShadowV{} + k) & out[j]));
            alive[j] &= ~out[j];
            still |= alive[j];
        }
        return shadowBits(still) != 0;
    }
    // The steps into at[], the sure lanes' bits into *sure; returns the
    // bits of the lanes still running.
    uint32_t collect(int32_t* at, uint32_t* sure) const
    {
        uint32_t running = 0, sureBits = 0;
        for (int j = 0; j < kShadowVectors; ++j) {
            running |= shadowBits(alive[j]) << (j * kShadowWidth);
            sureBits |= shadowBits(certain[j]) << (j * kShadowWidth);
            for (int i = 0; i < kShadowWidth; ++i)
                at[j * kShadowWidth + i] = static_cast<int32_t>(when[j][i]);
        }
        *sure = sureBits;
        return running;
    }
};

// The first `steps` steps of eight new orbits, none stopping the others: a
// lane that fails a test ends there, with that step in at[l] and its bit
// in *sure when the extended orbit surely passes the threshold there
// (|Z|^2 >= |D|^2 - t > outside). Returns the bits of the lanes in `live`
// still running after all the steps.
uint32_t shadowOpenLoop(ShadowBlock& b, int32_t steps, uint32_t live, double inside, double outside, int32_t* at,
                        uint32_t* sure)
{
    constexpr int K = kShadowVectors;
    ShadowState z(b);
    ShadowEndings ends(steps, live);
    for (int32_t k = 0; k < steps; ++k) {
        ShadowTerms s[K];
        ShadowV nd[K], t[K];
        ShadowM out[K];
        ShadowM any = ShadowM{};
#pragma GCC unroll 4
        for (int j = 0; j < K; ++j) {
            s[j] = shadowTerms(z.x[j], z.y[j], z.e[j]);
            nd[j] = s[j].nd, t[j] = s[j].t;
            out[j] = ends.alive[j] & ~(nd[j] + t[j] <= inside);
            any |= out[j];
        }
        if (shadowBits(any) && !ends.end(out, nd, t, outside, k))
            break;
        z.step(s, b);
    }
    z.store(b);
    return ends.collect(at, sure);
}

// The octagon bound max(|x|, |y|) + (sqrt(2) - 1, rounded up) min(|x|, |y|)
// >= |x + yi|, without a root.
__attribute__((always_inline)) inline ShadowV octagon(ShadowV x, ShadowV y)
{
    const ShadowM absMask = ShadowM{} + 0x7fffffffffffffffLL;
    const ShadowV ax = (ShadowV)((ShadowM)x & absMask), ay = (ShadowV)((ShadowM)y & absMask);
    const ShadowV big = (ShadowV)(((ShadowM)ax & (ax > ay)) | ((ShadowM)ay & ~(ax > ay)));
    const ShadowV small = (ShadowV)(((ShadowM)ay & (ax > ay)) | ((ShadowM)ax & ~(ax > ay)));
    return big + 0.41421357 * small;
}

// The deviation's bound (see shadowPerturb): |Z - a| <= 1.5u A for the
// rounded reference point a, so the pixel's point z lies within
// ez = e + r, r = 2u (A + |zd|), of zd = a + d, which the escape test
// uses as the shadow's does. With w the extended deviation,
// 2Zw + w^2 - 2Zd - d^2 = (w - d)(2(Z + d) + (w - d)) and |Z + d| <= |zd| + r,
// so a step carries the bound to e (2|zd| + 2r + e); it adds
// 64u (A|d| + |d|^2) for the reference's and the step's rounding in
// doubles, and the extended loops' rounding 2^-61 (|z|^2 + |Z|^2 + ...).
constexpr double kPerturbGrow = 1 + 0x1p-46;
constexpr double kPerturbRound = 0x1p-47;
constexpr double kExtendedRound = 0x1p-61;

uint32_t perturbLoop(PerturbBlock& b, const PerturbReference& ref, int32_t steps, uint32_t live, double inside,
                     double outside, int32_t* at, uint32_t* sure, const std::atomic<bool>* stop, bool* stopped)
{
    constexpr int K = kShadowVectors, W = kShadowWidth;
    ShadowV dr[K], di[K], e[K];
    ShadowEndings ends(steps, live);
    for (int j = 0; j < K; ++j) {
        dr[j] = shadowLoad(b.dr + j * W);
        di[j] = shadowLoad(b.di + j * W);
        e[j] = shadowLoad(b.e + j * W);
    }
    *stopped = false;
    for (int32_t k = 0; k < steps; ++k) {
        if ((k & 4095) == 4095 && stop && stop->load(std::memory_order_relaxed)) {
            *stopped = true;
            return live;
        }
        const double ar = ref.zr[k], ai = ref.zi[k], size = ref.size[k], floor = ref.floor[k];
        ShadowV nd[K], t[K], reach[K], grow[K];
        ShadowM out[K];
        ShadowM any = ShadowM{};
#pragma GCC unroll 4
        for (int j = 0; j < K; ++j) {
            const ShadowV zr = ar + dr[j], zi = ai + di[j];
            nd[j] = zr * zr + zi * zi;
            const ShadowV zsize = shadowSqrt(nd[j] + kTinySquare); // >= |zd| (1 - 3u)
            const ShadowV r = 0x1p-52 * (size + zsize), ez = e[j] + r;
            t[j] = (zsize + zsize + ez) * (ez * kPerturbGrow);
            grow[j] = (zsize + zsize + r + r + e[j]) * (e[j] * kPerturbGrow);
            reach[j] = zsize + ez; // >= |z|
            out[j] = ends.alive[j] & ~(nd[j] + t[j] <= inside);
            any |= out[j];
        }
        if (shadowBits(any) && !ends.end(out, nd, t, outside, k))
            break;
#pragma GCC unroll 4
        for (int j = 0; j < K; ++j) {
            const ShadowV p1 = ar * dr[j] - ai * di[j], p2 = ar * di[j] + ai * dr[j];
            const ShadowV q1 = dr[j] * dr[j] - di[j] * di[j], q2 = dr[j] * di[j];
            const ShadowV dsize = octagon(dr[j], di[j]);
            e[j] = grow[j] + kPerturbRound * ((size + dsize) * dsize) + kExtendedRound * (reach[j] * reach[j]) +
                   shadowLoad(b.dq + j * W) + floor;
            dr[j] = p1 + p1 + q1 + shadowLoad(b.deltaR + j * W);
            di[j] = p2 + p2 + (q2 + q2) + shadowLoad(b.deltaI + j * W);
        }
    }
    return ends.collect(at, sure);
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
    }                                                                                                               \
    uint32_t perturb##Suffix(PerturbBlock& b, const PerturbReference& ref, int32_t steps, uint32_t live,            \
                             double inside, double outside, int32_t* at, uint32_t* sure,                            \
                             const std::atomic<bool>* stop, bool* stopped)                                          \
    {                                                                                                               \
        return perturbLoop(b, ref, steps, live, inside, outside, at, sure, stop, stopped);                          \
    }
