#pragma once
// The vector loop of the double shadow (mj_shadow.h): eight orbits stepped
// together. It is compiled twice from mj_shadow_loop.h, for the baseline
// instruction set and for AVX2, and the driver picks the one the processor
// runs.
#include <atomic>
#include <cstdint>

namespace qx {

inline constexpr int kShadowLanes = 8;

// The orbits in flight, lane by lane: the double point (x, y), the bound e
// on its distance from the extended orbit, the parameter and
// q = |cr| + |ci| + kShadowTiny.
struct ShadowBlock {
    alignas(32) double x[kShadowLanes], y[kShadowLanes], e[kShadowLanes];
    alignas(32) double cr[kShadowLanes], ci[kShadowLanes], q[kShadowLanes];
};

// Added to q: with the rounding unit below it covers the absolute error of
// any operation on numbers too small for relative bounds (subnormals), and
// of parameters that are not doubles at all.
inline constexpr double kShadowTiny = 1e-280;

// Steps every lane at most `steps` times. Before each step every lane is
// tested: when some lane's |D|^2 + t passes `inside` (or is not a number),
// the loop stops before that step and sets the lane's bit in *failed.
// Returns the steps taken.
int32_t shadowAdvanceBase(ShadowBlock& b, int32_t steps, double inside, uint32_t* failed);
int32_t shadowAdvanceAvx2(ShadowBlock& b, int32_t steps, double inside, uint32_t* failed);
// The first `steps` steps of new orbits in the lanes of `live`, no lane
// stopping the others. A lane that fails a test ends there: at[l] is that
// step and its bit is set in *sure when its extended orbit surely escapes
// there (|Z|^2 passes `outside`); otherwise it is undecided. Returns the
// bits of the lanes still running after all the steps (at[l] = steps).
uint32_t shadowOpenBase(ShadowBlock& b, int32_t steps, uint32_t live, double inside, double outside, int32_t* at,
                        uint32_t* sure);
uint32_t shadowOpenAvx2(ShadowBlock& b, int32_t steps, uint32_t live, double inside, double outside, int32_t* at,
                        uint32_t* sure);
// Eight orbits of parameters C + delta followed as deviations d from one
// reference orbit Z of C (mj_shadow.h, shadowPerturb): the deviation in
// doubles, the bound e on its distance from the extended deviation z - Z,
// delta in doubles and dq = (2^-47 + 2^-61) |delta|, the rounding its
// steps add.
struct PerturbBlock {
    alignas(32) double dr[kShadowLanes], di[kShadowLanes], e[kShadowLanes];
    alignas(32) double deltaR[kShadowLanes], deltaI[kShadowLanes], dq[kShadowLanes];
};

// The reference orbit in doubles: point k, a bound size[k] >= |Z_k| and
// floor[k], the part of step k's rounding that does not depend on the lane.
struct PerturbReference {
    const double *zr, *zi, *size, *floor;
};

// Steps 0 .. steps-1 of the lanes in `live` together, from d = 0: a lane
// that fails a test ends there, with that step in at[l] and its bit in
// *sure when its extended orbit surely escapes there. Returns the bits of
// the lanes still running after all the steps, or of all of `live` with
// *stopped set when the stop flag was seen raised (looked at every 4096 steps).
uint32_t perturbBase(PerturbBlock& b, const PerturbReference& ref, int32_t steps, uint32_t live, double inside,
                     double outside, int32_t* at, uint32_t* sure, const std::atomic<bool>* stop, bool* stopped);
uint32_t perturbAvx2(PerturbBlock& b, const PerturbReference& ref, int32_t steps, uint32_t live, double inside,
                     double outside, int32_t* at, uint32_t* sure, const std::atomic<bool>* stop, bool* stopped);
// Whether this build has the AVX2 loop and the processor runs it.
bool shadowAvx2Available();

} // namespace qx
