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

// The menus with a help text, in the order of mjHelpResources().
constexpr std::array<const char*, 5> kMandelbrotHelpMenus{kMenuFile, kMenuEdit, kMenuBtns, kMenuView, kMenuMisc};
constexpr std::array<const char*, 6> kJuliaHelpMenus{kMenuFile, kMenuEdit, kMenuBtns,
                                                     kMenuView, "&Orbits", kMenuMisc};

void TMJWin::declareCommands(CommandSet& set)
{
    TMJ0Win::declareCommands(set);
    declareDocumentCommands(set);
    declareColourCommands(set);
    set.add(kCommands[0], [this] { degreeCommand(); });
    const auto resources = mjHelpResources(isJulia());
    const std::span<const char* const> menus = isJulia() ? std::span<const char* const>(kJuliaHelpMenus)
                                                         : std::span<const char* const>(kMandelbrotHelpMenus);
    std::vector<HelpPage> pages;
    for (size_t i = 0; i < resources.size(); ++i)
        pages.push_back({menus[i], mjHelpText(resources[i])});
    declareHelp(set, CmdHelpFirst, pages);
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
