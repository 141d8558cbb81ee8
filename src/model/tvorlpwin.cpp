#include "model/tvorlpwin.h"

#include <array>

namespace qx {

namespace {

constexpr std::array<CommandSpec, 2> kCommands{{
    {CmdCompressPixels, "&Compress pixels", "", CommandKind::Toggle, kMenuFile, "&Disk image"},
    {CmdOrbitLength, "&Length of orbit ...", "", CommandKind::Plain, kMenuMisc, ""},
}};

} // namespace

std::span<const CommandSpec> TVorlPWin::commandTable()
{
    return kCommands;
}

void TVorlPWin::buildMenus(MenuBar& bar) const
{
    TVorl1Win::buildMenus(bar);
    bar.addTable(commandTable());
}

bool TVorlPWin::isChecked(int id) const
{
    return id == CmdCompressPixels ? compress_ : TVorl1Win::isChecked(id);
}

bool TVorlPWin::handleCommand(int id)
{
    if (id == CmdCompressPixels) {
        compress_ = !compress_;
        host().menuChecksChanged();
        return true;
    }
    if (id != CmdOrbitLength)
        return TVorl1Win::handleCommand(id);
    std::string text = std::to_string(orbitLength_);
    if (host().inputText("length of orbit", text))
        if (const int e = setOrbitLength(text))
            host().showError(e);
    return true;
}

} // namespace qx
