// The colour commands of the Mandelbrot and Julia windows.
#include "tools/mandel/tmjwin.h"

#include "tools/mandel/mj_commands.h"

#include <array>

namespace qx {

namespace {

constexpr std::array<CommandSpec, 5> kColourCommands{{
    {CmdSequence, "&Sequence ...", "", CommandKind::Plain, kMenuMisc, "Colors", false},
    {CmdGrays, "&Grays ...", "", CommandKind::Plain, kMenuMisc, "Colors", false},
    {CmdBinaryColours, "&Binary ...", "", CommandKind::Plain, kMenuMisc, "Colors", false},
    {CmdPaletteChange, "&Palette change", "", CommandKind::Plain, kMenuMisc, "Colors", true},
    {CmdAncientPalette, "&Ancient palette", "", CommandKind::Plain, kMenuMisc, "Colors", false},
}};

} // namespace

std::span<const CommandSpec> TMJWin::colourCommandTable() { return kColourCommands; }

bool TMJWin::handleColourCommand(int id)
{
    switch (id) {
    case CmdSequence:
        beginColourEdit(ColourEditMode::Colours, "color path");
        host().showModelessDialog("COLORTRACK");
        return true;
    case CmdGrays:
        beginColourEdit(ColourEditMode::Grays, "gray path");
        host().showModelessDialog("COLORTRACK");
        return true;
    case CmdBinaryColours:
        beginColourEdit(ColourEditMode::Binary, "binary colors");
        host().showModelessDialog("COLORTRACK");
        return true;
    case CmdPaletteChange: paletteChange(); break;
    case CmdAncientPalette: ancientPalette(); break;
    default: return false;
    }
    setDocumentChanged(true);
    redraw();
    return true;
}

} // namespace qx
