#include "tools/maps/tparwin.h"

#include "base/messages.h"
#include "model/special_colours.h"
#include "tools/maps/maps_help.h"
#include "tools/maps/tdycwin.h"
#include "tools/maps/tdyrwin.h"

#include "expr/evaluator.h"

#include <array>
#include <cmath>
#include <random>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kModeShowTarget = CmdMouseFirst;    // 120
constexpr int kModeJuliaChild = CmdMouseFirst + 1; // 121
constexpr int kCmdCritical = 547;
constexpr int kCmdReopenChild = 98;
constexpr int kCmdReopenZoom = 358;
constexpr const char* kExamplesMenu = "E&xamples";

constexpr std::array<int, TPpcWin::kExamples> kComplexCommands{632, 565, 634, 631, 635, 680, 683, 639};
constexpr std::array<const char*, TPpcWin::kExamples> kComplexTexts{
    "&0 Newton",          "&1 Double Mandelbrot", "&2 Cubic 1-cycle", "&3 Cubic 2-cycle",
    "&4 Quartic 1-cycles", "&5 Magnetism I",      "&6 Magnetism II",  "&7 Tricorn"};
constexpr std::array<int, TPprWin::kExamples> kRealCommands{682, 685};
constexpr std::array<const char*, TPprWin::kExamples> kRealTexts{"&Burning ship", "&H\xC3\xA9non"};

uint32_t systemRandom(uint32_t count)
{
    std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<uint32_t>(0, count - 1)(engine);
}

} // namespace

// ---- Both planes.

bool TParWin::applyExample(int k)
{
    if (k < 0 || k >= exampleCount())
        return false;
    if (!stopDrawingFirst()) // an example first asks to stop the drawing
        return false;
    example(k);
    exampleApplied();
    return true;
}

void TParWin::beginExample(const std::string& f, const std::string& g, const std::string& critical,
                           const std::string& criticalY, int expected, Real cx, Real cy, Real width)
{
    mapping_.clear();
    if (complexTool())
        setMapping(f);
    else
        setMappings(f, g);
    setCriticalPoint(critical, criticalY);
    expectedTargets_ = expected;
    setView(cx, cy, width);
    defaultHalfWidth_ = width;
}

std::vector<CommandSpec> TParWin::mouseModes() const
{
    return {
        {kModeShowTarget, "&Show target", "", K::Radio, kMenuBtns, ""},
        {kModeJuliaChild, "&Julia child", "", K::Radio, kMenuBtns, ""},
    };
}

void TParWin::mouseDown(MouseButton button, PixelPoint p)
{
    if (button == MouseButton::Left && mouseMode() == kModeJuliaChild) {
        const WorldPoint w = view_.pixelToWorld(p);
        if (const int e = openJuliaChild({w.x, w.y}))
            host().showError(e);
        return;
    }
    TFracWin::mouseDown(button, p); // Show target: the point report while held
}

void TParWin::criticalPointCommand()
{
    std::string a = criticalText_, b = criticalText2_;
    const bool ok = complexTool() ? host().inputText("critical point z =", a)
                                  : host().inputTwo("critical point x =", a, "y =", b);
    if (!ok)
        return;
    if (const int e = setCriticalPoint(a, b))
        host().showError(e);
}

void TParWin::declareCommands(CommandSet& set)
{
    TFracWin::declareCommands(set);
    set.add({kCmdCritical, "C&ritical point ...", "", K::Plain, kMenuEdit, ""}, [this] { criticalPointCommand(); });
    set.add({kCmdReopenChild, "&Reopen", "", K::Plain, kMenuMisc, ""}, [this] {
        if (!showJuliaChild())
            host().showError(ErrNothingToDo);
    });
    set.add({kCmdReopenZoom, "Re&open", "", K::Plain, kMenuMisc, ""}, [this] {
        if (!reopenZoomWindow())
            host().showError(ErrNothingToDo);
    });
    for (int k = 0; k < exampleCount(); ++k)
        set.add({firstExampleCommand(k), exampleText(k), "", K::Plain, kMenuEdit, kExamplesMenu},
                [this, k] { applyExample(k); });
}

int TParWin::openJuliaChild(Complex p)
{
    if (complexTool()) {
        setVariable(kSlotC, p);
    } else {
        setVariable(kSlotA, {p.re, 0});
        setVariable(kSlotB, {p.im, 0});
    }
    ++juliaChildren_;
    if (!juliaChild_) {
        std::unique_ptr<TFracWin> child = makeJuliaChild();
        TFracWin* raw = child.get();
        raw->copyDrawingSettings(*this);
        if (!host().openChildWindow(std::move(child), zoomPlacement_))
            return ErrLowMemory;
        linkJuliaChild(*this, *raw);
    } else {
        juliaChild_->copyDrawingSettings(*this); // the new parameter, mapping and targets
    }
    // The child is centred at the critical point of this parameter.
    Complex centre{0, 0};
    ExprContext cx = cx_;
    if (critical_ && EvaluateTree(cx.env, *critical_))
        centre = critical_->value;
    if (!complexTool()) {
        centre.im = 0;
        if (critical2_ && EvaluateTree(cx.env, *critical2_))
            centre.im = critical2_->value.re;
    }
    if (!std::isfinite(centre.re) || !std::isfinite(centre.im))
        centre = {0, 0};
    juliaChild_->setView(centre.re, centre.im, defaultHalfWidth_);
    juliaChild_->setDocumentName("jchild" + std::to_string(juliaChildren_) + (complexTool() ? ".dyc" : ".dyr"));
    juliaChild_->restoreTitle();
    juliaChild_->draw();
    return 0;
}

bool TParWin::showJuliaChild()
{
    if (!juliaChild_)
        return false;
    juliaChild_->draw();
    return true;
}

std::unique_ptr<TFracWin> TParWin::makeJuliaChild() const
{
    if (complexTool())
        return std::make_unique<TDycWin>(TDycWin::Empty{});
    return std::make_unique<TDyrWin>(TDyrWin::Empty{});
}

// ---- The complex plane.

TPpcWin::TPpcWin(const RandomIndex& random) : TParWin(true)
{
    const RandomIndex pick = random ? random : RandomIndex(systemRandom);
    static constexpr std::array<int, 8> kStart{3, 0, 1, 5, 2, 4, 6, 7};
    applyExample(kStart[pick(8) % 8]);
}

int TPpcWin::firstExampleCommand(int k) const { return kComplexCommands[static_cast<size_t>(k)]; }
const char* TPpcWin::exampleText(int k) const { return kComplexTexts[static_cast<size_t>(k)]; }

void TPpcWin::example(int k)
{
    const auto two = [this](int i, int r, int g, int b, int steps) { twoAnchorColour(i, r, g, b, steps); };
    switch (k) {
    case 0:
        beginExample("(2zzz+2-2cc)/(3zz-3-cc)", "", "0", "", 3, 0.001L, 0, 3.5L);
        setTargets({pointTarget("2", "0.00001", PatternBlend), pointTarget("-1.0+c", "0.00001"),
                    pointTarget("-1.0-c", "0.00001")});
        two(0, 255, 127, 0, 16);
        two(1, 255, 255, 192, 24);
        setTargetAnchors(2, 24, {makeRgb(80, 128, 128), makeRgb(125, 200, 255)});
        break;
    case 1:
        beginExample("zz+cz", "", "-c/2", "", 1, 1, 0, 3.5L);
        setTargets({infinityTarget("100", 2)});
        builtInColourScheme(0, 0);
        break;
    case 2:
        beginExample("zzz+czz-(3+2c)z+3+c", "", "-1-2c/3", "", 2, -3, 0, 3.25L);
        setTargets({infinityTarget("100", 3), pointTarget("1", "0.000001")});
        two(0, 127, 200, 255, 16);
        two(1, 255, 128, 0, 16);
        break;
    case 3:
        beginExample("zzz-(cc+2+1/(cc))(z/3)+(2ccc/27)+(5c/9)-4/(9c)+2/(27ccc)", "", "-(c/3)-1/(3c)", "", 2, 0, 0, 4);
        setTargets({infinityTarget("100", 3), pointTarget("(c/3)+1/(3c)", "0.000001")});
        two(0, 255, 128, 0, 16);
        two(1, 224, 224, 224, 24);
        break;
    case 4:
        beginExample("czzzz-0.5zzz-2czz+1.5z+c", "", "0.375/c", "", 3, 0, 0, 1.6L);
        setTargets({infinityTarget("100", 4), pointTarget("1", "0.0001"), pointTarget("-1", "0.0001")});
        two(0, 0, 255, 0, 16);
        two(1, 255, 128, 0, 16);
        two(2, 0, 128, 255, 16);
        break;
    case 5:
    case 6:
        if (k == 5)
            beginExample("((zz+c-1)/(2z+c-2))^2", "", "0", "", 2, 1.3L, 0, 3);
        else
            beginExample("((zzz+3(c-1)z+(c-1)(c-2))/(3zz+3(c-2)z+(c-1)(c-2)+ 1))^2", "", "0", "", 2, 1, 0, 2.2L);
        setTargets({infinityTarget("400", 0), pointTarget("1", "0.001")});
        two(0, 0, 255, 0, 24);
        two(1, 224, 224, 224, 24);
        break;
    default:
        beginExample("conj(z)*conj(z)+c", "", "0", "", 1, -0.4L, 0, 2.2L);
        setTargets({infinityTarget("400", 4)});
        builtInColourScheme(0, 0);
        break;
    }
}

ToolFiles TPpcWin::toolFiles() const
{
    return {kPpcKind, ".ppc", "Complex parameter plane files (*.PPC)|*.ppc", "ppc"};
}

std::unique_ptr<TVorlWin> TPpcWin::makeZoomChild() const
{
    return std::make_unique<TPpcWin>(Empty{});
}

// ---- The real plane.

TPprWin::TPprWin(const RandomIndex& random) : TParWin(false)
{
    const RandomIndex pick = random ? random : RandomIndex(systemRandom);
    applyExample(static_cast<int>(pick(2) % 2));
}

int TPprWin::firstExampleCommand(int k) const { return kRealCommands[static_cast<size_t>(k)]; }
const char* TPprWin::exampleText(int k) const { return kRealTexts[static_cast<size_t>(k)]; }

void TPprWin::example(int k)
{
    if (k == 0) {
        beginExample("xx-yy-a", "2abs(xy)-b", "0", "0", 1, 0.4L, 0.5L, 1.9L);
        setTargets({infinityTarget("100", 0)});
        twoAnchorColour(0, 224, 224, 224, 24);
        special_.set(SlotNoTarget, 0);
        maxReps_ = 100;
        promenadePath_ = "t;0.0"; // t from -0.25 to 2
    } else {
        // The fixed point of the Henon map as the seed (the tabled text lacks
        // the bracket that closes the square root).
        beginExample("y+1-axx", "bx", "0.5(b-1+sqrt((b-1)(b-1)+4a))/a", "0.5b(b-1+sqrt((b-1)(b-1)+4a))/a", 1, 1.32L,
                     0, 2);
        setTargets({regionTarget("-1000-sgn(ab)y")});
        twoAnchorColour(0, 255, 128, 0, 16);
        special_.set(SlotNoTarget, 58);
        maxReps_ = 200;
        promenadePath_ = "cos(t);sin(t)";
    }
}

ToolFiles TPprWin::toolFiles() const
{
    return {kPprKind, ".ppr", "Real parameter plane files (*.PPR)|*.ppr", "ppr"};
}

std::unique_ptr<TVorlWin> TPprWin::makeZoomChild() const
{
    return std::make_unique<TPprWin>(Empty{});
}

} // namespace qx
