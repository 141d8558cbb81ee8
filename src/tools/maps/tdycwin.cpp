#include "tools/maps/tdycwin.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "expr/format.h"
#include "tools/maps/maps_help.h"

#include <array>
#include <cmath>
#include <random>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kCmdMethodFirst = 625; // 625..628
constexpr int kCmdFindRoots = 633;
constexpr int kCmdSolve = 636;
constexpr int kCmdSphere = 605;

constexpr std::array<int, TDycWin::kExamples> kExampleCommands{678, 673, 679, 681, 637, 638, 571, 640, 695, 696};
constexpr std::array<const char*, TDycWin::kExamples> kExampleTexts{
    "&0 Herman ring", "&1 Rabbits", "&2 Two cycles", "&3 Two fixed points", "&4 Two attracting fixed points",
    "&5 Attracting 2-cycle and 1-cycle", "&6 Carpet", "&7 Alien invasion", "&8 Icosahedral", "&9 Four fixed points"};
constexpr std::array<const char*, kRootMethods> kMethodTexts{"&1 Newton", "&2 Halley", "&3 Schr\xC3\xB6" "der",
                                                            "&4 Householder 3rd"};
constexpr std::array<const char*, kRootMethods> kMethodCaptions{"Newton's method", "Halley's method",
                                                               "Schr\xC3\xB6" "der's method", "Householder's method"};
constexpr const char* kExamplesMenu = "E&xamples";

// Root colours of the n-th roots generator.
constexpr std::array<std::array<int, 3>, 7> kRootColours{{
    {255, 0, 0}, {0, 255, 0}, {0, 80, 255}, {255, 127, 0}, {255, 83, 83}, {127, 162, 255}, {83, 255, 162}}};

uint32_t systemRandom(uint32_t count)
{
    std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<uint32_t>(0, count - 1)(engine);
}

} // namespace

TDycWin::TDycWin(const RandomIndex& random) : TFracWin(true, true)
{
    defaultHalfWidth_ = 2;
    startUpChoice(random ? random : RandomIndex(systemRandom));
}

TDycWin::TDycWin(Empty) : TFracWin(true, true)
{
    defaultHalfWidth_ = 2;
}

int TDycWin::exampleCommand(int k)
{
    return k >= 0 && k < kExamples ? kExampleCommands[static_cast<size_t>(k)] : -1;
}

const char* TDycWin::exampleText(int k) const
{
    return k >= 0 && k < kExamples ? kExampleTexts[static_cast<size_t>(k)] : "";
}

int TDycWin::exampleOfCommand(int id)
{
    for (int k = 0; k < kExamples; ++k)
        if (kExampleCommands[static_cast<size_t>(k)] == id)
            return k;
    return -1;
}

void TDycWin::startUpChoice(const RandomIndex& random)
{
    method_ = static_cast<RootMethod>(random(4) % 4);
    switch (random(6) % 6) {
    case 0: applyExample(1); break;
    case 1: applyExample(2); break;
    case 2: applyExample(4); break;
    case 3: applyExample(5); break;
    case 4: applyExample(9); break;
    default: nthRoots(3, "8"); break;
    }
}

void TDycWin::beginExample(const std::string& mapping, Real centreX, Real halfWidth, int expected)
{
    mapping_.clear(); // a preset always compiles its text
    setMapping(mapping);
    setView(centreX, 0, halfWidth);
    defaultHalfWidth_ = halfWidth;
    expectedTargets_ = expected;
}

bool TDycWin::applyExample(int k)
{
    const auto two = [this](int i, int r, int g, int b) { twoAnchorColour(i, r, g, b, 16); };
    switch (k) {
    case 0: {
        const Real t = 2 * kPi * 0.6151732L;
        setVariable(kSlotC, {std::cos(t), std::sin(t)});
        beginExample("czz(z-4)/(1-4z)", 1.875L, 6, 3);
        setTargets({infinityTarget("100", 0), pointTarget("0", "0.01")});
        two(0, 255, 128, 0);
        two(1, 0, 255, 255);
        break;
    }
    case 1:
        beginExample("zzz-0.48z+0.706260+0.502896i", -0.12L, 1.6L, 3);
        setTargets({infinityTarget("100", 3)});
        builtInColourScheme(0, 0);
        break;
    case 2:
        setVariable(kSlotC, {0.5L, std::sqrt(0.75L)});
        beginExample("(c+zz)/(1-zz)", 0, 2.75L, 2);
        setTargets({pointTarget("-1", "0.01"), pointTarget("0", "0.01")});
        two(0, 255, 0, 0);
        two(1, 0, 255, 0);
        break;
    case 3:
        beginExample("zzzz+zzz+z", -0.48L, 1.5L, 4);
        setTargets({pointTarget("-1", "0.01"), infinityTarget("100", 4)});
        two(0, 255, 128, 0);
        two(1, 0, 255, 255);
        break;
    case 4:
    case 5: {
        if (k == 4) {
            beginExample("1.5z-0.5zzz", 0, 3, 3);
            setTargets({pointTarget("1", "0.01", PatternBlend), pointTarget("-1", "0.01", PatternBlend),
                        infinityTarget("100", 3)});
        } else {
            setVariable(11, {0.134824322143184L, 0}); // k
            beginExample("(z-1)(z-1)(1-kz)", 3.05L, 5.6L, 3);
            setTargets({pointTarget("1", "0.01", PatternBlend), pointTarget("(k+2)/(3k)", "0.01", PatternBlend),
                        infinityTarget("100", 3)});
        }
        two(0, 255, 128, 0);
        two(1, 0, 255, 255);
        two(2, 0, 255, 127);
        break;
    }
    case 6:
        setVariable(10, {0, 0.552460364L});            // j
        setVariable(11, {-0.303108805L, -1});          // k
        setVariable(13, {1, 0.303108805L});            // m
        setVariable(14, {-0.552460364L, 0});           // n
        beginExample("(kzz+nz+k)/(mzz+jz+m)", 0, 3, 2);
        setTargets({pointTarget("1", "0.1"), pointTarget("-1", "0.1")});
        two(0, 255, 128, 0);
        two(1, 0, 255, 255);
        break;
    case 7: {
        setVariable(11, {-0.1L, 0.3L});   // k
        setVariable(13, {-0.05L, -0.24L}); // m
        beginExample("(zz+k)*(zz+k)+m", 0, 1.2L, 4);
        setTargets({lineTarget("x+2", "0.8", PatternBlend), lineTarget("x-2", "0.8", PatternBlend),
                    lineTarget("y+2", "0.8", PatternBlend), lineTarget("y-2", "0.8", PatternBlend),
                    infinityTarget("256", 0)});
        setTargetAnchors(0, 14, {makeRgb(156, 0, 0), makeRgb(255, 0, 0)});
        setTargetAnchors(1, 14, {makeRgb(0, 128, 128), makeRgb(0, 255, 255)});
        setTargetAnchors(2, 14, {makeRgb(80, 128, 128), makeRgb(125, 200, 255)});
        setTargetAnchors(3, 14, {makeRgb(150, 50, 50), makeRgb(255, 128, 128)});
        setTargetAnchors(4, 19, {makeRgb(0, 0, 192), makeRgb(88, 128, 255)});
        maxReps_ = 800;
        break;
    }
    case 8: {
        beginExample("(660pow(6,z)-120z)/(11-726pow(5,z)-121pow(10,z))-(1/11)z", 0, 5.3L, 11);
        std::vector<TargetRecord> points;
        for (const char* r : {"1.20905692653531", "2.95629520146761"})
            for (const char* turn : {"", "*cis(0.4pi)", "*cis(0.8pi)", "*cis(1.2pi)", "*cis(1.6pi)"})
                points.push_back(pointTarget(std::string(r) + turn, "0.1"));
        setTargets(std::move(points));
        constexpr std::array<std::array<int, 3>, 10> colours{{{0, 128, 128}, {0, 192, 192}, {192, 128, 128},
                                                               {240, 192, 192}, {128, 208, 255}, {96, 160, 192},
                                                               {208, 48, 48}, {128, 0, 0}, {255, 128, 0}, {180, 0, 0}}};
        for (int i = 0; i < 10; ++i) {
            const auto& c = colours[static_cast<size_t>(i)];
            const Rgb rgb = makeRgb(c[0], c[1], c[2]);
            setTargetAnchors(i, 2, {rgb, rgb});
        }
        break;
    }
    case 9: {
        setVariable(kSlotA, {5, 0});
        beginExample("zzz(z-a)/(1-az)", 1.6666666666666667L, 4.5L, 4);
        TargetRecord infinity = infinityTarget("100", 4);
        infinity.code = 103;
        setTargets({infinity, pointTarget("0", "0.01")});
        builtInColourScheme(0, 0);
        builtInColourScheme(1, 7, true);
        break;
    }
    default: return false;
    }
    exampleApplied();
    return true;
}

int TDycWin::nthRoots(int n, const std::string& wText)
{
    if (n < 2 || n > 7)
        return ErrOutOfBounds;
    Complex w;
    if (const int e = evaluateConstant(wText, w))
        return e;
    if (std::fabs(w.re) + std::fabs(w.im) < 0.0001L)
        return 106; // too small
    const Real s = w.re * w.re + w.im * w.im;
    const Real r = s >= 1e-31L ? std::sqrt(s) : 0;
    const Real rho = std::exp(std::log(r) / n);
    const Real theta = std::atan2(w.im, w.re) / n;
    Complex z{rho * std::cos(theta), rho * std::sin(theta)};
    const Complex turn{std::cos(2 * kPi / n), std::sin(2 * kPi / n)};
    std::vector<TargetRecord> roots;
    for (int i = 0; i < n; ++i) {
        roots.push_back(pointTarget(FormatComplexText(z, 8), "0.01"));
        z = {z.re * turn.re - z.im * turn.im, z.re * turn.im + z.im * turn.re};
    }
    mapping_.clear();
    if (const int e = setMapping(nthRootsMapText(n, wText, method_)))
        return e;
    setTargets(std::move(roots));
    expectedTargets_ = n;
    setView(0, 0, rho * 1.44L);
    for (int i = 0; i < n; ++i) {
        const auto& c = kRootColours[static_cast<size_t>(i)];
        twoAnchorColour(i, c[0], c[1], c[2], 16);
    }
    exampleApplied();
    return 0;
}

ToolFiles TDycWin::toolFiles() const
{
    return {kDycKind, ".dyc", "Complex dynamic plane files (*.DYC)|*.dyc", "dyc"};
}

std::unique_ptr<TVorlWin> TDycWin::makeZoomChild() const
{
    return std::make_unique<TDycWin>(Empty{});
}

void TDycWin::solveCommand()
{
    std::string p = methodText(method_);
    if (!host().inputText(kMethodCaptions[static_cast<size_t>(method_)], p))
        return;
    if (const int e = solve(method_, p))
        host().showError(e);
}

void TDycWin::rootFindCommand()
{
    if (host().showModelessDialog("ROOTFIND"))
        return;
    std::string n = "3", w = "3 + 4i";
    if (!host().inputTwo("n (2 .. 7)", n, "w =", w))
        return;
    int32_t k = 0;
    if (!parseIntText(n, k)) {
        host().showError(ErrCannotUnderstand);
        return;
    }
    if (const int e = nthRoots(k, w))
        host().showError(e);
}

void TDycWin::declareCommands(CommandSet& set)
{
    TFracWin::declareCommands(set);
    for (int m = 0; m < kRootMethods; ++m)
        set.add({kCmdMethodFirst + m, kMethodTexts[static_cast<size_t>(m)], "", K::Radio, kMenuEdit, kExamplesMenu},
                [this, m] { method_ = static_cast<RootMethod>(m); },
                [this, m] { return static_cast<int>(method_) == m; });
    set.add({kCmdFindRoots, "Find &nth roots ...", "", K::Plain, kMenuEdit, kExamplesMenu, true},
            [this] { rootFindCommand(); });
    set.add({kCmdSolve, "&Solve p(z)=0 ...", "", K::Plain, kMenuEdit, kExamplesMenu}, [this] { solveCommand(); });
    for (int k = 0; k < kExamples; ++k)
        set.add({kExampleCommands[static_cast<size_t>(k)], kExampleTexts[static_cast<size_t>(k)], "", K::Plain,
                 kMenuEdit, kExamplesMenu, k == 0},
                [this, k] { applyExample(k); });
    set.add({kCmdSphere, "&Complex sphere", "", K::Plain, kMenuView, ""},
            [this] { host().showMessage("The sphere view is not available yet.", "complex sphere"); });
}

} // namespace qx
