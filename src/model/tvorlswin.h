#pragma once
// Adds the per-pixel colour used by the sweep, with anti-aliasing, and the
// slide list values.
#include "model/tvorltwin.h"

#include <memory>
#include <vector>

namespace qx {

struct Slide {
    int32_t maxReps = 100;
    Real centerX = 0, centerY = 0, halfWidth = 1;
    Complex c;
};

class TVorlSWin : public TVorlTWin {
public:
    // The tool's colour function, snapshotted for one sweep (colourAt of the
    // chain). The base colours every pixel with the set colour.
    virtual std::unique_ptr<PixelKernel> makeKernel() const;

    void copyDrawingSettings(const TKVAWing& from) override
    {
        TVorlTWin::copyDrawingSettings(from);
        if (const auto* s = dynamic_cast<const TVorlSWin*>(&from))
            antiAlias_ = s->antiAlias_;
    }
    bool antiAlias() const { return antiAlias_; }
    void setAntiAlias(bool on) { antiAlias_ = on; }
    // Sample offset of anti-aliasing: 0.42 of the current pixel pitch.
    Real sampleOffset() const;

    const std::vector<Slide>& slides() const { return slides_; }
    void addSlide();
    void removeLastSlide();
    void clearSlides() { slides_.clear(); }

protected:
    bool antiAlias_ = false;
    std::vector<Slide> slides_;
};

} // namespace qx
