#include "tools/curves/tbmpwin.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "graphics/export/export_format.h"
#include "model/special_colours.h"
#include "tools/curves/curves_help.h"

#include <algorithm>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kCmdExternalFile = 1372, kCmdClipboard = 1373, kCmdBackground = 200, kCmdGridlines = 210;
constexpr int kCmdHelpFirst = 820;

// Boxes of b pixels, row by row, each flagged at its first pixel that differs
// from the background.
class BitmapCounter final : public BoxCounter {
public:
    explicit BitmapCounter(std::shared_ptr<const Image> p) : p_(std::move(p)), background_(TBMPWin::backgroundOf(*p_)) {}
    static long long boxPixels(int k) { return 1LL << (10 - k); }
    long long totalBoxes(int k) const override
    {
        const long long b = boxPixels(k);
        return ((p_->width + b - 1) / b) * ((p_->height + b - 1) / b);
    }
    std::string boxSize(int k) const override { return std::to_string(boxPixels(k)); }
    long long hits(int k, BoxGrid&, const std::atomic<bool>* stop) override
    {
        const int b = static_cast<int>(boxPixels(k));
        long long hits = 0;
        for (int top = 0; top < p_->height; top += b) {
            if (stop && stop->load(std::memory_order_relaxed))
                return -1;
            for (int left = 0; left < p_->width; left += b)
                hits += differs(left, top, b);
        }
        return hits;
    }

private:
    bool differs(int left, int top, int b) const
    {
        const int right = std::min(left + b, p_->width), bottom = std::min(top + b, p_->height);
        for (int r = top; r < bottom; ++r)
            for (int c = left; c < right; ++c)
                if (p_->at(c, r) != background_)
                    return true;
        return false;
    }

    std::shared_ptr<const Image> p_;
    Rgb background_;
};

} // namespace

TBMPWin::TBMPWin() = default;

TBMPWin::~TBMPWin()
{
    interruptRendering();
    finishSideJob();
    finishRendering();
}

Rgb TBMPWin::backgroundOf(const Image& p)
{
    if (p.empty())
        return 0;
    return p.at(std::min(3, p.width - 1), std::min(3, p.height - 1));
}

int TBMPWin::loadFile(const std::string& path)
{
    Image picture;
    if (const int e = attached() ? host().readImageFile(path, picture) : 11)
        return e;
    const size_t slash = path.find_last_of("/\\");
    setBitmap(std::move(picture), slash == std::string::npos ? path : path.substr(slash + 1));
    return 0;
}

bool TBMPWin::loadClipboard()
{
    Image picture;
    if (!attached() || !host().clipboardImage(picture) || picture.empty())
        return false;
    setBitmap(std::move(picture), "clipboard");
    return true;
}

void TBMPWin::setBitmap(Image picture, const std::string& name)
{
    if (busy())
        interruptRendering();
    finishSideJob();
    finishRendering();
    bitmap_ = std::make_shared<const Image>(std::move(picture));
    name_ = name;
    if (attached()) {
        restoreTitle();
        draw();
    }
}

int TBMPWin::setGridlineColour(int index)
{
    if (index < 0 || index > 60)
        return ErrOutOfBounds;
    special_.set(SlotGridline, static_cast<int16_t>(index));
    overlaysChanged();
    return 0;
}

int TBMPWin::setBackgroundColour(int index)
{
    if (index < 0 || index > 60)
        return ErrOutOfBounds;
    background_ = index;
    if (attached())
        draw();
    return 0;
}

void TBMPWin::paletteIndexCommand(int current, int (TBMPWin::*apply)(int))
{
    std::string value = std::to_string(current);
    if (!host().inputText("palette index (0 .. 60)", value))
        return;
    int32_t n = 0;
    if (!parseIntText(value, n))
        host().showError(ErrCannotUnderstand);
    else if (const int e = (this->*apply)(n))
        host().showError(e);
}

std::string TBMPWin::normalTitle() const
{
    if (bitmap_->empty())
        return documentName();
    return name_ + " [" + std::to_string(bitmap_->width) + "x" + std::to_string(bitmap_->height) + "]";
}

void TBMPWin::resize(int width, int height)
{
    TBoxWin::resize(width, height);
    // World units are the picture's pixels, y growing upwards from the top row.
    view_.setViewByCorners(0, std::max(width - 1, 1), -std::max(height - 1, 1), 0);
    recomputeView();
}

int TBMPWin::drawFigure(Canvas& figure)
{
    figure.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, background_,
                    Pen{static_cast<int16_t>(background_), 1, PenSolid});
    const Image& p = *bitmap_;
    const int w = std::min(p.width, figure_.width), h = std::min(p.height, figure_.height);
    for (int r = 0; r < h; ++r)
        std::copy(p.row(r), p.row(r) + w, figure_.row(r));
    return 0;
}

bool TBMPWin::canExport(const ExportFormat& format) const
{
    return format.takesPixelPictures() && !bitmap_->empty();
}

bool TBMPWin::drawExportPage(Canvas& canvas, int)
{
    const Image& p = *bitmap_;
    const int w = std::min(p.width, view_.pixWidth), h = std::min(p.height, view_.pixHeight);
    if (w < 1 || h < 1 || !canvas.takesPictures())
        return false;
    canvas.drawRect({view_.xMin, view_.yMax}, {view_.xMax, view_.yMin}, background_,
                    Pen{static_cast<int16_t>(background_), 1, PenSolid});
    // The part of the bitmap the window shows, from its top-left corner.
    Image shown(w, h);
    for (int r = 0; r < h; ++r)
        std::copy(p.row(r), p.row(r) + w, shown.row(r));
    return canvas.placePicture(shown, view_.pixelToWorld({0, 0}), view_.pixelToWorld({w - 1, h - 1}));
}

std::unique_ptr<BoxCounter> TBMPWin::makeBoxCounter() const
{
    if (bitmap_->empty())
        return nullptr;
    return std::make_unique<BitmapCounter>(bitmap_);
}

bool TBMPWin::countingSquare(Real& left, Real& bottom, Real& side) const
{
    left = 0;
    bottom = -kBoxGridSide;
    side = kBoxGridSide;
    return !bitmap_->empty();
}

ToolFiles TBMPWin::toolFiles() const
{
    return {kBmpKind, "", "", "bmp"};
}

void TBMPWin::declareCommands(CommandSet& set)
{
    TBoxWin::declareCommands(set);
    set.add({kCmdExternalFile, "&External file ...", "", K::Plain, kMenuFile, "&Open", true}, [this] {
        const std::string path = host().openFileName("Bitmaps (*.bmp *.png)|*.bmp;*.png", "");
        if (path.empty())
            return;
        if (const int e = loadFile(path))
            host().showError(e);
    });
    set.add({kCmdClipboard, "&Clipboard", "", K::Plain, kMenuFile, "&Open"}, [this] {
        if (!loadClipboard())
            host().showError(ErrNothingToDo);
    });
    set.add({kCmdBackground, "&Background colour ...", "", K::Plain, kMenuMisc, "", true},
            [this] { paletteIndexCommand(background_, &TBMPWin::setBackgroundColour); });
    set.add({kCmdGridlines, "&Gridlines colour ...", "", K::Plain, kMenuMisc, ""},
            [this] { paletteIndexCommand(special_.get(SlotGridline), &TBMPWin::setGridlineColour); });
    declareHelp(set, kCmdHelpFirst, bmpHelp());
}

} // namespace qx
