#include "model/pixel_sweep.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

using namespace qx;

namespace {

// Colour from the pixel's own column and row, so every write can be traced.
class TraceKernel : public PixelKernel {
public:
    struct Shared {
        std::mutex m;
        std::vector<Real> xs, ys;
        std::set<int> rows;
        std::atomic<int> clones{0};
    };
    explicit TraceKernel(std::shared_ptr<Shared> s) : s_(std::move(s)) {}
    std::unique_ptr<PixelKernel> clone() const override
    {
        ++s_->clones;
        return std::make_unique<TraceKernel>(s_);
    }
    PixelValue colourAt(Real x, Real y, int col, int row) override
    {
        std::lock_guard<std::mutex> lock(s_->m);
        s_->xs.push_back(x);
        s_->ys.push_back(y);
        s_->rows.insert(row);
        return {static_cast<Rgb>(row * 256 + col + 1), row * 1000 + col};
    }

private:
    std::shared_ptr<Shared> s_;
};

// An escape-time picture in extended precision: costly and varied per row.
class EscapeKernel : public PixelKernel {
public:
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<EscapeKernel>(*this); }
    PixelValue colourAt(Real x, Real y, int, int) override
    {
        Real zr = 0, zi = 0;
        int n = 0;
        while (n < 200 && zr * zr + zi * zi <= 4) {
            const Real t = zr * zr - zi * zi + x;
            zi = 2 * zr * zi + y;
            zr = t;
            ++n;
        }
        return {makeRgb(n * 7, n * 13, static_cast<int>(zr * 40)), n};
    }
};

// Raises the sweep's interrupt while colouring the first pixel of `row`.
class InterruptingKernel : public PixelKernel {
public:
    InterruptingKernel(PixelSweep* sweep, int row) : sweep_(sweep), row_(row) {}
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<InterruptingKernel>(*this); }
    PixelValue colourAt(Real, Real, int col, int row) override
    {
        if (row == row_ && col == 0)
            sweep_->interrupt();
        return {0x00FF00, 1};
    }

private:
    PixelSweep* sweep_;
    int row_;
};

class NullCloneKernel : public PixelKernel {
public:
    std::unique_ptr<PixelKernel> clone() const override { return nullptr; }
    PixelValue colourAt(Real, Real, int, int) override { return {}; }
};

SweepGeometry geometry(int w, int h, Real x0, Real y0, Real pitch)
{
    return {w, h, x0, y0, pitch, pitch};
}

SweepOptions singleThread(int symmetry = 0)
{
    SweepOptions o;
    o.symmetry = symmetry;
    o.threads = 1;
    return o;
}

} // namespace

TEST(SweepGeometry, ThreePixelWideViewSweepsBothEdgesAndTheCentre)
{
    // Half-width w = 1.5 on 3 columns: pitch = 2w / 2 = w.
    auto shared = std::make_shared<TraceKernel::Shared>();
    Image im(3, 1);
    const Real w = 1.5L, x0 = -0.25L - w;
    ASSERT_EQ(runSweep(im, nullptr, geometry(3, 1, x0, 2, w), singleThread(), TraceKernel(shared)), 0);
    ASSERT_EQ(shared->xs.size(), 3u);
    EXPECT_EQ(shared->xs[0], x0);
    EXPECT_EQ(shared->xs[1], x0 + w);
    EXPECT_EQ(shared->xs[2], x0 + 2 * w);
    EXPECT_EQ(shared->ys[2], 2);
}

TEST(SweepSymmetry, MirrorWithFiveRowsComputesThreeRows)
{
    auto shared = std::make_shared<TraceKernel::Shared>();
    Image im(4, 5, 0xABCDEF);
    std::vector<int32_t> codes;
    ASSERT_EQ(runSweep(im, &codes, geometry(4, 5, 0, 0, 1), singleThread(SymmetryMirror), TraceKernel(shared)), 0);
    EXPECT_EQ(shared->rows, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(shared->xs.size(), 12u);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(im.at(c, 4), im.at(c, 0));
        EXPECT_EQ(im.at(c, 3), im.at(c, 1));
        EXPECT_EQ(im.at(c, 2), static_cast<Rgb>(2 * 256 + c + 1));
        EXPECT_EQ(codes[static_cast<size_t>(4 * 4 + c)], c); // mirrored row codes too
    }
    EXPECT_EQ(im.at(3, 4), 4u);
}

TEST(SweepSymmetry, PointSymmetryMirrorsColumnsToo)
{
    auto shared = std::make_shared<TraceKernel::Shared>();
    Image im(4, 3, 0xABCDEF);
    ASSERT_EQ(runSweep(im, nullptr, geometry(4, 3, 0, 0, 1), singleThread(SymmetryPoint), TraceKernel(shared)), 0);
    EXPECT_EQ(shared->rows, (std::set<int>{0, 1}));
    // Row 2 is row 0 turned round.
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(im.at(3 - c, 2), static_cast<Rgb>(c + 1));
    // The centre row: each computed pixel also lands on its mirror, so the
    // right half keeps its own colours and the left half shows the right's.
    EXPECT_EQ(im.at(3, 1), static_cast<Rgb>(256 + 3 + 1));
    EXPECT_EQ(im.at(2, 1), static_cast<Rgb>(256 + 2 + 1));
    EXPECT_EQ(im.at(1, 1), static_cast<Rgb>(256 + 2 + 1));
    EXPECT_EQ(im.at(0, 1), static_cast<Rgb>(256 + 3 + 1));
    EXPECT_EQ(sweptRows(5, 1), 3);
    EXPECT_EQ(sweptRows(6, 2), 3);
    EXPECT_EQ(sweptRows(6, 0), 6);
}

TEST(SweepAntiAliasing, FiveSamplesWeightedFourToOne)
{
    // Pixel centres are whole numbers; samples at +-0.42 are not.
    class GridKernel : public PixelKernel {
    public:
        std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<GridKernel>(); }
        PixelValue colourAt(Real x, Real y, int, int) override
        {
            const bool centre = x == std::floor(x) && y == std::floor(y);
            return centre ? PixelValue{makeRgb(200, 10, 0), 7} : PixelValue{makeRgb(8, 250, 1), 9};
        }
    };
    Image im(2, 2);
    std::vector<int32_t> codes;
    SweepOptions o = singleThread();
    o.antiAlias = true;
    o.sampleOffset = 0.42L;
    ASSERT_EQ(runSweep(im, &codes, geometry(2, 2, 0, 1, 1), o, GridKernel()), 0);
    EXPECT_EQ(im.at(1, 1), makeRgb((800 + 32) / 8, (40 + 1000) / 8, 4 / 8));
    EXPECT_EQ(codes[3], 7); // the code is the centre sample's
    EXPECT_EQ(antiAliasAverage(makeRgb(255, 0, 7), 0, 0, 0, makeRgb(7, 0, 0)), makeRgb(128, 0, 3));
}

TEST(SweepThreads, FourThreadsEqualOneThreadPixelForPixel)
{
    const SweepGeometry g = geometry(97, 61, -2.2L, 1.2L, 3.2L / 96);
    for (int symmetry : {0, 1, 2}) {
        for (bool aa : {false, true}) {
            SweepOptions o;
            o.symmetry = symmetry;
            o.antiAlias = aa;
            o.sampleOffset = 0.42L * g.pitchX;
            o.threads = 1;
            Image one(97, 61), four(97, 61);
            std::vector<int32_t> codesOne, codesFour;
            ASSERT_EQ(runSweep(one, &codesOne, g, o, EscapeKernel()), 0);
            o.threads = 4;
            ASSERT_EQ(runSweep(four, &codesFour, g, o, EscapeKernel()), 0);
            EXPECT_TRUE(one == four) << "symmetry " << symmetry << " aa " << aa;
            EXPECT_EQ(codesOne, codesFour);
        }
    }
}

TEST(SweepThreads, EachWorkerGetsItsOwnClone)
{
    auto shared = std::make_shared<TraceKernel::Shared>();
    Image im(8, 10);
    SweepOptions o;
    o.threads = 3;
    PixelSweep sweep;
    ASSERT_EQ(sweep.start(im, nullptr, geometry(8, 10, 0, 0, 1), o, TraceKernel(shared)), 0);
    EXPECT_EQ(sweep.threadCount(), 3);
    EXPECT_EQ(sweep.wait(), 0);
    EXPECT_EQ(shared->clones.load(), 3);
    EXPECT_EQ(sweep.rowsDone(), 10);
    // Never more workers than rows.
    auto few = std::make_shared<TraceKernel::Shared>();
    Image small(8, 3);
    o.threads = 16;
    o.symmetry = SymmetryMirror;
    PixelSweep s2;
    ASSERT_EQ(s2.start(small, nullptr, geometry(8, 3, 0, 0, 1), o, TraceKernel(few)), 0);
    EXPECT_EQ(s2.threadCount(), 2);
    EXPECT_EQ(s2.wait(), 0);
}

TEST(SweepInterruption, StopsAfterTheCurrentRowAndKeepsTheRest)
{
    Image im(5, 10, 0xABCDEF);
    PixelSweep sweep;
    InterruptingKernel k(&sweep, 3);
    ASSERT_EQ(sweep.start(im, nullptr, geometry(5, 10, 0, 0, 1), singleThread(), k), 0);
    EXPECT_EQ(sweep.wait(), kSweepInterrupted);
    EXPECT_EQ(sweep.rowsDone(), 4); // rows 0..3: the row in progress is finished
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(im.at(4, r), r <= 3 ? 0x00FF00u : 0xABCDEFu) << r;
    std::vector<int> rows;
    sweep.takeFinishedRows(rows);
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3}));
    // A new sweep starts from the top again and completes.
    InterruptingKernel never(&sweep, -1);
    ASSERT_EQ(sweep.start(im, nullptr, geometry(5, 10, 0, 0, 1), singleThread(), never), 0);
    EXPECT_EQ(sweep.wait(), 0);
    EXPECT_EQ(im.at(4, 9), 0x00FF00u);
}

TEST(SweepInterruption, InterruptAfterTheLastRowIsNoInterruption)
{
    Image im(5, 4, 0);
    PixelSweep sweep;
    InterruptingKernel k(&sweep, 3);
    ASSERT_EQ(sweep.start(im, nullptr, geometry(5, 4, 0, 0, 1), singleThread(), k), 0);
    EXPECT_EQ(sweep.wait(), 0);
}

TEST(SweepProgress, FinishedRowsAreReportedOnceWithTheirMirrors)
{
    auto shared = std::make_shared<TraceKernel::Shared>();
    Image im(3, 5);
    PixelSweep sweep;
    SweepOptions o = singleThread(SymmetryMirror);
    ASSERT_EQ(sweep.start(im, nullptr, geometry(3, 5, 0, 0, 1), o, TraceKernel(shared)), 0);
    EXPECT_EQ(sweep.rows(), 3);
    ASSERT_EQ(sweep.wait(), 0);
    std::vector<int> rows;
    sweep.takeFinishedRows(rows);
    EXPECT_EQ(rows, (std::vector<int>{0, 4, 1, 3, 2}));
    sweep.takeFinishedRows(rows);
    EXPECT_TRUE(rows.empty());
}

TEST(SweepErrors, BadStartsChangeNothing)
{
    auto shared = std::make_shared<TraceKernel::Shared>();
    Image im(4, 4, 5);
    PixelSweep sweep;
    EXPECT_EQ(sweep.wait(), -1);
    EXPECT_EQ(sweep.start(im, nullptr, geometry(4, 5, 0, 0, 1), singleThread(), TraceKernel(shared)), 6);
    EXPECT_EQ(sweep.start(im, nullptr, geometry(0, 0, 0, 0, 1), singleThread(), TraceKernel(shared)), 6);
    SweepOptions bad = singleThread(3);
    EXPECT_EQ(sweep.start(im, nullptr, geometry(4, 4, 0, 0, 1), bad, TraceKernel(shared)), 6);
    EXPECT_EQ(sweep.start(im, nullptr, geometry(4, 4, 0, 0, 1), singleThread(), NullCloneKernel()), 3);
    EXPECT_FALSE(sweep.running());
    EXPECT_EQ(im.at(0, 0), 5u);
    EXPECT_TRUE(shared->xs.empty());
}

namespace {

// Colour 1 inside a disc, 2 outside, and 3 at marked single pixels; counts
// the pixels it is asked for.
class DiscKernel : public PixelKernel {
public:
    DiscKernel(Real cx, Real cy, Real radius, std::vector<std::pair<int, int>> dots = {})
        : cx_(cx), cy_(cy), r_(radius), dots_(std::move(dots)), calls_(std::make_shared<std::atomic<int>>(0))
    {
    }
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<DiscKernel>(*this); }
    PixelValue colourAt(Real x, Real y, int col, int row) override
    {
        ++*calls_;
        for (const auto& [c, r] : dots_)
            if (c == col && r == row)
                return {0x0000FF, 3};
        const bool in = (x - cx_) * (x - cx_) + (y - cy_) * (y - cy_) < r_ * r_;
        return in ? PixelValue{0xFFFFFF, 1} : PixelValue{0x00FF00, 2};
    }
    int calls() const { return *calls_; }

private:
    Real cx_, cy_, r_;
    std::vector<std::pair<int, int>> dots_;
    std::shared_ptr<std::atomic<int>> calls_;
};

// Stops (kPixelInterrupted) every pixel from `row` on.
class StopFromRowKernel : public PixelKernel {
public:
    explicit StopFromRowKernel(int row) : row_(row) {}
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<StopFromRowKernel>(*this); }
    PixelValue colourAt(Real, Real, int, int row) override
    {
        return row >= row_ ? PixelValue{0, kPixelInterrupted} : PixelValue{0x00FF00, 1};
    }

private:
    int row_;
};

Image sweptPicture(const PixelKernel& k, int w, int h, bool guess, int threads, int symmetry = 0,
                   std::vector<int32_t>* codes = nullptr)
{
    Image im(w, h, 0x123456);
    SweepOptions o = singleThread(symmetry);
    o.guess = guess;
    o.threads = threads;
    EXPECT_EQ(runSweep(im, codes, geometry(w, h, 0, 0, 1), o, k), 0);
    return im;
}

} // namespace

// Shapes larger than the starting rectangles come out exactly while most
// of their inside is filled, not computed; odd sizes, one-pixel pictures,
// symmetry and several threads included.
TEST(SweepGuessing, LargeShapesAreExactFromFewComputedPixels)
{
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{201, 149}, {1, 1}, {1, 40}, {70, 1}, {2, 2}, {33, 65}}) {
        for (int symmetry : {0, 1}) {
            const DiscKernel plain(w * 0.4L, -h * 0.5L, 0.3L * std::max(w, h));
            std::vector<int32_t> plainCodes, guessCodes;
            const Image exact = sweptPicture(plain, w, h, false, 1, symmetry, &plainCodes);
            const DiscKernel guessing(w * 0.4L, -h * 0.5L, 0.3L * std::max(w, h));
            const Image guessed = sweptPicture(guessing, w, h, true, 3, symmetry, &guessCodes);
            EXPECT_EQ(guessed.pixels, exact.pixels) << w << "x" << h << " symmetry " << symmetry;
            EXPECT_EQ(guessCodes, plainCodes) << w << "x" << h;
            if (w * h > 10000) {
                EXPECT_LT(guessing.calls(), w * sweptRows(h, symmetry) * 35 / 100) << w << "x" << h;
            }
        }
    }
}

// Guessing is inexact: a dot wholly inside a rectangle whose border agrees
// is lost, while a line that crosses borders is found. The plain sweep
// keeps both. The guessed picture is the same for any number of threads.
TEST(SweepGuessing, LosesOnlyDetailsHiddenInsideUniformRectangles)
{
    std::vector<std::pair<int, int>> marks{{10, 10}};
    for (int r = 0; r < 100; ++r)
        marks.emplace_back(150, r);
    const DiscKernel k(-1000, 1000, 1, marks);
    const Image exact = sweptPicture(k, 200, 100, false, 1);
    const Image guessed = sweptPicture(k, 200, 100, true, 1);
    EXPECT_EQ(exact.at(10, 10), 0x0000FFu);
    EXPECT_EQ(guessed.at(10, 10), 0x00FF00u);
    for (int r = 0; r < 100; ++r)
        EXPECT_EQ(guessed.at(150, r), 0x0000FFu) << r;
    EXPECT_EQ(sweptPicture(EscapeKernel(), 97, 61, true, 4).pixels, sweptPicture(EscapeKernel(), 97, 61, true, 1).pixels);
}

// A band stopped part way is not written and not reported; the bands
// before it are final.
TEST(SweepGuessing, AStoppedBandLeavesThePictureAsItWas)
{
    const int h = 2 * kGuessBand + 10;
    Image im(50, h, 0xABCDEF);
    SweepOptions o = singleThread();
    o.guess = true;
    PixelSweep sweep;
    ASSERT_EQ(sweep.start(im, nullptr, geometry(50, h, 0, 0, 1), o, StopFromRowKernel(kGuessBand + 5)), 0);
    EXPECT_EQ(sweep.wait(), 0); // the kernel stops pixels; the sweep's own flag is never raised
    EXPECT_EQ(sweep.rowsDone(), kGuessBand);
    std::vector<int> rows;
    sweep.takeFinishedRows(rows);
    EXPECT_EQ(rows.size(), static_cast<size_t>(kGuessBand));
    for (int r = 0; r < h; ++r)
        EXPECT_EQ(im.at(7, r), r < kGuessBand ? 0x00FF00u : 0xABCDEFu) << r;
}
