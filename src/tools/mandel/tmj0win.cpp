#include "tools/mandel/tmj0win.h"

#include "model/special_colours.h"
#include "tools/mandel/mj_escape.h"
#include "tools/mandel/mj_period.h"
#include "tools/mandel/mj_print.h"
#include "tools/mandel/mj_pixel_kernel.h"

namespace qx {

TMJ0Win::TMJ0Win(bool julia) : params_(defaultParams(julia))
{
    const MJParams defaults = defaultParams(julia);
    setComplexMode(true);
    setParameter(params_.c);
    const MJViewDefaults v = viewDefaults(julia);
    defaultHalfWidth_ = v.halfWidth;
    mouseMode_ = v.mouseMode;
    maxReps_ = defaults.maxReps;
    maxPeriod_ = defaults.maxPeriod;
    setView(v.centreX, v.centreY, v.halfWidth);
    special_.set(SlotNoTarget, 0);
    special_.set(SlotDem, 52);
    special_.set(SlotIim, 3);
    special_.set(SlotCriticalOrbit, 1);
    special_.set(SlotFixedPoint, 5);
    special_.set(SlotAncestor, 1);
    sequences_[0].binary[0] = paletteColour(palette_, 58);
    sequences_[0].binary[1] = paletteColour(palette_, 59);
}

MJParams TMJ0Win::params() const
{
    MJParams p;
    static_cast<MJMapParams&>(p) = params_;
    p.maxReps = maxReps_;
    p.antiAlias = antiAlias_;
    p.maxPeriod = maxPeriod_;
    return p;
}

int TMJ0Win::applySettings(const MJParamTexts& texts)
{
    MJParams p = params();
    if (const int e = applyParamTexts(texts, p))
        return e;
    params_ = p; // the window's own part; the chain keeps the rest
    maxReps_ = p.maxReps;
    antiAlias_ = p.antiAlias;
    setDocumentChanged(true);
    redraw();
    return 0;
}

void TMJ0Win::redraw()
{
    if (attached()) {
        draw();
        return;
    }
    figureValid_ = false;
    compositeValid_ = false;
}

int TMJ0Win::applyDegree(const std::string& text)
{
    return applyDegreeText(text, params_);
}

void TMJ0Win::copyDrawingSettings(const TKVAWing& from)
{
    TFMJWin::copyDrawingSettings(from);
    const auto* other = dynamic_cast<const TMJ0Win*>(&from);
    if (!other)
        return;
    const bool julia = params_.julia;
    const Complex c = params_.c;
    params_ = other->params_;
    params_.julia = julia;
    setParameter(c); // the window's own c, also as the variable C
    if (!julia && params_.mode == DisplayMode::Iim) // only Julia windows draw by inverse images
        params_.mode = DisplayMode::Bands;
}

MJColours TMJ0Win::renderColours() const
{
    const ColourTable table = colourTable(0);
    MJColours c;
    c.table = table.colours;
    c.binary = table.binary;
    c.setIndex = special_.get(SlotNoTarget);
    c.setRgb = paletteColour(palette_, c.setIndex);
    c.demIndex = special_.get(SlotDem);
    c.demRgb = paletteColour(palette_, c.demIndex);
    return c;
}

SweepGeometry TMJ0Win::sweepGeometry() const
{
    SweepGeometry g = TFMJWin::sweepGeometry();
    g.y0 = view_.centerY + (g.height - 1) * g.pitchY / 2;
    return g;
}

std::unique_ptr<PixelKernel> TMJ0Win::makeKernel() const
{
    const SweepGeometry g = sweepGeometry();
    return std::make_unique<MJPixelKernel>(MJKernel(params(), renderColours(), g.pitchX), g);
}

int TMJ0Win::sweepSymmetry() const
{
    return symmetryFor(params(), view_.centerX, view_.centerY);
}

OrbitMap TMJ0Win::orbitMap() const
{
    return [c = params_.c, degree = params_.degree](Complex z) { return mapPower(z, c, degree); };
}

// Inverse iteration draws the Julia set by itself; every other mode sweeps.
int TMJ0Win::drawFigure(Canvas& figure)
{
    if (params_.mode == DisplayMode::Iim)
        return drawInverse(figure);
    return TFMJWin::drawFigure(figure);
}

std::string TMJ0Win::periodReportAt(PixelPoint pixel) const
{
    const WorldPoint w = view_.pixelToWorld(pixel);
    return periodReport(params(), {w.x, w.y}, params_.periodTolerance * view_.dx);
}

void TMJ0Win::printBlackAndWhite(Image& page, const std::vector<int32_t>& codes) const
{
    if (codes.size() != static_cast<size_t>(page.width) * static_cast<size_t>(page.height))
        return;
    const ColourTable table = colourTable(0);
    for (int r = 0; r < page.height; ++r)
        for (int c = 0; c < page.width; ++c) {
            const int32_t code = codes[static_cast<size_t>(r) * static_cast<size_t>(page.width) + static_cast<size_t>(c)];
            page.set(c, r, blackAndWhitePixel(code, params_.mode, table, c, r, false).rgb);
        }
}

} // namespace qx
