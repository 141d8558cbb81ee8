#pragma once
// Lyapunov exponents of the logistic map r x (1 - x) driven by a periodic
// string of A and B (r = a where the string has A, b where it has B), in
// bits, and the colour a pixel of the (a, b) square takes from them.
#include "base/numeric.h"
#include "graphics/colour.h"
#include "model/pixel_sweep.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace qx {

struct LyapunovParams {
    std::vector<uint8_t> string{0, 1}; // 0 = A, 1 = B; 1 to 256 letters
    Real x0 = 0.5L;
    int32_t transients = 300;
    int32_t calculations = 2000;
    Real stable = 1;   // <= 0 when set; above 0: worked out at the next pass
    Real unstable = -1; // >= 0 when set
};

// The settings dialog's string rule: upper case, blanks and commas removed,
// A and B only, 1 to 256 letters. False (and `out` unchanged) otherwise.
bool parsePeriodString(const std::string& text, std::vector<uint8_t>& out);
std::string periodStringText(const std::vector<uint8_t>& s);

// Whole periods of the string: transients and calculations rounded down.
int32_t wholePeriods(int32_t count, size_t length);

// The exponent at (a, b) with ln a and ln b given; false when it cannot be
// computed (no whole period to average, or a step that fails).
bool lyapunovExponent(const LyapunovParams& p, Real a, Real b, Real lnA, Real lnB, Real& exponent);

// The extremes worked out from the corners of the square: 0.8 times the
// exponent at (h, h) and at (4 - h, 4 - h), divided by ln 2, h the pitch.
void automaticExtremes(LyapunovParams& p, Real h);

// The smallest and largest exponent of a pass, shared by its workers.
struct ExponentRange {
    std::mutex mutex;
    Real smallest = 1000, largest = -1000;
    void add(Real e)
    {
        std::lock_guard lock(mutex);
        smallest = std::min(smallest, e);
        largest = std::max(largest, e);
    }
};

struct LyapunovColours {
    Rgb stable = 0, unstable = 0, threshold = 0;
};

// The pixel colour of an exponent (or of a pixel that cannot be computed).
Rgb lyapunovColour(const LyapunovParams& p, const LyapunovColours& c, bool computed, Real e);

class LyapunovKernel final : public PixelKernel {
public:
    LyapunovKernel(LyapunovParams p, LyapunovColours c, std::shared_ptr<ExponentRange> range)
        : p_(std::move(p)), c_(c), range_(std::move(range))
    {
    }
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<LyapunovKernel>(*this); }
    PixelValue colourAt(Real x, Real y, int col, int row) override;

private:
    LyapunovParams p_;
    LyapunovColours c_;
    std::shared_ptr<ExponentRange> range_;
};

} // namespace qx
