#include "tools/mandel/tmjwin.h"

#include "core/messages.h"
#include "tools/mandel/mj_commands.h"

#include <array>
#include <string>
#include <vector>

namespace qx {

namespace {

constexpr std::array<CommandSpec, 1> kCommands{{
    {CmdDegree, "&Degree ...", "", CommandKind::Plain, kMenuEdit, "", false},
}};

// "0".."4" for the display mode field of the fallback input.
bool parseMode(const std::string& text, DisplayMode& mode)
{
    int32_t m = 0;
    Real v = 0;
    if (!parseReal(text, v) || v < 0 || v > 4 || v != static_cast<int32_t>(v))
        return false;
    m = static_cast<int32_t>(v);
    mode = static_cast<DisplayMode>(m);
    return true;
}

} // namespace

std::span<const CommandSpec> TMJWin::commandTable() { return kCommands; }

void TMJWin::buildMenus(MenuBar& bar) const
{
    TMJ0Win::buildMenus(bar);
    bar.addTable(fileCommandTable());
    bar.addTable(commandTable());
}

bool TMJWin::handleCommand(int id)
{
    if (handleFileCommand(id))
        return true;
    if (id == CmdDegree) {
        degreeCommand();
        return true;
    }
    return TMJ0Win::handleCommand(id);
}

void TMJWin::settingsCommand()
{
    if (host().showModelessDialog("JPARAM"))
        return;
    MJParamTexts t = paramTexts(params());
    std::vector<std::string> values{t.threshold, t.maxReps, t.thickness,
                                    std::to_string(static_cast<int>(t.mode))};
    const std::vector<std::string> prompts{
        "threshhold xx + yy =", "maximum reps", "DEM  thickness (pixels)",
        isJulia() ? "0 bands, 1 DEM, 2 IIM, 3 blend, 4 binary" : "0 bands, 1 DEM, 3 blend, 4 binary"};
    if (!host().inputMany("settings", prompts, values))
        return;
    t = {values.at(0), values.at(1), values.at(2), t.mode};
    if (!parseMode(values.at(3), t.mode)) {
        host().showError(ErrCannotUnderstand);
        return;
    }
    if (const int e = applySettings(t))
        host().showError(e);
}

void TMJWin::degreeCommand()
{
    std::string value = std::to_string(degree());
    if (!host().inputText("enter degree", value))
        return;
    if (const int e = applyDegree(value))
        host().showError(e);
}

void TMJWin::mouseDown(MouseButton button, PixelPoint p)
{
    if (button == MouseButton::Left && mouseMode() == CmdShowPeriod) {
        host().setTitle(periodReportAt(p));
        return;
    }
    TMJ0Win::mouseDown(button, p);
}

} // namespace qx
