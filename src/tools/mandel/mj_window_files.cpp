// Documents and settings files of the Mandelbrot and Julia windows.
#include "tools/mandel/tmj0win.h"

#include "model/seed_list.h"

#include <algorithm>

#include "base/file_io.h"
#include "model/special_colours.h"

#include <cmath>

namespace qx {

namespace {

bool finiteReal(Real v) { return std::isfinite(v); }
bool positive(Real v) { return finiteReal(v) && v > 0; }

// The values a window cannot take refuse the whole document.
bool documentInRange(const MJDocument& d, bool julia)
{
    const auto& i = d.ints;
    const auto& r = d.reals;
    const int mode = i[DocIntMode];
    if (i[DocIntDegree] < kMinDegree || i[DocIntDegree] > kMaxDegree || mode < 0 || mode > 4)
        return false;
    if (!julia && mode == static_cast<int>(DisplayMode::Iim))
        return false;
    if (i[DocIntBinaryCount] < 1 || i[DocIntBinaryCount] > kMaxBinaryColours)
        return false;
    if (!finiteReal(r[DocRealCentreX]) || !finiteReal(r[DocRealCentreY]) || !positive(r[DocRealHalfWidth]))
        return false;
    if (!positive(r[DocRealThreshold]) || !positive(r[DocRealDemThickness]) || !positive(r[DocRealZoomFactor]))
        return false;
    if (!(r[DocRealZoomStep] > 1) || !finiteReal(r[DocRealZoomStep]))
        return false;
    if (!(r[DocRealMaxReps] >= 1 && r[DocRealMaxReps] <= 2147483647.0L))
        return false;
    if (!(r[DocRealOrbitLength] >= 1 && r[DocRealOrbitLength] <= 2147483647.0L))
        return false;
    const Complex c = d.variables[kVariableC];
    return finiteReal(c.re) && finiteReal(c.im) && !d.sequences.empty() && checkSequence(d.sequences[0]) == 0;
}

} // namespace

MJDocument TMJ0Win::captureDocument() const
{
    MJDocument d = fileState_;
    d.header = documentHeader();
    d.ints[DocIntDegree] = static_cast<int16_t>(params_.degree);
    d.ints[DocIntMouseMode] = static_cast<int16_t>(mouseMode_);
    d.ints[DocIntMode] = static_cast<int16_t>(params_.mode);
    d.ints[DocIntBinaryCount] = static_cast<int16_t>(params_.binaryCount);
    d.ints[DocIntAntiAlias] = antiAlias_ ? 1 : 0;
    d.flags[DocFlagAxes] = grid_.axesOn ? 1 : 0;
    d.flags[DocFlagGrid] = grid_.gridOn() ? 1 : 0;
    d.overlays = overlayState();
    d.flags[DocFlagOverlay] = orbits_.overlayOn ? 1 : 0;
    d.reals[DocRealCentreX] = view_.centerX;
    d.reals[DocRealCentreY] = view_.centerY;
    d.reals[DocRealHalfWidth] = view_.halfWidth;
    d.reals[DocRealDemThickness] = params_.demThickness;
    d.reals[DocRealThreshold] = params_.threshold;
    d.reals[DocRealZoomFactor] = zoomFactor_;
    d.reals[DocRealZoomStep] = zoomStep_;
    d.reals[DocRealOrbitLength] = orbitLength_;
    d.reals[DocRealMaxReps] = maxReps_;
    d.variables[kVariableC] = params_.c;
    d.zoomPlacement = zoomPlacement_;
    d.popupPlacement = popupPlacement_;
    d.sequences = {sequences_[0]};
    d.slides = slides_;
    d.ints[DocIntSeedCount] = static_cast<int16_t>(orbits_.seeds.size());
    setTailSeeds(d, orbits_.seeds);
    return d;
}

int TMJ0Win::applyDocument(const MJDocument& d)
{
    if (!documentInRange(d, params_.julia) ||
        !setView(d.reals[DocRealCentreX], d.reals[DocRealCentreY], d.reals[DocRealHalfWidth]))
        return kErrInconsistent;
    fileState_ = d;
    params_.degree = d.ints[DocIntDegree];
    params_.mode = static_cast<DisplayMode>(d.ints[DocIntMode]);
    params_.binaryCount = d.ints[DocIntBinaryCount];
    params_.demThickness = d.reals[DocRealDemThickness];
    params_.demScale = demScaleFor(params_.demThickness);
    params_.threshold = d.reals[DocRealThreshold];
    setParameter(d.variables[kVariableC]);
    antiAlias_ = d.ints[DocIntAntiAlias] != 0;
    grid_.axesOn = d.flags[DocFlagAxes] != 0;
    if (d.overlays)
        applyOverlayState(*d.overlays);
    orbits_.overlayOn = d.flags[DocFlagOverlay] != 0;
    zoomFactor_ = d.reals[DocRealZoomFactor];
    zoomStep_ = d.reals[DocRealZoomStep];
    orbitLength_ = static_cast<int32_t>(d.reals[DocRealOrbitLength]);
    maxReps_ = static_cast<int32_t>(d.reals[DocRealMaxReps]);
    const int mouse = d.ints[DocIntMouseMode];
    for (const CommandSpec& m : mouseModes())
        if (m.id == mouse)
            mouseMode_ = mouse;
    zoomPlacement_ = d.zoomPlacement;
    popupPlacement_ = d.popupPlacement;
    sequences_[0] = d.sequences[0];
    slides_ = d.slides;
    orbits_.seeds = tailSeeds(d, d.ints[DocIntSeedCount], seedReader());
    return 0;
}

ToolFiles TMJ0Win::toolFiles() const
{
    if (isJulia())
        return {kJuliaKind, ".jul", "Julia files (*.JUL)|*.jul", "jul"};
    return {kMandelKind, ".man", "Mandelbrot files (*.MAN)|*.man", "mandel"};
}

void TMJ0Win::encodeDocumentBody(ByteWriter& w) const
{
    encodeMJBody(w, captureDocument());
}

int TMJ0Win::decodeDocumentBody(ByteReader& r, const CommonHeader& h)
{
    MJDocument d = fileState_;
    d.header = h;
    if (const int e = decodeMJBody(r, h, d))
        return e;
    return applyDocument(d); // keeps d as the document's state
}

void TMJ0Win::keepColourEdit(const ColourEdit& e)
{
    int count = params_.binaryCount;
    qx::keepColourEdit(e, sequences_[0], count);
    params_.binaryCount = count;
    setDocumentChanged(true);
    redraw();
}

} // namespace qx
