#pragma once
// The common model of the Mandelbrot and Julia windows: the parameters of
// z -> z^d + c, the kernel each render sweeps with, the symmetry it may
// use, and the map for orbits.
#include <cstddef> // before the core headers, which use size_t

#include "model/tfmjwin.h"
#include "tools/mandel/mj_dialog.h"
#include "tools/mandel/mj_document.h"
#include "tools/mandel/mj_kernel.h"
#include "tools/mandel/mj_params.h"

namespace qx {

class TMJ0Win : public TFMJWin {
public:
    explicit TMJ0Win(bool julia);

    // The parameters as a render uses them: the chain's maximum reps,
    // anti-aliasing and maximum period folded in.
    MJParams params() const;
    bool isJulia() const { return params_.julia; }
    Complex parameter() const { return params_.c; }
    // c is also the expression variable C, so seeds and constants can use it.
    void setParameter(Complex c)
    {
        params_.c = c;
        setVariable(kSlotC, c);
    }
    int degree() const { return params_.degree; }

    // Settings dialog: 0 and a redraw, or the error code and no change.
    int applySettings(const MJParamTexts& texts);
    // "Degree ...": 0, or 1 / 17 and no change. Does not redraw.
    int applyDegree(const std::string& text);
    // Degree, threshold, mode and its settings, maximum reps, colours,
    // special colours, grid, zoom factor and sweep threads of `other` (what
    // a child window inherits); c and the window kind stay.
    void copyDrawingSettings(const TKVAWing& from) override;

    // The colours a render reads from the window's tables and palette.
    MJColours renderColours() const;
    std::unique_ptr<PixelKernel> makeKernel() const override;
    int sweepSymmetry() const override;
    // The sweep's pixel grid with its rows centred on the view's centre, as
    // its columns are, so that mirrored rows show mirrored points.
    SweepGeometry sweepGeometry() const override;
    OrbitMap orbitMap() const override;
    int drawFigure(Canvas& figure) override;

    // ---- Orbits and inverse iteration (tmj0win_orbits.cpp).
    // Inverse-image picture on the screen, up to the screen limit, as a
    // drawing job; Q stops it (81) and sets a new ceiling
    // (iimCeilingAfterInterrupt).
    int drawInverse(Canvas& figure) override;
    // The inverse-image method on any canvas for at most `limit` steps
    // (limit <= 0: no limit). Returns 0, or 81 when interrupted.
    int runInverse(Canvas& canvas, int32_t limit);
    std::vector<Complex> preimagesOf(Complex z) override;
    // EPS: the background, the inverse-image points (up to the output
    // limit) and every overlay; the escape-time picture is pixels only.
    // Vector formats: the inverse-image points, orbits and overlays; pixel
    // formats: the picture as on the screen.
    bool canExport(const ExportFormat&) const override { return true; }
    // Escape-time pictures are pixels; inverse iteration draws points.
    bool drawsPixels() const override { return params_.mode != DisplayMode::Iim; }

protected:
    // The gray sequence of the first colour sequence, binary colours by their
    // fixed shades, the set and DEM colours black.
    void printBlackAndWhite(Image& page, const std::vector<int32_t>& codes) const override;

public:
    bool drawExportPage(Canvas& canvas, int page) override;

    // The "Show period" text for a pixel of the view.
    std::string periodReportAt(PixelPoint pixel) const;

    // ---- Documents and settings files (mj_window_files.cpp).
    int32_t windowKind() const { return isJulia() ? kJuliaKind : kMandelKind; }
    ToolFiles toolFiles() const override;
    // The window as a document; fields it does not model are kept as read.
    MJDocument captureDocument() const;
    // Takes a document: 0, or 6 for a value out of range (nothing changes).
    int applyDocument(const MJDocument& d);
    // The colour editor's result, with the binary count k; redraws.
    void keepColourEdit(const ColourEdit& e) override;
    int binaryColourCount() const override { return params_.binaryCount; }

protected:
    // "Draw" when a host shows the window; a model on its own just marks
    // its figure for the next paint.
    void redraw();
    void encodeDocumentBody(ByteWriter& w) const override;
    int decodeDocumentBody(ByteReader& r, const CommonHeader& h) override;
    void captureToolSettings(SettingsFile& s) const override;
    void applyToolSettings(const SettingsFile& s) override;
    void documentRead() override { firstSweep_ = true; } // drawing it does not change it
    Complex slideParameter() const override { return params_.c; }
    void applySlideParameter(Complex c) override { setParameter(c); }

    void renderFinished(int status) override;

    MJMapParams params_;
    std::atomic<int32_t> inverseSteps_{0}; // steps of the last inverse-image drawing
    MJDocument fileState_; // the body of the last document read or written
};

} // namespace qx
