#include "model/tvorl1win.h"

#include <cctype>

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
    if (host().showModelessDialog("CALCD"))
        return;
    // Without the dialog: one letter and its value.
    std::string letter = "A", value;
    if (!host().inputTwo("letter", letter, "value", value))
        return;
    const int slot = letter.size() == 1 ? std::toupper(static_cast<unsigned char>(letter[0])) - '@' : -1;
    if (const int e = saveConstants(slot, value, slot, value, false))
        host().showError(e);
}

} // namespace qx
