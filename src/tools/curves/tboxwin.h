#pragma once
// The box-counting level of the curve tools: "Box count" runs the counter a
// tool makes (off the user-interface thread, Q stops it) and shows the
// report; the grid overlay draws a counting grid over the picture.
#include <cstddef> // before the core headers, which use size_t

#include "model/tvorl1win.h"
#include "tools/curves/box_count.h"

#include <memory>

namespace qx {

class TBoxWin : public TVorl1Win {
public:
    // A snapshot of what the tool counts, for a worker; null when there is nothing.
    virtual std::unique_ptr<BoxCounter> makeBoxCounter() const = 0;
    // Starts the count; the report shows in a text window ("dimension.txt")
    // when at least five steps completed. False when nothing can be counted
    // or a count runs already.
    bool startBoxCount();
    // The report of the last count (tests, batch).
    const BoxCountReport& lastReport() const { return report_; }
    // The report with a last line "estimate: D" when a dimension was fitted.
    std::string reportWithEstimate() const;
    // The grid overlay: boxes per side (1024 = off).
    int gridOverlay() const { return gridOverlay_; }
    void setGridOverlay(int perSide);

protected:
    void declareCommands(CommandSet& set) override;
    void drawToolOverlays(Canvas& canvas) override;
    // The square the grid overlay covers: left, bottom and side; false when none.
    virtual bool countingSquare(Real& left, Real& bottom, Real& side) const = 0;

    BoxCountReport report_;
    int gridOverlay_ = kBoxGridSide;
};

} // namespace qx
