#include "tools/maps/tfracwin.h"

#include "expr/arith.h"
#include "expr/differentiate.h"
#include "expr/evaluator.h"
#include "base/messages.h"
#include "base/real_text.h"
#include "model/command_ids.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kModeShowPeriod = CmdMouseFirst;       // 120
constexpr int kModeOrbiter = CmdMouseFirst + 1;      // 121
constexpr int kModeTracer = CmdMouseFirst + 2;       // 122
constexpr int kModeInverseImage = CmdMouseFirst + 4; // 124
constexpr int kModeImage = CmdMouseFirst + 5;        // 125
constexpr int kCmdMapping = 539;
constexpr int kCmdFunctions = 589;
constexpr int kCmdTargets = 546;
constexpr int kCmdHelpFirst = 790;
constexpr size_t kTitleLength = 50;

} // namespace

TFrac0Win::TFrac0Win(bool complexTool, bool dynamicPlane) : complex_(complexTool), dynamic_(dynamicPlane)
{
    setComplexMode(complexTool);
}

TFracWin::TFracWin(bool complexTool, bool dynamicPlane)
    : TFrac0Win(complexTool, dynamicPlane), promenadePath_(complexTool ? "cos(t)+i*sin(t)" : "cos(t);sin(t)")
{
    methodTexts_.fill("zzz-2z+2");
}

TFracWin::~TFracWin()
{
    if (juliaChild_)
        juliaChild_->juliaParent_ = nullptr;
    if (juliaParent_)
        juliaParent_->juliaChild_ = nullptr;
}

void TFracWin::copyDrawingSettings(const TKVAWing& from)
{
    if (const auto* f = dynamic_cast<const TFracWin*>(&from)) {
        methodTexts_ = f->methodTexts_;
        mapping_ = f->mapping_;
        map_ = CopyTree(f->map_.get());
        mapping2_ = f->mapping2_;
        map2_ = CopyTree(f->map2_.get());
        newtonP_ = f->newtonP_;
        newtonQ_ = f->newtonQ_;
        criticalText_ = f->criticalText_;
        criticalText2_ = f->criticalText2_;
        critical_ = CopyTree(f->critical_.get());
        critical2_ = CopyTree(f->critical2_.get());
        derivePartials();
    }
    TFrac0Win::copyDrawingSettings(from); // the targets compile with the parent's constants
}

int TFracWin::setMapping(const std::string& text)
{
    const std::string t = withoutBlanks(text);
    if (t == mapping_ && map_)
        return 0;
    CompiledMapping m;
    if (const int e = compileMapping(cx_, t, dynamicPlane(), m))
        return e;
    if (m.method >= 0)
        methodTexts_[static_cast<size_t>(m.method)] = m.argument;
    mapping_ = t;
    map_ = std::move(m.map);
    if (attached()) {
        restoreTitle();
        draw();
    }
    return 0;
}

int TFracWin::solve(RootMethod m, const std::string& p)
{
    const std::string arg = withoutBlanks(p);
    CompiledMapping c;
    if (const int e = compileMapping(cx_, std::string(rootKeyword(m)) + arg + "=0)", dynamicPlane(), c))
        return e;
    methodTexts_[static_cast<size_t>(m)] = arg;
    mapping_ = std::string(rootKeyword(m)) + arg + " = 0)";
    map_ = std::move(c.map);
    if (attached()) {
        restoreTitle();
        draw();
    }
    return 0;
}

std::string TFracWin::mappingTitle() const
{
    const std::string text = complexTool() ? mapping_ : mapping_ + " , " + mapping2_;
    if (text.size() <= kTitleLength)
        return text;
    return text.substr(0, kTitleLength) + " ...";
}

int TFracWin::setCriticalPoint(const std::string& text, const std::string& yText)
{
    TreePtr a, b;
    if (const int e = CompileExpression(cx_, text, a))
        return e;
    if (!complexTool())
        if (const int e = CompileExpression(cx_, yText, b))
            return e;
    criticalText_ = text;
    critical_ = std::move(a);
    if (!complexTool()) {
        criticalText2_ = yText;
        critical2_ = std::move(b);
    }
    if (attached())
        draw();
    return 0;
}

void TFracWin::derivePartials()
{
    fx_.reset();
    fy_.reset();
    if (!map_ || complexTool())
        return;
    fx_ = DifferentiateTree(cx_, *map_, code::VarFirst + kSlotX);
    fy_ = DifferentiateTree(cx_, *map_, code::VarFirst + kSlotY);
}

void TFracWin::takeRealMapping(CompiledRealMapping m, const std::string& f, const std::string& g)
{
    if (m.newton) {
        newtonP_ = m.p;
        newtonQ_ = m.q;
    }
    mapping_ = f;
    mapping2_ = g;
    map_ = std::move(m.f);
    map2_ = std::move(m.g);
    derivePartials();
    if (attached()) {
        restoreTitle();
        draw();
    }
}

int TFracWin::setMappings(const std::string& fText, const std::string& gText)
{
    const std::string f = withoutBlanks(fText), g = withoutBlanks(gText);
    if (f == mapping_ && g == mapping2_ && map_ && map2_)
        return 0;
    CompiledRealMapping m;
    if (const int e = compileRealMapping(cx_, f, g, dynamicPlane(), m))
        return e;
    takeRealMapping(std::move(m), f, g);
    return 0;
}

int TFracWin::solveSystem(const std::string& pText, const std::string& qText)
{
    const std::string p = withoutBlanks(pText), q = withoutBlanks(qText);
    CompiledRealMapping m;
    if (const int e = compileRealMapping(cx_, "Newton(" + p + "=0)", "Newton(" + q + "=0)", dynamicPlane(), m))
        return e;
    takeRealMapping(std::move(m), "Newton(" + p + " = 0)", "Newton(" + q + " = 0)");
    return 0;
}

std::vector<Complex> TFracWin::preimagesOf(Complex z)
{
    std::vector<Complex> found;
    if (!map_ || !complexTool())
        return found;
    ExprContext cx = cx_; // evaluations leave the window's state alone
    int error = 0;
    TreePtr derivative = DifferentiateTree(cx, *map_, code::VarFirst + kSlotZ, &error);
    if (!derivative)
        return found;
    TreePtr f = CopyTree(map_.get());
    constexpr int kColumns = 8, kRows = 6, kSteps = 60;
    for (int i = 0; i < kColumns * kRows && found.size() < kMaxPreimages; ++i) {
        Complex w{view_.xMin + (view_.xMax - view_.xMin) * ((i % kColumns) + 0.5L) / kColumns,
                  view_.yMin + (view_.yMax - view_.yMin) * ((i / kColumns) + 0.5L) / kRows};
        bool converged = false;
        for (int k = 0; k < kSteps; ++k) {
            Complex fw, dw, step;
            if (!EvaluateAtComplex(cx.env, *f, kSlotZ, w, fw) || !EvaluateAtComplex(cx.env, *derivative, kSlotZ, w, dw) ||
                !divComplex(subC(fw, z), dw, step))
                break;
            w = subC(w, step);
            if (std::fabs(step.re) + std::fabs(step.im) <= 1e-15L * (1 + std::fabs(w.re) + std::fabs(w.im))) {
                converged = true;
                break;
            }
        }
        Complex fw;
        if (!converged || !EvaluateAtComplex(cx.env, *f, kSlotZ, w, fw) ||
            std::fabs(fw.re - z.re) + std::fabs(fw.im - z.im) > 1e-9L * (1 + std::fabs(z.re) + std::fabs(z.im)) ||
            !view_.inView(w.re, w.im))
            continue;
        const bool known = std::any_of(found.begin(), found.end(), [&](const Complex& p) {
            return std::fabs(p.re - w.re) + std::fabs(p.im - w.im) < 1e-7L;
        });
        if (!known)
            found.push_back(w);
    }
    return found;
}

std::vector<CommandSpec> TFracWin::mouseModes() const
{
    return {
        {kModeShowPeriod, "&Show period", "", K::Radio, kMenuBtns, ""},
        {kModeOrbiter, "&Orbiter", "", K::Radio, kMenuBtns, ""},
        {kModeTracer, "&Tracer", "", K::Radio, kMenuBtns, ""},
        {kModeInverseImage, "In&verse image", "", K::Radio, kMenuBtns, ""},
        {kModeImage, "&Image", "", K::Radio, kMenuBtns, ""},
    };
}

void TFracWin::mouseDown(MouseButton button, PixelPoint p)
{
    if (button == MouseButton::Left) {
        const WorldPoint w = view_.pixelToWorld(p);
        switch (mouseMode()) {
        case kModeShowPeriod:
            host().setTitle(pointReport({w.x, w.y}));
            reportShown_ = true;
            return;
        case kModeOrbiter:
        case kModeTracer: startOrbiter({w.x, w.y}); return;
        case kModeInverseImage:
        case kModeImage: showHeldMarkers(mouseMode(), p); return;
        default: break;
        }
    }
    TFrac0Win::mouseDown(button, p);
}

void TFracWin::mouseUp(MouseButton button, PixelPoint p)
{
    if (reportShown_) {
        reportShown_ = false;
        restoreTitle();
    }
    TFrac0Win::mouseUp(button, p);
}

void TFracWin::settingsCommand()
{
    std::string text = std::to_string(maxReps_);
    if (!host().inputText("maximum reps", text))
        return;
    int32_t n = 0;
    Real v = 0;
    if (!parseRealText(text, v) || v != std::floor(v)) {
        host().showError(ErrCannotUnderstand);
        return;
    }
    if (v < 2 || v > 2147483647.0L) {
        host().showError(ErrOutOfBounds);
        return;
    }
    n = static_cast<int32_t>(v);
    maxReps_ = n;
    draw();
}

bool TFracWin::stopDrawingFirst()
{
    if (!busy())
        return true;
    if (attached() && !host().askYesNo("stop the drawing?"))
        return false;
    interruptRendering();
    finishRendering();
    finishSideJob();
    return true;
}

void TFracWin::exampleApplied()
{
    current_ = 0;
    undo_.clear();
    if (attached()) {
        restoreTitle();
        draw();
    }
}

int TFracWin::exampleIndex(const std::string& name) const
{
    const auto plain = [](std::string s) {
        std::erase(s, '&');
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    int32_t k = -1;
    if (parseIntText(name, k))
        return k >= 0 && k < exampleCount() ? k : -1;
    const std::string wanted = plain(name);
    for (int i = 0; i < exampleCount(); ++i) {
        const std::string text = plain(exampleText(i));
        const size_t space = text.find(' ');
        const bool numbered = space != std::string::npos && std::isdigit(static_cast<unsigned char>(text[0]));
        if (text == wanted || (numbered && text.substr(space + 1) == wanted))
            return i;
    }
    return -1;
}

void TFracWin::mappingCommand()
{
    if (!complexTool()) {
        std::string f = mapping_, g = mapping2_;
        if (!host().inputTwo("f(x,y) =", f, "g(x,y) =", g))
            return;
        if (const int e = setMappings(f.substr(0, 255), g.substr(0, 255)))
            host().showError(e);
        return;
    }
    std::string text = mapping_;
    if (!host().inputText("f(z) =", text))
        return;
    if (const int e = setMapping(text.substr(0, 255)))
        host().showError(e);
}

void TFracWin::declareCommands(CommandSet& set)
{
    TFrac0Win::declareCommands(set);
    set.add({kCmdMapping, "&Mapping ...", "Ctrl+M", CommandKind::Plain, kMenuEdit, "", true},
            [this] { mappingCommand(); });
    set.add({kCmdFunctions, "&Functions ...", "", CommandKind::Plain, kMenuEdit, ""}, [this] {
        if (!host().showModelessDialog("FNLIB"))
            host().showMessage(std::to_string(library().functions.size()) + " user-defined functions",
                               "user-defined functions");
    });
    declareDocumentCommands(set);
    declareOrbitCommands(set);
    set.add({kCmdTargets, "&Targets ...", "", K::Plain, kMenuEdit, ""}, [this] {
        if (!host().showModelessDialog("TARGET"))
            host().showMessage(std::to_string(targetCount()) + " targets", "targets");
    });
    declareHelp(set, kCmdHelpFirst, helpPages());
}

} // namespace qx
