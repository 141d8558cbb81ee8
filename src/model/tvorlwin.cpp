#include "model/tvorlwin.h"

#include "model/deferred_canvas.h"
#include "base/real_text.h"
#include "model/special_colours.h"
#include "model/status_title.h"
#include "graphics/axes.h"

#include <array>
#include <algorithm>
#include <span>
#include <cmath>

namespace qx {

namespace {

using K = CommandKind;
constexpr const char* kZoomWindows = "Zoom &windows";
constexpr int kCmdCopyPicture = 310;
constexpr std::array<CommandSpec, 9> kCommands{{
    {CmdDraw, "&Draw", "Ctrl+D", K::Plain, kMenuView, "", true},
    {CmdRefresh, "&Refresh", "Ctrl+R", K::Plain, kMenuView, ""},
    {CmdAxes, "&Axes", "", K::Toggle, kMenuView, "", true},
    {CmdMagnification, "&Magnifications ...", "", K::Plain, kMenuView, ""},
    {CmdNewZoomWindow, "&New zoom window", "", K::Toggle, kMenuView, kZoomWindows},
    {CmdZoomRectangle, "Zoom &rectangle", "", K::Toggle, kMenuView, kZoomWindows},
    {CmdUseDefaults, "&Use defaults", "", K::Toggle, kMenuView, kZoomWindows},
    {CmdWatch, "&Watch", "", K::Toggle, kMenuMisc, ""},
    {CmdSpecialColours, "C&olours ...", "", K::Plain, kMenuMisc, ""},
}};

} // namespace

TVorlWin::TVorlWin() = default;

void TVorlWin::copyDrawingSettings(const TKVAWing& from)
{
    TFuncWin::copyDrawingSettings(from);
    if (const auto* v = dynamic_cast<const TVorlWin*>(&from)) {
        maxReps_ = v->maxReps_;
        maxPeriod_ = v->maxPeriod_;
        zoomFactor_ = v->zoomFactor_;
        threads_ = v->threads_;
    }
}

TVorlWin::~TVorlWin()
{
    sweep_.interrupt();
    sweep_.wait();
}

void TVorlWin::declareCommands(CommandSet& set)
{
    TFuncWin::declareCommands(set);
    for (const CommandSpec& m : mouseModes())
        set.add(m, [this, id = m.id] { mouseMode_ = id; }, [this, id = m.id] { return mouseMode_ == id; });
    const auto& k = kCommands;
    set.add(k[0], [this] { draw(); });
    set.add(k[1], [this] { refresh(); });
    set.add(k[2], [this] { grid_.axesOn = !grid_.axesOn; overlaysChanged(); }, [this] { return grid_.axesOn; });
    set.add(k[3], [this] { host().showMessage(magnificationText(), "current magnification"); });
    set.add(k[4], [this] { newZoomWindow_ = !newZoomWindow_; }, [this] { return newZoomWindow_; });
    set.add(k[5], [this] { zoomRectangle_ = !zoomRectangle_; }, [this] { return zoomRectangle_; });
    set.add(k[6], [this] { useDefaults_ = !useDefaults_; }, [this] { return useDefaults_; });
    set.add(k[7], [this] { watch_ = !watch_; }, [this] { return watch_; });
    set.add(k[8], [this] { specialColoursCommand(); });
    set.add({kCmdCopyPicture, "&Copy to clipboard", "", CommandKind::Plain, kMenuEdit, "", true}, [this] {
        if (!copyToClipboard())
            host().showError(ErrNothingToDo);
    });
    set.add({CmdPrint, "&Print ...", "Ctrl+P", CommandKind::Plain, kMenuFile, "", true}, [this] {
        if (!host().printPicture(false))
            host().showError(ErrNothingToDo);
    });
    set.add({CmdPrintPreview, "Print pre&view ...", "", CommandKind::Plain, kMenuFile, ""}, [this] {
        if (!host().printPicture(true))
            host().showError(ErrNothingToDo);
    });
}

// ---- Paint path and background rendering.

void TVorlWin::resize(int width, int height)
{
    if (exporting()) { // the export reads the view: the new size waits for its end
        pendingSize_ = {width, height};
        return;
    }
    if (width == view_.pixWidth && height == view_.pixHeight && figure_.width == width && figure_.height == height)
        return;
    TFuncWin::resize(width, height);
    if (busy_) { // the images change size once the workers have let go of them
        supersedeRender();
        return;
    }
    allocateImages();
    if (attached())
        host().requestRepaint();
}

// Images the size of the drawing area, cleared; the figure must be drawn anew.
void TVorlWin::allocateImages()
{
    figure_.resize(view_.pixWidth, view_.pixHeight, palette_[0]);
    composite_.resize(view_.pixWidth, view_.pixHeight, palette_[0]);
    codes_.assign(figure_.pixels.size(), 0);
    figureValid_ = compositeValid_ = false;
    firstDrawPending_ = true;
}

void TVorlWin::paint()
{
    if (!attached() || busy_ || exporting() || (figureValid_ && compositeValid_))
        return; // a running render keeps the picture current through tick()
    if (figure_.width != view_.pixWidth || figure_.height != view_.pixHeight)
        allocateImages(); // painted before the first resize
    if (!figureValid_) {
        orbitPointsChanged(); // the map or the view may have changed with it
        if (firstDrawPending_)
            figure_.fill(palette_[0]);
        firstDrawPending_ = false;
        setStatusTitle(1);
        int status;
        {
            // Short drawing only: long work is a sweep or a drawing job.
            DeferredCanvas canvas(host(), figure_, view_, palette_);
            status = drawFigure(canvas);
        }
        if (status == kRenderPending) {
            busy_ = true;
            host().backgroundWorkStarted();
            return;
        }
        figureValid_ = true;
        restoreTitle();
        if (status != 0 && status != kSweepInterrupted)
            host().showError(status);
    }
    compose();
}

void TVorlWin::compose(bool startJobs)
{
    composite_ = figure_;
    const auto canvas = host().createCanvas(composite_, view_, palette_);
    drawOverlays(*canvas, true);
    compositeValid_ = true;
    if (startJobs)
        startOrbitJob();
}

bool TVorlWin::startSideJob(std::unique_ptr<DrawingJob> job, std::function<void(int)> done)
{
    if (sideJob_.running())
        return false;
    sideJobDone_ = std::move(done);
    sideJob_.start(std::move(job));
    if (attached())
        host().backgroundWorkStarted();
    return true;
}

void TVorlWin::finishSideJob()
{
    if (!sideJob_.running())
        return;
    const int status = sideJob_.wait();
    if (auto done = std::exchange(sideJobDone_, nullptr))
        done(status < 0 ? 0 : status);
}

bool TVorlWin::tickSideJob()
{
    const auto [done, total] = sideJob_.output().progress();
    if (total > 0)
        showProgress(static_cast<int>(done * 1000 / total), 1000);
    if (host().pollInterrupt() == kSweepInterrupted)
        sideJob_.interrupt();
    if (!sideJob_.finished())
        return true;
    restoreTitle();
    finishSideJob();
    return busy();
}

bool TVorlWin::tick()
{
    if (sideJob_.running() && !busy_ && !exporting())
        return tickSideJob();
    if (exporting()) {
        const auto [done, total] = exportProgress();
        if (total > 0)
            showProgress(static_cast<int>(done * 1000 / total), 1000);
        if (host().pollInterrupt() == kSweepInterrupted)
            interruptExport();
        if (!exportFinished())
            return true;
        restoreTitle();
        finishExport();
        if (const auto size = std::exchange(pendingSize_, std::nullopt))
            resize(size->first, size->second);
        return busy();
    }
    if (!busy_)
        return false;
    if (job_.running())
        return tickJob();
    copyFinishedRows();
    if (progressReports_)
        showProgress(sweep_.rowsDone(), sweep_.rows());
    if (host().pollInterrupt() == kSweepInterrupted)
        sweep_.interrupt();
    if (!sweep_.finished())
        return true;
    finishBackground(sweep_.wait());
    return busy(); // the overlay's orbit job or a side job may follow
}

void TVorlWin::copyFinishedRows()
{
    sweep_.takeFinishedRows(rowScratch_);
    if (!watch_ || rowScratch_.empty())
        return;
    for (int r : rowScratch_)
        composite_.copyRows(figure_, r, r + 1);
    host().showProgressImage();
}

void TVorlWin::finishBackground(int status)
{
    busy_ = false;
    if (std::exchange(overlayJob_, false)) {
        // Points of a job stopped with Q stay; those of a job overtaken by a
        // change of seeds, length or figure are dropped.
        if (orbitJobGeneration_ == orbits_.generation) {
            useOrbitPoints(*orbitJobResult_);
            orbits_.points = std::move(orbitJobResult_);
        }
        orbitJobResult_.reset();
        restoreTitle();
        if (restartPending_) {
            restartPending_ = false;
            host().requestRepaint();
            return;
        }
        compose(); // with the points the job kept
        host().requestRepaint();
        return;
    }
    if (restartPending_) { // superseded: render again with the new view or size
        restartPending_ = false;
        renderFinished(kSweepInterrupted); // its picture is not the document's
        if (figure_.width != view_.pixWidth || figure_.height != view_.pixHeight)
            allocateImages();
        host().requestRepaint();
        return;
    }
    renderFinished(status < 0 ? 0 : status);
    figureValid_ = true;
    restoreTitle();
    compose(status != kSweepInterrupted); // after Q nothing more starts
    host().requestRepaint();
    renderSettled(status < 0 ? 0 : status);
}

void TVorlWin::interruptRendering()
{
    interruptExport();
    sideJob_.interrupt();
    if (busy_) {
        sweep_.interrupt();
        job_.interrupt();
    }
}

int TVorlWin::finishRendering()
{
    int result = 0;
    while (busy_) { // the figure, then the overlay's orbit points
        const bool figure = !overlayJob_;
        int status = 0;
        if (job_.running()) {
            status = job_.wait();
            drawJobOutput();
        } else {
            status = sweep_.wait();
        }
        finishBackground(status);
        if (figure)
            result = status < 0 ? 0 : status;
    }
    return result;
}

// A drawing job: its points go on the figure as they come, shown at once when
// watch is on; the title shows its progress where its end is known.
bool TVorlWin::tickJob()
{
    if (drawJobOutput() && watch_) {
        compose(false); // the overlays (axes, grid) stay in view while it grows
        host().showProgressImage();
    }
    const auto [done, total] = job_.output().progress();
    if (total > 0)
        showProgress(static_cast<int>(done * 1000 / total), 1000);
    if (host().pollInterrupt() == kSweepInterrupted)
        job_.interrupt();
    if (!job_.finished())
        return true;
    const int status = job_.wait();
    drawJobOutput();
    finishBackground(status);
    return busy(); // the overlay's orbit job or a side job may follow
}

bool TVorlWin::drawJobOutput()
{
    std::vector<DotBatch> batches = job_.output().take();
    if (batches.empty())
        return false;
    const auto canvas = host().createCanvas(figure_, view_, palette_);
    for (const DotBatch& b : batches)
        drawJobBatch(*canvas, b);
    return true;
}

void TVorlWin::drawJobBatch(Canvas& figure, const DotBatch& batch)
{
    if (batch.colours.size() != batch.points.size()) {
        figure.drawDotList(batch.points, batch.colour, std::nullopt, 1);
        return;
    }
    // Runs of one colour at a time.
    const std::span<const WorldPoint> all(batch.points);
    for (size_t i = 0; i < all.size();) {
        size_t j = i + 1;
        while (j < all.size() && batch.colours[j] == batch.colours[i])
            ++j;
        figure.drawDotList(all.subspan(i, j - i), batch.colours[i], std::nullopt, 1);
        i = j;
    }
}

// A running render is out of date (new view, new size, Draw): stop it
// without waiting; tick() starts the next one when the workers are done.
void TVorlWin::supersedeRender()
{
    sweep_.interrupt();
    job_.interrupt();
    restartPending_ = true;
    figureValid_ = false;
    compositeValid_ = false;
}

int TVorlWin::startSweep(const PixelKernel& kernel, const SweepGeometry& geometry, const SweepOptions& options)
{
    SweepOptions chosen = options;
    chosen.guess = guess_;
    if (const int e = sweep_.start(figure_, &codes_, geometry, chosen, kernel))
        return e;
    return kRenderPending;
}

int TVorlWin::startDrawingJob(std::unique_ptr<DrawingJob> job)
{
    job_.start(std::move(job));
    return kRenderPending;
}

void TVorlWin::renderFinished(int) {}

// ---- Virtual operations with base behaviour.

int TVorlWin::drawFigure(Canvas&)
{
    return 0;
}

void TVorlWin::drawOverlays(Canvas& c, bool screen)
{
    drawAxes(c);
    drawZoomRectangles(c);
    drawOrbitOverlays(c, screen);
    drawMarks(c);
    drawLabels(c);
    drawTransientMarks(c);
    drawToolOverlays(c);
}

bool TVorlWin::reopenZoomWindow()
{
    if (!lastZoomCentre_)
        return false;
    openZoomWindow(*lastZoomCentre_);
    return true;
}

void TVorlWin::openZoomWindow(WorldPoint centre)
{
    auto child = makeZoomChild();
    if (!child)
        return;
    lastZoomCentre_ = centre;
    child->copyDrawingSettings(*this);
    const Real hw = view_.halfWidth / zoomFactor_, hh = view_.halfHeight / zoomFactor_;
    child->setView(centre.x, centre.y, hw);
    child->setReadSettings(!useDefaults_);
    // A new, untitled document with the parent's drawing settings: saving it
    // can never overwrite the parent's file. It keeps its own settings file.
    child->setZoomChild(true);
    child->setDocumentName("noname" + std::to_string(++zoomChildren_) + child->toolFiles().extension);
    if (!host().openChildWindow(std::move(child), zoomPlacement_))
        return;
    if (zoomRectangle_)
        addZoomRectangle({centre.x - hw, centre.x + hw, centre.y - hh, centre.y + hh});
}


void TVorlWin::zoomAt(PixelPoint pixel, Real factor)
{
    const WorldPoint p = view_.pixelToWorld(pixel);
    if (newZoomWindow_) {
        openZoomWindow(p);
        return;
    }
    if (!(factor > 0))
        return;
    maxReps_ = roundHalfDown(maxReps_ * 4.0L / 3);
    changeView([&](View& v) { return zoomViewAt(v, p, 1 / factor); });
}

void TVorlWin::draw()
{
    if (busy_) {
        supersedeRender();
        return;
    }
    figureValid_ = false;
    compositeValid_ = false;
    if (attached())
        host().requestRepaint();
}

void TVorlWin::refresh()
{
    if (!attached())
        return;
    restoreTitle();
    compositeValid_ = false;
    if (!busy_)
        paint();
    host().requestRepaint();
}

void TVorlWin::viewChanged()
{
    draw();
}

bool TVorlWin::copyToClipboard()
{
    if (!attached() || busy() || composite_.empty())
        return false;
    std::string svg;
    if (const ExportFormat* f = ExportFormats::builtIn().byName("svg"); f && canExport(*f)) {
        ExportRun run;
        run.creator = exportCreator_;
        if (auto canvas = f->makePage(view_, palette_, run, 0, "clipboard"); canvas && drawExportPage(*canvas, 0))
            svg = canvas->pageFile();
    }
    return host().setClipboardPicture(svg, composite_);
}

View TVorlWin::pageView(int w, int h) const
{
    View v = view_;
    v.setPixelSize(std::max(w, 2), std::max(h, 2));
    v.setViewByCorners(view_.xMin, view_.xMax, view_.yMin, view_.yMax);
    return v;
}

bool TVorlWin::drawPage(Canvas& canvas)
{
    const ExportFormat* format = ExportFormats::builtIn().byName(drawsPixels() ? "bmp" : "svg");
    if (busy() || exporting() || !format || !canExport(*format))
        return false;
    // The tool draws its page from its own view: the page's, for the while.
    const View saved = view_;
    view_ = canvas.view();
    const bool ok = drawExportPage(canvas, 0);
    view_ = saved;
    return ok;
}

void TVorlWin::showFigureOnly()
{
    grid_.axesOn = false;
    grid_.quadrants = {false, false, false, false};
    labels_.clear();
    marks_.clear();
    overlaysChanged();
}

void TVorlWin::overlaysChanged()
{
    compositeValid_ = false;
    if (attached())
        host().requestRepaint();
}

void TVorlWin::mouseDown(MouseButton button, PixelPoint p)
{
    if (button != MouseButton::Right)
        return;
    if (busy_) { // a right-click stops a render
        interruptRendering();
        return;
    }
    zoomAt(p, 1 / zoomFactor_);
}

bool TVorlWin::keyDown(int key)
{
    if (orbits_.orbiterActive && orbiterKey(key))
        return true;
    if (!busy_ || key != 'Q')
        return false;
    interruptRendering();
    return true;
}

// ---- Titles, magnification, inputs.

void TVorlWin::setStatusTitle(int kind, int a, int b)
{
    const std::string t = statusTitle(kind, a, b);
    if (!t.empty())
        host().setTitle(t);
}

void TVorlWin::restoreTitle()
{
    host().setTitle(normalTitle());
}

void TVorlWin::showProgress(int row, int rows)
{
    const auto step = progressStep(row, rows);
    if (!step)
        return;
    if (*step < 0)
        restoreTitle();
    else
        host().setTitle(progressTitle(*step));
}

Real TVorlWin::magnification() const
{
    return std::log10(defaultHalfWidth_ / view_.halfWidth);
}

std::string TVorlWin::magnificationText() const
{
    const Real m = magnification();
    return formatReal(std::fabs(m) < 0.00005L ? 0 : m, 1, 4); // never "-0.0000"
}

void TVorlWin::setInitialPosition(int32_t x, int32_t y)
{
    zoomPlacement_ = popupPlacement_ = childPlacement(x, y);
}

int TVorlWin::setOrbitLength(const std::string& text)
{
    int32_t n;
    if (!parseIntText(text, n) || n <= 0)
        return 1;
    orbitLength_ = n;
    orbitPointsChanged();
    overlaysChanged();
    return 0;
}

int TVorlWin::setMaxPeriod(const std::string& text)
{
    int32_t n;
    if (!parseIntText(text, n))
        return 1;
    if (n < 2 || n > kMaxPeriodLimit)
        return 17;
    maxPeriod_ = n;
    return 0;
}

void TVorlWin::addZoomRectangle(const WorldRect& r)
{
    zoomRects_.push_back(r);
    overlaysChanged();
}

void TVorlWin::drawZoomRectangles(Canvas& canvas) const
{
    const Pen pen{special_.get(SlotZoomRectangle), 1, PenSolid};
    for (const auto& r : zoomRects_)
        canvas.drawRect({r.left, r.up}, {r.right, r.down}, std::nullopt, pen);
}

// "Colours ...": a special colour (axis, IIM, set colour, ...) and its palette
// index 0..60. Colours the figure uses draw it again; the others recompose.
void TVorlWin::specialColoursCommand()
{
    std::vector<std::string> names;
    for (int slot = kFirstSpecialSlot; slot <= kLastSpecialSlot; ++slot)
        names.push_back(SpecialColours::name(slot));
    int index = 0;
    if (!host().chooseOne("special colours", names, index) || index < 0 || index >= static_cast<int>(names.size()))
        return;
    const int slot = kFirstSpecialSlot + index;
    std::string value = std::to_string(special_.get(slot));
    if (!host().inputText(names[static_cast<size_t>(index)] + ": palette index (0..60)", value))
        return;
    int32_t n = 0;
    if (!parseIntText(value, n)) {
        host().showError(ErrCannotUnderstand);
        return;
    }
    if (n < 0 || n > kPaletteSize - 1) {
        host().showError(ErrOutOfBounds);
        return;
    }
    setSpecialColour(slot, static_cast<int16_t>(n));
    setDocumentChanged(true);
    if (slot == SlotNoTarget || slot == SlotDem || slot == SlotIim || slot == SlotFirstBinary ||
        slot == SlotSecondBinary)
        draw();
}

} // namespace qx
