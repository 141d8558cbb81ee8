#include "tools/mandel/mj_shadow.h"

#include "tools/mandel/mj_escape.h"
#include "tools/mandel/mj_interior.h"
#include "tools/mandel/mj_shadow_lanes.h"
#include "tools/mandel/mj_shadow_loop.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace qx {

QX_SHADOW_ENTRY_POINTS(Base)

namespace {

using Advance = int32_t (*)(ShadowBlock&, int32_t, double, uint32_t*);
using Open = uint32_t (*)(ShadowBlock&, int32_t, uint32_t, double, double, int32_t*, uint32_t*);

// The steps every orbit first takes in the opening, eight orbits together
// without stopping: most orbits of a wide view end within them.
constexpr int32_t kOpening = 8;

// Steps of one call of the loop, so that the stop flag is seen.
constexpr int32_t kStepsPerCall = 4096;
// The first checkpoint of an orbit, where it is probed for an attracting
// cycle; each later one is four times as far. When most probes fail the
// first one comes later.
constexpr int32_t kFirstCheckpoint = 64;
constexpr int32_t kLateCheckpoint = 256;

// A probe costs about as much as this many steps of a lane: orbits with
// fewer steps left to the ceiling run to it without one.
constexpr int32_t kProbeWorth = 100;

int32_t firstCheckpoint(const ShadowTally& tally)
{
    return tally.probes >= 32 && tally.proven * 8 < tally.probes ? kLateCheckpoint : kFirstCheckpoint;
}

// Where an orbit that has taken n steps next pauses: at the checkpoint
// `wanted`, or at the ceiling when a probe there would not pay.
int32_t checkpointAfter(int32_t n, int64_t wanted, int32_t maxReps)
{
    if (maxReps - int64_t(n) < kProbeWorth)
        return maxReps;
    return static_cast<int32_t>(std::clamp<int64_t>(wanted, n + 1, maxReps));
}

// The largest double d for which every |Z|^2 within the bound's reach of
// d stays at or below the threshold (room for 16 roundings).
double insideLimit(Real threshold)
{
    const double t = static_cast<double>(threshold); // may be rounded up by one unit
    return t * (1 - 0x1p-49);
}

// The smallest double below which no |Z|^2 as large as |D|^2 - t (rounded
// down by 16 units) lies at or below the threshold.
double outsideLimit(Real threshold)
{
    const double t = static_cast<double>(threshold); // may be rounded down by one unit
    return t * (1 + 0x1p-49);
}

// Whether the extended orbit surely passes the threshold at the test that
// lane l failed: the opening's test, |Z|^2 >= |D|^2 - t > outside, worked
// out again in scalar doubles (any evaluation of it is sound).
bool surelyEscapes(const ShadowBlock& b, int l, double outside)
{
    const double x = b.x[l], y = b.y[l], e = b.e[l];
    const double nd = x * x + y * y, a = std::sqrt(nd + kTinySquare);
    const double t = (a + a + e) * (e * kGrow);
    return nd * (1 - 0x1p-49) - t > outside;
}

// Whether every extended orbit within e of the point (x, y) of lane l
// provably never passes the threshold, given the period p of the lane's
// double orbit from there. The bound of the lanes is followed around the
// cycle from a disc of radius S >= e about (x, y): every extended point in
// that disc stays within E_k of the k-th double point, each of those discs
// passes the escape test, and when the last one lies inside the first the
// disc maps into itself for ever. The same arithmetic as the lanes, so no
// extended arithmetic at all; S starts from the cycle's defect and its
// multiplier and doubles a few times, as in the extended disc chain.
bool cycleHolds(const ShadowBlock& b, int l, int p, double inside)
{
    if (p < 1 || p > kProbeSteps)
        return false;
    // The cycle's points, each with |D|^2 and the root the bound uses.
    double px[kProbeSteps + 1], py[kProbeSteps + 1], nd[kProbeSteps], root[kProbeSteps];
    px[0] = b.x[l], py[0] = b.y[l];
    double lambda = 1;
    for (int k = 0; k < p; ++k) {
        const double x2 = px[k] * px[k], y2 = py[k] * py[k], t = px[k] * py[k];
        nd[k] = x2 + y2;
        root[k] = std::sqrt(nd[k] + kTinySquare);
        lambda *= 2 * root[k];
        py[k + 1] = t + t + b.ci[l];
        px[k + 1] = x2 - y2 + b.cr[l];
    }
    if (!(lambda < 0.999))
        return false;
    const double dx = px[p] - px[0], dy = py[p] - py[0];
    const double defect = std::sqrt(dx * dx + dy * dy) * (1 + 0x1p-48);
    double radius = std::max(b.e[l], 4 * defect / (1 - lambda)) * (1 + 0x1p-48) + kShadowTiny;
    for (int attempt = 0; attempt < 6; ++attempt, radius *= 2) {
        double e = radius;
        for (int k = 0; k < p; ++k) {
            const double t = (root[k] + root[k] + e) * (e * kGrow);
            if (!(nd[k] + t <= inside))
                return false; // wider discs only reach further
            e = t + kRound * (nd[k] + b.q[l]);
        }
        if ((defect + e) * (1 + 0x1p-48) <= radius)
            return true;
    }
    return false;
}

} // namespace

bool shadowApplies(Real threshold, Real largestParameter)
{
    return threshold >= 1e-100L && threshold <= 1e100L && largestParameter <= kShadowLargest;
}

// An orbit that survived the opening, waiting for a lane.
struct Survivor {
    double x, y, e;
    int index;
};

void shadowDecide(const ShadowStart* starts, int count, Real threshold, int32_t maxReps, int32_t* verdict,
                  ShadowTally& tally, const std::atomic<bool>* stop)
{
    static const bool avx2 = shadowAvx2Available();
    const Advance advance = avx2 ? shadowAdvanceAvx2 : shadowAdvanceBase;
    const Open open = avx2 ? shadowOpenAvx2 : shadowOpenBase;
    const double inside = insideLimit(threshold), outside = outsideLimit(threshold);
    ShadowBlock b;
    int32_t n[kShadowLanes], limit[kShadowLanes];
    int index[kShadowLanes]; // the start a lane follows, -1 for none
    int next = 0;
    Survivor waiting[kShadowLanes];
    int waitingFrom = 0, waitingTo = 0;
    // An empty lane stays at 0 for ever and never fails a test.
    const auto park = [&](ShadowBlock& block, int l) {
        block.x[l] = block.y[l] = block.e[l] = block.cr[l] = block.ci[l] = 0;
        block.q[l] = kShadowTiny;
    };
    const auto record = [&](int i, int32_t v) {
        verdict[i] = v;
        ++(v == kShadowUndecided ? tally.undecided : tally.decided);
    };
    const auto setParameter = [&](ShadowBlock& block, int l, const ShadowStart& s) {
        block.cr[l] = s.cr;
        block.ci[l] = s.ci;
        block.q[l] = std::fabs(s.cr) + std::fabs(s.ci) + kShadowTiny;
    };
    // Opens the next starts (up to a lane's worth that need iterating):
    // those still running afterwards wait for a lane.
    const auto openNext = [&] {
        ShadowBlock o;
        int which[kShadowLanes];
        uint32_t live = 0;
        int m = 0;
        const int32_t n0 = next < count ? starts[next].n : 0; // one opening length for all
        for (; next < count && m < kShadowLanes; ++next) {
            const ShadowStart& s = starts[next];
            if (tally.givesUp() && (next & 15) != 0) {
                verdict[next] = kShadowUndecided;
                continue;
            }
            if (s.n != n0)
                break;
            if (s.n >= maxReps) {
                record(next, kShadowBounded);
                continue;
            }
            if (!(s.e < HUGE_VAL)) {
                record(next, kShadowUndecided);
                continue;
            }
            o.x[m] = s.zr;
            o.y[m] = s.zi;
            o.e[m] = s.e;
            setParameter(o, m, s);
            live |= 1u << m;
            which[m++] = next;
        }
        for (int l = m; l < kShadowLanes; ++l)
            park(o, l);
        const int32_t steps = std::min<int32_t>(kOpening, maxReps - n0);
        int32_t at[kShadowLanes];
        uint32_t sure = 0;
        const uint32_t running = open(o, steps, live, inside, outside, at, &sure);
        for (int l = 0; l < m; ++l) {
            if (running >> l & 1) {
                if (n0 + steps >= maxReps)
                    record(which[l], kShadowBounded);
                else
                    waiting[waitingTo++] = {o.x[l], o.y[l], o.e[l], which[l]};
            } else {
                record(which[l], (sure >> l & 1) ? n0 + at[l] : kShadowUndecided);
            }
        }
    };
    // Puts the next orbit that needs iterating on lane l.
    const auto take = [&](int l) {
        while (waitingFrom == waitingTo && next < count) {
            waitingFrom = waitingTo = 0;
            openNext();
        }
        if (waitingFrom == waitingTo) {
            park(b, l);
            n[l] = 0;
            limit[l] = INT32_MAX;
            index[l] = -1;
            return false;
        }
        const Survivor& w = waiting[waitingFrom++];
        const ShadowStart& s = starts[w.index];
        b.x[l] = w.x;
        b.y[l] = w.y;
        b.e[l] = w.e;
        setParameter(b, l, s);
        n[l] = s.n + kOpening;
        limit[l] = checkpointAfter(n[l], firstCheckpoint(tally), maxReps);
        index[l] = w.index;
        return true;
    };
    int active = 0;
    for (int l = 0; l < kShadowLanes; ++l)
        active += take(l);
    while (active > 0) {
        int32_t steps = kStepsPerCall;
        for (int l = 0; l < kShadowLanes; ++l)
            if (index[l] >= 0)
                steps = std::min(steps, limit[l] - n[l]);
        uint32_t failed = 0;
        const int32_t k = advance(b, steps, inside, &failed);
        if (stop && stop->load(std::memory_order_relaxed)) {
            for (int l = 0; l < kShadowLanes; ++l)
                if (index[l] >= 0)
                    verdict[index[l]] = kShadowStopped;
            for (; waitingFrom < waitingTo; ++waitingFrom)
                verdict[waiting[waitingFrom].index] = kShadowStopped;
            for (; next < count; ++next)
                verdict[next] = kShadowStopped;
            return;
        }
        for (int l = 0; l < kShadowLanes; ++l) {
            if (index[l] < 0)
                continue;
            n[l] += k;
            int32_t v;
            if (failed >> l & 1) {
                v = surelyEscapes(b, l, outside) ? n[l] : kShadowUndecided;
            } else if (n[l] >= maxReps) {
                v = kShadowBounded;
            } else if (n[l] >= limit[l]) {
                // A checkpoint: the extended point lies within e of the
                // double one, so a disc around the double orbit's cycle
                // that starts at least that wide and maps into itself
                // holds it for ever.
                const int period = returnPeriod(b.x[l], b.y[l], b.cr[l], b.ci[l], inside);
                ++tally.probes;
                if (!period || !cycleHolds(b, l, period, inside)) {
                    limit[l] = checkpointAfter(n[l], 4 * int64_t(n[l]), maxReps);
                    continue;
                }
                ++tally.proven;
                v = kShadowBounded;
            } else {
                continue;
            }
            record(index[l], v);
            if (!take(l))
                --active;
        }
    }
}

void shadowPerturb(Real refR, Real refI, const Real* cr, const Real* ci, int count, Real threshold, int32_t maxReps,
                   int32_t* verdict, PerturbScratch& scratch, const std::atomic<bool>* stop)
{
    static const bool avx2 = shadowAvx2Available();
    const double inside = insideLimit(threshold), outside = outsideLimit(threshold);
    // The reference orbit, the extended loop's own steps, kept while its
    // points stay far from overflow (past its escape too: a few more steps).
    scratch.zr.resize(maxReps);
    scratch.zi.resize(maxReps);
    scratch.size.resize(maxReps);
    scratch.floor.resize(maxReps);
    const double referenceSize = static_cast<double>(std::fabs(refR) + std::fabs(refI));
    Real zr = 0, zi = 0;
    int32_t length = 0;
    for (; length < maxReps; ++length) {
        const Real r2 = zr * zr, i2 = zi * zi;
        if (!(r2 + i2 <= 1e100L))
            break;
        const double ar = static_cast<double>(zr), ai = static_cast<double>(zi);
        scratch.zr[length] = ar;
        scratch.zi[length] = ai;
        const double size = std::sqrt(ar * ar + ai * ai) * (1 + 0x1p-50) + 1e-300;
        scratch.size[length] = size;
        scratch.floor[length] = 0x1p-60 * (size * size + referenceSize) + 1e-300;
        quadraticStep(zr, zi, r2, i2, refR, refI);
    }
    const PerturbReference ref{scratch.zr.data(), scratch.zi.data(), scratch.size.data(), scratch.floor.data()};
    for (int base = 0; base < count; base += kShadowLanes) {
        PerturbBlock b{};
        uint32_t live = 0;
        const int m = std::min(kShadowLanes, count - base);
        for (int l = 0; l < m; ++l) {
            const Real dR = cr[base + l] - refR, dI = ci[base + l] - refI;
            if (!(std::fabs(dR) + std::fabs(dI) <= 1e-3L)) { // not small: no deviation
                verdict[base + l] = kShadowUndecided;
                continue;
            }
            b.deltaR[l] = static_cast<double>(dR);
            b.deltaI[l] = static_cast<double>(dI);
            b.dq[l] = (0x1p-47 + 0x1p-61) * static_cast<double>(std::fabs(dR) + std::fabs(dI)) + 1e-300;
            live |= 1u << l;
        }
        int32_t at[kShadowLanes];
        uint32_t sure = 0;
        bool stopped = false;
        const uint32_t running = (avx2 ? perturbAvx2 : perturbBase)(b, ref, length, live, inside, outside, at, &sure,
                                                                   stop, &stopped);
        for (int l = 0; l < m; ++l) {
            if (!(live >> l & 1))
                continue;
            int32_t v;
            if (stopped)
                v = kShadowStopped;
            else if (running >> l & 1)
                v = length == maxReps ? kShadowBounded : kShadowUndecided;
            else
                v = (sure >> l & 1) ? at[l] : kShadowUndecided;
            verdict[base + l] = v;
        }
        if (stopped) {
            for (int i = base + m; i < count; ++i)
                verdict[i] = kShadowStopped;
            return;
        }
    }
}

} // namespace qx
