#include "tools/maps/tfracwin.h"

#include "expr/arith.h"
#include "expr/differentiate.h"
#include "expr/evaluator.h"
#include "model/command_ids.h"

#include <algorithm>
#include <cmath>

namespace qx {

namespace {

constexpr int kCmdMapping = 539;
constexpr int kCmdFunctions = 589;
constexpr size_t kTitleLength = 50;

} // namespace

TFrac0Win::TFrac0Win(bool complexTool, bool dynamicPlane) : complex_(complexTool), dynamic_(dynamicPlane)
{
    setComplexMode(complexTool);
}

TFracWin::TFracWin(bool complexTool, bool dynamicPlane) : TFrac0Win(complexTool, dynamicPlane)
{
    methodTexts_.fill("zzz-2z+2");
}

void TFracWin::copyDrawingSettings(const TKVAWing& from)
{
    if (const auto* f = dynamic_cast<const TFracWin*>(&from)) {
        methodTexts_ = f->methodTexts_;
        mapping_ = f->mapping_;
        map_ = CopyTree(f->map_.get());
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
    if (mapping_.size() <= kTitleLength)
        return mapping_;
    return mapping_.substr(0, kTitleLength) + " ...";
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

void TFracWin::mappingCommand()
{
    std::string text = mapping_;
    if (!host().inputText(complexTool() ? "f(z) =" : "f(x,y) =", text))
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
}

} // namespace qx
