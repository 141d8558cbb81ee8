#include "registry/tool_registry.h"

#include "model/tfmjwin.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"

#include <array>
#include <cmath>

namespace qx {

namespace {

// Smooth rings and spokes through the window's first colour table: cheap,
// deterministic, and it shows every view change plainly.
class PlaceholderKernel : public PixelKernel {
public:
    explicit PlaceholderKernel(ColourTable table) : table_(std::move(table)) {}
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<PlaceholderKernel>(*this); }
    PixelValue colourAt(Real x, Real y, int, int) override
    {
        const int n = table_.length();
        if (n <= 0)
            return {0, 0};
        const Real t = std::sqrt(x * x + y * y) * 4 + std::atan2(y, x) * 3 / 3.14159265358979L;
        long i = std::lround(std::floor(t * table_.length() / 8)) % n;
        if (i < 0)
            i += n;
        return {table_.colours[static_cast<size_t>(i)], static_cast<int32_t>(i)};
    }

private:
    ColourTable table_;
};

class PlaceholderWin : public TFMJWin {
public:
    explicit PlaceholderWin(int row) : row_(row)
    {
        defaultHalfWidth_ = 2;
        view_.setViewByCenter(0, 0, defaultHalfWidth_);
    }

    std::unique_ptr<PixelKernel> makeKernel() const override
    {
        return std::make_unique<PlaceholderKernel>(colourTable(0));
    }

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
        auto child = std::make_unique<PlaceholderWin>(row_);
        child->palette_ = palette_;
        child->sequences_ = sequences_;
        child->grid_ = grid_;
        child->special_ = special_;
        child->maxReps_ = maxReps_;
        child->zoomFactor_ = zoomFactor_;
        child->antiAlias_ = antiAlias_;
        child->threads_ = threads_;
        return child;
    }

private:
    int row_;
};

} // namespace

std::unique_ptr<TVorlWin> createToolModel(int launchRow)
{
    if (launchRow < 0 || launchRow >= kLaunchRows)
        return nullptr;
    if (launchRow == 0)
        return std::make_unique<TManWin>();
    if (launchRow == 1)
        return std::make_unique<TJulWin>();
    return std::make_unique<PlaceholderWin>(launchRow);
}

} // namespace qx
