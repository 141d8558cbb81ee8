#include "model/tfmjwin.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qx {

namespace {

constexpr std::array<CommandSpec, 2> kCommands{{
    {CmdMaxPeriod, "Maximum = 10000 ...", "", CommandKind::Plain, kMenuMisc, ""},
    {CmdGuess, "&Guess (fast preview, inexact)", "", CommandKind::Toggle, kMenuMisc, ""},
}};

} // namespace

TFMJWin::TFMJWin()
{
    watch_ = true;
}

void TFMJWin::declareCommands(CommandSet& set)
{
    TVorlSWin::declareCommands(set);
    set.add(kCommands[0], [this] {
        std::string text = std::to_string(maxPeriod_);
        if (host().inputText("maximum period", text))
            if (const int e = setMaxPeriod(text))
                host().showError(e);
    });
    set.add(kCommands[1], [this] {
        guess_ = !guess_;
        draw();
    }, [this] { return guess_; });
}

int TFMJWin::drawFigure(Canvas&)
{
    return sweep();
}

SweepGeometry TFMJWin::sweepGeometry() const
{
    // One pitch from the half-width on both axes (scaled by the aspect of a
    // view set by its corners), from the top-left pixel.
    const Real pitch = 2 * view_.halfWidth / std::max<Real>(view_.pixWidth - 1, 1);
    return {view_.pixWidth, view_.pixHeight, view_.xMin, view_.yMax, pitch, pitch * view_.aspect};
}

int TFMJWin::sweep()
{
    const auto kernel = makeKernel();
    if (!kernel)
        return 3;
    SweepOptions options;
    options.symmetry = sweepSymmetry();
    options.antiAlias = antiAlias_;
    options.sampleOffset = sampleOffset();
    options.threads = threads_;
    return startSweep(*kernel, sweepGeometry(), options);
}

void TFMJWin::renderFinished(int status)
{
    // A finished sweep of a moved view changes the document, except the
    // window's very first picture.
    if (status == 0 && !firstSweep_ && std::fabs(defaultHalfWidth_ - view_.halfWidth) > 1e-16L)
        documentChanged_ = true;
    firstSweep_ = false;
}

} // namespace qx
