// Open, Save and Save As, and the colour commands of the Mandelbrot and
// Julia windows.
#include "tools/mandel/tmjwin.h"

#include "tools/mandel/mj_commands.h"

#include <array>

namespace qx {

namespace {

constexpr std::array<CommandSpec, 8> kFileCommands{{
    {CmdOpen, "&Open ...", "", CommandKind::Plain, kMenuFile, "", false},
    {CmdSave, "&Save", "", CommandKind::Plain, kMenuFile, "", false},
    {CmdSaveAs, "Save &as ...", "", CommandKind::Plain, kMenuFile, "", false},
    {CmdSequence, "&Sequence ...", "", CommandKind::Plain, kMenuMisc, "Colors", false},
    {CmdGrays, "&Grays ...", "", CommandKind::Plain, kMenuMisc, "Colors", false},
    {CmdBinaryColours, "&Binary ...", "", CommandKind::Plain, kMenuMisc, "Colors", false},
    {CmdPaletteChange, "&Palette change", "", CommandKind::Plain, kMenuMisc, "Colors", true},
    {CmdAncientPalette, "&Ancient palette", "", CommandKind::Plain, kMenuMisc, "Colors", false},
}};

// A name the window made up ("noname1.man", "jchild2.jul") has no folder.
bool hasFileName(const std::string& name)
{
    return name.find('/') != std::string::npos;
}

} // namespace

std::span<const CommandSpec> TMJWin::fileCommandTable() { return kFileCommands; }

bool TMJWin::handleFileCommand(int id)
{
    switch (id) {
    case CmdOpen: openCommand(); return true;
    case CmdSave: saveCommand(); return true;
    case CmdSaveAs: saveAsCommand(); return true;
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

bool TMJWin::offerToSave()
{
    if (!documentChanged())
        return true;
    const int answer = host().askYesNoCancel("save changes to " + documentName(), "careful!");
    if (answer < 0)
        return false;
    return answer == 0 || saveCommand();
}

void TMJWin::openCommand()
{
    if (!offerToSave())
        return;
    const std::string name = host().openFileName(documentFilter(), documentName());
    if (name.empty())
        return;
    if (const int e = readDocument(name)) {
        host().showError(e);
        restoreTitle();
        return;
    }
    restoreTitle();
    host().menuChecksChanged();
    redraw();
}

bool TMJWin::saveCommand()
{
    if (!hasFileName(documentName()))
        return saveAsCommand();
    if (const int e = writeDocument(documentName())) {
        host().showError(e);
        return false;
    }
    return true;
}

bool TMJWin::saveAsCommand()
{
    const std::string name = host().saveFileName(documentFilter(), documentName());
    if (name.empty())
        return false;
    if (const int e = writeDocument(name)) {
        host().showError(e);
        return false;
    }
    restoreTitle();
    return true;
}

} // namespace qx
