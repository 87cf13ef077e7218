// The ring of balls: its sines and cosines against a 113-bit reference, and the spots they
// give for every ball count the game can have.
#include <gtest/gtest.h>
#include <quadmath.h>

#include <cmath>

#include "game/game_record.h"
#include "movers/balls.h"
#include "movers/ring_trig.h"
#include "tests/support/world.h"

namespace {

// The angles the ring can be asked for: ball i of n, in the short-constant radians.
double RingRadians(int32_t n, int32_t i) {
    return (360.0 / n) * i * 0.01745329;
}

// How far a 113-bit value lies from the nearest tie between two doubles, in ulps of the
// double (0.5 means it is a double).
double DistanceFromTie(__float128 v) {
    double d = static_cast<double>(v);
    if (d == 0) return 0.5;
    double ulp = std::nextafter(std::fabs(d), INFINITY) - std::fabs(d);
    double off = static_cast<double>(fabsq(v - static_cast<__float128>(d))) / ulp;
    return 0.5 - off;
}

} // namespace

// Every angle of every ball count, sine and cosine, is the double nearest the true value.
// Dozens of them lie within a hundredth of an ulp of a tie (13 balls, ball 12: 0.0007),
// where C runtimes part ways; the reference is far more precise than that margin.
TEST(RingTrig, EveryRingAngleIsCorrectlyRounded) {
    int32_t nearTies = 0;
    for (int32_t n = 1; n <= MaxBallsInPlay; ++n)
        for (int32_t i = 0; i < n; ++i) {
            double x = RingRadians(n, i);
            double s, c;
            RingSinCos(x, &s, &c);
            __float128 qs = sinq(x), qc = cosq(x);
            EXPECT_EQ(s, static_cast<double>(qs)) << n << " balls, ball " << i;
            EXPECT_EQ(c, static_cast<double>(qc)) << n << " balls, ball " << i;
            // The reference itself must not be in doubt: far from a tie at its precision.
            ASSERT_GT(DistanceFromTie(qs), 1e-20);
            ASSERT_GT(DistanceFromTie(qc), 1e-20);
            nearTies += DistanceFromTie(qs) < 0.01;
            nearTies += DistanceFromTie(qc) < 0.01;
        }
    EXPECT_GT(nearTies, 20); // the hard cases are really among those checked
}

TEST(RingTrig, WholeTurnsSignsAndTheRangeLimit) {
    double s, c;
    RingSinCos(0.0, &s, &c);
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(c, 1.0);
    // Each quadrant and negative angles, against the reference.
    for (double x : {-7.5, -3.9, -1.0, 1.6, 2.5, 3.14159265, 4.0, 4.8, 6.2, 7.9, 12345.678}) {
        RingSinCos(x, &s, &c);
        EXPECT_EQ(s, static_cast<double>(sinq(x))) << x;
        EXPECT_EQ(c, static_cast<double>(cosq(x))) << x;
    }
    RingSinCos(2.0e6, &s, &c);
    EXPECT_TRUE(std::isnan(s) && std::isnan(c));
    RingSinCos(NAN, &s, &c);
    EXPECT_TRUE(std::isnan(s) && std::isnan(c));
}

// The spot of each ball on a free ring: radius 60 round (200, 173), truncated towards the
// centre, for every ball count; the reference values are those of the 113-bit sine.
TEST(RingPlacement, EveryBallCountMatchesTheReference) {
    ResetWorld();
    MakeLevelGrid();
    for (int32_t n = 1; n <= MaxBallsInPlay; ++n) {
        Game.BallCount = n;
        PlaceBallsForLevel();
        for (int32_t i = 0; i < n; ++i) {
            double x = RingRadians(n, i);
            auto dx = static_cast<int32_t>(60 * static_cast<double>(sinq(x)));
            auto dy = static_cast<int32_t>(60 * static_cast<double>(cosq(x)));
            ASSERT_EQ(Game.Balls[i].X, 200 + dx) << n << " balls, ball " << i;
            ASSERT_EQ(Game.Balls[i].Y, 173 - dy) << n << " balls, ball " << i;
        }
    }
}

// Angles whose exact value would land on a whole cell (those of 2 and 4 balls are in the ball
// tests): the short constant leaves each a little short of its true angle, and truncation
// then gives the cell nearer the centre, or keeps the whole cell when the product is just over.
TEST(RingPlacement, NearlyWholeProductsTruncateTowardsTheCentre) {
    ResetWorld();
    MakeLevelGrid();
    struct Case {
        int32_t Count, Ball, X, Y;
    } cases[] = {
        {12, 1, 229, 122}, // sin 30: 29.99...
        {3, 1, 251, 202},  // cos 120: -29.99...
        {6, 5, 149, 144},  // cos 300: 29.99...
        {12, 7, 171, 224}, // sin 210: -29.99...
        {6, 1, 251, 143},  // cos 60: 30.00..., just over, stays 30
        {12, 5, 230, 224}, // sin 150: 30.00...
    };
    for (const Case& k : cases) {
        Game.BallCount = k.Count;
        PlaceBallsForLevel();
        EXPECT_EQ(Game.Balls[k.Ball].X, k.X) << k.Count << " balls, ball " << k.Ball;
        EXPECT_EQ(Game.Balls[k.Ball].Y, k.Y) << k.Count << " balls, ball " << k.Ball;
    }
}
