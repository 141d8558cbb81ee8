#pragma once
// The parameters of a Mandelbrot or Julia window and the plain rules that
// depend on them alone: view defaults and the symmetry a render may use.
#include "base/numeric.h"

#include <cstdint>

namespace qx {

// How a pixel is coloured. The values are the ones stored in documents.
enum class DisplayMode : int16_t { Bands = 0, Dem = 1, Iim = 2, Blend = 3, Binary = 4 };

inline constexpr int kMinDegree = 2;
inline constexpr int kMaxDegree = 10;
inline constexpr int kMaxBinaryColours = 10;
// Threshold used by a distance-estimate render in place of the user's.
inline constexpr Real kDemThreshold = 100000;
// Bound on the distance estimate's derivative terms: e^42.
inline constexpr Real kDemOverflow = 1.7392749415205e18L;

// What a Mandelbrot or Julia window keeps of its own; maximum reps,
// anti-aliasing and maximum period are the window chain's and live there once.
struct MJMapParams {
    bool julia = false;         // the pixel is z0 (Julia) or c (Mandelbrot)
    Complex c{};                // the fixed parameter of a Julia window
    int degree = 2;             // exponent d of z^d + c, 2..10
    Real threshold = 4;         // escape when |z|^2 > threshold
    DisplayMode mode = DisplayMode::Bands;
    Real demThickness = 0.6L;   // in pixels
    Real demScale = 0.49L;      // 0.25 when the thickness is at least 1
    int32_t binaryCount = 2;    // k, the sectors of binary mode, 1..10
    Real periodTolerance = 0.5L; // in pixels
};

// The parameters as one render uses them: the window's own with the chain's
// settings folded in.
struct MJParams : MJMapParams {
    int32_t maxReps = 400;      // iteration ceiling N
    bool antiAlias = false;     // the "@1" suffix of maximum reps
    int32_t maxPeriod = 30000;  // orbit length examined by the period report
};

// Fresh parameters of a Mandelbrot (julia = false) or Julia window.
MJParams defaultParams(bool julia);

// The view a new window starts with; the half-width is also its default half-width.
struct MJViewDefaults {
    Real centreX;
    Real centreY;
    Real halfWidth;
    int mouseMode; // 122 promenade (Mandelbrot), 121 orbiter (Julia)
};
MJViewDefaults viewDefaults(bool julia);

// Symmetry a render may declare to the sweep: 0 none, 1 mirror about the
// horizontal centre line, 2 point symmetry about the view's centre.
// Mandelbrot pictures are conjugate-symmetric about the real axis; Julia
// pictures are symmetric under z -> -z only for even degree.
int symmetryFor(const MJParams& p, Real centreX, Real centreY);

// The threshold a render actually iterates with (raised for distance estimates).
Real renderThreshold(const MJParams& p);

// DEM scale that goes with a thickness: 0.25 from one pixel up, else 0.49.
Real demScaleFor(Real thickness);

} // namespace qx
