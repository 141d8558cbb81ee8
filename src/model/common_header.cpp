#include "model/common_header.h"

#include <algorithm>
#include <cmath>

namespace qx {

int32_t printLayoutHundredths(Real v)
{
    const Real x = std::ceil(v * 100 - 0.5L);
    if (!(x >= -2147483648.0L && x <= 2147483647.0L)) // NaN or beyond int32
        return 0;
    return static_cast<int32_t>(x);
}

namespace {

Real layoutFromHundredths(int32_t v, bool first)
{
    if (first && v == 0)
        return kDefaultFirstMargin;
    return static_cast<Real>(v) / 100;
}

void writeFixedHeader(ByteWriter& w, const CommonHeader& h)
{
    w.i32(h.kind);
    w.i32(h.version);
    w.i32(h.placement.x);
    w.i32(h.placement.y);
    w.i32(h.placement.width);
    w.i32(h.placement.height);
    w.i32(h.placement.maximized ? 1 : 0);
    w.i32(h.displayFlag);
    w.i32(kPaletteSize);
    for (Real v : h.printLayout)
        w.i32(printLayoutHundredths(v));
    w.i32(h.printFlag ? 1 : 0);
    w.i32(h.colourPrinting ? 1 : 0);
    w.i32(10);
    w.i32(15);
    w.i32(kPaletteMark1);
    w.i32(kPaletteMark2);
    w.i32(h.extraGroups);
}

// The first 80 bytes, as stored.
struct RawFixed {
    std::array<int32_t, 20> v{};
};

bool readFixed(ByteReader& r, RawFixed& f)
{
    for (int32_t& x : f.v)
        if (!r.i32(x))
            return false;
    return true;
}

void applyFixed(const RawFixed& f, CommonHeader& h)
{
    h.kind = f.v[0];
    h.version = f.v[1];
    h.placement = {f.v[2], f.v[3], f.v[4], f.v[5], f.v[6] != 0};
    h.displayFlag = f.v[7] != 0 ? 1 : 0;
    for (int i = 0; i < 4; ++i)
        h.printLayout[static_cast<size_t>(i)] = layoutFromHundredths(f.v[static_cast<size_t>(9 + i)], i == 0);
    h.printFlag = f.v[13] != 0;
    h.colourPrinting = f.v[14] != 0;
    h.extraGroups = f.v[19] > 0 ? 1 : 0;
}

// Reads `count` colours; returns false when they run past the end.
bool readPalette(ByteReader& r, int32_t count, bool marksMatch, Palette& out, bool& taken)
{
    taken = false;
    if (count <= 0)
        return true;
    if (static_cast<uint64_t>(count) * 4 > r.remaining())
        return false;
    for (int32_t i = 0; i < count; ++i) {
        uint32_t c = 0;
        r.u32(c);
        if (marksMatch && i < kPaletteSize)
            out[static_cast<size_t>(i)] = c & 0x00FFFFFFu;
    }
    taken = marksMatch;
    return true;
}

} // namespace

void writeCommonHeader(ByteWriter& w, const CommonHeader& h)
{
    writeFixedHeader(w, h);
    w.bytes(h.attributes.data(), h.attributes.size());
    w.bytes(h.fonts.data(), h.fonts.size());
    w.bytes(h.attributes2.data(), h.attributes2.size());
    const std::array<uint8_t, 68> reserved{};
    w.bytes(reserved.data(), reserved.size());
    for (int16_t s : h.specialSlots)
        w.i16(s);
    for (Rgb c : h.palette)
        w.u32(c & 0x00FFFFFFu);
}

int readCommonHeader(ByteReader& r, int32_t expectedKind, CommonHeader& h)
{
    RawFixed f;
    if (!readFixed(r, f))
        return kErrInconsistent;
    if (f.v[0] != expectedKind)
        return kErrIncompatible;
    CommonHeader next = h;
    applyFixed(f, next);
    if (!r.bytes(next.attributes.data(), next.attributes.size()) ||
        !r.bytes(next.fonts.data(), next.fonts.size()) ||
        !r.bytes(next.attributes2.data(), next.attributes2.size()) || !r.skip(68))
        return kErrInconsistent;
    for (int16_t& s : next.specialSlots)
        if (!r.i16(s))
            return kErrInconsistent;
    const bool marks = f.v[17] == kPaletteMark1 && f.v[18] == kPaletteMark2;
    if (!readPalette(r, f.v[8], marks, next.palette, next.paletteTaken))
        return kErrInconsistent;
    h = next;
    return 0;
}

} // namespace qx
