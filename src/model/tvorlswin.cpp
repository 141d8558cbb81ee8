#include "model/tvorlswin.h"

#include <algorithm>

namespace qx {

namespace {

// Every pixel in one palette colour (the set colour of the base window).
class PlainKernel : public PixelKernel {
public:
    PlainKernel(Rgb colour, int32_t code) : value_{colour, code} {}
    std::unique_ptr<PixelKernel> clone() const override { return std::make_unique<PlainKernel>(*this); }
    PixelValue colourAt(Real, Real, int, int) override { return value_; }

private:
    PixelValue value_;
};

} // namespace

std::unique_ptr<PixelKernel> TVorlSWin::makeKernel() const
{
    const int index = special_.get(SlotNoTarget);
    return std::make_unique<PlainKernel>(paletteColour(palette_, index), specialColourCode(paletteSlot(index)));
}

Real TVorlSWin::sampleOffset() const
{
    return 0.42L * 2 * view_.halfWidth / std::max<Real>(view_.pixWidth - 1, 1);
}

void TVorlSWin::addSlide()
{
    slides_.push_back(Slide{maxReps_, view_.centerX, view_.centerY, view_.halfWidth, {}});
}

void TVorlSWin::removeLastSlide()
{
    if (!slides_.empty())
        slides_.pop_back();
}

} // namespace qx
