#pragma once
// The bifurcation diagram: for every parameter r across the view the
// attractor of x -> f(r, x), drawn column by column by a drawing job, with
// an overlay curve x(r).
#include <cstddef> // before the core headers, which use size_t

#include "model/tvorlswin.h"

#include <atomic>
#include <functional>
#include <vector>

namespace qx {

inline constexpr int32_t kBifKind = 1202;

class TBif0Win : public TVorlSWin {
public:
    TBif0Win();

    // Mapping (539): f(r, x); unchanged text does nothing; 0 or the compiler's code.
    int setMapping(const std::string& text);
    const std::string& mappingText() const { return mapping_; }
    // Overlay function (563): the text is kept; `on` compiles it and shows
    // the curve. 0, or the compiler's code (the overlay then stays off).
    int setOverlay(const std::string& text, bool on);
    const std::string& overlayText() const { return overlay_; }
    bool overlayOn() const { return overlayOn_; }
    // The defaults: 0 left-to-right (logistic), 1 right-to-left (quadratic).
    void applyDefault(int k);

    // BPARAM: plotted, skipped, density (whole numbers >= 1, else 1) and the
    // seed (an expression; its code). Nothing changes on an error.
    struct Texts {
        std::string plotted, skipped, density, seed;
    };
    Texts texts() const;
    int applyTexts(const Texts& t);
    int32_t plotted() const { return plotted_; }
    int32_t skipped() const { return skipped_; }
    Real seed() const { return seed_; }
    // After a zoom by the factor F of the vertical extent: the counts become
    // max(100, nearest(-3 log10(F) x count)).
    void rescaleCounts(Real factor);

    // One pass of the diagram off the screen: `column` gets each column's
    // points (world coordinates) and the columns done of all. 0, 81 when
    // `stop` was raised, 3 without a map.
    using DiagramColumn = std::function<void(std::vector<WorldPoint>&, long long, long long)>;
    int diagramPass(const std::atomic<bool>* stop, const DiagramColumn& column) const;

    int drawFigure(Canvas& figure) override;
    void drawToolOverlays(Canvas& canvas) override;
    // Vector drawing: on every format (bitmaps rasterize it).
    bool canExport(const ExportFormat&) const override { return true; }
    bool drawExportPage(Canvas& canvas, int page) override;
    void copyDrawingSettings(const TKVAWing& from) override;
    // Mode 121: the left button drags a rectangle to zoom into (the counts
    // rescaled by its height), the right button opens a zoom window.
    std::vector<CommandSpec> mouseModes() const override;
    void mouseDown(MouseButton button, PixelPoint p) override;
    void zoomToRectangle(const WorldRect& r) override;

protected:
    void seedRandomly(Real low, Real high);
    // A slide keeps plotted (as reps), the view, the seed (as the parameter)
    // and, further, skipped, density and the view's half-height.
    int slideExtras() const override { return 3; }
    Slide captureSlide() const override;
    // The counts rescaled for each slide's zoom, the vertical extent with it.
    Slide zoomSlide(Slide previous, Real ratio) const override;
    bool applySlide(const Slide& s) override;

    std::string mapping_, overlay_;
    TreePtr map_, overlayTree_;
    bool overlayOn_ = true;
    int32_t plotted_ = 100, skipped_ = 100;
    int16_t density_ = 1;
    Real seed_ = 0.5L;
};

class TBifWin : public TBif0Win {
public:
    explicit TBifWin(bool randomDefault = true);
    ToolFiles toolFiles() const override;
    std::unique_ptr<TVorlWin> makeZoomChild() const override;
    void openZoomWindow(WorldPoint centre) override;
    void settingsCommand() override;

protected:
    void declareCommands(CommandSet& set) override;
    void encodeDocumentBody(ByteWriter& w) const override;
    int decodeDocumentBody(ByteReader& r, const CommonHeader& h) override;
};

} // namespace qx
