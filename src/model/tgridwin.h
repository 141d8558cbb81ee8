#pragma once
// Adds the axes and the rectangular grid (dialog SETGRID).
#include "model/special_colours.h"
#include "model/tkvawing.h"
#include "graphics/axes.h"
#include "graphics/grid_settings.h"

namespace qx {

class TGridWin : public TKVAWing {
public:
    void copyDrawingSettings(const TKVAWing& from) override;

    const GridSettings& grid() const { return grid_; }
    // SETGRID "ok"/"apply": check boxes in `settings`, numbers in `texts`.
    // Returns 0 or a field code (grid_settings.h); nothing changes on error.
    int applyGridSettings(const GridSettings& settings, const GridTexts& texts);
    // After an overlay change (axes, grid, marks, labels): recompose.
    virtual void overlaysChanged() {}

    // Draw axes and grid with the pens of the special colour slots.
    void drawAxes(Canvas& canvas) const;
    // The window's special colour slots (axis, gridline, ...).
    const SpecialColours& specialColours() const { return special_; }
    int setSpecialColour(int slot, int16_t paletteIndex);

protected:
    void declareCommands(CommandSet& set) override;
    GridSettings grid_;
    SpecialColours special_;

private:
    void gridDialogFallback();
};

} // namespace qx
