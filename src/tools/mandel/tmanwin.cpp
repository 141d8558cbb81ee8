#include "tools/mandel/tmanwin.h"

#include "base/messages.h"
#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "graphics/export/export_format.h"
#include "tools/mandel/mj_commands.h"
#include "tools/mandel/mj_examples.h"
#include "tools/mandel/tjulwin.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qx {

namespace {

constexpr std::array<CommandSpec, 3> kCommands{{
    {CmdOneCycle, "&1-cycle ...", "", CommandKind::Plain, kMenuEdit, "&Indifferent cycles", true},
    {CmdTwoCycle, "&2-cycle ...", "", CommandKind::Plain, kMenuEdit, "&Indifferent cycles", false},
    {CmdReopen, "&Reopen", "", CommandKind::Plain, kMenuMisc, "", false},
}};

} // namespace

TManWin::TManWin() : TMJWin(false) {}

TManWin::~TManWin()
{
    if (child_)
        child_->parent_ = nullptr;
    if (promenade_)
        promenade_->promenadeParent_ = nullptr;
}

void TManWin::declareCommands(CommandSet& set)
{
    TMJWin::declareCommands(set);
    set.add(kCommands[0], [this] { cycleCommand(1); });
    set.add(kCommands[1], [this] { cycleCommand(2); });
    set.add(kCommands[2], [this] { reopen(); });
}

std::vector<CommandSpec> TManWin::mouseModes() const
{
    return {
        {CmdShowPeriod, "&Show period", "", CommandKind::Radio, kMenuBtns, "", false},
        {CmdJuliaSet, "&Julia set", "", CommandKind::Radio, kMenuBtns, "", false},
        {CmdPromenade, "&Promenade", "", CommandKind::Radio, kMenuBtns, "", false},
    };
}

void TManWin::mouseDown(MouseButton button, PixelPoint p)
{
    if (button == MouseButton::Left && (mouseMode() == CmdJuliaSet || mouseMode() == CmdPromenade)) {
        const WorldPoint w = view_.pixelToWorld(p);
        if (mouseMode() == CmdJuliaSet) {
            if (const int e = openJuliaChild({w.x, w.y}))
                host().showError(e);
            return;
        }
        promenadeHeld_ = true;
        promenadeAt(p);
        return;
    }
    TMJWin::mouseDown(button, p);
}

void TManWin::mouseMove(PixelPoint p)
{
    if (promenadeHeld_ && promenade_)
        promenadeAt(p);
    else
        TMJWin::mouseMove(p);
}

void TManWin::mouseUp(MouseButton button, PixelPoint p)
{
    if (button == MouseButton::Left)
        promenadeHeld_ = false;
    TMJWin::mouseUp(button, p);
}

// Opens the pop-up at the first click; later the same pop-up follows c.
void TManWin::promenadeAt(PixelPoint p)
{
    const WorldPoint w = view_.pixelToWorld(p);
    if (promenade_) {
        promenade_->setParameter({w.x, w.y});
        promenade_->draw();
        return;
    }
    auto pop = std::make_unique<TPromWin>(Complex{w.x, w.y});
    TPromWin* raw = pop.get();
    pop->copyDrawingSettings(*this);
    pop->setReadSettings(!useDefaults_);
    pop->setDocumentName("prom" + std::to_string(++promenadeCounter_) + ".jul");
    WindowPlacement placement = popupPlacement_;
    if (placement.width < kPromenadeSide / 2 || placement.height < kPromenadeSide / 2)
        placement.width = placement.height = kPromenadeSide;
    if (!host().openChildWindow(std::move(pop), placement)) {
        host().showError(ErrLowMemory);
        return;
    }
    promenade_ = raw;
    promenade_->promenadeParent_ = this;
}

// The marker of the Julia child's parameter over the picture.
void TManWin::drawToolOverlays(Canvas& composite)
{
    if (child_) {
        const Complex c = child_->parameter();
        composite.drawMark({c.re, c.im}, markAttr_.kind, markAttr_.size, markAttr_.colour);
    }
}

std::unique_ptr<TVorlWin> TManWin::makeZoomChild() const
{
    return std::make_unique<TManWin>();
}

int TManWin::openJuliaChild(Complex c, const std::string& title)
{
    if (!child_) {
        auto model = std::make_unique<TJulWin>([](uint32_t) { return 0u; });
        TJulWin* raw = model.get();
        raw->copyDrawingSettings(*this);
        raw->setParameter(c);
        raw->setReadSettings(!useDefaults_);
        if (!host().openChildWindow(std::move(model), zoomPlacement_))
            return ErrLowMemory;
        child_ = raw;
        child_->parent_ = this;
    }
    ++childCounter_;
    child_->setParameter(c);
    child_->setDocumentName(title.empty() ? "jchild" + std::to_string(childCounter_) + ".jul" : title);
    child_->restoreTitle();
    overlaysChanged();
    child_->draw();
    return 0;
}

int TManWin::openIndifferentCycle(int cycle, const std::string& text)
{
    Real t = 0;
    if (const int e = evaluateRealConstant(text, t))
        return e;
    const IndifferentCycle ic = indifferentCycle(cycle, t);
    return openJuliaChild(ic.c, ic.title);
}

void TManWin::cycleCommand(int cycle)
{
    std::vector<std::string> value{"2/5"};
    const std::string title = std::string("coordinate ") + (cycle == 1 ? "cardioid" : "circle");
    if (!host().inputMany(title, {"between 0 and 1"}, value) || value.empty())
        return;
    if (const int e = openIndifferentCycle(cycle, value[0]))
        host().showError(e);
}

void TManWin::reopen()
{
    if (child_)
        child_->draw();
    else if (closedChild_) // the child was closed: open it again with its last parameter
        openJuliaChild(closedChild_->first, closedChild_->second);
    else
        host().showError(ErrNothingToDo);
}

void TManWin::childClosed(Complex c, const std::string& name)
{
    child_ = nullptr;
    closedChild_ = {c, name};
}

int TManWin::pageDirective(const std::string& text, std::string& letters) const
{
    if (pageDirectiveKind(text, letters) == 3)
        return 3;
    return TMJWin::pageDirective(text, letters);
}

void TManWin::animatePage(int page, int pages, int kind, const std::string& letters)
{
    if (kind != 3) {
        TMJWin::animatePage(page, pages, kind, letters);
        return;
    }
    ExprContext cx = cx_; // a copy: the export's thread leaves the window's own alone
    cx.env.complexMode = true;
    TreePtr path;
    if (CompileExpression(cx, fileState_.zoomFormula, path) != 0)
        return; // a path that does not compile leaves the view where it is
    const Real t = 2 * 3.14159265358979323846L * page / std::max(pages, 1);
    Complex z;
    if (EvaluateAtComplex(cx.env, *path, 'T' - '@', {t, 0}, z) && std::isfinite(z.re) && std::isfinite(z.im))
        setView(z.re, z.im, view_.halfWidth);
}

} // namespace qx
