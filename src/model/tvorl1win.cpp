#include "model/tvorl1win.h"

#include <array>

namespace qx {

namespace {

constexpr std::array<CommandSpec, 2> kCommands{{
    {CmdSettings, "&Settings ...", "", CommandKind::Plain, kMenuEdit, ""},
    {CmdConstants, "&Constants ...", "", CommandKind::Plain, kMenuEdit, ""},
}};

} // namespace

void TVorl1Win::declareCommands(CommandSet& set)
{
    TVorlWin::declareCommands(set);
    set.add(kCommands[0], [this] { settingsCommand(); });
    set.add(kCommands[1], [this] { constantsCommand(); });
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
