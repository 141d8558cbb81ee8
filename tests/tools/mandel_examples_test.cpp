#include "tools/mandel/mj_examples.h"
#include "tools/mandel/mj_help.h"
#include "tools/mandel/mj_period.h"

#include <gtest/gtest.h>

#include <complex>
#include <string>

using namespace qx;

TEST(JuliaExamples, EachCommandSetsItsParameter)
{
    struct Expect {
        int command;
        const char* name;
        Real re, im;
        int32_t reps;
    };
    const Expect expected[] = {
        {674, "Airplane", -1.754877666246692725L, 0, 100},
        {677, "Fat rabbit", -0.125L, 0.6495190528383290030L, 200},
        {672, "Feigenbaum-Myrberg", -1.401155189092050390L, 0, 500},
        {673, "Rabbit", -0.1225611668766535961L, 0.7448617666197442366L, 100},
        {676, "San Marco", -0.75L, 0, 100},
        {675, "Siegel disk", -0.3905408702184L, -0.5867879073469687290L, 100},
    };
    ASSERT_EQ(juliaExamples().size(), 6u);
    for (const Expect& e : expected) {
        const JuliaExample* x = juliaExample(e.command);
        ASSERT_NE(x, nullptr) << e.command;
        EXPECT_STREQ(x->name, e.name);
        EXPECT_EQ(x->c.re, e.re) << e.name;
        EXPECT_EQ(x->c.im, e.im) << e.name;
        EXPECT_EQ(x->maxReps, e.reps) << e.name;
    }
    EXPECT_EQ(juliaExample(671), nullptr);
    EXPECT_EQ(juliaExample(678), nullptr);
}

TEST(JuliaExamples, FatRabbitSitsOnTheCardioidAtOneThird)
{
    const Complex c = cardioidPoint(1.0L / 3);
    EXPECT_NEAR(c.re, -0.125L, 1e-18L);
    EXPECT_NEAR(c.im, juliaExample(677)->c.im, 1e-18L);
}

TEST(IndifferentCycles, CardioidAndCirclePointsWithTitles)
{
    const IndifferentCycle one = indifferentCycle(1, 0.4L);
    EXPECT_EQ(one.title, "i1c_4000.jul");
    // The fixed point mu of z^2 + c has multiplier 2 mu = e^(2 pi i t).
    const std::complex<long double> c(one.c.re, one.c.im);
    const auto mu = (1.0L - std::sqrt(1.0L - 4.0L * c)) / 2.0L;
    EXPECT_NEAR(std::abs(2.0L * mu), 1, 1e-15L);
    EXPECT_NEAR(std::arg(2.0L * mu), 0.8L * 3.14159265358979323846L, 1e-15L);

    const IndifferentCycle two = indifferentCycle(2, 0.25L);
    EXPECT_EQ(two.title, "i2c_2500.jul");
    EXPECT_NEAR(two.c.re, -1, 1e-18L);
    EXPECT_NEAR(two.c.im, 0.25L, 1e-18L);
    // t is reduced to its fractional part.
    EXPECT_EQ(indifferentCycle(1, 1.4L).title, "i1c_4000.jul");
    EXPECT_EQ(indifferentCycle(1, -0.6L).title, "i1c_4000.jul");
    EXPECT_EQ(indifferentCycle(2, 0).title, "i2c_0.jul");
    EXPECT_EQ(indifferentCycle(1, 0).c, (Complex{0.25L, 0}));
    EXPECT_NEAR(indifferentCycle(1, 0.5L).c.re, -0.75L, 1e-18L);
}

TEST(RandomJuliaParameter, CellMidpointsOnTheCardioidBoundary)
{
    uint32_t asked = 0;
    auto fixed = [&](uint32_t value) {
        return RandomIndex([&asked, value](uint32_t count) {
            asked = count;
            return value;
        });
    };
    const Complex quarter = randomCardioidParameter(fixed(250000));
    EXPECT_EQ(asked, 1000000u);
    // Angle 2 pi (250000.5 / 10^6), just past pi/2: mu ~ i/2, c ~ 1/4 + i/2.
    EXPECT_NEAR(quarter.re, 0.25L, 1e-5L);
    EXPECT_NEAR(quarter.im, 0.5L, 1e-5L);
    EXPECT_LT(quarter.re, 0.25L);
    const Complex first = randomCardioidParameter(fixed(0));
    EXPECT_NEAR(first.re, 0.25L, 1e-9L);
    EXPECT_GT(first.im, 0);
    const Complex last = randomCardioidParameter(fixed(999999));
    EXPECT_NEAR(last.im, -first.im, 1e-15L);
    for (uint32_t cell : {0u, 123456u, 500000u, 999999u}) {
        const Complex c = randomCardioidParameter(fixed(cell));
        const std::complex<long double> z(c.re, c.im);
        EXPECT_NEAR(std::abs(1.0L - std::sqrt(1.0L - 4.0L * z)), 1, 1e-15L) << cell;
    }
}

TEST(PeriodReport, EscapesAndCycles)
{
    MJParams m = defaultParams(false);
    EXPECT_EQ(periodReport(m, {1, 0}, 1e-9L), "1.0000000 + 0.0000000i : infinity at rep = 3");
    EXPECT_EQ(periodReport(m, {0, 0}, 1e-9L), "0.0000000 + 0.0000000i : period = 1");
    EXPECT_EQ(periodReport(m, {-1, 0}, 1e-9L), "-1.0000000 + 0.0000000i : period = 2");
    EXPECT_EQ(periodReport(m, {-0.12L, 0.75L}, 1e-9L), "-0.1200000 + 0.7500000i : period = 3");
    EXPECT_EQ(periodReport(m, {-1.7549L, -0.001L}, 1e-9L),
              "-1.7549000 - 0.0010000i : period = 3");
    MJParams j = defaultParams(true);
    j.c = {-1, 0};
    EXPECT_EQ(periodReport(j, {0.3L, 0}, 1e-9L), "0.3000000 + 0.0000000i : period = 2");
    EXPECT_EQ(periodReport(j, {2, 0}, 1e-9L), "2.0000000 + 0.0000000i : infinity at rep = 1");
}

TEST(PeriodReport, ComplexNumbersAsShown)
{
    EXPECT_EQ(formatComplex({-1e-19L, -1e-12L}, 7), "0.0000000 + 0.0000000i");
    EXPECT_EQ(formatComplex({-0.25L, -1.5L}, 3), "-0.250 - 1.500i");
    EXPECT_EQ(formatComplex({2, 0.00000005L}, 7), "2.0000000 + 0.0000000i");
}

TEST(PeriodReport, NoCycleWithinTheMaximumIsLarge)
{
    // At the cusp c = 1/4 the orbit creeps towards 1/2 by about 1/n^2 a step.
    MJParams m = defaultParams(false);
    m.maxPeriod = 1000;
    EXPECT_EQ(periodReport(m, {0.25L, 0}, 1e-12L), "0.2500000 + 0.0000000i : period = large");
    EXPECT_EQ(orbitPeriod(m, {0.25L, 0}, {0.25L, 0}, 1e-12L), -1);
    MJParams j = defaultParams(true);
    j.maxPeriod = 0;
    EXPECT_EQ(orbitPeriod(j, {0, 0}, j.c, 1e-9L), -1);
    // A coarse tolerance finds the attracting fixed point at once.
    j.maxPeriod = 50;
    EXPECT_EQ(orbitPeriod(j, {0.5L, 0}, j.c, 1e-3L), 1);
}

