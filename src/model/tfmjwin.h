#pragma once
// Adds the escape-time pixel sweep over the whole view, and the maximum
// period command (545). Tools override makeKernel() and, when their
// picture is symmetric, sweepSymmetry().
#include "model/tvorlswin.h"

#include <optional>

namespace qx {

class TFMJWin : public TVorlSWin {
public:
    TFMJWin();


    // drawFigure of sweeping tools: starts sweep().
    int drawFigure(Canvas& figure) override;
    // Start the sweep on worker threads: kRenderPending or an error code.
    virtual int sweep();
    // Inverse-image drawing (tools with an inverse map).
    virtual int drawInverse(Canvas&) { return 0; }
    // 0 none, 1 mirror about the horizontal centre line, 2 point symmetry.
    virtual int sweepSymmetry() const { return 0; }
    // Geometry of the sweep for the current view.
    virtual SweepGeometry sweepGeometry() const;
    std::optional<SweepGeometry> exportGeometry() const override { return sweepGeometry(); }


protected:
    void declareCommands(CommandSet& set) override;
    void renderFinished(int status) override;
    bool firstSweep_ = true;
};

} // namespace qx
