#include "model/tvorlswin.h"

#include "model/colour_tables.h"

#include "base/file_io.h"
#include "base/messages.h"
#include "base/real_text.h"
#include "expr/format.h"
#include "graphics/export/export_format.h"

#include <algorithm>
#include <array>

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
    if (slides_.size() < static_cast<size_t>(kMaxSlides))
        slides_.push_back(captureSlide());
}

bool TVorlSWin::canExport(const ExportFormat& format) const
{
    return format.takesPixelPictures() && exportGeometry().has_value();
}

bool TVorlSWin::drawExportPage(Canvas& canvas, int)
{
    prepareSweep();
    const std::optional<SweepGeometry> g = exportGeometry();
    const auto kernel = makeKernel();
    if (!g || !kernel || !canvas.takesPictures())
        return false;
    Image picture(g->width, g->height, palette_[0]);
    SweepOptions options;
    options.antiAlias = antiAlias_;
    options.sampleOffset = sampleOffset();
    options.threads = threads_;
    std::vector<int32_t> codes;
    if (runSweep(picture, blackAndWhite_ ? &codes : nullptr, *g, options, *kernel) != 0)
        return false;
    if (blackAndWhite_)
        printBlackAndWhite(picture, codes);
    canvas.placePicture(picture, {view_.xMin, view_.yMax}, {view_.xMax, view_.yMin});
    drawOverlays(canvas);
    return true;
}

void TVorlSWin::printBlackAndWhite(Image& page, const std::vector<int32_t>&) const
{
    for (int r = 0; r < page.height; ++r)
        for (int c = 0; c < page.width; ++c) {
            const Rgb p = page.at(c, r);
            const int luma = (299 * static_cast<int>(p & 0xFF) + 587 * static_cast<int>((p >> 8) & 0xFF) +
                              114 * static_cast<int>((p >> 16) & 0xFF)) / 1000;
            page.set(c, r, ditherWhite(luma, c, r) ? 0xFFFFFFu : 0u);
        }
}

Slide TVorlSWin::captureSlide() const
{
    return Slide{maxReps_, view_.centerX, view_.centerY, view_.halfWidth, slideParameter(), {}};
}

bool TVorlSWin::applySlide(const Slide& s)
{
    maxReps_ = s.maxReps;
    applySlideParameter(s.c);
    return setView(s.centerX, s.centerY, s.halfWidth);
}

Slide TVorlSWin::zoomSlide(Slide previous, Real ratio) const
{
    previous.halfWidth *= ratio;
    return previous;
}

int TVorlSWin::addZoomSlides(int32_t count, Real ratio)
{
    if (count < 1 || count > 1000 || !(ratio > 0 && ratio <= 100) ||
        slides_.size() + static_cast<size_t>(count) > static_cast<size_t>(kMaxSlides))
        return ErrOutOfBounds;
    zoomRatio_ = ratio;
    Slide s = captureSlide();
    for (int32_t k = 0; k < count; ++k) {
        s = zoomSlide(s, ratio);
        slides_.push_back(s);
    }
    return 0;
}

int TVorlSWin::pageDirective(const std::string& text, std::string& letters) const
{
    if (pageDirectiveKind(text, letters) == 4)
        return 4;
    return TVorlTWin::pageDirective(text, letters);
}

void TVorlSWin::animatePage(int page, int pages, int kind, const std::string& letters)
{
    if (kind != 4) {
        TVorlTWin::animatePage(page, pages, kind, letters);
        return;
    }
    // The view only (no redraw from the export's thread): the page sweeps it.
    if (page > 0)
        setView(view_.centerX, view_.centerY, view_.halfWidth * zoomRatio_);
}

void TVorlSWin::removeLastSlide()
{
    if (!slides_.empty())
        slides_.pop_back();
}

namespace {

constexpr std::array<CommandSpec, 7> kSlideCommands{{
    {CmdAddSlide, "&Add to list", "F9", CommandKind::Plain, kMenuMisc, "&Slide list", true},
    {CmdRemoveSlide, "&Remove last", "", CommandKind::Plain, kMenuMisc, "&Slide list"},
    {CmdSlideCount, "&Number ...", "", CommandKind::Plain, kMenuMisc, "&Slide list"},
    {CmdClearSlides, "&Clear list", "", CommandKind::Plain, kMenuMisc, "&Slide list"},
    {CmdMakeSlides, "&Make slides", "", CommandKind::Plain, kMenuMisc, "&Slide list"},
    {CmdSaveShow, "Save the &show ...", "", CommandKind::Plain, kMenuMisc, "&Slide list"},
    {CmdZoomSlides, "&Zoom slides ...", "", CommandKind::Plain, kMenuMisc, "&Slide list"},
}};

} // namespace

void TVorlSWin::declareCommands(CommandSet& set)
{
    TVorlTWin::declareCommands(set);
    const auto& k = kSlideCommands;
    set.add(k[0], [this] { addSlide(); });
    set.add(k[1], [this] { removeLastSlide(); });
    set.add(k[2], [this] { host().showMessage(std::to_string(slides_.size()) + " " + messageText(105), "slides"); });
    set.add(k[3], [this] { clearSlides(); });
    set.add(k[6], [this] {
        std::string count = "10", ratio = FormatReal(zoomRatio_, 1, 6);
        if (!host().inputTwo("slides", count, "zoom ratio per slide", ratio))
            return;
        int32_t n = 0;
        Real q = 0;
        if (!parseIntText(count, n) || !parseRealText(ratio, q)) {
            host().showError(ErrCannotUnderstand);
            return;
        }
        if (const int e = addZoomSlides(n, q))
            host().showError(e);
    });
    set.add(k[4], [this] {
        if (const int e = makeSlides())
            host().showError(e);
    });
    set.add(k[5], [this] { saveShowCommand(); });
}

int TVorlSWin::makeSlides()
{
    if (slides_.empty())
        return 10; // nothing to show
    showSlide(0);
    return 0;
}

void TVorlSWin::showSlide(size_t index)
{
    const Slide& s = slides_[index];
    nextSlide_ = static_cast<int>(index) + 1;
    if (!applySlide(s))
        nextSlide_ = -1;
    draw();
}

// The next slide once this one is on the screen; an interrupted slide ends the show.
void TVorlSWin::renderSettled(int status)
{
    if (nextSlide_ < 0)
        return;
    if (status != 0 || static_cast<size_t>(nextSlide_) >= slides_.size()) {
        nextSlide_ = -1;
        return;
    }
    showSlide(static_cast<size_t>(nextSlide_));
}

int TVorlSWin::saveShow(const std::string& path) const
{
    WindowPlacement p;
    if (attached())
        host().windowPlacement(p);
    return writeFileAtomically(path, encodeSlideShow(p, slides_, slideExtras())) ? 0 : ErrCannotSaveFile;
}

void TVorlSWin::saveShowCommand()
{
    if (slides_.empty()) {
        host().showError(10);
        return;
    }
    const std::string name = host().saveFileName("Slide shows (*.SLI)|*.sli", "show.sli");
    if (name.empty())
        return;
    if (const int e = saveShow(name))
        host().showError(e);
}

} // namespace qx
