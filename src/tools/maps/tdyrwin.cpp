#include "tools/maps/tdyrwin.h"

#include "base/messages.h"
#include "expr/differentiate.h"
#include "expr/evaluator.h"
#include "tools/maps/maps_help.h"

#include <array>
#include <cmath>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kCmdNewton = 636;
constexpr int kCmdExampleFirst = 684; // 684 Gingerbread man, 685 Henon, 686..691 Quadratic 1..6
constexpr const char* kExamplesMenu = "E&xamples";
constexpr const char* kCrLf = "\r\n";

constexpr std::array<const char*, TDyrWin::kExamples> kExampleTexts{
    "&Gingerbread man", "&H\xC3\xA9non",     "Quadratic &1", "Quadratic &2",
    "Quadratic &3",     "Quadratic &4", "Quadratic &5", "Quadratic &6"};

struct Quadratic {
    const char* f;
    const char* g;
    const char* region;
    const char* seeds;
    Real cx, cy, width;
    std::vector<std::string> fixedPoints;
};

const std::array<Quadratic, 6>& quadratics()
{
    static const std::array<Quadratic, 6> q{{
        {"0.9-1.1x+xx+0.1xy-1.1y-0.9yy", "-0.8-0.1x+1.2xx-0.5xy+0.8y-0.1yy", "xx+yy+3x+3y-2xy-18",
         "0.865415475952565,-0.185384084754575", 0.2L, -0.5L, 2.5L,
         {"0.808091159308 , -0.165437958381", "-2.421053481746 , -4.449374723271",
          "-0.746435801761 , 1.293343580658", "0.590144465849 , -1.165201460776"}},
        {"-0.6+1.1x+0.4xx+0.6xy+0.1y+0.6yy", "-0.2-0.8x-0.8xx-xy+0.7y+1.1yy", "xx+yy-100",
         "-0.889405891254071,-1.254609968702116", -2, 0, 4,
         {"1.413047078686 , -1.029087587979", "0.169179374089 , 0.822491272404",
          "-1.627078790418 , 0.531567954461", "-0.805474247272 , -0.577110931900"}},
        {"-1.2+0.7xx+0.1y+0.4yy", "0.4+1.1x+0.8xx+1.2xy-0.6y-1.2yy", "xx+yy-100",
         "-0.976923653554221,0.307785889623676", -0.3L, -0.2L, 2.8L,
         {"1.343156629458 , 1.668430942062", "-0.229326234218 , -1.658060990789",
          "1.579545066807 , -1.736925272892", "-0.776631849466 , 0.011090317543"}},
        {"-0.1+0.8x-0.7xx-1.1xy-1.1y-0.7yy", "-0.4+0.6x-0.6xx-0.3xy+1.2y+0.6yy", "xx+yy-289",
         "1.507543196016979,-1.010401034991056", 3, -2.5L, 4.5L,
         {"-0.183961517869953 , -1.176863662443462", "1.693376568259671 , -1.124154546489167"}},
        {"1.0+0.1x-xx+0.6xy-0.1y-0.7yy", "-0.1-0.6x-0.4xx-0.5xy-0.6y-0.1yy", "xx+yy-256",
         "0.017436960160608,-0.698837259140172", 0, 0, 3,
         {"-1.652038076396753 , -0.268313793548332", "0.578105898413196 , -0.312491277504725"}},
        {"-0.6-0.1x+1.1xx+0.2xy-0.8y+0.6yy", "-0.7+0.7x+0.7xx+0.3xy+0.6y+0.9yy", "xx+yy-144",
         "0.157205414638352,-0.700801806843576", 0, 0, 2.1L,
         {"-0.453662516695960 , 1.327035937007753", "0.138608574747900 , -0.634350768117972"}},
    }};
    return q;
}

// A tree minus a constant: the level set of value c.
TreePtr minus(const ExprNode* tree, Real c)
{
    return makeNode(code::Sub, CopyTree(tree), makeConst(c));
}

bool valueAt(ExprContext& cx, ExprNode& tree, Real x, Real y, Real& out)
{
    cx.env.vars[kSlotX] = {x, 0};
    cx.env.vars[kSlotY] = {y, 0};
    if (!EvaluateTree(cx.env, tree))
        return false;
    out = tree.value.re;
    return std::isfinite(out);
}

} // namespace


TDyrWin::TDyrWin() : TFracWin(false, true)
{
    applyExample(1);
}

TDyrWin::TDyrWin(Empty) : TFracWin(false, true) {}

const char* TDyrWin::exampleText(int k) const
{
    return k >= 0 && k < kExamples ? kExampleTexts[static_cast<size_t>(k)] : "";
}

int TDyrWin::exampleCommand(int k)
{
    return k >= 0 && k < kExamples ? kCmdExampleFirst + k : -1;
}

void TDyrWin::preset(const std::string& f, const std::string& g, const std::string& region, const std::string& seeds,
                     Real cx, Real cy, Real width, const std::vector<std::string>& fixedPoints,
                     const std::string& description)
{
    mapping_.clear();
    setMappings(f, g);
    setTargets({regionTarget(region)});
    builtInColourScheme(0, 0);
    maxReps_ = 30;
    setView(cx, cy, width);
    defaultHalfWidth_ = width;
    setSeedListText(seeds);
    orbitLength_ = 5000;
    setOverlayOrbits(true);
    notebook_ = (description.empty() ? "(x,y) --> (" + f + " , " + g + ")" : description) + kCrLf + kCrLf +
                "fixed points" + kCrLf + kCrLf;
    for (const std::string& p : fixedPoints)
        notebook_ += p + kCrLf;
    if (attached())
        host().showTextWindow("notebook", notebook_);
}

bool TDyrWin::applyExample(int k)
{
    if (k < 0 || k >= kExamples)
        return false;
    if (k >= 2 && !stopDrawingFirst()) // a quadratic preset first asks to stop the drawing
        return false;
    if (k == 0) {
        mapping_.clear();
        setMappings("1+abs(x)-y", "x");
        setTargets({});
        setView(2, 2, 7.5L);
        defaultHalfWidth_ = 7.5L;
        setSeedListText("1.6,0.4");
        orbitLength_ = 20000;
        setOverlayOrbits(true);
    } else if (k == 1) {
        preset("y+1-1.4xx", "0.3x", "xx-50-y", "1.003010614010689,0.114425882697053", 0, 0, 3,
               {"0.631354477089505 , 0.189406343126851", "-1.131354477089505 , -0.339406343126851"},
               "(x,y) --> (y+1-1.4xx , 0.3x)");
    } else {
        const Quadratic& q = quadratics()[static_cast<size_t>(k - 2)];
        preset(q.f, q.g, q.region, q.seeds, q.cx, q.cy, q.width, q.fixedPoints);
    }
    exampleApplied();
    return true;
}

// ---- The ancestor search.

bool TDyrWin::walk(ExprContext& cx, ExprNode& f1, ExprNode& g1, Complex start, int direction, Complex& found)
{
    if (!fx_ || !fy_)
        return false;
    (void)f1;
    const Real step = view_.dx / 2;
    Complex p = start;
    Real gPrev = 0;
    if (!valueAt(cx, g1, p.re, p.im, gPrev))
        return false;
    constexpr int kMaxSteps = 200000; // a closed level curve ends the walk too
    for (int i = 0; i < kMaxSteps; ++i) {
        Real gx = 0, gy = 0;
        if (!valueAt(cx, *fx_, p.re, p.im, gx) || !valueAt(cx, *fy_, p.re, p.im, gy))
            return false;
        const Real norm = std::sqrt(gx * gx + gy * gy);
        if (!(norm > 0))
            return false; // zero gradient: no direction
        const Complex next{p.re + direction * step * gy / norm, p.im - direction * step * gx / norm};
        if (!view_.inView(next.re, next.im))
            return false;
        Real gNext = 0;
        if (!valueAt(cx, g1, next.re, next.im, gNext))
            return false;
        if ((gPrev < 0) != (gNext < 0)) { // the crossing lies between p and next
            Complex a = p, b = next;
            Real ga = gPrev;
            for (int k = 0; k < 80; ++k) {
                const Complex m{(a.re + b.re) / 2, (a.im + b.im) / 2};
                Real gm = 0;
                if (!valueAt(cx, g1, m.re, m.im, gm))
                    break;
                if ((gm < 0) == (ga < 0)) {
                    a = m;
                    ga = gm;
                } else {
                    b = m;
                }
            }
            found = {(a.re + b.re) / 2, (a.im + b.im) / 2};
            return true;
        }
        p = next;
        gPrev = gNext;
    }
    return false;
}

namespace {

// Newton's method on f1 = 0, g1 = 0 from a point the walk found, which lies
// on the chord between two steps: a few steps make it an exact solution.
// False (and p unchanged) when it does not converge.
bool polish(ExprContext& cx, ExprNode& f1, ExprNode& g1, ExprNode& fx, ExprNode& fy, ExprNode& gx, ExprNode& gy,
            Complex& p)
{
    Complex q = p;
    for (int i = 0; i < 12; ++i) {
        Real a = 0, b = 0, c = 0, d = 0, u = 0, v = 0;
        if (!valueAt(cx, f1, q.re, q.im, u) || !valueAt(cx, g1, q.re, q.im, v) || !valueAt(cx, fx, q.re, q.im, a) ||
            !valueAt(cx, fy, q.re, q.im, b) || !valueAt(cx, gx, q.re, q.im, c) || !valueAt(cx, gy, q.re, q.im, d))
            return false;
        if (std::fabs(u) + std::fabs(v) < 1e-15L) {
            p = q;
            return true;
        }
        const Real det = a * d - b * c;
        if (!(std::fabs(det) > 0))
            return false;
        q = {q.re - (u * d - b * v) / det, q.im - (a * v - u * c) / det};
    }
    Real u = 0, v = 0;
    if (!valueAt(cx, f1, q.re, q.im, u) || !valueAt(cx, g1, q.re, q.im, v) || std::fabs(u) + std::fabs(v) > 1e-12L)
        return false;
    p = q;
    return true;
}

} // namespace

std::vector<Complex> TDyrWin::preimagesOf(Complex z)
{
    std::vector<Complex> found;
    if (!map_ || !map2_)
        return found;
    ExprContext cx = cx_;
    TreePtr f1 = minus(map_.get(), z.re), g1 = minus(map2_.get(), z.im);
    TreePtr gx = DifferentiateTree(cx, *map2_, code::VarFirst + kSlotX);
    TreePtr gy = DifferentiateTree(cx, *map2_, code::VarFirst + kSlotY);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const Real close = 0.0001L * (view_.dx + view_.dy);
    for (int trial = 0; trial < ancestorTrials_ && found.empty(); ++trial) {
        Complex a{view_.xMin + 2 * unit(ancestorRandom_) * view_.halfWidth,
                  view_.yMin + 2 * unit(ancestorRandom_) * view_.halfHeight};
        Complex b{view_.xMin + 2 * unit(ancestorRandom_) * view_.halfWidth,
                  view_.yMin + 2 * unit(ancestorRandom_) * view_.halfHeight};
        Real fa = 0, fb = 0;
        if (!valueAt(cx, *f1, a.re, a.im, fa) || !valueAt(cx, *f1, b.re, b.im, fb) || (fa < 0) == (fb < 0))
            continue;
        bool ok = true;
        while (ok && std::fabs(a.re - b.re) + std::fabs(a.im - b.im) >= close) {
            const Complex m{(a.re + b.re) / 2, (a.im + b.im) / 2};
            Real fm = 0;
            ok = valueAt(cx, *f1, m.re, m.im, fm);
            if ((fm < 0) == (fa < 0))
                a = m;
            else
                b = m;
        }
        if (!ok)
            continue;
        for (int direction : {1, -1}) {
            Complex ancestor;
            if (!walk(cx, *f1, *g1, a, direction, ancestor))
                continue;
            if (fx_ && fy_ && gx && gy)
                polish(cx, *f1, *g1, *fx_, *fy_, *gx, *gy, ancestor);
            found.push_back(ancestor);
        }
    }
    return found;
}

// ---- Window.

ToolFiles TDyrWin::toolFiles() const
{
    return {kDyrKind, ".dyr", "Real dynamic plane files (*.DYR)|*.dyr", "dyr"};
}

std::unique_ptr<TVorlWin> TDyrWin::makeZoomChild() const
{
    return std::make_unique<TDyrWin>(Empty{});
}

void TDyrWin::newtonCommand()
{
    std::string p = newtonP(), q = newtonQ();
    if (!host().inputTwo("0 =", p, "0 =", q))
        return;
    if (const int e = solveSystem(p, q))
        host().showError(e);
}

void TDyrWin::declareCommands(CommandSet& set)
{
    TFracWin::declareCommands(set);
    set.add({kCmdNewton, "&Newton's method ...", "", K::Plain, kMenuEdit, kExamplesMenu},
            [this] { newtonCommand(); });
    for (int k = 0; k < kExamples; ++k)
        set.add({kCmdExampleFirst + k, kExampleTexts[static_cast<size_t>(k)], "", K::Plain, kMenuEdit, kExamplesMenu,
                 k == 0},
                [this, k] { applyExample(k); });
}

} // namespace qx
