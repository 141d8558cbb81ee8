#include "tools/mandel/tmjwin.h"

#include "tools/mandel/mj_help.h"

#include <algorithm>

#include "base/messages.h"
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

// One help item per menu, in the order of mjHelpResources().
constexpr std::array<CommandSpec, 5> kMandelbrotHelp{{
    {CmdHelpFirst, "&File", "", CommandKind::Plain, kMenuHelp, ""},
    {CmdHelpFirst + 1, "&Edit", "", CommandKind::Plain, kMenuHelp, ""},
    {CmdHelpFirst + 2, "&Btns", "", CommandKind::Plain, kMenuHelp, ""},
    {CmdHelpFirst + 3, "&View", "", CommandKind::Plain, kMenuHelp, ""},
    {CmdHelpFirst + 4, "&Misc", "", CommandKind::Plain, kMenuHelp, ""},
}};
constexpr std::array<CommandSpec, 6> kJuliaHelp{{
    {CmdHelpFirst, "&File", "", CommandKind::Plain, kMenuHelp, ""},
    {CmdHelpFirst + 1, "&Edit", "", CommandKind::Plain, kMenuHelp, ""},
    {CmdHelpFirst + 2, "&Btns", "", CommandKind::Plain, kMenuHelp, ""},
    {CmdHelpFirst + 3, "&View", "", CommandKind::Plain, kMenuHelp, ""},
    {CmdHelpFirst + 4, "&Orbits", "", CommandKind::Plain, kMenuHelp, ""},
    {CmdHelpFirst + 5, "&Misc", "", CommandKind::Plain, kMenuHelp, ""},
}};

void TMJWin::buildMenus(MenuBar& bar) const
{
    TMJ0Win::buildMenus(bar);
    bar.addTable(documentCommandTable());
    bar.addTable(colourCommandTable());
    bar.addTable(commandTable());
    if (isJulia())
        bar.addTable(kJuliaHelp);
    else
        bar.addTable(kMandelbrotHelp);
}

bool TMJWin::showHelp(int id)
{
    const auto resources = mjHelpResources(isJulia());
    const size_t i = static_cast<size_t>(id - CmdHelpFirst);
    if (id < CmdHelpFirst || i >= resources.size())
        return false;
    const std::span<const CommandSpec> items = isJulia() ? std::span<const CommandSpec>(kJuliaHelp)
                                                         : std::span<const CommandSpec>(kMandelbrotHelp);
    std::string menu = items[i].text;
    menu.erase(std::remove(menu.begin(), menu.end(), '&'), menu.end());
    const std::string text(mjHelpText(resources[i]));
    if (!host().showTextWindow("help: " + menu, text))
        host().showMessage(text, "help: " + menu);
    return true;
}

bool TMJWin::handleCommand(int id)
{
    if (handleDocumentCommand(id) || handleColourCommand(id))
        return true;
    if (id == CmdDegree) {
        degreeCommand();
        return true;
    }
    if (showHelp(id))
        return true;
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
        periodShown_ = true;
        return;
    }
    TMJ0Win::mouseDown(button, p);
}

void TMJWin::mouseUp(MouseButton button, PixelPoint p)
{
    if (periodShown_) { // the report stays only while the button is held
        periodShown_ = false;
        restoreTitle();
    }
    TMJ0Win::mouseUp(button, p);
}

} // namespace qx
