// The complex IFS: maps z --> f(z) by text, or rotary dilations about a
// fixed point; the presets; random maps about the roots of unity; .ifc files.
#include "base/messages.h"
#include "base/real_text.h"
#include "model/common_header.h"
#include "model/special_colours.h"
#include "tools/ifs/ifs_help.h"
#include "tools/ifs/tifswin.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kCmdHelpFirst = 830;
constexpr int kModeDrag = 125;
constexpr int16_t kRandomColours[] = {5, 10, 52, 55, 24, 22};

constexpr TIfsWin::PresetEntry kPresets[] = {{554, "&Gasket"}, {555, "&Pentagon"}, {553, "&Flake"},
                                      {564, "&Cantor"}, {585, "&Von Koch"},  {574, "&Dragon"}};

IfsMap geometric(const char* p, const char* r, const char* t, int16_t colour, int16_t weight = 1)
{
    IfsMap m;
    m.geometric = true;
    m.fixedText = p;
    m.dilationText = r;
    m.angleText = t;
    m.colour = colour;
    m.weight = weight;
    return m;
}

std::string number(Real v)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.15Lg", v);
    return buf;
}

} // namespace

TIfcWin::TIfcWin(bool preset)
{
    setComplexMode(true);
    if (preset)
        applyPreset(554);
}

ToolFiles TIfcWin::toolFiles() const
{
    return {kIfcKind, ".ifc", "Complex IFS files (*.IFC)|*.ifc", "ifc"};
}

int TIfcWin::compileMap(IfsMap& m, std::array<TreePtr, 2>& trees)
{
    if (m.geometric) {
        Complex p{}, r{}, t{};
        if (const int e = evaluateConstant(m.fixedText, p))
            return e;
        if (const int e = evaluateConstant(m.dilationText, r))
            return e;
        if (const int e = evaluateConstant(m.angleText, t))
            return e;
        m.fixedPoint = p;
        m.text = rotaryDilationText(m.fixedText, p, m.dilationText, m.angleText, t.re);
    }
    trees = {};
    return CompileExpression(cx_, m.text, trees[0]);
}

std::string TIfcWin::mapLine(const IfsMap& m) const
{
    return "z --> " + m.text;
}

bool TIfcWin::applyPreset(int command)
{
    std::vector<IfsMap> maps;
    switch (command) {
    case 554:
        maps = {geometric("2", "0.5", "0", 5), geometric("-1+i*sqr(3)", "0.5", "0", 5),
                geometric("-1-i*sqr(3)", "0.5", "0", 5)};
        break;
    case 555:
        for (const char* p : {"1", "cis(2pi/5)", "cis(4pi/5)", "cis(6pi/5)", "cis(8pi/5)"})
            maps.push_back(geometric(p, "(3-sqr(5))/2", "0", 52));
        break;
    case 553:
        maps = {geometric("0", "0.8", "pi/3", 10, 10), geometric("2", "0.2", "0", 10),
                geometric("-1+i*sqr(3)", "0.2", "0", 10), geometric("-1-i*sqr(3)", "0.2", "0", 10)};
        break;
    case 564:
        setVariable('K' - '@', {0.64L, 0});
        setVariable('T' - '@', {std::numbers::pi_v<Real> / 2, 0});
        maps = {geometric("1-i", "K", "T", 24), geometric("i-1", "K", "T", 24)};
        break;
    case 585:
        maps = {geometric("0", "1/3", "0", 6), geometric("3", "1/3", "0", 6),
                geometric("(15+i*sqr(27))/14", "1/3", "pi/3", 6), geometric("(27+i*sqr(27))/14", "1/3", "5pi/3", 6)};
        break;
    case 574: {
        IfsMap a = geometric("pi/4", "0.5", "0", 10), b = geometric("3pi/4", "0.5", "0.6+0.2i", 10);
        a.geometric = b.geometric = false;
        a.text = "(1+i)z/2";
        b.text = "1-(1-i)z/2";
        maps = {a, b};
        break;
    }
    default:
        return false;
    }
    installMaps(std::move(maps));
    return true;
}

int TIfcWin::randomMaps(int n)
{
    if (n < 1)
        return ErrPositiveValue;
    if (n > kMaxIfsMaps)
        return ErrOutOfBounds;
    std::uniform_real_distribution<double> u(0, 1);
    const int16_t colour = kRandomColours[rng_() % std::size(kRandomColours)];
    std::vector<IfsMap> maps(static_cast<size_t>(n));
    for (int k = n - 1; k >= 0; --k) {
        IfsMap& m = maps[static_cast<size_t>(k)];
        m.geometric = true;
        m.colour = colour;
        m.fixedText = "cis(" + std::to_string(2 * k) + "pi/" + std::to_string(n) + ")";
        m.dilationText = number(0.3L + 0.5L * u(rng_));
        m.angleText = number(2 * std::numbers::pi_v<Real> * u(rng_));
    }
    installMaps(std::move(maps));
    return 0;
}

std::vector<CommandSpec> TIfcWin::mouseModes() const
{
    std::vector<CommandSpec> modes = TIfsWin::mouseModes();
    modes.push_back({kModeDrag, "&Drag fixed points", "", K::Radio, kMenuBtns, ""});
    return modes;
}

void TIfcWin::mouseDown(MouseButton button, PixelPoint p)
{
    if (button != MouseButton::Left || mouseMode_ != kModeDrag || busy()) {
        TIfsWin::mouseDown(button, p);
        return;
    }
    const WorldPoint w = view_.pixelToWorld(p);
    dragged_ = -1;
    for (int i = 0; i < mapCount(); ++i) {
        const IfsMap& m = maps_[static_cast<size_t>(i)];
        if (m.geometric && std::hypot(m.fixedPoint.re - w.x, m.fixedPoint.im - w.y) <= 5 * view_.dx)
            dragged_ = i; // the last one near the click
    }
}

void TIfcWin::mouseMove(PixelPoint p)
{
    if (dragged_ < 0) {
        TIfsWin::mouseMove(p);
        return;
    }
    const WorldPoint w = view_.pixelToWorld(p);
    maps_[static_cast<size_t>(dragged_)].fixedPoint = {w.x, w.y};
    overlaysChanged(); // the marker follows; the points come on release
}

void TIfcWin::mouseUp(MouseButton button, PixelPoint p)
{
    const int i = std::exchange(dragged_, -1);
    if (i < 0) {
        TIfsWin::mouseUp(button, p);
        return;
    }
    const WorldPoint w = view_.pixelToWorld(p);
    IfsMap m = maps_[static_cast<size_t>(i)];
    char text[120];
    std::snprintf(text, sizeof text, "%.15Lf%+.15Lfi", w.x, w.y);
    m.fixedText = text;
    std::array<TreePtr, 2> trees;
    if (compileMap(m, trees) != 0)
        return;
    if (busy())
        interruptRendering();
    finishRendering();
    maps_[static_cast<size_t>(i)] = std::move(m);
    trees_[static_cast<size_t>(i)] = std::move(trees);
    orbiterState_.reset();
    plotted_ = 0;
    if (attached())
        draw();
}

void TIfcWin::drawToolOverlays(Canvas& canvas)
{
    if (mouseMode_ != kModeDrag)
        return;
    for (const IfsMap& m : maps_)
        if (m.geometric)
            canvas.drawMark({m.fixedPoint.re, m.fixedPoint.im}, MarkKind::Cross, 4, special_.get(SlotFixedPoint));
}

std::span<const TIfsWin::PresetEntry> TIfcWin::presetEntries() const
{
    return kPresets;
}

void TIfcWin::declareCommands(CommandSet& set)
{
    TIfsWin::declareCommands(set);
    declareHelp(set, kCmdHelpFirst, ifcHelp());
}

// ---- Documents.

void TIfcWin::encodeDocumentBody(ByteWriter& w) const
{
    encodeHead(w);
    for (const IfsMap& m : maps_) {
        w.i16(m.weight);
        w.i16(m.colour);
        w.u8(m.geometric ? 1 : 0);
        w.u8(m.visible ? 1 : 0);
        w.fixedText(m.text, 256);
        w.fixedText(m.dilationText, 256);
        w.fixedText(m.fixedText, 256);
        w.fixedText(m.angleText, 256);
        w.real(m.fixedPoint.re);
        w.real(m.fixedPoint.im);
    }
    w.i16(static_cast<int16_t>(sequence_.size()));
    for (int16_t i : sequence_)
        w.i16(i);
    encodeVariables(w);
    encodeTail(w);
}

int TIfcWin::decodeDocumentBody(ByteReader& r, const CommonHeader& h)
{
    DocumentParts d;
    if (const int e = decodeHead(r, h, d))
        return e;
    std::vector<IfsMap> maps(static_cast<size_t>(d.lastIndex + 1));
    for (IfsMap& m : maps) {
        uint8_t geometricFlag = 0, visible = 0;
        if (!r.i16(m.weight) || !r.i16(m.colour) || !r.u8(geometricFlag) || !r.u8(visible) ||
            !r.fixedText(256, m.text) || !r.fixedText(256, m.dilationText) || !r.fixedText(256, m.fixedText) ||
            !r.fixedText(256, m.angleText) || !r.real(m.fixedPoint.re) || !r.real(m.fixedPoint.im))
            return kErrInconsistent;
        m.geometric = geometricFlag != 0;
        m.visible = visible != 0;
    }
    int16_t n = 0;
    if (!r.i16(n) || n < 0 || n > static_cast<int16_t>(kMaxSequence))
        return kErrInconsistent;
    std::vector<int16_t> sequence(static_cast<size_t>(n));
    for (int16_t& i : sequence)
        if (!r.i16(i))
            return kErrInconsistent;
    if (const int e = decodeVariables(r, d))
        return e;
    if (const int e = decodeTail(r, d))
        return e;
    return applyDocument(std::move(maps), std::move(sequence), d);
}

} // namespace qx
