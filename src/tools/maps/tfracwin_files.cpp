// Documents of the map tools: the window as a FracDocument and back.
#include "tools/maps/tfracwin.h"

#include <cmath>

namespace qx {

namespace {

bool finiteReal(Real v) { return std::isfinite(v); }

} // namespace

FracDocument TFracWin::captureDocument() const
{
    FracDocument d = fileState_;
    d.header = documentHeader();
    d.ints[FracIntMouseMode] = static_cast<int16_t>(mouseMode_);
    d.ints[FracIntExpected] = static_cast<int16_t>(expectedTargets_);
    d.ints[FracIntSeedCount] = static_cast<int16_t>(orbits_.seeds.size());
    d.ints[FracIntMethod] = static_cast<int16_t>(method_);
    d.flags[FracFlagComplex] = complexTool() ? 1 : 0;
    d.flags[FracFlagAxes] = grid_.axesOn ? 1 : 0;
    d.flags[FracFlagGrid] = grid_.gridOn() ? 1 : 0;
    d.flags[FracFlagOverlay] = orbits_.overlayOn ? 1 : 0;
    d.reals[FracRealCentreX] = view_.centerX;
    d.reals[FracRealCentreY] = view_.centerY;
    d.reals[FracRealHalfWidth] = view_.halfWidth;
    d.reals[FracRealDefaultWidth] = defaultHalfWidth_;
    d.reals[FracRealZoomFactor] = zoomFactor_;
    d.reals[FracRealZoomStep] = zoomStep_;
    d.reals[FracRealOrbitLength] = orbitLength_;
    d.reals[FracRealMaxReps] = maxReps_;
    for (int i = 0; i < kFracVariables; ++i)
        d.variables[static_cast<size_t>(i)] = variable(i);
    d.mapping = mapping_;
    d.mapping2 = mapping2_;
    d.critical = criticalText_;
    d.slidePath = promenadePath_;
    d.extraText = complexTool() ? d.extraText : criticalText2_; // the real tool's y of the critical point
    d.juliaAnchor = juliaAnchorText_;
    d.targets = records_;
    d.library = library();
    d.colours.clear();
    for (int i = 0; i < targetCount(); ++i) {
        const TargetColours c = targetColours(i);
        d.colours.push_back({sequence(i), c.trap, c.sectors});
    }
    d.zoomPlacement = zoomPlacement_;
    d.popupPlacement = popupPlacement_;
    d.slides = slides_;
    setTailSeeds(d, orbits_.seeds);
    d.overlays = overlayState();
    return d;
}

int TFracWin::applyDocument(const FracDocument& d)
{
    const auto& r = d.reals;
    if (!finiteReal(r[FracRealCentreX]) || !finiteReal(r[FracRealCentreY]) || !(r[FracRealHalfWidth] > 0) ||
        !(r[FracRealMaxReps] >= 1 && r[FracRealMaxReps] <= 2147483647.0L) ||
        !(r[FracRealOrbitLength] >= 1 && r[FracRealOrbitLength] <= 2147483647.0L) || !(r[FracRealZoomStep] > 1) ||
        !finiteReal(r[FracRealZoomStep]) || (d.flags[FracFlagComplex] != 0) != complexTool())
        return kErrInconsistent;
    for (const FracTargetColours& c : d.colours)
        if (checkSequence(c.sequence) != 0)
            return kErrInconsistent;
    // Compile everything with the document's constants before anything changes.
    const ExprContext saved = cx_;
    for (int i = 0; i < kFracVariables; ++i)
        cx_.env.vars[static_cast<size_t>(i)] = d.variables[static_cast<size_t>(i)];
    cx_.library = d.library; // the mapping may call the document's functions
    CompiledMapping m;
    CompiledRealMapping real;
    std::vector<TargetTrees> trees(d.targets.size());
    bool ok = complexTool() ? compileMapping(cx_, d.mapping, dynamicPlane(), m) == 0
                            : compileRealMapping(cx_, d.mapping, d.mapping2, dynamicPlane(), real) == 0;
    for (size_t i = 0; ok && i < d.targets.size(); ++i)
        ok = compileTarget(cx_, d.targets[i], realTool(), trees[i]) == 0;
    cx_ = saved;
    if (!ok || !setView(r[FracRealCentreX], r[FracRealCentreY], r[FracRealHalfWidth]))
        return kErrInconsistent;
    fileState_ = d;
    setLibrary(d.library);
    for (int i = 0; i < kFracVariables; ++i)
        setVariable(i, d.variables[static_cast<size_t>(i)]);
    mapping_ = d.mapping; // as stored; the transform is rebuilt from it
    mapping2_ = d.mapping2;
    if (complexTool()) {
        map_ = std::move(m.map);
        if (m.method >= 0)
            methodTexts_[static_cast<size_t>(m.method)] = m.argument;
    } else {
        if (real.newton) {
            newtonP_ = real.p;
            newtonQ_ = real.q;
        }
        map_ = std::move(real.f);
        map2_ = std::move(real.g);
        derivePartials();
    }
    criticalText_ = d.critical;
    if (!d.slidePath.empty())
        promenadePath_ = d.slidePath;
    if (!complexTool())
        criticalText2_ = d.extraText;
    {
        TreePtr a, b; // a critical text that does not compile leaves the tree empty (no target)
        if (CompileExpression(cx_, criticalText_, a) == 0)
            critical_ = std::move(a);
        if (!complexTool() && CompileExpression(cx_, criticalText2_, b) == 0)
            critical2_ = std::move(b);
    }
    juliaAnchorText_ = d.juliaAnchor;
    const int method = d.ints[FracIntMethod];
    method_ = method >= 0 && method < kRootMethods ? static_cast<RootMethod>(method) : RootMethod::Newton;
    expectedTargets_ = d.ints[FracIntExpected];
    records_ = d.targets;
    trees_ = std::move(trees);
    trapColours_.clear();
    sectorColours_.clear();
    for (size_t i = 0; i < d.colours.size(); ++i) {
        setSequence(static_cast<int>(i), d.colours[i].sequence);
        trapColours_.push_back(d.colours[i].trap);
        sectorColours_.push_back(d.colours[i].sectors);
    }
    setTargets(records_); // colours of targets without stored ones, and the current index
    current_ = 0;
    undo_.clear();
    defaultHalfWidth_ = r[FracRealDefaultWidth] > 0 ? r[FracRealDefaultWidth] : r[FracRealHalfWidth];
    if (r[FracRealZoomFactor] > 0 && finiteReal(r[FracRealZoomFactor]))
        zoomFactor_ = r[FracRealZoomFactor];
    zoomStep_ = r[FracRealZoomStep];
    orbitLength_ = static_cast<int32_t>(r[FracRealOrbitLength]);
    maxReps_ = static_cast<int32_t>(r[FracRealMaxReps]);
    grid_.axesOn = d.flags[FracFlagAxes] != 0;
    if (d.overlays)
        applyOverlayState(*d.overlays);
    orbits_.overlayOn = d.flags[FracFlagOverlay] != 0;
    for (const CommandSpec& mode : mouseModes())
        if (mode.id == d.ints[FracIntMouseMode])
            mouseMode_ = mode.id;
    zoomPlacement_ = d.zoomPlacement;
    popupPlacement_ = d.popupPlacement;
    slides_ = d.slides;
    orbits_.seeds = tailSeeds(d, d.ints[FracIntSeedCount], seedReader());
    return 0;
}

void TFracWin::encodeDocumentBody(ByteWriter& w) const
{
    encodeFracBody(w, captureDocument());
}

int TFracWin::decodeDocumentBody(ByteReader& r, const CommonHeader& h)
{
    FracDocument d = fileState_;
    if (const int e = decodeFracBody(r, h, d))
        return e;
    return applyDocument(d);
}

} // namespace qx
