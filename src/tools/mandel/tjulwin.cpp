#include "tools/mandel/tjulwin.h"

#include "tools/mandel/mj_commands.h"
#include "tools/mandel/tmanwin.h"

#include <array>
#include <random>

namespace qx {

namespace {

constexpr std::array<CommandSpec, 6> kCommands{{
    {674, "&Airplane", "", CommandKind::Plain, kMenuEdit, "E&xamples", true},
    {677, "&Fat rabbit", "", CommandKind::Plain, kMenuEdit, "E&xamples", false},
    {672, "Feigenbaum-&Myrberg", "", CommandKind::Plain, kMenuEdit, "E&xamples", false},
    {673, "&Rabbit", "", CommandKind::Plain, kMenuEdit, "E&xamples", false},
    {676, "&San Marco", "", CommandKind::Plain, kMenuEdit, "E&xamples", false},
    {675, "Siegel &disk", "", CommandKind::Plain, kMenuEdit, "E&xamples", false},
}};

// A fresh window is rare: a new engine from the system's entropy each time.
uint32_t systemRandom(uint32_t count)
{
    std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<uint32_t>(0, count - 1)(engine);
}

} // namespace

TJulWin::TJulWin(const RandomIndex& random) : TMJWin(true)
{
    setParameter(randomCardioidParameter(random ? random : RandomIndex(systemRandom)));
}

TJulWin::~TJulWin()
{
    if (parent_)
        parent_->childClosed(params_.c, documentName());
}

void TJulWin::mouseDown(MouseButton button, PixelPoint p)
{
    if (button == MouseButton::Left && mouseMode() == CmdJuliaSet) {
        const WorldPoint w = view_.pixelToWorld(p);
        startOrbiter({w.x, w.y});
        return;
    }
    if (button == MouseButton::Left && (mouseMode() == CmdInverseImages || mouseMode() == CmdImage)) {
        showHeldMarkers(mouseMode(), p);
        return;
    }
    TMJWin::mouseDown(button, p);
}

void TJulWin::declareCommands(CommandSet& set)
{
    TMJWin::declareCommands(set);
    for (const CommandSpec& c : kCommands)
        set.add(c, [this, id = c.id] { applyExample(id); });
    declareOrbitCommands(set);
}

std::vector<CommandSpec> TJulWin::mouseModes() const
{
    return {
        {CmdShowPeriod, "&Show period", "", CommandKind::Radio, kMenuBtns, "", false},
        {CmdJuliaSet, "&Orbiter", "", CommandKind::Radio, kMenuBtns, "", false},
        {CmdPromenade, "&Tracer", "", CommandKind::Radio, kMenuBtns, "", false},
        {CmdInverseImages, "In&verse images", "", CommandKind::Radio, kMenuBtns, "", false},
        {CmdImage, "&Image", "", CommandKind::Radio, kMenuBtns, "", false},
    };
}

bool TJulWin::applyExample(int command)
{
    const JuliaExample* e = juliaExample(command);
    if (!e)
        return false;
    setParameter(e->c);
    maxReps_ = e->maxReps;
    orbits_.overlayOn = false;
    orbits_.seeds.clear();
    if (attached())
        host().menuChecksChanged();
    redraw();
    return true;
}

std::unique_ptr<TVorlWin> TJulWin::makeZoomChild() const
{
    auto child = std::make_unique<TJulWin>([](uint32_t) { return 0u; });
    child->setParameter(params_.c);
    return child;
}

TPromWin::TPromWin(Complex c) : TJulWin([](uint32_t) { return 0u; })
{
    setParameter(c);
}

TPromWin::~TPromWin()
{
    if (promenadeParent_)
        promenadeParent_->promenade_ = nullptr;
}

} // namespace qx
