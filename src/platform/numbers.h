#pragma once
// Number conversions the system distinguishes: truncation toward zero, round-half-even ("rounded"),
// and MulDiv (rounds half away from zero on the exact 64-bit product).
#include <cmath>
#include <cstdint>

namespace plennix {

// Nearest integer, halves to even (banker's rounding).
inline int32_t roundHalfEven(double v) {
    double r = std::nearbyint(v);  // default FE_TONEAREST rounds halves to even
    if (r > 2147483647.0) return INT32_MAX;
    if (r < -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(r);
}

inline int32_t truncToInt(double v) {
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// a * b / c with a 64-bit intermediate, rounded half away from zero; -1 when c is 0.
inline int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    int64_t p = static_cast<int64_t>(a) * b;
    bool neg = (p < 0) != (c < 0);
    uint64_t up = p < 0 ? static_cast<uint64_t>(-p) : static_cast<uint64_t>(p);
    uint64_t uc = c < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(c)) : static_cast<uint64_t>(c);
    uint64_t q = (up + uc / 2) / uc;
    int64_t r = neg ? -static_cast<int64_t>(q) : static_cast<int64_t>(q);
    if (r > INT32_MAX || r < INT32_MIN) return -1;
    return static_cast<int32_t>(r);
}

}  // namespace plennix
