#pragma once
// Named parameters: the Julia examples, the indifferent cycles on the
// boundaries of the main cardioid and the period-2 disc, and the random
// cardioid point a new Julia window starts with.
#include "base/numeric.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace qx {

struct JuliaExample {
    int command;        // menu command id
    const char* name;   // menu text
    Complex c;
    int32_t maxReps;
};

// The six examples of the Julia window's Edit menu, in menu order.
std::span<const JuliaExample> juliaExamples();
// The example of a command id 672..677, or nullptr.
const JuliaExample* juliaExample(int command);

// The point of the main cardioid's boundary at angle 2 pi t: mu = e^(2 pi i t) / 2,
// c = mu - mu^2 (where z^2 + c has a fixed point of multiplier e^(2 pi i t)).
Complex cardioidPoint(Real t);
// The point of the circle of radius 1/4 about -1 at angle 2 pi t: mu / 2 - 1
// (a 2-cycle of multiplier e^(2 pi i t)).
Complex period2CirclePoint(Real t);

// An indifferent cycle for "1-cycle ..." (cycle 1) or "2-cycle ..." (cycle 2):
// t is reduced to its fractional part in [0, 1); the title of the Julia
// child is "i1c_" or "i2c_", then roundHalfDown(10000 t), then ".jul".
struct IndifferentCycle {
    Complex c;
    std::string title;
};
IndifferentCycle indifferentCycle(int cycle, Real t);

// A random source: returns an integer in [0, count).
using RandomIndex = std::function<uint32_t(uint32_t count)>;
// The parameter of a fresh Julia window: the cardioid point at the midpoint
// of one of 10^6 equal cells of the angle, the cell drawn from `random`.
Complex randomCardioidParameter(const RandomIndex& random);

} // namespace qx
