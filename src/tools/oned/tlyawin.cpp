#include "tools/oned/tlyawin.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "expr/format.h"
#include "model/common_header.h"
#include "model/document_tail.h"
#include "model/frame_settings.h"
#include "tools/oned/oned_help.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kModeShowExponent = CmdMouseFirst; // 120
constexpr int kCmdStable = 204, kCmdUnstable = 205, kCmdThreshold = 206;
constexpr int kCmdHelpFirst = 790;
constexpr size_t kInts = 30, kFlags = 30, kReals = 30;
constexpr size_t kFlagNoParameters = 1; // 0: the view and parameter block follows
constexpr size_t kTextBytes = 256;

std::string fixed(Real v, int width, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%*.*Lf", width, decimals, v);
    return buf;
}

Real lnOf(Real r) { return r >= 0 ? std::log(r) : -5000; }

} // namespace

// ---- TLya0Win: the exponents and the pass.

TLya0Win::TLya0Win()
{
    defaultHalfWidth_ = 2;
    view_.setViewByCenter(2, 2, 2);
}

void TLya0Win::copyDrawingSettings(const TKVAWing& from)
{
    TVorlSWin::copyDrawingSettings(from);
    if (const auto* l = dynamic_cast<const TLya0Win*>(&from)) {
        params_ = l->params_;
        stableIndex_ = l->stableIndex_;
        unstableIndex_ = l->unstableIndex_;
        thresholdIndex_ = l->thresholdIndex_;
    }
}

TLya0Win::Texts TLya0Win::texts() const
{
    // Extremes not yet worked out show empty: the next pass sets them.
    return {periodStringText(params_.string), params_.stable > 0 ? std::string() : fixed(params_.stable, 1, 6),
            params_.unstable < 0 ? std::string() : fixed(params_.unstable, 1, 6), std::to_string(params_.transients),
            std::to_string(params_.calculations)};
}

int TLya0Win::applyTexts(const Texts& t)
{
    LyapunovParams p = params_;
    if (!parsePeriodString(t.string, p.string))
        return ErrCannotUnderstand;
    int32_t transients = 0, calculations = 0;
    if (!parseIntText(t.transients, transients) || !parseIntText(t.calculations, calculations) || transients < 0 ||
        calculations < 1)
        return ErrInconsistentData;
    // Both extremes empty: worked out at the next pass.
    Real stable = 1, unstable = -1;
    const bool automatic = trimmedText(t.stable).empty() && trimmedText(t.unstable).empty();
    if (!automatic && (!parseRealText(t.stable, stable) || !parseRealText(t.unstable, unstable) || stable > 0 ||
                       unstable < 0 || unstable < stable))
        return ErrInconsistentData;
    p.transients = transients;
    p.calculations = calculations;
    p.stable = stable;
    p.unstable = unstable;
    params_ = p;
    return 0;
}

LyapunovColours TLya0Win::colours() const
{
    return {paletteColour(palette_, stableIndex_), paletteColour(palette_, unstableIndex_),
            paletteColour(palette_, thresholdIndex_)};
}

bool TLya0Win::exponentAt(Real a, Real b, Real& e) const
{
    if (a < 0 || b < 0)
        return false;
    return lyapunovExponent(params_, std::min<Real>(a, 4), std::min<Real>(b, 4), lnOf(std::min<Real>(a, 4)),
                            lnOf(std::min<Real>(b, 4)), e);
}

std::string TLya0Win::pointReport(Real a, Real b) const
{
    Real e = 0;
    return FormatReal(a, 1, 8) + ", " + FormatReal(b, 1, 8) + " [" + (exponentAt(a, b, e) ? fixed(e, 10, 8) : "...") +
           "]";
}

SweepGeometry TLya0Win::geometry() const
{
    const Real step = 2 * view_.halfWidth / std::max<Real>(view_.pixWidth - 1, 1); // square pixels
    return {view_.pixWidth, view_.pixHeight, view_.xMin, view_.yMax, step, step};
}

std::unique_ptr<PixelKernel> TLya0Win::makeKernel() const
{
    return std::make_unique<LyapunovKernel>(params_, colours(), range_);
}

void TLya0Win::prepareSweep()
{
    if (params_.stable > 0)
        automaticExtremes(params_, geometry().pitchX);
}

int TLya0Win::drawFigure(Canvas&)
{
    const SweepGeometry g = geometry();
    prepareSweep();
    range_ = std::make_shared<ExponentRange>(); // 1000 and -1000 before the pass
    const auto kernel = makeKernel();
    SweepOptions options;
    options.antiAlias = antiAlias_;
    options.sampleOffset = sampleOffset();
    options.threads = threads_;
    return startSweep(*kernel, g, options);
}

// ---- TLyaWin: the window.

TLyaWin::TLyaWin() = default;

ToolFiles TLyaWin::toolFiles() const
{
    return {kLyaKind, ".lya", "Lyapunov files (*.LYA)|*.lya", "lya"};
}

std::vector<CommandSpec> TLyaWin::mouseModes() const
{
    return {{kModeShowExponent, "&Show exponent", "", K::Radio, kMenuBtns, ""}};
}

void TLyaWin::mouseDown(MouseButton button, PixelPoint p)
{
    if (button == MouseButton::Left && mouseMode() == kModeShowExponent) {
        const WorldPoint w = view_.pixelToWorld(p);
        host().setTitle(pointReport(w.x, w.y));
        reportShown_ = true;
        return;
    }
    TLya0Win::mouseDown(button, p);
}

void TLyaWin::mouseUp(MouseButton button, PixelPoint p)
{
    if (reportShown_) {
        reportShown_ = false;
        restoreTitle();
    }
    TLya0Win::mouseUp(button, p);
}

void TLyaWin::settingsCommand()
{
    if (host().showModelessDialog("LPARAM"))
        return;
    Texts t = texts();
    std::vector<std::string> values{t.string, t.stable, t.unstable, t.transients, t.calculations};
    if (!host().inputMany("Lyapunov parameters",
                          {"period string", "stable extreme", "unstable extreme", "transients", "calculations"}, values))
        return;
    if (const int e = applyTexts({values[0], values[1], values[2], values[3], values[4]})) {
        host().showError(e);
        return;
    }
    draw();
}

void TLyaWin::colourCommand(int& index, const char* title)
{
    std::string text = std::to_string(index);
    if (!host().inputText(title, text))
        return;
    int32_t n = 0;
    if (!parseIntText(text, n) || n < 0 || n > 60) {
        host().showError(ErrOutOfBounds);
        return;
    }
    index = n;
    draw();
}

void TLyaWin::declareCommands(CommandSet& set)
{
    TLya0Win::declareCommands(set);
    declareDocumentCommands(set);
    set.add({kCmdStable, "&Stable ...", "", K::Plain, kMenuMisc, "Colors"},
            [this] { colourCommand(stableIndex_, "stable colour (palette entry)"); });
    set.add({kCmdUnstable, "&Unstable ...", "", K::Plain, kMenuMisc, "Colors"},
            [this] { colourCommand(unstableIndex_, "unstable colour (palette entry)"); });
    set.add({kCmdThreshold, "&Threshhold ...", "", K::Plain, kMenuMisc, "Colors"},
            [this] { colourCommand(thresholdIndex_, "threshold colour (palette entry)"); });
    declareHelp(set, kCmdHelpFirst, lyaHelp());
}

// ---- Documents: the blocks in order, then the shared tail.

void TLyaWin::encodeDocumentBody(ByteWriter& w) const
{
    std::array<int16_t, kInts> ints{};
    ints[0] = 5;
    ints[3] = static_cast<int16_t>(mouseMode_);
    ints[10] = static_cast<int16_t>(stableIndex_);
    ints[11] = static_cast<int16_t>(unstableIndex_);
    ints[12] = static_cast<int16_t>(thresholdIndex_);
    for (int16_t v : ints)
        w.i16(v);
    std::array<uint8_t, kFlags> flags{};
    flags[kFlagNoParameters] = 0;
    const OverlayState overlays = overlayState();
    for (uint8_t v : flags)
        w.u8(v);
    std::array<Real, kReals> reals{};
    reals[0] = view_.centerX;
    reals[1] = view_.centerY;
    reals[2] = view_.halfWidth;
    reals[9] = params_.x0;
    reals[10] = params_.transients;
    reals[11] = params_.calculations;
    reals[12] = params_.stable;
    reals[13] = params_.unstable;
    reals[14] = range_->smallest;
    reals[15] = range_->largest;
    for (Real v : reals)
        w.real(v);
    const std::string s = periodStringText(params_.string);
    w.u16(static_cast<uint16_t>(s.size()));
    w.bytes(s.data(), s.size());
    for (int i = 0; i < kVariableCount; ++i) {
        w.real(variable(i).re);
        w.real(variable(i).im);
    }
    w.fixedText("", kTextBytes);
    writePlacement(w, zoomPlacement_);
    DocumentTail tail;
    tail.slides = slides_;
    tail.overlays = overlays;
    writeDocumentTail(w, tail);
}

int TLyaWin::decodeDocumentBody(ByteReader& r, const CommonHeader& h)
{
    if (h.version <= 0 || h.version > kFileVersion)
        return kErrCannotOpen;
    std::array<int16_t, kInts> ints{};
    std::array<uint8_t, kFlags> flags{};
    std::array<Real, kReals> reals{};
    for (int16_t& v : ints)
        if (!r.i16(v))
            return kErrInconsistent;
    for (uint8_t& v : flags)
        if (!r.u8(v))
            return kErrInconsistent;
    // Our writer always stores the parameter block; a file without it has nothing to show.
    if (flags[kFlagNoParameters] != 0)
        return kErrInconsistent;
    for (Real& v : reals)
        if (!r.real(v))
            return kErrInconsistent;
    uint16_t length = 0;
    if (!r.u16(length) || length > 256)
        return kErrInconsistent;
    std::string s(length, '\0');
    if (!r.bytes(s.data(), length))
        return kErrInconsistent;
    std::array<Complex, kVariableCount> vars{};
    for (Complex& v : vars)
        if (!r.real(v.re) || !r.real(v.im))
            return kErrInconsistent;
    std::string text;
    WindowPlacement zoom;
    if (!r.fixedText(kTextBytes, text) || !readPlacement(r, zoom))
        return kErrInconsistent;
    DocumentTail tail;
    if (const int e = readWholeTail(r, tail))
        return e;
    LyapunovParams p = params_;
    if (!parsePeriodString(s, p.string) || !std::isfinite(reals[9]) || !(reals[10] >= 0) ||
        !(reals[10] <= 2147483647.0L) || !(reals[11] >= 1) || !(reals[11] <= 2147483647.0L) ||
        !std::isfinite(reals[12]) || !std::isfinite(reals[13]))
        return kErrInconsistent;
    for (int16_t index : {ints[10], ints[11], ints[12]})
        if (index < 0 || index > 60)
            return kErrInconsistent;
    if (!setView(reals[0], reals[1], reals[2]))
        return kErrInconsistent;
    p.x0 = reals[9];
    p.transients = static_cast<int32_t>(reals[10]);
    p.calculations = static_cast<int32_t>(reals[11]);
    p.stable = reals[12];
    p.unstable = reals[13];
    params_ = p;
    range_ = std::make_shared<ExponentRange>(); // the last pass's exponents, as stored
    range_->smallest = reals[14];
    range_->largest = reals[15];
    stableIndex_ = ints[10];
    unstableIndex_ = ints[11];
    thresholdIndex_ = ints[12];
    for (int i = 0; i < kVariableCount; ++i)
        setVariable(i, vars[static_cast<size_t>(i)]);
    zoomPlacement_ = zoom;
    slides_ = tail.slides;
    if (tail.overlays)
        applyOverlayState(*tail.overlays);
    return 0;
}

} // namespace qx
