#include "movers/ring_trig.h"

#include <cstdint>
#include <limits>

// Double-double arithmetic: a value is the unevaluated sum Hi + Lo with |Lo| at most half an
// ulp of Hi, about 106 bits in all. Every step is an IEEE operation whose rounding is fixed
// by the standard, so the results do not depend on the compiler's or the runtime's maths.
// (The build turns off fused multiply-add contraction, which would change the error terms.)
namespace {

struct Wide {
    double Hi;
    double Lo;
};

Wide TwoSum(double a, double b) {
    double s = a + b;
    double bb = s - a;
    double err = (a - (s - bb)) + (b - bb);
    return {s, err};
}

Wide QuickTwoSum(double a, double b) {
    double s = a + b;
    return {s, b - (s - a)};
}

// Dekker's split of a double into two halves of 26 bits each, so that their products are
// exact.
void Split(double a, double* hi, double* lo) {
    double t = 134217729.0 * a; // 2^27 + 1
    *hi = t - (t - a);
    *lo = a - *hi;
}

Wide TwoProduct(double a, double b) {
    double p = a * b;
    double ah, al, bh, bl;
    Split(a, &ah, &al);
    Split(b, &bh, &bl);
    double err = ((ah * bh - p) + ah * bl + al * bh) + al * bl;
    return {p, err};
}

Wide Add(Wide a, Wide b) {
    Wide s = TwoSum(a.Hi, b.Hi);
    Wide t = TwoSum(a.Lo, b.Lo);
    s.Lo += t.Hi;
    s = QuickTwoSum(s.Hi, s.Lo);
    s.Lo += t.Lo;
    return QuickTwoSum(s.Hi, s.Lo);
}

Wide Negate(Wide a) {
    return {-a.Hi, -a.Lo};
}

Wide Multiply(Wide a, Wide b) {
    Wide p = TwoProduct(a.Hi, b.Hi);
    p.Lo += a.Hi * b.Lo + a.Lo * b.Hi;
    return QuickTwoSum(p.Hi, p.Lo);
}

Wide Divide(Wide a, double b) {
    double q1 = a.Hi / b;
    Wide p = TwoProduct(q1, b);
    Wide r = TwoSum(a.Hi, -p.Hi);
    r.Lo -= p.Lo;
    r.Lo += a.Lo;
    double q2 = (r.Hi + r.Lo) / b;
    return QuickTwoSum(q1, q2);
}

// pi/2 as the sum of three doubles, good to about 160 bits.
constexpr double HalfPi1 = 1.5707963267948966;
constexpr double HalfPi2 = 6.123233995736766e-17;
constexpr double HalfPi3 = -1.4973849048591698e-33;

// Taylor series of sin and cos for |r| <= pi/4 + a little: the terms fall below 2^-110 of
// the result long before the last one.
void SeriesSinCos(Wide r, Wide* s, Wide* c) {
    Wide r2 = Multiply(r, r);
    Wide sinSum = r, sinTerm = r;
    Wide cosSum = {1.0, 0.0}, cosTerm = {1.0, 0.0};
    for (int32_t k = 1; k <= 16; ++k) {
        // sinTerm: r^(2k+1) / (2k+1)!, cosTerm: r^(2k) / (2k)!, alternating in sign.
        cosTerm = Negate(Divide(Multiply(cosTerm, r2), (2.0 * k - 1.0) * (2.0 * k)));
        sinTerm = Negate(Divide(Multiply(sinTerm, r2), (2.0 * k) * (2.0 * k + 1.0)));
        cosSum = Add(cosSum, cosTerm);
        sinSum = Add(sinSum, sinTerm);
    }
    *s = sinSum;
    *c = cosSum;
}

} // namespace

void RingSinCos(double radians, double* s, double* c) {
    if (!(radians >= -1.0e6 && radians <= 1.0e6)) {
        *s = *c = std::numeric_limits<double>::quiet_NaN();
        return;
    }
    // The quarter turn nearest the angle, then the remainder against pi/2 in full width.
    double turns = radians / HalfPi1;
    auto q = static_cast<int64_t>(turns < 0 ? turns - 0.5 : turns + 0.5);
    double qd = static_cast<double>(q);
    Wide r = TwoSum(radians, 0.0);
    r = Add(r, Negate(TwoProduct(qd, HalfPi1)));
    r = Add(r, Negate(TwoProduct(qd, HalfPi2)));
    r = Add(r, Wide{-qd * HalfPi3, 0.0});

    Wide sr, cr;
    SeriesSinCos(r, &sr, &cr);
    // Hi is the double nearest Hi + Lo: the correctly rounded result.
    switch (((q % 4) + 4) % 4) {
    case 0:
        *s = sr.Hi;
        *c = cr.Hi;
        break;
    case 1:
        *s = cr.Hi;
        *c = -sr.Hi;
        break;
    case 2:
        *s = -sr.Hi;
        *c = -cr.Hi;
        break;
    default:
        *s = -cr.Hi;
        *c = sr.Hi;
        break;
    }
}
