#pragma once
// The dynamics window base: figure and composite images and the paint
// path, background rendering, mouse modes, right-button zoom, watch,
// magnification, special colours, status titles and child-window switches.
//
// How a host drives it (all calls on the user-interface thread):
//   attach(host); resize(w, h); setUp();
//   paintEvent:  model.paint(); then show model.picture();
//   timer, after Host::backgroundWorkStarted(): call model.tick() every
//                20..50 ms until it returns false (it calls showProgressImage
//                as rows arrive and requestRepaint at the end);
//   Q, an accelerator key, move, resize start, right-click while busy():
//                model.interruptRendering();
//   mouse:       model.mouseDown(button, pixel) ...; keys: model.keyDown(key)
//   close:       model.finishRendering() (joins the workers).
// Nothing here blocks the caller: a pixel sweep runs on worker threads and
// tick() copies the finished rows into the picture (when "Watch" is on); a
// view change, resize or Draw during a render stops it without waiting and
// the next render starts once the workers have finished their rows.
#include "model/colour_tables.h"
#include "model/orbit_points.h"
#include "model/orbit_settings.h"
#include "model/command_ids.h"
#include "model/drawing_job.h"
#include "model/pixel_sweep.h"
#include "model/seed_list.h"
#include "model/overlay_section.h"
#include "model/settings_file.h"
#include "model/tfuncwin.h"
#include "base/messages.h"
#include "base/window_placement.h"
#include "graphics/image.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <vector>

namespace qx {

enum class MouseButton { Left, Right, Middle };

// What a tool tells the chain about its files.
struct ToolFiles {
    int32_t kind = 0;         // window kind in headers; 0 = the tool keeps no files
    std::string extension;    // ".man"
    std::string filter;       // "Mandelbrot files (*.MAN)|*.man"
    std::string settingsStem; // "mandel": mandel.ini, and mandelz.ini for zoom windows
};

// The largest document any tool writes.
inline constexpr size_t kMaxDocumentFileBytes = 1u << 20;

// drawFigure() result meaning "started on worker threads; tick() finishes it".
inline constexpr int kRenderPending = -1;

class TVorlWin : public TFuncWin {
public:
    TVorlWin();
    ~TVorlWin() override;

    void copyDrawingSettings(const TKVAWing& from) override;

    // ---- Host interface.
    const Image& picture() const { return composite_; }
    void resize(int width, int height) override;
    // A render, a drawing job, a side job or an export runs in the background.
    bool busy() const { return busy_ || exporting() || sideJob_.running(); }
    // A side job: background work that is no picture (a search, say). It
    // runs beside the figure, the title shows its progress, Q stops it, and
    // `done` gets its status on the user-interface thread when it ends. One
    // at a time; false when one is running.
    bool startSideJob(std::unique_ptr<DrawingJob> job, std::function<void(int)> done);
    bool sideJobRunning() const { return sideJob_.running(); }
    // Waits for a running side job and hands over its result (tests, batch).
    void finishSideJob();
    // Points of the last orbit overlay or inverse-iteration steps (-1: none yet).
    int32_t reps() const { return reps_; }
    // Advance a background render: show new rows, poll the host for an
    // interrupt, finish when the workers are done. True while still busy.
    bool tick();
    void interruptRendering();
    // Block until a background render ends; returns its status (0, 81) or 0.
    int finishRendering();
    virtual void mouseDown(MouseButton button, PixelPoint p);
    // A key (upper-cased character code); 'Q' interrupts a render. True when used.
    virtual bool keyDown(int key);

    // ---- Virtual operations of the chain.
    // Render the figure on `figure` (a canvas on the figure image). Returns
    // 0, 81 (interrupted) or kRenderPending (background sweep started).
    virtual int drawFigure(Canvas& figure);
    // Everything drawn over the cached figure, for every tool: axes and grid,
    // zoom rectangles, seed orbits, marks, labels, the orbiter's marks, and
    // last the tool's own (drawToolOverlays). Recomposing never re-renders.
    // On the screen (`screen`) the seed orbits come from the points a
    // background job keeps; elsewhere (exports) they are computed now.
    void drawOverlays(Canvas& composite, bool screen = false);
    virtual void drawToolOverlays(Canvas& /*composite*/) {}
    // Opens a zoom window: a child of the same kind (makeZoomChild) with this
    // window's drawing settings, centred at `centre`, the zoom factor closer.
    virtual void openZoomWindow(WorldPoint centre);
    // Opens the last zoom window again (at its centre); false when there was none.
    bool reopenZoomWindow();
    // A fresh model of the same tool (the chain then copies this window's
    // drawing settings into it); nullptr when the tool has no zoom windows.
    virtual std::unique_ptr<TVorlWin> makeZoomChild() const { return nullptr; }
    // The paint path: render when the figure is invalid, recompose when the
    // composite is, else nothing.
    virtual void paint();
    // Right-button zoom: `factor` multiplies the half-width (1/10 by default).
    virtual void zoomAt(PixelPoint pixel, Real factor);
    // The map of orbits and the orbiter (identity unless the tool has one),
    // as a snapshot that a worker may call while the window changes.
    virtual OrbitMap orbitMap() const
    {
        return [](Complex z) { return z; };
    }
    Complex map(Complex z) const { return orbitMap()(z); }
    virtual void draw();
    virtual void refresh();

    // ---- The parameter bar: a slider that moves one letter of the variable
    // table between its bounds, for tools that offer one (the host shows it
    // when parameterBar() has a value and asks again after
    // Host::parameterBarChanged).
    struct ParameterBar {
        int slot = 0;
        Real low = 0, high = 1, value = 0;
    };
    virtual std::optional<ParameterBar> parameterBar() const { return std::nullopt; }
    // The user moved the slider to `value` (within the bounds).
    virtual void parameterBarMoved(Real /*value*/) {}

    // ---- Status titles and progress.
    void setStatusTitle(int kind, int a = 0, int b = 0);
    void restoreTitle();
    // The title between reports: the document's name unless the tool shows
    // something else (the map tools show their mapping).
    virtual std::string normalTitle() const { return documentName_; }
    void showProgress(int row, int rows);
    void setDocumentName(const std::string& name) { documentName_ = name; }
    const std::string& documentName() const { return documentName_; }

    // ---- State queried by tools, dialogs and tests.
    bool figureValid() const { return figureValid_; }
    bool compositeValid() const { return compositeValid_; }
    const Image& figureImage() const { return figure_; }
    const std::vector<int32_t>& rowCodes() const { return codes_; }
    bool documentChanged() const { return documentChanged_; }
    void setDocumentChanged(bool on) { documentChanged_ = on; }
    int32_t maxReps() const { return maxReps_; }
    void setMaxReps(int32_t n) { maxReps_ = n; }
    int32_t orbitLength() const { return orbitLength_; }
    int32_t maxPeriod() const { return maxPeriod_; }
    Real zoomFactor() const { return zoomFactor_; }
    Real defaultHalfWidth() const { return defaultHalfWidth_; }
    int mouseMode() const { return mouseMode_; }
    bool watch() const { return watch_; }
    bool newZoomWindow() const { return newZoomWindow_; }
    bool zoomRectangle() const { return zoomRectangle_; }
    bool useDefaultsForChildren() const { return useDefaults_; }
    // Whether set-up reads the tool's settings file (set by the creator:
    // the frame, or a parent window from its "Use defaults" switch).
    bool readSettings() const { return readSettings_; }
    void setReadSettings(bool on) { readSettings_ = on; }
    const std::vector<WorldRect>& zoomRectangles() const { return zoomRects_; }
    // log10(default half-width / half-width).
    Real magnification() const;
    std::string magnificationText() const; // 4 decimals
    // The placements of zoom children and pop-ups, from the window's own
    // initial position.
    void setInitialPosition(int32_t x, int32_t y);
    const WindowPlacement& zoomPlacement() const { return zoomPlacement_; }
    // Input commands with the text the dialog returned: 0, 1 or 17.
    int setOrbitLength(const std::string& text);
    int setMaxPeriod(const std::string& text);
    static constexpr int32_t kMaxPeriodLimit = 10000;
    // Mouse modes the tool offers (ids 120..125 with their texts), in order.
    virtual std::vector<CommandSpec> mouseModes() const { return {}; }
    // Worker threads for sweeps; 0 = one per core.
    void setSweepThreads(int n) { threads_ = n; }
    // Guessing in the on-screen sweep (fast, inexact previews; off by
    // default, never stored, never used for export pages or prints).
    void setSweepGuess(bool on) { guess_ = on; }
    bool sweepGuess() const { return guess_; }
    // Progress titles during the render (printing, slides, bitmap export).
    void setProgressReports(bool on) { progressReports_ = on; }

    // ---- Documents and settings files (tvorlwin_files.cpp), once for every
    // tool: the common header with the live placement, atomic saves, the
    // changed flag, Open/Save/Save As, the last document, settings read at
    // set-up and written at close. A tool gives toolFiles() and the hooks
    // below for its own sections; a tool without files keeps kind 0.
    virtual ToolFiles toolFiles() const { return {}; }
    // "mandel.ini"; zoom windows keep their own file, "mandelz.ini".
    std::string settingsFileName() const;
    // Read a document into the window: 0, or its code (nothing changes).
    // On success the window's name and the last document become `path`.
    int readDocument(const std::string& path);
    // Write the window's document safely (temporary file, then rename): 0 or
    // 12 "cannot save file" (the previous file stays as it was).
    int writeDocument(const std::string& path);
    // The header of the last document or settings file read or written.
    const CommonHeader& fileHeader() const { return fileHeader_; }
    const std::string& lastDocument() const { return lastDocument_; }
    // At set-up: read the settings file (when readSettings()), then open
    // `document`, or the last document when `reopenLast`.
    void loadStartupFiles(bool reopenLast, const std::string& document);
    // The handed-over document, else the last one when "Open last" is on;
    // true when one was read.
    bool openInitialDocument(const std::string& handedOver);
    // The window placement the settings file or document asked for, if any.
    bool storedPlacement(WindowPlacement& p) const;
    // Before closing: "save changes to " + name when the document changed;
    // false = cancelled.
    bool queryClose() { return offerToSave(); }
    // The window closes at `placement`: write the settings file.
    void saveSettingsOnClose(const WindowPlacement& placement);
    // Settings: what the window keeps between runs, and their files. The
    // path variants are for tests and the batch program.
    SettingsFile captureSettings() const;
    void applySettingsFile(const SettingsFile& s);
    int readSettingsFrom(const std::string& path);
    bool writeSettingsTo(const std::string& path) const;
    void readSettingsFile();
    void writeSettingsFile() const;
    void setWriteSettings(bool on) { writeSettings_ = on; }
    void setReopenLast(bool on) { reopenLast_ = on; }
    // Zoom windows are new, untitled documents with their own settings file.
    bool isZoomChild() const { return zoomChild_; }
    void setZoomChild(bool on) { zoomChild_ = on; }
    // Open (59), Save (57), Save As (58) and Close: the tool places them in
    // its menus by declaring them.
    void declareDocumentCommands(CommandSet& set);
    void openCommand();
    bool saveCommand();
    bool saveAsCommand();
    bool offerToSave();

    void viewChanged() override;
    void overlaysChanged() override;
    // The figure alone: axes, grid, labels and marks off (batch --plain).
    void showFigureOnly();
    // "Copy to clipboard" (310): the picture as SVG, when the tool draws
    // vectors, and as the pixels on the screen. False when nothing was copied.
    bool copyToClipboard();

    // ---- Printing ("Print ..." Ctrl+P, "Print preview ..."): the host's
    // printer dialog, which draws the page with drawPage.
    // Whether the picture is pixels of a sweep (a page then sweeps at the
    // printer's resolution); otherwise it is drawn as lines, dots and text.
    virtual bool drawsPixels() const { return false; }
    // The window's world rectangle at w x h pixels.
    View pageView(int w, int h) const;
    // The picture as an export page draws it, at the canvas's view (from
    // pageView); false when the window has nothing to print.
    bool drawPage(Canvas& canvas);

    // ---- Orbits (tvorlwin_orbits.cpp): the seed list and its overlays, the
    // orbiter, the mouse-held image modes and the coordinate table. Tools
    // that offer them declare the orbit commands.
    void declareOrbitCommands(CommandSet& set);
    const std::vector<Seed>& seeds() const { return orbits_.seeds; }
    // Seed texts read as constants of the window.
    SeedReader seedReader() const
    {
        return [this](const std::string& t, Complex& v) { return evaluateConstant(t, v) == 0; };
    }
    // "Seed list ...": the list becomes parseSeedList(text); recomposes only.
    void setSeedListText(const std::string& text);
    void setSeeds(std::vector<Seed> seeds);
    bool overlayOrbits() const { return orbits_.overlayOn; }
    void setOverlayOrbits(bool on);
    const OrbitSettings& orbitSettings() const { return orbits_.settings; }
    // "IIM limits ...": 0 or the code of parseIimLimits (nothing changes then).
    int setIimLimits(const std::string& screen, const std::string& output);
    // Points k = 0 .. orbit length from `start` under map(); it stops early
    // at a point that is not finite, since the orbit cannot come back.
    std::vector<Complex> orbitFrom(Complex start);
    // One pass per seed: every orbit point inside the view as a dot in the
    // critical-orbit colour. Part of drawOverlays while the overlay is on:
    // on the screen from the kept points (nothing until the job has them),
    // elsewhere computed now.
    void drawOrbitOverlays(Canvas& canvas, bool screen = false);
    // The kept points are out of date (seeds, orbit length, a new figure).
    void orbitPointsChanged();
    // The orbiter: a marker at the start, then one at each map() image per
    // space bar; Q, another start or 15 s without a key ends it.
    void startOrbiter(Complex start);
    bool orbiterActive() const { return orbits_.orbiterActive; }
    void advanceOrbiter();
    void endOrbiter();
    // The host's idle timer ran out (Host::setIdleTimer).
    virtual void idleTimeout();
    // "Seed point ...": 0 and the orbiter started at the point, or 1.
    int seedPoint(const std::string& text);
    // Mouse-held modes: 124 marks the preimages of the point under the
    // mouse, 125 its image, while the left button is held.
    virtual void mouseMove(PixelPoint p);
    virtual void mouseUp(MouseButton button, PixelPoint p);
    virtual std::vector<Complex> preimagesOf(Complex) { return {}; }
    void showHeldMarkers(int mode, PixelPoint p);
    struct TransientMark {
        WorldPoint p;
        int colour;
    };
    // Orbiter and mouse-held markers: drawn over the composite, never kept.
    const std::vector<TransientMark>& transientMarks() const { return orbits_.transient; }
    void drawTransientMarks(Canvas& canvas) const;
    // ---- Zooming by dragging a rectangle with the left button, for tools
    // whose mouse mode says so: beginDragZoom at the press; the rectangle
    // follows the mouse (drawn with the transient marks) and the release
    // zooms into it when it is at least 3 pixels each way.
    void beginDragZoom(PixelPoint p);
    bool draggingZoom() const { return dragZoom_.has_value(); }
    // The release gave `r`: the base makes it the view (by corners).
    virtual void zoomToRectangle(const WorldRect& r);
    // The most recently computed orbit (orbiter, or the overlay after a
    // change of the seeds or the length) and its table text.
    const std::vector<Complex>& lastOrbit() const { return orbits_.lastOrbit; }
    std::string coordinateTable() const { return orbitTableText(orbits_.lastOrbit, orbits_.settings.ascending); }

protected:
    void declareCommands(CommandSet& set) override;
    // ---- A tool's own files. The body follows the common header; decoding
    // changes the window only when it returns 0.
    virtual void encodeDocumentBody(ByteWriter& /*w*/) const {}
public:
    // The tool's document body alone, as a document holds it after the
    // header (tests and the fuzzer read and write bodies directly).
    void writeBody(ByteWriter& w) const { encodeDocumentBody(w); }
    int readBody(ByteReader& r, const CommonHeader& h) { return decodeDocumentBody(r, h); }
protected:
    virtual int decodeDocumentBody(ByteReader& /*r*/, const CommonHeader& /*h*/) { return ErrNothingToDo; }
    // The tool's slots of the settings file.
    virtual void captureToolSettings(SettingsFile& /*s*/) const {}
    virtual void applyToolSettings(const SettingsFile& /*s*/) {}
    // The overlays a document keeps (grid, labels, marks), and taking them
    // from one; the caller has checked them (readOverlaySection).
    OverlayState overlayState() const;
    void applyOverlayState(const OverlayState& s);
    // The header the next document write starts with: the kept header with
    // the window's kind, live placement, special colours and palette.
    CommonHeader documentHeader() const;
    // A document was read: the next picture is the document's own.
    virtual void documentRead() {}
    void specialColoursCommand();

    CommonHeader fileHeader_;  // kept as read for the next write
    SlotGroup settingsGroup1_; // slots kept as read for the next write
    SlotGroup settingsGroup2_;
    std::string lastDocument_;
    bool writeSettings_ = true;
    bool reopenLast_ = false;
    bool zoomChild_ = false;
    int zoomChildren_ = 0; // names "nonameN" of this window's zoom windows

    bool orbiterKey(int key);
    void seedListCommand();
    void seedPointCommand();
    void tableCommand();
    void markerAttributesCommand();
    void iimLimitsCommand();

    // Seeds, orbit overlays, the orbiter, the mouse-held image modes and the
    // coordinate table: one member, so the window class holds one concern.
    struct OrbitState {
        std::vector<Seed> seeds = defaultSeeds();
        OrbitSettings settings;
        bool overlayOn = false;
        std::vector<Complex> lastOrbit;
        bool overlayFresh = true; // the next overlay pass is the latest orbit
        std::shared_ptr<const OrbitPoints> points; // the screen's overlay; null: to be computed
        unsigned generation = 0;                   // counts orbitPointsChanged()
        bool tableShown = false;  // "Ascending" rebuilds a table once shown
        bool orbiterActive = false;
        Complex orbiterPoint{};
        int heldMode = 0;
        std::vector<TransientMark> transient;
    } orbits_;

protected:
    // Start a sweep into the figure image (for drawFigure overrides).
    // Returns kRenderPending, or an error code of PixelSweep::start.
    int startSweep(const PixelKernel& kernel, const SweepGeometry& geometry, const SweepOptions& options);
    // Start a drawing job whose points go on the figure as they arrive (for
    // drawFigure overrides of vector tools). Returns kRenderPending.
    int startDrawingJob(std::unique_ptr<DrawingJob> job);
    // A batch of the running drawing job arrived (user-interface thread):
    // the base draws its points as dots on `figure`; a tool whose job hands
    // over other things (a cobweb's steps) draws them itself.
    virtual void drawJobBatch(Canvas& figure, const DotBatch& batch);
    // A background render ended with `status` (0 or 81); the figure is
    // complete or partial and about to be marked valid.
    virtual void renderFinished(int status);
    // The figure of a finished render is valid and shown (not called for a
    // superseded render).
    virtual void renderSettled(int /*status*/) {}
    // The composite: the figure and the overlays; then, unless `startJobs` is
    // false, the job of missing orbit points.
    void compose(bool startJobs = true);
    void addZoomRectangle(const WorldRect& r);
    void drawZoomRectangles(Canvas& canvas) const;
    void supersedeRender();

    Image figure_;
    Image composite_;
    std::vector<int32_t> codes_; // row-buffer codes of the figure, W * H
    bool figureValid_ = false;
    bool compositeValid_ = false;
    bool firstDrawPending_ = true;
    bool busy_ = false;
    bool restartPending_ = false; // the running render was superseded
    std::optional<std::pair<int, int>> pendingSize_; // a resize that waits for the export
    std::optional<WorldPoint> lastZoomCentre_;
    bool overlayJob_ = false;     // the running job computes orbit points, not the figure
    std::shared_ptr<OrbitPoints> orbitJobResult_;
    unsigned orbitJobGeneration_ = 0;
    bool documentChanged_ = false;
    bool progressReports_ = false;

    Real defaultHalfWidth_ = 5;
    int32_t maxReps_ = 100;
    int threads_ = 0; // sweep workers, 0 = one per core
    bool guess_ = false;
    int32_t reps_ = -1;
    int32_t orbitLength_ = 1000;
    int32_t maxPeriod_ = 30000;
    Real zoomFactor_ = 10;
    int mouseMode_ = CmdMouseFirst;
    bool newZoomWindow_ = true;
    bool zoomRectangle_ = true;
    bool watch_ = false;
    bool useDefaults_ = true;
    bool readSettings_ = false;
    WindowPlacement zoomPlacement_ = childPlacement(0, 0);
    WindowPlacement popupPlacement_ = childPlacement(0, 0);
    std::vector<WorldRect> zoomRects_;
    std::optional<std::pair<PixelPoint, PixelPoint>> dragZoom_; // start and current corner
    std::string documentName_;

private:
    void finishBackground(int status);
    // Starts the job of the overlay's orbit points when they are wanted and missing.
    void startOrbitJob();
    void useOrbitPoints(const OrbitPoints& p);
    bool tickJob();
    bool tickSideJob();
    // Draws the job's points that arrived; true when there were some.
    bool drawJobOutput();
    void allocateImages();
    void copyFinishedRows();

    PixelSweep sweep_;
    JobRunner job_;
    JobRunner sideJob_;
    std::function<void(int)> sideJobDone_;
    std::vector<int> rowScratch_;
};

} // namespace qx
