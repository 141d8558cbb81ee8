#include "model/tgridwin.h"

#include "model/command_ids.h"

#include <array>

namespace qx {

void TGridWin::copyDrawingSettings(const TKVAWing& from)
{
    TKVAWing::copyDrawingSettings(from);
    if (const auto* g = dynamic_cast<const TGridWin*>(&from)) {
        grid_ = g->grid_;
        special_ = g->special_;
    }
}

namespace {

constexpr std::array<CommandSpec, 1> kCommands{{
    {CmdGrid, "&Grid ...", "", CommandKind::Plain, kMenuView, "", true},
}};

} // namespace

void TGridWin::declareCommands(CommandSet& set)
{
    TKVAWing::declareCommands(set);
    set.add(kCommands[0], [this] {
        if (!host().showModelessDialog("SETGRID"))
            gridDialogFallback();
    });
}

// Without the toolkit dialog: the numeric fields in one modal input, the
// switches unchanged.
void TGridWin::gridDialogFallback()
{
    const GridTexts t = gridTexts(grid_);
    std::vector<std::string> v{t.tickLength, t.xInterval, t.yInterval, t.xPlaces,
                               t.yPlaces,    t.xFrequency, t.yFrequency};
    const std::vector<std::string> prompts{"tick length (%)", "x tick interval", "y tick interval", "x places",
                                           "y places",        "x frequency",     "y frequency"};
    if (!host().inputMany("grid", prompts, v) || v.size() != 7)
        return;
    if (const int e = applyGridSettings(grid_, {v[0], v[1], v[2], v[3], v[4], v[5], v[6]}))
        host().showError(e);
}

int TGridWin::applyGridSettings(const GridSettings& settings, const GridTexts& texts)
{
    GridSettings s = settings;
    if (const int e = applyGridTexts(texts, s))
        return e;
    grid_ = s;
    overlaysChanged();
    return 0;
}

void TGridWin::drawAxes(Canvas& canvas) const
{
    AxesPens pens;
    pens.axis = Pen{special_.get(SlotAxis), static_cast<int16_t>(grid_.axisWidth), PenSolid};
    pens.grid = Pen{special_.get(SlotGridline), static_cast<int16_t>(grid_.gridWidth), PenSolid};
    drawAxesAndGrid(canvas, grid_, pens);
}

int TGridWin::setSpecialColour(int slot, int16_t paletteIndex)
{
    const int e = special_.set(slot, paletteIndex);
    if (e == 0)
        overlaysChanged();
    return e;
}

} // namespace qx
