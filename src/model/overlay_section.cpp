#include "model/overlay_section.h"

#include "model/common_header.h"

#include <cmath>
#include <cstring>

namespace qx {

namespace {

constexpr char kMagic[4] = {'Q', 'X', 'O', 'V'};
constexpr int32_t kSectionVersion = 1;

void writeAxis(ByteWriter& w, const AxisScale& a)
{
    w.real(a.tickInterval);
    w.i32(a.places);
    w.i32(a.frequency);
    w.u8(a.piMultiples);
}

bool readAxis(ByteReader& r, AxisScale& a)
{
    uint8_t pi = 0;
    if (!r.real(a.tickInterval) || !r.i32(a.places) || !r.i32(a.frequency) || !r.u8(pi))
        return false;
    a.piMultiples = pi != 0;
    return std::isfinite(a.tickInterval) && a.tickInterval > 1e-16L && a.places >= 0 && a.places <= 19 &&
           a.frequency >= 1 && a.frequency <= 1000;
}

void writeGrid(ByteWriter& w, const GridSettings& g)
{
    // The letters' byte also carries the arrowheads (bit 1), so files keep their layout.
    for (int b : {int(g.axesOn), int(g.ticks), int(g.scale), int(g.letters) | int(g.arrows) << 1, int(g.dotted),
                  int(g.quadrants[0]), int(g.quadrants[1]), int(g.quadrants[2]), int(g.quadrants[3])})
        w.u8(static_cast<uint8_t>(b));
    w.i32(static_cast<int32_t>(g.axesKind));
    w.real(g.tickLength);
    writeAxis(w, g.x);
    writeAxis(w, g.y);
    for (int v : {g.piChar, g.suffixChar, g.axisWidth, g.gridWidth})
        w.i32(v);
}

bool readGrid(ByteReader& r, GridSettings& g)
{
    uint8_t b[9];
    int32_t kind = 0, pi = 0, suffix = 0, axisWidth = 0, gridWidth = 0;
    if (!r.bytes(b, 9) || !r.i32(kind) || !r.real(g.tickLength) || !readAxis(r, g.x) || !readAxis(r, g.y) ||
        !r.i32(pi) || !r.i32(suffix) || !r.i32(axisWidth) || !r.i32(gridWidth))
        return false;
    g.axesOn = b[0], g.ticks = b[1], g.scale = b[2], g.letters = (b[3] & 1) != 0, g.dotted = b[4];
    g.arrows = (b[3] & 2) != 0;
    for (int q = 0; q < 4; ++q)
        g.quadrants[static_cast<size_t>(q)] = b[5 + q] != 0;
    g.axesKind = static_cast<AxesKind>(kind);
    g.piChar = pi, g.suffixChar = suffix, g.axisWidth = axisWidth, g.gridWidth = gridWidth;
    return kind >= 0 && kind <= 2 && std::isfinite(g.tickLength) && g.tickLength > 0 && g.tickLength <= 50 &&
           pi >= 0 && pi <= 255 && suffix >= 0 && suffix <= 255 && axisWidth >= 1 && axisWidth <= 100 &&
           gridWidth >= 1 && gridWidth <= 100;
}

void writeLabel(ByteWriter& w, const TextLabel& l)
{
    w.real(l.anchor.x);
    w.real(l.anchor.y);
    w.fixedText(l.text, kMaxLabelText + 1);
    w.fixedText(l.style.face, 64);
    for (int v : {l.style.colour, l.style.size, l.style.weight, l.style.angleTenths, l.style.offsetX,
                  l.style.offsetY})
        w.i32(v);
    w.u8(l.style.italic);
    w.u8(l.style.opaque);
}

bool readLabel(ByteReader& r, TextLabel& l)
{
    TextStyle& s = l.style;
    uint8_t italic = 0, opaque = 0;
    if (!r.real(l.anchor.x) || !r.real(l.anchor.y) || !r.fixedText(kMaxLabelText + 1, l.text) ||
        !r.fixedText(64, s.face) || !r.i32(s.colour) || !r.i32(s.size) || !r.i32(s.weight) ||
        !r.i32(s.angleTenths) || !r.i32(s.offsetX) || !r.i32(s.offsetY) || !r.u8(italic) || !r.u8(opaque))
        return false;
    s.italic = italic != 0;
    s.opaque = opaque != 0;
    return std::isfinite(l.anchor.x) && std::isfinite(l.anchor.y) && !l.text.empty() && s.colour >= 0 &&
           s.colour <= 60 && s.size >= 1 && s.size <= 500 && s.angleTenths >= -3600 && s.angleTenths <= 3600 &&
           std::abs(s.offsetX) <= 100000 && std::abs(s.offsetY) <= 100000;
}

bool readMarks(ByteReader& r, OverlayState& s)
{
    uint32_t n = 0;
    uint8_t kind = 0, big = 0;
    MarkAttributes& a = s.markAttributes;
    if (!r.u8(kind) || !r.u8(big) || !r.i32(a.size) || !r.i32(a.colour) || !r.u32(n) || kind > 1 ||
        a.size < 1 || a.size > 100 || a.colour < 0 || a.colour > 60 || n > kMaxStoredMarks ||
        n * size_t(20) > r.remaining())
        return false;
    a.kind = kind ? MarkKind::Box : MarkKind::Cross;
    a.big = big != 0;
    s.marks.resize(n);
    for (WorldPoint& p : s.marks)
        if (!r.real(p.x) || !r.real(p.y) || !std::isfinite(p.x) || !std::isfinite(p.y))
            return false;
    return true;
}

} // namespace

void writeOverlaySection(ByteWriter& w, const OverlayState& s)
{
    w.bytes(kMagic, 4);
    w.i32(kSectionVersion);
    writeGrid(w, s.grid);
    w.u32(static_cast<uint32_t>(s.labels.size()));
    for (const TextLabel& l : s.labels)
        writeLabel(w, l);
    w.u8(s.markAttributes.kind == MarkKind::Box);
    w.u8(s.markAttributes.big);
    w.i32(s.markAttributes.size);
    w.i32(s.markAttributes.colour);
    w.u32(static_cast<uint32_t>(s.marks.size()));
    for (const WorldPoint& p : s.marks) {
        w.real(p.x);
        w.real(p.y);
    }
}

int readOverlaySection(ByteReader& r, OverlayState& out)
{
    // Our writer always stores a whole section where one is announced: less
    // than its head is a file cut short.
    char magic[4] = {};
    if (r.remaining() < 8 || !r.bytes(magic, 4))
        return kErrInconsistent;
    if (std::memcmp(magic, kMagic, 4) != 0)
        return kOverlayForeign;
    int32_t version = 0;
    uint32_t labels = 0;
    OverlayState s;
    if (!r.i32(version) || version != kSectionVersion || !readGrid(r, s.grid) || !r.u32(labels) ||
        labels > kMaxStoredLabels)
        return kErrInconsistent;
    s.labels.resize(labels);
    for (TextLabel& l : s.labels)
        if (!readLabel(r, l))
            return kErrInconsistent;
    if (!readMarks(r, s))
        return kErrInconsistent;
    out = std::move(s);
    return 0;
}

} // namespace qx
