#pragma once
// Numeric ground types shared by every layer.
#include <cstdint>

namespace qx {

// The 80-bit extended real of x86-64 GCC. Every coordinate, parameter and value is one.
using Real = long double;

// A complex value: real part then imaginary part. The program's own checked
// arithmetic lives in expr/; this is only the storage type.
struct Complex {
    Real re = 0;
    Real im = 0;
    friend bool operator==(const Complex&, const Complex&) = default;
};

// Nearest integer with exact halves going toward zero; magnitudes above
// 2147483647 (and NaN) clamp to +-2147483647 (NaN counts as positive).
int32_t roundHalfDown(Real v);

} // namespace qx
