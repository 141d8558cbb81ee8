#pragma once
// Backward iteration of z -> z^d + c: the d preimages of a point and the
// inverse-image method that draws a Julia set from the repelling fixed point.
#include "base/numeric.h"

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace qx {

// The principal d-th root: modulus |w|^(1/d), argument arg(w)/d; 0 for w = 0.
Complex principalRoot(Complex w, int degree);

// The d preimages of z: the principal root of z - c, then that root turned
// successively by e^(2 pi i / d).
std::vector<Complex> preimages(Complex z, Complex c, int degree);

// The anchor of the inverse-image method: (1 + (1 - 4c)^(1/d)) / 2, the
// repelling fixed point of z^2 + c for d = 2.
Complex iimAnchor(Complex c, int degree);

// One run of the inverse-image method. Each step plots all d preimages of the
// current point and continues from the one at rotation number k, drawn
// uniformly before the step. The generator is seeded the same way every run,
// so a picture drawn again (screen, export) lights the same points.
class InverseIteration {
public:
    InverseIteration(Complex c, int degree, uint32_t seed = 1);

    // Plots the preimages of one step through `plot`; returns the next point.
    Complex step(const std::function<void(Complex)>& plot);
    Complex current() const { return z_; }
    int32_t steps() const { return steps_; }

private:
    Complex c_;
    int degree_;
    Complex omega_;
    Complex z_;
    int32_t steps_ = 0;
    std::minstd_rand random_;
};

// The ceiling of the screen limit after the user stopped a run at `reached`
// steps: the count reached, but never below the default of 1000, so the next
// redraw of the same view stops where the user was content.
int32_t iimCeilingAfterInterrupt(int32_t reached);

} // namespace qx
