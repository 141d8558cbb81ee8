#include "tools/mandel/mj_kernel.h"

#include "tools/mandel/mj_interior.h"
#include "tools/mandel/mj_shadow.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

namespace qx {

uint32_t blendColour(uint32_t p, uint32_t q, Real t)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const Real a = (p >> shift) & 0xFF, b = (q >> shift) & 0xFF;
        const auto v = static_cast<uint32_t>(a + (b - a) * t);
        out |= (v & 0xFF) << shift;
    }
    return out;
}

MJKernel::MJKernel(const MJParams& params, MJColours colours, Real pixelSize)
    : p_(params), colours_(std::move(colours)),
      tableLength_(static_cast<int32_t>(colours_.table.size()) - 1),
      threshold_(renderThreshold(params))
{
    if (tableLength_ < 1) { // a table without a cycle: treat every count as entry 0
        colours_.table.resize(2, colours_.table.empty() ? 0 : colours_.table[0]);
        tableLength_ = 1;
    }
    // Values the input rules already refuse, held in range here as well so
    // that no table is read out of bounds.
    p_.degree = std::clamp(p_.degree, kMinDegree, kMaxDegree);
    p_.binaryCount = std::clamp(p_.binaryCount, 1, kMaxBinaryColours);
    const Real d = p_.degree;
    if (p_.mode == DisplayMode::Blend) {
        blendA_ = std::log(d * std::log(threshold_));
        blendB_ = 1 / std::log(d);
    }
    demBand_ = p_.demScale * pixelSize * p_.demThickness * 0.4L;
    pixelSize_ = pixelSize;
    interiorShortcut_ = shortcutApplies();
    shadow_ = shadowApplies();
}

bool MJKernel::shortcutApplies() const
{
    return p_.degree == 2 && p_.maxReps > 0 &&
           (p_.mode == DisplayMode::Bands || p_.mode == DisplayMode::Blend || p_.mode == DisplayMode::Binary);
}



bool MJKernel::shadowApplies() const
{
    const Real c = p_.julia ? std::fabs(p_.c.re) + std::fabs(p_.c.im) : 0;
    return p_.degree == 2 && p_.mode == DisplayMode::Bands && p_.maxReps > 0 && qx::shadowApplies(threshold_, c);
}

PixelColour MJKernel::setColour() const
{
    return {colours_.setRgb, specialColourCode(colours_.setIndex)};
}

EscapeResult MJKernel::escapeAt(Real x, Real y) const
{
    if (p_.julia)
        return escape({x, y}, p_.c, p_.degree, threshold_, p_.maxReps, stop_);
    return escape({0, 0}, {x, y}, p_.degree, threshold_, p_.maxReps, stop_);
}

// Bands: entry n mod L, with 0 standing for L once the orbit has moved.
// Blend: between the entry before and that entry, by the fractional escape
// count; the fraction is held to [0, 1] so no channel leaves 0..255.
PixelColour MJKernel::bandColour(const EscapeResult& e) const
{
    if (e.n == 0)
        return {colours_.table[0], 0};
    int32_t i = e.n % tableLength_;
    if (i == 0)
        i = tableLength_;
    if (p_.mode != DisplayMode::Blend)
        return {colours_.table[i], i};
    Real mu = blendB_ * (blendA_ - std::log(std::log(norm2(e.z))));
    if (!(mu > 0))
        mu = 0;
    else if (mu > 1)
        mu = 1;
    return {blendColour(colours_.table[i - 1], colours_.table[i], mu), i};
}

// Binary: the sector of the final point's argument among k equal sectors
// starting at -pi; with two sectors, the sign of its imaginary part.
PixelColour MJKernel::binaryColour(Complex z) const
{
    const int32_t k = p_.binaryCount;
    int32_t b = 0;
    if (k == 2) {
        b = z.im < 0 ? 1 : 0;
    } else if (k > 1) {
        const Real pi = std::numbers::pi_v<Real>;
        b = static_cast<int32_t>(std::floor((std::atan2(z.im, z.re) + pi) * k / (2 * pi)));
        if (b >= k)
            b = k - 1;
        if (b < 0)
            b = 0;
    }
    return {colours_.binary[b], tableLength_ + b};
}

PixelColour MJKernel::colourOfEscape(const EscapeResult& e) const
{
    if (e.status == kStopped)
        return {0, kPixelStopped};
    if (e.status != kEscaped)
        return setColour();
    if (p_.mode == DisplayMode::Binary)
        return binaryColour(e.z);
    return bandColour(e);
}

// Distance estimate |z| ln|z|^2 / |z'| from the orbit and its derivative,
// carried forward with the orbit: the derivative of step k uses z_k, exactly
// as a backward pass over a stored orbit would.
Real MJKernel::distanceAt(Real x, Real y) const
{
    const Complex c = p_.julia ? p_.c : Complex{x, y};
    const int d = p_.degree;
    Complex z{x, y};
    Complex dz{1, 0};
    for (int32_t n = 0;; ++n) {
        if (norm2(z) > threshold_) {
            const Real lnr2 = std::log(norm2(z));
            Real dist = 0.3535L * p_.demScale * lnr2 * std::sqrt(norm2(z)) / std::sqrt(norm2(dz));
            if (p_.julia)
                dist *= std::exp(-0.5L * lnr2 * std::pow(Real(d), -Real(n)));
            return dist;
        }
        if (n >= p_.maxReps)
            return 0;
        if ((n & kStopCheckMask) == kStopCheckMask && stop_ && stop_->load(std::memory_order_relaxed))
            return -1; // stopped
        Complex w = mul(z, dz);
        for (int k = 2; k < d; ++k)
            w = mul(z, w);
        if (std::fabs(w.re) + std::fabs(w.im) > kDemOverflow)
            return 0;
        dz = {d * w.re, d * w.im};
        if (!p_.julia)
            dz.re += 1;
        z = mapPower(z, c, d);
    }
}

PixelColour MJKernel::colourAt(Real x, Real y) const
{
    if (p_.mode == DisplayMode::Dem) {
        const Real dist = distanceAt(x, y);
        if (dist < 0)
            return {0, kPixelStopped};
        if (dist > 0 && dist >= demBand_)
            return {colours_.demRgb, specialColourCode(colours_.demIndex)};
        return setColour();
    }
    if (provablyInside(x, y))
        return setColour();
    return colourOfEscape(escapeAt(x, y));
}

void MJKernel::colourRowSingle(Real x0, Real pitch, Real y, int count, PixelColour* out) const
{
    for (int i = 0; i < count; ++i)
        if ((out[i] = colourAt(x0 + Real(i) * pitch, y)).code == kPixelStopped)
            return;
}

bool MJKernel::pairs(int count) const
{
    return p_.maxReps > 0 && count >= 2 && p_.degree >= 2 && p_.degree <= kMaxDegree && p_.mode != DisplayMode::Dem &&
           p_.mode != DisplayMode::Iim;
}

// Runs of this many pixels of a row are first tried as one family
// (familyProvesBounded): a proven run is the set colour without iterating.
constexpr int kRegionRun = 16;

// Every parameter (Julia: every start) within radius of (xc, yc) provably
// never escapes.
bool MJKernel::familyProven(Real xc, Real yc, Real radius) const
{
    const int steps = std::min(p_.maxReps, 256);
    if (p_.julia)
        return familyProvesBounded(xc, yc, radius, p_.c.re, p_.c.im, 0, threshold_, steps);
    return familyProvesBounded(0, 0, 0, xc, yc, radius, threshold_, steps);
}

// Rows this far above and below a run are tried together with it, as one
// disc: while it holds, the runs below it in the same column are proven.
constexpr int kDiscRows = 8;

bool MJKernel::runProvenBounded(Real x0, Real pitch, Real y, int start, int run) const
{
    // The pixels' own coordinates, as the loop computes them.
    const Real first = x0 + Real(start) * pitch, last = x0 + Real(start + run - 1) * pitch;
    const size_t column = static_cast<size_t>(start / run);
    if (provenDiscs_.size() <= column)
        provenDiscs_.resize(column + 1);
    ProvenDisc& disc = provenDiscs_[column];
    const auto holds = [&](Real x) {
        const Real dx = x - disc.x, dy = y - disc.y;
        return dx * dx + dy * dy <= disc.r2;
    };
    if (disc.r2 >= 0 && holds(first) && holds(last)) // a disc holds the segment between
        return true;
    const Real xc = x0 + Real(start + run / 2) * pitch;
    const Real spread = std::max(std::fabs(first - xc), std::fabs(last - xc)) * (1 + 1e-12L) + 1e-300L;
    const Real rows = kDiscRows * std::fabs(pitch);
    const Real radius = std::sqrt(spread * spread + rows * rows) * (1 + 1e-12L);
    if (familyProven(xc, y, radius)) {
        disc = {xc, y, radius * radius * (1 - 1e-9L)};
        return true;
    }
    if (runs_.narrowTried >= 32 && runs_.narrowProven * 16 < runs_.narrowTried)
        return false;
    ++runs_.narrowTried;
    if (!familyProven(xc, y, spread))
        return false;
    ++runs_.narrowProven;
    return true;
}

void MJKernel::colourRow(Real x0, Real pitch, Real y, int count, PixelColour* out) const
{
    if (!pairs(count)) {
        colourRowSingle(x0, pitch, y, count, out);
        return;
    }
    const auto pixel = [&](int i) { return Complex{x0 + Real(i) * pitch, y}; };
    std::vector<int>& pending = scratch_.pending;
    pending.clear();
    int done = 0; // the pixels before it are coloured or pending
    if (interiorShortcut_ && count >= 2 * kRegionRun) {
        int skip = 0, backoff = 0; // after failures, fewer runs are tried (speed only)
        for (int start = 0; start + kRegionRun <= count; start += kRegionRun) {
            if (skip > 0) {
                --skip;
                continue;
            }
            if (!runProvenBounded(x0, pitch, y, start, kRegionRun)) {
                backoff = std::min(2 * backoff + 1, 7);
                skip = backoff;
                continue;
            }
            backoff = 0;
            for (int i = done; i < start; ++i)
                pending.push_back(i);
            std::fill(out + start, out + start + kRegionRun, setColour());
            done = start + kRegionRun;
        }
    }
    if (done == 0) {
        decide(pixel, [](int j) { return j; }, count, out);
        return;
    }
    for (int i = done; i < count; ++i)
        pending.push_back(i);
    decide(pixel, [&](int j) { return pending[j]; }, static_cast<int>(pending.size()), out);
}

void MJKernel::colourPoints(const Real* xs, const Real* ys, int count, PixelColour* out) const
{
    if (pairs(count)) {
        decide([&](int i) { return Complex{xs[i], ys[i]}; }, [](int j) { return j; }, count, out);
        return;
    }
    for (int i = 0; i < count; ++i)
        if ((out[i] = colourAt(xs[i], ys[i])).code == kPixelStopped)
            return;
}

namespace {

// One pixel's escape iteration in flight, with its cycle detection. The
// lane pauses when n reaches `limit`: the ceiling, or its next checkpoint,
// where it is probed for an attracting cycle (outside the hot loop, whose
// few x87 registers any further test would crowd).
struct Lane {
    Real zr, zi, cr, ci;
    int32_t n;
    int index;
    int32_t limit;
    CycleWatch cycle{};
};

// The first checkpoint of a lane; each later one is four times as far
// from the start. Rows whose probes mostly fail (far from any interior)
// start later.
constexpr int32_t kFirstCheckpoint = 16;
constexpr int32_t kLateCheckpoint = 256;

// Looks at a stop flag every 4096 calls of raised() (a counter, not a load
// per step).
struct StopCountdown {
    const std::atomic<bool>* stop;
    int32_t left = kStopCheckMask;
    __attribute__((always_inline)) bool raised()
    {
        if (--left)
            return false;
        left = kStopCheckMask;
        return stop && stop->load(std::memory_order_relaxed);
    }
};

// Hot loop: advances two independent orbits together, so the floating-point
// unit overlaps their dependency chains, until one of them stops (escapes or
// reaches the ceiling). Each lane is written out on its own, test then step,
// which keeps few values live on the x87 stack. Returns 1 when lane a
// stopped, 2 when lane b did (a is then one step ahead or level), 3 when
// the stop flag was raised (looked at every 4096 steps).
int advancePair(Lane& a, Lane& b, Real T, int32_t N, const std::atomic<bool>* stop)
{
    Real azr = a.zr, azi = a.zi, bzr = b.zr, bzi = b.zi;
    int32_t an = a.n, bn = b.n;
    // One lane's test, step and cycle check; true when the lane stops.
    const auto stops = [T, N](Real& zr, Real& zi, int32_t& n, Lane& l) __attribute__((always_inline)) {
        const Real r2 = zr * zr, i2 = zi * zi;
        if (n >= l.limit || r2 + i2 > T)
            return true;
        quadraticStep(zr, zi, r2, i2, l.cr, l.ci);
        ++n;
        if ((n & 7) == 0 && l.cycle.repeats(zr, zi, n)) {
            n = N;
            return true;
        }
        return false;
    };
    int stopped;
    for (StopCountdown check{stop};;) {
        if (check.raised()) {
            stopped = 3;
            break;
        }
        if (stops(azr, azi, an, a)) {
            stopped = 1;
            break;
        }
        if (stops(bzr, bzi, bn, b)) {
            stopped = 2;
            break;
        }
    }
    a.zr = azr, a.zi = azi, a.n = an;
    b.zr = bzr, b.zi = bzi, b.n = bn;
    return stopped;
}

// z^D + c of one lane, with the operations of mapPower in their order
// (unrolled: the degree is a constant of each instance).
template <int D>
__attribute__((always_inline)) inline void powerStep(Real& zr, Real& zi, Real cr, Real ci)
{
    Real wr = zr * zr - zi * zi, wi = zi * zr + zr * zi;
    for (int k = 2; k < D; ++k) {
        const Real tr = zr * wr - zi * wi;
        wi = zi * wr + zr * wi;
        wr = tr;
    }
    zr = wr + cr;
    zi = wi + ci;
}

// advancePair for degrees above 2: each lane performs exactly the steps of
// escapeFrom (test, step, cycle check every 8th step).
template <int D>
int advancePowerPair(Lane& a, Lane& b, Real T, int32_t N, const std::atomic<bool>* stop)
{
    Real azr = a.zr, azi = a.zi, bzr = b.zr, bzi = b.zi;
    int32_t an = a.n, bn = b.n;
    const int32_t aLimit = a.limit, bLimit = b.limit;
    int stopped;
    for (StopCountdown check{stop};;) {
        if (check.raised()) {
            stopped = 3;
            break;
        }
        if (an >= aLimit || azr * azr + azi * azi > T) {
            stopped = 1;
            break;
        }
        if (bn >= bLimit || bzr * bzr + bzi * bzi > T) {
            stopped = 2;
            break;
        }
        powerStep<D>(azr, azi, a.cr, a.ci);
        powerStep<D>(bzr, bzi, b.cr, b.ci);
        ++an;
        ++bn;
        // Both lanes are checked, so that neither misses a saving step.
        const bool aCycles = (an & 7) == 0 && a.cycle.repeats(azr, azi, an);
        const bool bCycles = (bn & 7) == 0 && b.cycle.repeats(bzr, bzi, bn);
        if (aCycles || bCycles) {
            if (bCycles)
                bn = N; // b stops at its next test
            if (aCycles)
                an = N;
            stopped = aCycles ? 1 : 2;
            break;
        }
    }
    a.zr = azr, a.zi = azi, a.n = an;
    b.zr = bzr, b.zi = bzi, b.n = bn;
    return stopped;
}

int advanceLanes(int degree, Lane& a, Lane& b, Real T, int32_t N, const std::atomic<bool>* stop)
{
    switch (degree) {
    case 2: return advancePair(a, b, T, N, stop);
    case 3: return advancePowerPair<3>(a, b, T, N, stop);
    case 4: return advancePowerPair<4>(a, b, T, N, stop);
    case 5: return advancePowerPair<5>(a, b, T, N, stop);
    case 6: return advancePowerPair<6>(a, b, T, N, stop);
    case 7: return advancePowerPair<7>(a, b, T, N, stop);
    case 8: return advancePowerPair<8>(a, b, T, N, stop);
    case 9: return advancePowerPair<9>(a, b, T, N, stop);
    default: static_assert(kMaxDegree == 10); return advancePowerPair<10>(a, b, T, N, stop);
    }
}

// At a checkpoint: runs the lane alone for up to kProbeSteps steps exactly
// as the hot loop would (escape test, step, cycle check), until its first
// return close to its starting point. The orbit may then have settled
// on an attracting cycle of that period: its points are computed again from
// the start and orbitCycleProvesBounded may prove that it never escapes.
// Returns kProbeGoesOn, kProbeEnded (escaped, at the ceiling or caught
// cycling) or kProbeProven (n = N).
enum ProbeResult { kProbeGoesOn, kProbeEnded, kProbeProven };

ProbeResult probe(Lane& l, Real T, int32_t N)
{
    const Real sr = l.zr, si = l.zi;
    const Real gate = 1e-4L * (sr * sr + si * si + 1);
    Real zr = sr, zi = si;
    int32_t n = l.n;
    int period = 0;
    bool ended = false;
    for (int steps = 1; steps <= kProbeSteps; ++steps) {
        const Real r2 = zr * zr, i2 = zi * zi;
        if (n >= N || r2 + i2 > T) {
            ended = true;
            break;
        }
        quadraticStep(zr, zi, r2, i2, l.cr, l.ci);
        ++n;
        if ((n & 7) == 0 && l.cycle.repeats(zr, zi, n)) {
            n = N;
            ended = true;
            break;
        }
        const Real dr = zr - sr, di = zi - si;
        if (dr * dr + di * di <= gate) {
            period = steps; // the lane goes on from here if the proof fails
            break;
        }
    }
    l.zr = zr, l.zi = zi, l.n = n;
    if (ended)
        return kProbeEnded;
    if (!period)
        return kProbeGoesOn;
    if (!settlesProvably(sr, si, 0, period, l.cr, l.ci, T))
        return kProbeGoesOn;
    l.n = N;
    return kProbeProven;
}

// Most orbits of a wide view escape within a few steps: they end here,
// without a lane, after the hot loop's own steps (too few for its first
// cycle check, at step 8). True when the orbit escaped, after n steps;
// otherwise it has taken kQuickSteps.
constexpr int32_t kQuickSteps = 7;

inline bool quickEscape(Real& zr, Real& zi, Real cr, Real ci, int32_t& n, Real T)
{
    for (; n < kQuickSteps; ++n) {
        const Real r2 = zr * zr, i2 = zi * zi;
        if (r2 + i2 > T)
            return true;
        quadraticStep(zr, zi, r2, i2, cr, ci);
    }
    return false;
}

} // namespace

// The reference orbit of a deep view: the longest-lived of the one kept
// from before and a few of these parameters (an orbit that outlives its
// reference is left undecided).
void MJKernel::chooseReference(const Real* cr, const Real* ci, int n) const
{
    for (int k = 0; k < kReferenceTries && n > 0 && reference_.lived < p_.maxReps; ++k) {
        const int j = static_cast<int>((2 * k + 1) * int64_t(n) / (2 * kReferenceTries));
        const EscapeResult e = escapeQuadraticFrom({0, 0}, {cr[j], ci[j]}, 0, threshold_, p_.maxReps, stop_);
        if (e.status == kStopped)
            return;
        const int32_t lived = e.status == kEscaped ? e.n : p_.maxReps;
        if (lived > reference_.lived)
            reference_ = {cr[j], ci[j], lived};
    }
}

// The pixels i = indexAt(j), j < count, of pointAt and out. Band pictures
// of z^2 + c: after the cheap tests the double shadow decides what it can,
// all of them in one go (its lanes drain once), and the paired extended
// loop the rest. Mandelbrot views deeper than doubles resolve follow the
// orbits as deviations from a reference orbit instead (shadowPerturb).
// Other pictures go to the paired loop at once.
template <class PointAt, class IndexAt>
void MJKernel::decide(PointAt pointAt, IndexAt indexAt, int count, PixelColour* out) const
{
    Scratch& s = scratch_;
    const auto extended = [&](const auto& pixelAt, int n) {
        s.colours.assign(n, PixelColour{0, kPixelStopped});
        paired([&](int k) { return pointAt(pixelAt(k)); }, n, s.colours.data());
        for (int k = 0; k < n; ++k)
            out[pixelAt(k)] = s.colours[k];
    };
    if (!shadow_ || p_.maxReps <= kQuickSteps || count == 0) {
        extended(indexAt, count);
        return;
    }
    // Pixels closer than about 1e-13 of their coordinates are beyond what
    // doubles resolve: the shadow would decide next to nothing.
    const auto [x0, y0] = pointAt(indexAt(0));
    const bool deep = pixelSize_ < 2e-13L * (std::fabs(x0) + std::fabs(y0));
    if (deep && (p_.julia || p_.maxReps > kLongestPerturbed)) {
        extended(indexAt, count);
        return;
    }
    if (s.starts.size() < size_t(count)) {
        s.starts.resize(count);
        s.where.resize(count);
        s.verdict.resize(count);
        s.cr.resize(count);
        s.ci.resize(count);
    }
    int ns = 0;
    for (int j = 0; j < count; ++j) {
        const int i = indexAt(j);
        const auto [x, y] = pointAt(i);
        if (provablyInside(x, y)) {
            out[i] = setColour();
            continue;
        }
        if (deep)
            s.cr[ns] = x, s.ci[ns] = y;
        else
            s.starts[ns] = p_.julia ? shadowStart(x, y, p_.c.re, p_.c.im, 0) : shadowStart(0, 0, x, y, 0);
        s.where[ns++] = i;
    }
    if (deep) {
        chooseReference(s.cr.data(), s.ci.data(), ns);
        shadowPerturb(reference_.cr, reference_.ci, s.cr.data(), s.ci.data(), ns, threshold_, p_.maxReps,
                      s.verdict.data(), perturbScratch_, stop_);
    } else {
        shadowDecide(s.starts.data(), ns, threshold_, p_.maxReps, s.verdict.data(), shadowTally_, stop_);
    }
    s.undecided.clear();
    for (int j = 0; j < ns; ++j) {
        const int32_t v = s.verdict[j];
        if (v == kShadowStopped)
            out[s.where[j]] = {0, kPixelStopped};
        else if (v == kShadowBounded)
            out[s.where[j]] = setColour();
        else if (v == kShadowUndecided)
            s.undecided.push_back(s.where[j]);
        else // band colours need only the step count
            out[s.where[j]] = colourOfEscape(EscapeResult{kEscaped, v, {}});
    }
    if (!s.undecided.empty())
        extended([&](int k) { return s.undecided[k]; }, static_cast<int>(s.undecided.size()));
}

// A lane whose orbit ends takes the next point (pointAt(i): a row's pixel
// or any point); each orbit performs exactly the operations of
// escapeFrom, so every pixel equals colourAt's.
template <class PointAt>
void MJKernel::paired(PointAt pointAt, int count, PixelColour* out) const
{
    const Real T = threshold_;
    const int32_t N = p_.maxReps;
    int next = 0;
    const bool probing = interiorShortcut_; // degree 2 only
    const bool quick = p_.degree == 2 && N > kQuickSteps;
    // How the row's probes went: when most fail, the row is far from any
    // interior and its lanes are first probed later (speed only: a probe
    // never changes a pixel).
    struct ProbeRecord {
        int tried = 0, proven = 0;
        bool count(ProbeResult r) // whether the lane has ended
        {
            ++tried;
            proven += r == kProbeProven;
            return r != kProbeGoesOn;
        }
        int32_t firstCheckpoint() const
        {
            return tried >= 32 && proven * 8 < tried ? kLateCheckpoint : kFirstCheckpoint;
        }
    } probes;
    // The next pixel that needs iterating, after colouring those that do not.
    auto nextLane = [&](Lane& l) {
        for (; next < count; ++next) {
            const auto [x, y] = pointAt(next);
            if (provablyInside(x, y)) {
                out[next] = setColour();
                continue;
            }
            Real zr = p_.julia ? x : 0, zi = p_.julia ? y : 0;
            const Real cr = p_.julia ? p_.c.re : x, ci = p_.julia ? p_.c.im : y;
            int32_t n = 0;
            if (quick && quickEscape(zr, zi, cr, ci, n, T)) {
                out[next] = colourOfEscape(EscapeResult{kEscaped, n, {zr, zi}});
                continue;
            }
            // Field by field: a whole new Lane would copy every extended
            // real through memory.
            l.zr = zr, l.zi = zi, l.cr = cr, l.ci = ci;
            l.n = n;
            l.index = next;
            l.cycle.restart();
            l.limit = probing ? std::min(N, probes.firstCheckpoint()) : N;
            ++next;
            return true;
        }
        return false;
    };
    auto finish = [&](const Lane& l) {
        out[l.index] = colourOfEscape(l.n >= N ? EscapeResult{kNotEscaped, N, {l.zr, l.zi}}
                                               : EscapeResult{kEscaped, l.n, {l.zr, l.zi}});
    };
    auto drain = [&](const Lane& l) {
        out[l.index] = colourOfEscape(escapeFrom({l.zr, l.zi}, {l.cr, l.ci}, l.n, p_.degree, T, N, stop_));
    };
    Lane a{}, b{};
    if (!nextLane(a))
        return;
    if (!nextLane(b)) {
        drain(a);
        return;
    }
    for (;;) {
        const int which = advanceLanes(p_.degree, a, b, T, N, stop_);
        if (which == 3) {
            out[a.index] = out[b.index] = {0, kPixelStopped};
            return;
        }
        Lane& done = which == 1 ? a : b;
        Lane& other = &done == &a ? b : a;
        if (done.n < N && !(done.zr * done.zr + done.zi * done.zi > T)) { // at a checkpoint
            const bool ended = probes.count(probe(done, T, N));
            if (!ended) {
                // The hot loop looks at the stop flag only every 4096 steps
                // of one call: look here too.
                if (stop_ && stop_->load(std::memory_order_relaxed)) {
                    out[a.index] = out[b.index] = {0, kPixelStopped};
                    return;
                }
                done.limit = static_cast<int32_t>(std::min<int64_t>(N, 4 * int64_t(done.n)));
                continue;
            }
        }
        finish(done);
        if (!nextLane(done)) {
            drain(other);
            return;
        }
    }
}

} // namespace qx
