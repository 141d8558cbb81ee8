#pragma once
// A small complete tool window for tests of the window chain: smooth rings
// and spokes through the first colour table (cheap, deterministic, and every
// view change shows), a "Show point" mouse mode and zoom windows of its own kind.
#include "graphics/axes.h"
#include "model/tfmjwin.h"

#include <cmath>

namespace qx::test {

class RingsKernel : public PixelKernel {
public:
    explicit RingsKernel(ColourTable table) : table_(std::move(table)) {}
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<RingsKernel>(*this); }
    PixelValue colourAt(Real x, Real y, int, int) override
    {
        const int n = table_.length();
        if (n <= 0)
            return {0, 0};
        const Real t = std::sqrt(x * x + y * y) * 4 + std::atan2(y, x) * 3 / 3.14159265358979L;
        long i = std::lround(std::floor(t * n / 8)) % n;
        if (i < 0)
            i += n;
        return {table_.colours[static_cast<size_t>(i)], static_cast<int32_t>(i)};
    }

private:
    ColourTable table_;
};

class PlaneTestWin : public TFMJWin {
public:
    PlaneTestWin()
    {
        defaultHalfWidth_ = 2;
        view_.setViewByCenter(0, 0, defaultHalfWidth_);
    }

    std::unique_ptr<PixelKernel> makeKernel() const override { return std::make_unique<RingsKernel>(colourTable(0)); }

    std::vector<CommandSpec> mouseModes() const override
    {
        return {{CmdMouseFirst, "Show &point", "", CommandKind::Radio, kMenuBtns, ""},
                {CmdMouseFirst + 1, "&Zoom window", "", CommandKind::Radio, kMenuBtns, ""}};
    }

    void mouseDown(MouseButton button, PixelPoint p) override
    {
        if (button != MouseButton::Left || busy()) {
            TFMJWin::mouseDown(button, p);
            return;
        }
        const WorldPoint w = view_.pixelToWorld(p);
        if (mouseMode_ == CmdMouseFirst)
            host().showMessage(formatReal(w.x, 1, 7) + " , " + formatReal(w.y, 1, 7), "point");
        else
            openZoomWindow(w);
    }

    std::unique_ptr<TVorlWin> makeZoomChild() const override
    {
        return std::make_unique<PlaneTestWin>();
    }
};

} // namespace qx::test
