#include "tools/mandel/mj_iim.h"

#include "tools/mandel/mj_escape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qx {

namespace {

Complex polar(Real modulus, Real angle)
{
    return {modulus * std::cos(angle), modulus * std::sin(angle)};
}

Complex rotation(int degree)
{
    return polar(1, 2 * std::numbers::pi_v<Real> / degree);
}

} // namespace

Complex principalRoot(Complex w, int degree)
{
    if (w.re == 0 && w.im == 0)
        return {0, 0};
    const Real modulus = std::pow(std::hypot(w.re, w.im), 1.0L / degree);
    return polar(modulus, std::atan2(w.im, w.re) / degree);
}

std::vector<Complex> preimages(Complex z, Complex c, int degree)
{
    const int d = std::max(degree, 1);
    const Complex omega = rotation(d);
    std::vector<Complex> out;
    out.reserve(static_cast<size_t>(d));
    Complex r = principalRoot({z.re - c.re, z.im - c.im}, d);
    for (int k = 0; k < d; ++k) {
        out.push_back(r);
        r = mul(r, omega);
    }
    return out;
}

Complex iimAnchor(Complex c, int degree)
{
    const Complex s = principalRoot({1 - 4 * c.re, -4 * c.im}, std::max(degree, 1));
    return {(1 + s.re) / 2, s.im / 2};
}

InverseIteration::InverseIteration(Complex c, int degree, uint32_t seed)
    : c_(c), degree_(std::max(degree, 1)), omega_(rotation(degree_)), z_(iimAnchor(c, degree_)), random_(seed)
{
}

Complex InverseIteration::step(const std::function<void(Complex)>& plot)
{
    const int k = static_cast<int>(random_() % static_cast<uint32_t>(degree_));
    Complex r = principalRoot({z_.re - c_.re, z_.im - c_.im}, degree_);
    Complex next = r;
    for (int j = 0; j < degree_; ++j) {
        plot(r);
        if (j == k)
            next = r;
        r = mul(r, omega_);
    }
    z_ = next;
    ++steps_;
    return z_;
}

int32_t iimCeilingAfterInterrupt(int32_t reached)
{
    return std::max<int32_t>(reached, 1000);
}

} // namespace qx
