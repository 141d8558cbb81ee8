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

void TMJWin::declareColourCommands(CommandSet& set)
{
    const auto& k = kColourCommands;
    const auto edit = [this](ColourEditMode mode, const char* title) {
        return [this, mode, title] {
            beginColourEdit(mode, title);
            host().showModelessDialog("COLORTRACK");
        };
    };
    set.add(k[0], edit(ColourEditMode::Colours, "color path"));
    set.add(k[1], edit(ColourEditMode::Grays, "gray path"));
    set.add(k[2], edit(ColourEditMode::Binary, "binary colors"));
    set.add(k[3], [this] {
        paletteChange();
        colourCommandDone();
    });
    set.add(k[4], [this] {
        ancientPalette();
        colourCommandDone();
    });
}

void TMJWin::colourCommandDone()
{
    setDocumentChanged(true);
    redraw();
}

} // namespace qx
