// The real IFS: maps (x, y) --> (new x, new y) by two texts, or the affine
// map taking the reference triangle to an image triangle; the presets;
// random maps; the reference triangle; .ifr files.
#include "base/messages.h"
#include "base/real_text.h"
#include "expr/evaluator.h"
#include "model/common_header.h"
#include "tools/ifs/ifs_help.h"
#include "tools/ifs/tifswin.h"

#include <cmath>
#include <numbers>

namespace qx {

namespace {

using K = CommandKind;
constexpr int kCmdReference = 560;
constexpr int kCmdHelpFirst = 840;
constexpr int kCmdNextTriangle = 518, kCmdCollage = 641, kCmdDiscard = 642, kCmdKeep = 643;
constexpr int kModeCollage = 125;
constexpr int kCmdIconSize = 600, kCmdCollageColour = 207;
constexpr int16_t kRandomColours[] = {5, 10, 52, 55, 24, 22};

constexpr TIfsWin::PresetEntry kPresets[] = {{557, "&Fern"}, {558, "&Twig"},     {554, "&Gasket"},
                                   {559, "&Maze"}, {585, "&Von Koch"}, {574, "&Dragon"}};

IfsMap triangleMap(Triangle q, int16_t colour, int16_t weight = 1)
{
    IfsMap m;
    m.byTriangle = true;
    m.image = q;
    m.colour = colour;
    m.weight = weight;
    return m;
}

} // namespace

TIfrWin::TIfrWin(bool preset)
{
    if (preset)
        applyPreset(557);
}

ToolFiles TIfrWin::toolFiles() const
{
    return {kIfrKind, ".ifr", "Real IFS files (*.IFR)|*.ifr", "ifr"};
}

int TIfrWin::compileMap(IfsMap& m, std::array<TreePtr, 2>& trees)
{
    if (m.byTriangle) {
        const Affine a = affineFromTriangles(reference_, m.image);
        m.newX = linearText(a.a, a.b, a.e);
        m.newY = linearText(a.c, a.d, a.f);
    }
    std::array<TreePtr, 2> t;
    if (const int e = CompileExpression(cx_, m.newX, t[0]))
        return e;
    if (const int e = CompileExpression(cx_, m.newY, t[1]))
        return e;
    if (!m.byTriangle) { // the image triangle of a map given by its texts
        ExprContext cx = cx_;
        for (size_t k = 0; k < 3; ++k) {
            cx.env.vars[kSlotX] = {reference_[k].x, 0};
            cx.env.vars[kSlotY] = {reference_[k].y, 0};
            if (EvaluateTree(cx.env, *t[0]) && EvaluateTree(cx.env, *t[1]))
                m.image[k] = {t[0]->value.re, t[1]->value.re};
        }
    }
    trees = std::move(t);
    return 0;
}

std::string TIfrWin::mapLine(const IfsMap& m) const
{
    return "(x,y) --> (" + m.newX + "," + m.newY + ")";
}

void TIfrWin::setReference(const Triangle& t)
{
    reference_ = t;
    for (size_t i = 0; i < maps_.size(); ++i)
        if (maps_[i].byTriangle)
            compileMap(maps_[i], trees_[i]);
    if (busy())
        interruptRendering();
    finishRendering();
    mapsChanged();
}

bool TIfrWin::applyPreset(int command)
{
    const Real s = std::sqrt(Real(3));
    std::vector<IfsMap> maps;
    Triangle ref{};
    switch (command) {
    case 557:
        ref = {{{0, 0}, {2.466754L, 3.458479L}, {2.459668L, 10.00473L}}};
        maps = {triangleMap({{{0, 0}, {0, 0.5533566L}, {0, 1.6L}}}, 55),
                triangleMap({{{0, 1.6L}, {2.2229734L, 4.44545L}, {2.459668L, 10.00473L}}}, 55, 30),
                triangleMap({{{0, 1.6L}, {-0.2975434L, 2.8391948L}, {-1.7810934L, 4.1260082L}}}, 55, 5),
                triangleMap({{{0, 0.44L}, {0.6102457L, 1.903416L}, {2.4667541L, 3.4584791L}}}, 55, 5)};
        break;
    case 558:
        ref = {{{-0.179555L, 0.26743L}, {0.780312L, 0.26132L}, {0.675711L, 0.759712L}}};
        maps = {triangleMap({{{0.368061L, 0.408992L}, {0.675711L, 0.759712L}, {0.854148L, 0.513593L}}}, 60, 3),
                triangleMap({{{0.368061L, 0.408992L}, {0.743394L, 0.427451L}, {0.780312L, 0.26132L}}}, 60, 3),
                triangleMap({{{-0.179555L, 0.26743L}, {0.368061L, 0.408992L}, {0.091914L, 0.339533L}}}, 60, 5)};
        break;
    case 554:
        ref = {{{0, 0}, {6, 4}, {-2, 6}}};
        maps = {triangleMap({{{0, 0}, {3, 2}, {-1, 3}}}, 7), triangleMap({{{3, 2}, {6, 4}, {2, 5}}}, 7),
                triangleMap({{{-1, 3}, {2, 5}, {-2, 6}}}, 7)};
        break;
    case 559:
        ref = {{{0, 3}, {0, 0}, {3, 0}}};
        maps = {triangleMap({{{0, 0}, {1, 0}, {1, 3}}}, 57), triangleMap({{{1, 3}, {1, 2}, {2, 2}}}, 57),
                triangleMap({{{3, 0}, {2, 0}, {2, 3}}}, 57)};
        break;
    case 585:
        ref = {{{0, 0}, {6, 0}, {3, s}}};
        maps = {triangleMap({{{0, 0}, {2, 0}, {1, s / 3}}}, 24), triangleMap({{{2, 0}, {3, s}, {2, 2 * s / 3}}}, 24),
                triangleMap({{{3, s}, {4, 0}, {4, 2 * s / 3}}}, 24), triangleMap({{{4, 0}, {6, 0}, {5, s / 3}}}, 24)};
        break;
    case 574: {
        IfsMap a, b;
        a.colour = b.colour = 57;
        a.newX = "0.5(x-y)";
        a.newY = "0.5(x+y)";
        b.newX = "1.0-0.5(x+y)";
        b.newY = "0.5(x-y)";
        maps = {a, b};
        break;
    }
    default:
        return false;
    }
    reference_ = ref; // the maps are built from it
    installMaps(std::move(maps));
    return true;
}

int TIfrWin::randomMaps(int n)
{
    if (n < 1)
        return ErrPositiveValue;
    if (n > kMaxIfsMaps)
        return ErrOutOfBounds;
    std::uniform_real_distribution<double> u(0, 1);
    const int16_t colour = kRandomColours[rng_() % std::size(kRandomColours)];
    const Triangle ref{{{0, 0}, {1, 0}, {0, 1}}};
    std::vector<IfsMap> maps(static_cast<size_t>(n));
    for (int k = n - 1; k >= 0; --k) {
        const Real t = 2 * std::numbers::pi_v<Real> * k / n;
        const Real a = 0.2L + 0.7L * u(rng_), b = 0.2L + 0.7L * u(rng_);
        const Real phi = 2 * std::numbers::pi_v<Real> * u(rng_);
        const Real ct = std::cos(t), st = std::sin(t);
        maps[static_cast<size_t>(k)] = triangleMap(
            {{{ct - b * std::sin(phi), st + a * std::cos(phi)}, {ct, st}, {ct + a * std::cos(phi), st + b * std::sin(phi)}}},
            colour);
    }
    reference_ = ref; // the maps are built from it
    installMaps(std::move(maps));
    return 0;
}

// ---- Collage mode.

void TIfrWin::startCollage()
{
    if (collage_)
        return;
    backupMaps_ = maps_;
    backupReference_ = reference_;
    savedMouseMode_ = mouseMode_;
    mouseMode_ = kModeCollage;
    collage_ = true;
    active_ = -1;
    nextTriangle(); // the first triangle-defined map, else the reference
    if (attached())
        restoreTitle();
    overlaysChanged();
}

int TIfrWin::setIconSize(int pixels)
{
    if (pixels < 1 || pixels > 50)
        return ErrOutOfBounds;
    iconSize_ = pixels;
    overlaysChanged();
    return 0;
}

int TIfrWin::setCollageColour(int which, int index)
{
    if (which < 0 || which > 2 || index < 0 || index > 60)
        return ErrOutOfBounds;
    collageColours_[static_cast<size_t>(which)] = static_cast<int16_t>(index);
    overlaysChanged();
    return 0;
}

void TIfrWin::endCollage(bool keep)
{
    if (!collage_)
        return;
    collage_ = false;
    draggedVertex_ = -1;
    mouseMode_ = savedMouseMode_;
    if (!keep) {
        maps_ = backupMaps_;
        reference_ = backupReference_;
        rebuildAll();
        orbiterState_.reset();
        plotted_ = 0;
        if (attached())
            draw();
    }
    if (attached())
        restoreTitle();
    overlaysChanged();
}

void TIfrWin::nextTriangle()
{
    int next = -1;
    for (int i = active_ + 1; i < mapCount(); ++i)
        if (maps_[static_cast<size_t>(i)].byTriangle) {
            next = i;
            break;
        }
    active_ = next;
    if (attached() && collage_)
        restoreTitle();
    overlaysChanged();
}

std::string TIfrWin::normalTitle() const
{
    if (!collage_)
        return TIfsWin::normalTitle();
    return active_ >= 0 ? "edit collage triangle" : "edit reference triangle";
}

Triangle& TIfrWin::activeTriangleRef()
{
    return active_ >= 0 && active_ < mapCount() ? maps_[static_cast<size_t>(active_)].image : reference_;
}

int TIfrWin::vertexNear(WorldPoint p, Real pixels) const
{
    const Triangle& t =
        active_ >= 0 && active_ < mapCount() ? maps_[static_cast<size_t>(active_)].image : reference_;
    int found = -1;
    for (int k = 0; k < 3; ++k)
        if (std::hypot(t[static_cast<size_t>(k)].x - p.x, t[static_cast<size_t>(k)].y - p.y) <= pixels * view_.dx)
            found = k;
    return found;
}

void TIfrWin::rebuildAfterMove(bool all)
{
    if (busy())
        interruptRendering();
    finishRendering();
    for (size_t i = 0; i < maps_.size(); ++i)
        if (maps_[i].byTriangle && (all || static_cast<int>(i) == active_))
            compileMap(maps_[i], trees_[i]);
    orbiterState_.reset();
    plotted_ = 0;
    if (attached())
        draw();
}

void TIfrWin::moveVertex(int vertex, WorldPoint p)
{
    if (vertex < 0 || vertex > 2)
        return;
    activeTriangleRef()[static_cast<size_t>(vertex)] = p;
    rebuildAfterMove(active_ < 0);
}

void TIfrWin::mouseDown(MouseButton button, PixelPoint p)
{
    if (!collage_ || mouseMode_ != kModeCollage) {
        TIfsWin::mouseDown(button, p);
        return;
    }
    const WorldPoint w = view_.pixelToWorld(p);
    if (button == MouseButton::Left) {
        draggedVertex_ = vertexNear(w, 5);
        return;
    }
    if (button == MouseButton::Right) { // EDVERT: the vertex by its coordinates
        const int k = vertexNear(w, 4);
        if (k < 0)
            return;
        const WorldPoint v = activeTriangleRef()[static_cast<size_t>(k)];
        char bx[48], by[48];
        std::snprintf(bx, sizeof bx, "%.15Lg", v.x);
        std::snprintf(by, sizeof by, "%.15Lg", v.y);
        std::string x = bx, y = by;
        if (!host().inputTwo("x =", x, "y =", y))
            return;
        Real nx = 0, ny = 0;
        if (evaluateRealConstant(x, nx) || evaluateRealConstant(y, ny)) {
            host().showError(ErrCannotUnderstand);
            return;
        }
        moveVertex(k, {nx, ny});
    }
}

void TIfrWin::mouseMove(PixelPoint p)
{
    if (draggedVertex_ < 0) {
        TIfsWin::mouseMove(p);
        return;
    }
    activeTriangleRef()[static_cast<size_t>(draggedVertex_)] = view_.pixelToWorld(p);
    overlaysChanged(); // the triangles follow; the maps on release
}

void TIfrWin::mouseUp(MouseButton button, PixelPoint p)
{
    const int k = std::exchange(draggedVertex_, -1);
    if (k < 0) {
        TIfsWin::mouseUp(button, p);
        return;
    }
    moveVertex(k, view_.pixelToWorld(p));
}

void TIfrWin::drawToolOverlays(Canvas& canvas)
{
    if (!collage_)
        return;
    const auto outline = [&](const Triangle& t, int16_t colour) {
        const Pen pen{colour, 1, PenSolid};
        for (size_t k = 0; k < 3; ++k)
            canvas.drawSegment(t[k], t[(k + 1) % 3], pen);
    };
    const auto icons = [&](const Triangle& t, int16_t colour) {
        const Real s = iconSize_;
        for (size_t k = 0; k < 3; ++k) {
            const WorldPoint c = t[k];
            if (!view_.inView(c.x, c.y))
                continue;
            const Real dx = s * view_.dx, dy = s * view_.dy;
            if (k == 0)
                canvas.drawCircle(c, dx, colour, Pen{colour, 1, PenSolid});
            else if (k == 1)
                canvas.drawRect({c.x - dx, c.y + dy}, {c.x + dx, c.y - dy}, colour, Pen{colour, 1, PenSolid});
            else {
                const WorldPoint tri[3] = {{c.x, c.y + dy}, {c.x + dx, c.y - dy}, {c.x - dx, c.y - dy}};
                canvas.fillPolygon(tri, colour, Pen{colour, 1, PenSolid}, 0);
            }
        }
    };
    for (const IfsMap& m : maps_)
        if (m.byTriangle)
            outline(m.image, collageColours_[0]);
    outline(reference_, collageColours_[1]);
    icons(reference_, collageColours_[1]);
    const Triangle& active =
        active_ >= 0 && active_ < mapCount() ? maps_[static_cast<size_t>(active_)].image : reference_;
    outline(active, collageColours_[2]);
    icons(active, collageColours_[2]);
}

std::span<const TIfsWin::PresetEntry> TIfrWin::presetEntries() const
{
    return kPresets;
}

void TIfrWin::declareCommands(CommandSet& set)
{
    TIfsWin::declareCommands(set);
    set.add({kCmdReference, "&Reference triangle ...", "", K::Plain, kMenuEdit, ""}, [this] {
        if (!host().showModelessDialog("REFTRI"))
            host().showError(ErrNothingToDo);
    });
    set.add({kCmdCollage, "C&ollage", "", K::Plain, kMenuEdit, "&Collage", true}, [this] { startCollage(); });
    set.add({kCmdNextTriangle, "&Next triangle", "Ctrl+N", K::Plain, kMenuEdit, "&Collage"}, [this] {
        if (collage_)
            nextTriangle();
        else
            host().showError(ErrNothingToDo);
    });
    set.add({kCmdKeep, "&Keep changes", "Ctrl+K", K::Plain, kMenuEdit, "&Collage"}, [this] { endCollage(true); });
    set.add({kCmdDiscard, "&Discard changes", "", K::Plain, kMenuEdit, "&Collage"}, // Ctrl+D is Draw
            [this] { endCollage(false); });
    set.add({kCmdIconSize, "&Icon size ...", "", K::Plain, kMenuEdit, "&Collage", true}, [this] {
        std::string text = std::to_string(iconSize_);
        if (!host().inputText("current value", text))
            return;
        int32_t n = 0;
        if (!parseIntText(text, n))
            host().showError(ErrCannotUnderstand);
        else if (const int e = setIconSize(n))
            host().showError(e);
    });
    static constexpr const char* kColourTexts[] = {"Collage &color ...", "&Ref triangle color ...",
                                                   "&Active triangle color ..."};
    for (int k = 0; k < 3; ++k)
        set.add({kCmdCollageColour + k, kColourTexts[k], "", K::Plain, kMenuEdit, "&Collage"}, [this, k] {
            std::string text = std::to_string(collageColours_[static_cast<size_t>(k)]);
            if (!host().inputText("palette index (0 .. 60)", text))
                return;
            int32_t n = 0;
            if (!parseIntText(text, n))
                host().showError(ErrCannotUnderstand);
            else if (const int e = setCollageColour(k, n))
                host().showError(e);
        });
    declareHelp(set, kCmdHelpFirst, ifrHelp());
}

// ---- Documents.

namespace {

void writePoint(ByteWriter& w, WorldPoint p)
{
    w.real(p.x);
    w.real(p.y);
}

bool readPoint(ByteReader& r, WorldPoint& p)
{
    return r.real(p.x) && r.real(p.y) && std::isfinite(p.x) && std::isfinite(p.y);
}

} // namespace

void TIfrWin::encodeDocumentBody(ByteWriter& w) const
{
    encodeHead(w);
    for (const IfsMap& m : maps_) {
        w.i16(m.weight);
        w.i16(m.colour);
        w.u8(m.byTriangle ? 1 : 0);
        w.u8(m.visible ? 1 : 0);
        w.fixedText(m.newX, 256);
        w.fixedText(m.newY, 256);
        for (WorldPoint p : m.image)
            writePoint(w, p);
    }
    for (WorldPoint p : reference_)
        writePoint(w, p);
    encodeVariables(w);
    encodeTail(w);
}

int TIfrWin::decodeDocumentBody(ByteReader& r, const CommonHeader& h)
{
    DocumentParts d;
    if (const int e = decodeHead(r, h, d))
        return e;
    std::vector<IfsMap> maps(static_cast<size_t>(d.lastIndex + 1));
    for (IfsMap& m : maps) {
        uint8_t triangle = 0, visible = 0;
        if (!r.i16(m.weight) || !r.i16(m.colour) || !r.u8(triangle) || !r.u8(visible) ||
            !r.fixedText(256, m.newX) || !r.fixedText(256, m.newY))
            return kErrInconsistent;
        for (WorldPoint& p : m.image)
            if (!readPoint(r, p))
                return kErrInconsistent;
        m.byTriangle = triangle != 0;
        m.visible = visible != 0;
    }
    Triangle ref{};
    for (WorldPoint& p : ref)
        if (!readPoint(r, p))
            return kErrInconsistent;
    if (const int e = decodeVariables(r, d))
        return e;
    if (const int e = decodeTail(r, d))
        return e;
    const Triangle kept = reference_;
    reference_ = ref; // the maps are built from this triangle
    if (const int e = applyDocument(std::move(maps), {}, d)) {
        reference_ = kept;
        return e;
    }
    return 0;
}

} // namespace qx
