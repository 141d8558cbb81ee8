#include "model/tvorl1win.h"

#include <array>

namespace qx {

namespace {

constexpr std::array<CommandSpec, 2> kCommands{{
    {CmdSettings, "&Settings ...", "", CommandKind::Plain, kMenuEdit, ""},
    {CmdConstants, "&Constants ...", "", CommandKind::Plain, kMenuEdit, ""},
}};

} // namespace

std::span<const CommandSpec> TVorl1Win::commandTable()
{
    return kCommands;
}

void TVorl1Win::buildMenus(MenuBar& bar) const
{
    TVorlWin::buildMenus(bar);
    bar.addTable(commandTable());
}

bool TVorl1Win::handleCommand(int id)
{
    switch (id) {
    case CmdSettings: settingsCommand(); return true;
    case CmdConstants: constantsCommand(); return true;
    default: return TVorlWin::handleCommand(id);
    }
}

void TVorl1Win::settingsCommand()
{
    host().showError(9);
}

void TVorl1Win::constantsCommand()
{
    host().showError(9);
}

} // namespace qx
