#include "tools/mandel/mj_examples.h"

#include <array>
#include <cmath>
#include <numbers>

namespace qx {

namespace {

constexpr std::array<JuliaExample, 6> kExamples{{
    {674, "Airplane", {-1.754877666246692725L, 0}, 100},
    {677, "Fat rabbit", {-0.125L, 0.6495190528383290030L}, 200},
    {672, "Feigenbaum-Myrberg", {-1.401155189092050390L, 0}, 500},
    {673, "Rabbit", {-0.1225611668766535961L, 0.7448617666197442366L}, 100},
    {676, "San Marco", {-0.75L, 0}, 100},
    {675, "Siegel disk", {-0.3905408702184L, -0.5867879073469687290L}, 100},
}};

Complex halfUnit(Real t)
{
    const Real theta = 2 * std::numbers::pi_v<Real> * t;
    return {std::cos(theta) / 2, std::sin(theta) / 2};
}

} // namespace

std::span<const JuliaExample> juliaExamples() { return kExamples; }

const JuliaExample* juliaExample(int command)
{
    for (const auto& e : kExamples)
        if (e.command == command)
            return &e;
    return nullptr;
}

Complex cardioidPoint(Real t)
{
    const Complex mu = halfUnit(t);
    const Complex mu2{mu.re * mu.re - mu.im * mu.im, mu.im * mu.re + mu.re * mu.im};
    return {mu.re - mu2.re, mu.im - mu2.im};
}

Complex period2CirclePoint(Real t)
{
    const Complex mu = halfUnit(t);
    return {mu.re / 2 - 1, mu.im / 2};
}

IndifferentCycle indifferentCycle(int cycle, Real t)
{
    t -= std::floor(t);
    const Complex c = cycle == 2 ? period2CirclePoint(t) : cardioidPoint(t);
    const std::string stem = cycle == 2 ? "i2c_" : "i1c_";
    return {c, stem + std::to_string(roundHalfDown(10000 * t)) + ".jul"};
}

Complex randomCardioidParameter(const RandomIndex& random)
{
    constexpr uint32_t kCells = 1000000;
    const uint32_t cell = random(kCells) % kCells;
    return cardioidPoint((Real(cell) + 0.5L) / kCells);
}

} // namespace qx
