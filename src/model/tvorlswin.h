#pragma once
// Adds the per-pixel colour used by the sweep, with anti-aliasing, and the
// slide list values.
#include "model/slide_list.h"
#include "model/tvorltwin.h"

#include <memory>
#include <optional>
#include <vector>

namespace qx {


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


    // ---- Pixel pages (BMP): the picture of the current view swept now, with
    // the overlays. Tools that sweep give their geometry.
    virtual std::optional<SweepGeometry> exportGeometry() const { return std::nullopt; }
    // What a tool sets up before each sweep (targets compiled for the current
    // constants, automatic extremes): the window's render and a pixel page
    // both call it, so that a page is the picture the window shows.
    virtual void prepareSweep() {}
    bool drawsPixels() const override { return exportGeometry().has_value(); }
    // Pixel pages for a black-and-white printer: sequence colours become
    // dithered gray patterns, special colours black (printBlackAndWhite).
    void setBlackAndWhitePages(bool on) { blackAndWhite_ = on; }
    bool blackAndWhitePages() const { return blackAndWhite_; }
    bool canExport(const ExportFormat& format) const override;
    bool drawExportPage(Canvas& canvas, int page) override;

    // ---- The slide list: "Add to list" (645, F9), "Remove last" (646),
    // "Number ..." (567), "Clear list" (647), "Make slides" (648), "Save the
    // show" (56). Each slide keeps maximum reps, the view and c.
    const std::vector<Slide>& slides() const { return slides_; }
    void addSlide();
    void removeLastSlide();
    void clearSlides() { slides_.clear(); }
    // "Zoom slides ..." (533): `count` slides after the current view, each
    // `ratio` times the extent of the one before about the same centre
    // (below 1 zooms in), appended to the list. 0, or 17 for a count outside
    // 1..1000 or a ratio outside (0, 100] (nothing changes then).
    int addZoomSlides(int32_t count, Real ratio);
    // The ratio "Zoom slides" used last (0.5 at first): \ZOOM pages zoom by it.
    Real zoomRatio() const { return zoomRatio_; }
    // Export pages: \ZOOM is known here (each page `zoomRatio` times the
    // extent of the one before, about the same centre), letters in the base.
    int pageDirective(const std::string& text, std::string& letters) const override;
    void animatePage(int page, int pages, int kind, const std::string& letters) override;
    // "Make slides": draws the slides one after the other, each when the
    // previous is finished; Q ends the show. 10 (nothing to show) without slides.
    int makeSlides();
    bool showingSlides() const { return nextSlide_ >= 0; }
    // "Save the show": the slides as a show file; 0 or 12.
    int saveShow(const std::string& path) const;

protected:
    void declareCommands(CommandSet& set) override;
    // The parameter a slide keeps, for tools that have one.
    virtual Complex slideParameter() const { return {}; }
    virtual void applySlideParameter(Complex /*c*/) {}
    // A tool whose slides keep more than reps, view and parameter: how many
    // further reals (Slide::extra), the slide of the window now, and showing
    // one (false when it cannot be shown; the show ends then).
    virtual int slideExtras() const { return 0; }
    // The next zoom slide after `previous`: the base scales the half-width.
    virtual Slide zoomSlide(Slide previous, Real ratio) const;
    virtual Slide captureSlide() const;
    virtual bool applySlide(const Slide& s);
    void renderSettled(int status) override;

    // A swept page in black and white, from the row codes of its pixels.
    // The base dithers each pixel's luminance; tools with gray sequences
    // use them (and tools whose kernels print in black and white already
    // leave the page as it is).
    virtual void printBlackAndWhite(Image& page, const std::vector<int32_t>& codes) const;

    bool antiAlias_ = false;
    bool blackAndWhite_ = false;
    std::vector<Slide> slides_;

private:
    void showSlide(size_t index);
    void saveShowCommand();
    int nextSlide_ = -1; // the slide "Make slides" draws next, -1 when no show runs
    Real zoomRatio_ = 0.5;
};

} // namespace qx
