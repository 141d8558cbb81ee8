#pragma once
// The per-pixel colour of Mandelbrot and Julia pictures. A kernel is prepared
// once per render from the parameters and the colour tables; it is a plain
// value, so each sweep worker takes its own copy. colourRow and colourPoints
// keep scratch space and proven discs in it: one thread per kernel.
#include "model/colour_tables.h"
#include "base/numeric.h"

#include <atomic>
#include <climits>
#include "tools/mandel/mj_escape.h"
#include "tools/mandel/mj_interior.h"
#include "tools/mandel/mj_params.h"
#include "tools/mandel/mj_shadow.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qx {

// The colours a render reads: the colour table of sequence 0 (L + 1 entries,
// entry L closing the cycle), the binary colours and the two special colours.
struct MJColours {
    std::vector<uint32_t> table;      // 0x00BBGGRR; usable length L = size() - 1
    std::array<uint32_t, kMaxBinaryColours> binary{};
    uint32_t setRgb = 0;              // "no target" slot: points that do not escape
    int setIndex = 0;                 // its palette index
    uint32_t demRgb = 0;              // DEM slot: points far from the set
    int demIndex = 52;
};

// Colour and row-buffer code of one pixel: a table index 0..L, L + b for
// binary colour b, or specialColourCode(palette index).
struct PixelColour {
    uint32_t rgb = 0;
    int32_t code = 0;
    friend bool operator==(const PixelColour&, const PixelColour&) = default;
};

// The code of a pixel stopped by the interrupt flag (the sweep's kPixelInterrupted).
inline constexpr int32_t kPixelStopped = INT32_MIN;

// Per channel p + (q - p) * t, truncated toward zero.
uint32_t blendColour(uint32_t p, uint32_t q, Real t);

class MJKernel {
public:
    // pixelSize: world size of one pixel, for the distance estimate's band
    // (and to tell views deeper than doubles resolve).
    // The colour table must have at least two entries.
    MJKernel(const MJParams& params, MJColours colours, Real pixelSize);

    // The colour of the world point (x, y): c in a Mandelbrot window, z0 in a Julia window.
    PixelColour colourAt(Real x, Real y) const;

    // Colours count pixels of one row at x0 + i * pitch, height y. The
    // escape-time modes of every degree iterate two pixels at a time; the result is the same
    // as colourAt for every pixel.
    void colourRow(Real x0, Real pitch, Real y, int count, PixelColour* out) const;
    // Colours count points (xs[i], ys[i]) anywhere, paired as colourRow;
    // each equals colourAt. A stopped point and those after it that were
    // not finished get the code kPixelStopped.
    void colourPoints(const Real* xs, const Real* ys, int count, PixelColour* out) const;
    // The same, strictly one pixel after another (reference for the paired loop).
    void colourRowSingle(Real x0, Real pitch, Real y, int count, PixelColour* out) const;

    // Escape of the orbit that belongs to the point (x, y).
    EscapeResult escapeAt(Real x, Real y) const;
    // The distance estimate of the point, or 0 when there is none (the orbit
    // does not escape, or its derivative passes e^42).
    Real distanceAt(Real x, Real y) const;
    // Distance below which a pixel counts as touching the set.
    Real demBand() const { return demBand_; }
    // Quadratic escape-time pictures colour points proven never to escape
    // without iterating them to the end: a Mandelbrot parameter whose
    // critical orbit provably stays below the threshold, and any orbit that
    // settles close enough to an attracting cycle for
    // orbitCycleProvesBounded. On by default; the colours are the same
    // either way.
    void setInteriorShortcut(bool on) { interiorShortcut_ = on && shortcutApplies(); }
    // Band pictures of z^2 + c first iterate every orbit in double
    // arithmetic with a bound on its distance from the extended orbit
    // (mj_shadow.h), and iterate in extended reals only the orbits that
    // bound leaves undecided. On by default; the colours are the same either way.
    void setShadow(bool on) { shadow_ = on && shadowApplies(); }

    // The colour of an escape result in the bands, blend and binary modes.
    PixelColour colourOfEscape(const EscapeResult& e) const;

    // The sweep's interrupt flag: a pixel whose orbit is still running when
    // it is raised comes back with the code kPixelStopped, and colourRow
    // stops (the rest of `out` is not written).
    void setStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }

private:
    PixelColour setColour() const;
    bool shortcutApplies() const;
    bool shadowApplies() const;
    // An orbit that never escapes gets the set colour, whatever its last
    // point. Inline: it is asked for every pixel, and most fail the first test.
    bool provablyInside(Real x, Real y) const
    {
        return interiorShortcut_ && !p_.julia && criticalOrbitMayStayBounded(x, y) &&
               criticalOrbitStaysBounded(x, y, threshold_);
    }
    bool runProvenBounded(Real x0, Real pitch, Real y, int start, int run) const;
    bool familyProven(Real xc, Real yc, Real radius) const;
    PixelColour bandColour(const EscapeResult& e) const;
    PixelColour binaryColour(Complex z) const;
    bool pairs(int count) const;
    template <class PointAt, class IndexAt>
    void decide(PointAt pointAt, IndexAt indexAt, int count, PixelColour* out) const;
    void chooseReference(const Real* cr, const Real* ci, int n) const;
    // The longest orbits followed as deviations (the reference's points take
    // 32 bytes a step).
    static constexpr int32_t kLongestPerturbed = 1 << 18;
    template <class PointAt>
    void paired(PointAt pointAt, int count, PixelColour* out) const;

    MJParams p_;
    MJColours colours_;
    int32_t tableLength_;  // L
    Real threshold_;       // what this render iterates with
    Real blendA_ = 0;      // ln(d ln T)
    Real blendB_ = 0;      // 1 / ln d
    Real demBand_ = 0;     // delta
    Real pixelSize_ = 0;
    bool interiorShortcut_ = false;
    bool shadow_ = false;
    // Discs of parameters (Julia: of starting points) proven never to
    // escape, one per run column of the rows before: a later run inside
    // its column's disc needs no proof of its own.
    struct ProvenDisc {
        Real x = 0, y = 0, r2 = -1; // centre and squared radius (none while negative)
    };
    mutable std::vector<ProvenDisc> provenDiscs_;
    // How the narrower second run proof went (speed only): it is skipped
    // when it rarely succeeds where the disc failed.
    struct RunRecord {
        int narrowTried = 0, narrowProven = 0;
    };
    mutable RunRecord runs_;
    // Room for one row's orbits on their way through decide (kept, so that
    // rows allocate nothing once the first has run).
    struct Scratch {
        std::vector<int> pending, where, undecided;
        std::vector<ShadowStart> starts;
        std::vector<int32_t> verdict;
        std::vector<PixelColour> colours;
        std::vector<Real> cr, ci;
    };
    mutable Scratch scratch_;
    mutable ShadowTally shadowTally_; // carried from row to row
    mutable PerturbScratch perturbScratch_;
    // The reference orbit of deep views: its parameter and how long it lives.
    struct Reference {
        Real cr = 0, ci = 0;
        int32_t lived = -1;
    };
    mutable Reference reference_;
    static constexpr int kReferenceTries = 8;
    const std::atomic<bool>* stop_ = nullptr;
};

} // namespace qx
