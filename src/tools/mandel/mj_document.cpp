#include "tools/mandel/mj_document.h"

#include "model/colour_presets.h"
#include "model/frame_settings.h"

namespace qx {

namespace {

constexpr size_t kPlacementRecord = 17;

void writeBody(ByteWriter& w, const MJDocument& d)
{
    for (int16_t v : d.ints) w.i16(v);
    w.bytes(d.flags.data(), d.flags.size());
    for (Real v : d.reals) w.real(v);
    for (const Complex& v : d.variables) {
        w.real(v.re);
        w.real(v.im);
    }
    w.fixedText(d.zoomFormula, kFormulaBytes);
    w.fixedText(d.secondFormula, kFormulaBytes);
    writePlacement(w, d.zoomPlacement);
    writePlacement(w, d.popupPlacement);
    writeColourTables(w, d.sequences);
    writeDocumentTail(w, d);
}

bool readFixedItems(ByteReader& r, MJDocument& d)
{
    for (int16_t& v : d.ints)
        if (!r.i16(v)) return false;
    if (!r.bytes(d.flags.data(), d.flags.size())) return false;
    for (Real& v : d.reals)
        if (!r.real(v)) return false;
    for (Complex& v : d.variables)
        if (!r.real(v.re) || !r.real(v.im)) return false;
    return true;
}

// Formulas and placements; old files have one formula and four skipped records.
bool readFormulasAndPlacements(ByteReader& r, int32_t version, MJDocument& d)
{
    if (!r.fixedText(kFormulaBytes, d.zoomFormula)) return false;
    if (version < 4)
        d.secondFormula = "0.0;0.0";
    else if (!r.fixedText(kFormulaBytes, d.secondFormula))
        return false;
    if (version < 4 && !r.skip(2 * kPlacementRecord)) return false;
    if (!readPlacement(r, d.zoomPlacement) || !readPlacement(r, d.popupPlacement)) return false;
    return version >= 4 || r.skip(2 * kPlacementRecord);
}

// Old binary colours are the two binary special colours of the header.
void takeOldBinary(MJDocument& d)
{
    const auto& slots = d.header.specialSlots;
    d.sequences[0].binary[0] = paletteColour(d.header.palette, slots[6]);
    d.sequences[0].binary[1] = paletteColour(d.header.palette, slots[7]);
}

int readColours(ByteReader& r, int32_t version, MJDocument& d)
{
    if (version >= 4)
        return readColourTables(r, 1, d.sequences);
    d.sequences.assign(1, ColourSequence{});
    if (!readOldColourTables(r, d.sequences[0], d.sequences[0]))
        return kErrInconsistent;
    takeOldBinary(d);
    return 0;
}

// What older versions stored differently, moved to where version 13 keeps it.
void convertOld(int32_t version, MJDocument& d)
{
    if (version < 10) {
        d.reals[DocRealMaxReps] = d.ints[DocIntOldMaxReps];
        d.ints[DocIntOldMaxReps] = 0;
    }
    if (version < 11)
        d.ints[DocIntAntiAlias] = 0;
    if (version < 4) {
        int16_t& m = d.ints[DocIntMode];
        m = m <= 1 ? 0 : static_cast<int16_t>(m - 2);
        d.ints[DocIntBinaryCount] = 2;
        d.reals[DocRealDilation1] = 0;
        d.reals[DocRealDilation2] = 1;
    }
}

int readSections(ByteReader& r, MJDocument& d)
{
    const bool further = d.flags[DocFlagNoFurther] == 0;
    if (const int e = readDocumentTail(r, d.flags[DocFlagNoSlides] == 0, d.flags[DocFlagNoSeeds] == 0, further, d))
        return e;
    // After our own sections nothing may follow: extra bytes mean a damaged file.
    return (!further || d.overlays) && r.remaining() > 0 ? kErrInconsistent : 0;
}

} // namespace

void encodeMJBody(ByteWriter& w, const MJDocument& d)
{
    MJDocument body = d;
    body.flags[DocFlagNoSlides] = 0;
    body.flags[DocFlagNoSeeds] = 0;
    body.flags[DocFlagNoFurther] = d.overlays ? 0 : 1;
    writeBody(w, body);
}

int decodeMJBody(ByteReader& r, const CommonHeader& h, MJDocument& d)
{
    MJDocument next = d;
    next.header = h;
    const int32_t version = h.version;
    if (version <= 0 || version > kFileVersion)
        return kErrCannotOpen;
    if (!readFixedItems(r, next) || !readFormulasAndPlacements(r, version, next))
        return kErrInconsistent;
    if (const int e = readColours(r, version, next))
        return e;
    if (const int e = readSections(r, next))
        return e;
    convertOld(version, next);
    next.header.version = kFileVersion;
    d = std::move(next);
    return 0;
}

std::vector<uint8_t> encodeMJDocument(const MJDocument& d)
{
    ByteWriter w;
    CommonHeader h = d.header;
    h.version = kFileVersion;
    h.extraGroups = 0;
    writeCommonHeader(w, h);
    encodeMJBody(w, d);
    return w.take();
}

int decodeMJDocument(const std::vector<uint8_t>& bytes, int32_t kind, MJDocument& d)
{
    ByteReader r(bytes);
    CommonHeader h = d.header;
    if (const int e = readCommonHeader(r, kind, h))
        return e;
    return decodeMJBody(r, h, d);
}

} // namespace qx
