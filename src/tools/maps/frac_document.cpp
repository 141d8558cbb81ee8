#include "tools/maps/frac_document.h"

#include "model/colour_presets.h"
#include "model/frame_settings.h"
#include "model/library_form.h"

namespace qx {

namespace {

constexpr uint16_t kMaxSectorColours = 1000;

void writeTargetColours(ByteWriter& w, const std::vector<FracTargetColours>& colours)
{
    std::vector<ColourSequence> sequences;
    for (const FracTargetColours& c : colours)
        sequences.push_back(c.sequence);
    w.u16(static_cast<uint16_t>(colours.size()));
    writeColourTables(w, sequences);
    for (const FracTargetColours& c : colours) {
        w.u32(c.trap[0]);
        w.u32(c.trap[1]);
        w.u16(static_cast<uint16_t>(c.sectors.size()));
        for (Rgb s : c.sectors)
            w.u32(s);
    }
}

int readTargetColours(ByteReader& r, size_t targets, std::vector<FracTargetColours>& out)
{
    uint16_t count = 0;
    if (!r.u16(count) || count != targets)
        return kErrInconsistent;
    std::vector<ColourSequence> sequences;
    if (count > 0)
        if (const int e = readColourTables(r, count, sequences))
            return e;
    out.assign(count, {});
    for (size_t i = 0; i < count; ++i) {
        FracTargetColours& c = out[i];
        c.sequence = sequences[i];
        uint16_t n = 0;
        if (!r.u32(c.trap[0]) || !r.u32(c.trap[1]) || !r.u16(n) || n > kMaxSectorColours)
            return kErrInconsistent;
        c.sectors.resize(n);
        for (Rgb& s : c.sectors)
            if (!r.u32(s))
                return kErrInconsistent;
    }
    return 0;
}

bool readTexts(ByteReader& r, int32_t version, FracDocument& d)
{
    for (std::string* t : {&d.mapping, &d.mapping2, &d.critical, &d.juliaAnchor, &d.slidePath})
        if (!r.fixedText(kFracTextBytes, *t))
            return false;
    if (version >= 4 && !r.fixedText(kFracTextBytes, d.extraText))
        return false;
    if (version >= 10)
        for (std::string& t : d.slideFormulas)
            if (!r.fixedText(kFracTextBytes, t))
                return false;
    return true;
}

} // namespace

void encodeFracBody(ByteWriter& w, const FracDocument& d)
{
    FracDocument b = d;
    b.ints[FracIntLastTarget] = static_cast<int16_t>(static_cast<int>(d.targets.size()) - 1);
    b.flags[FracFlagNoSlides] = 0;
    b.flags[FracFlagNoSeeds] = 0;
    b.flags[FracFlagNoFurther] = d.overlays ? 0 : 1;
    for (int16_t v : b.ints)
        w.i16(v);
    w.bytes(b.flags.data(), b.flags.size());
    for (Real v : b.reals)
        w.real(v);
    for (const Complex& v : b.variables) {
        w.real(v.re);
        w.real(v.im);
    }
    for (const std::string* t : {&b.mapping, &b.mapping2, &b.critical, &b.juliaAnchor, &b.slidePath, &b.extraText})
        w.fixedText(*t, kFracTextBytes);
    for (const std::string& t : b.slideFormulas)
        w.fixedText(t, kFracTextBytes);
    for (const TargetRecord& t : b.targets)
        encodeTarget(w, t);
    std::vector<FracTargetColours> colours = b.colours;
    colours.resize(b.targets.size());
    writeTargetColours(w, colours);
    encodeLibrary(w, b.library);
    writePlacement(w, b.zoomPlacement);
    writePlacement(w, b.popupPlacement);
    writeDocumentTail(w, b);
    w.i16(0); // no image follows
}

int decodeFracBody(ByteReader& r, const CommonHeader& h, FracDocument& d)
{
    const int32_t version = h.version;
    if (version <= 0 || version > kFileVersion)
        return kErrCannotOpen;
    FracDocument next = d;
    next.header = h;
    for (int16_t& v : next.ints)
        if (!r.i16(v))
            return kErrInconsistent;
    if (!r.bytes(next.flags.data(), next.flags.size()))
        return kErrInconsistent;
    for (Real& v : next.reals)
        if (!r.real(v))
            return kErrInconsistent;
    for (Complex& v : next.variables)
        if (!r.real(v.re) || !r.real(v.im))
            return kErrInconsistent;
    if (!readTexts(r, version, next))
        return kErrInconsistent;
    std::vector<ColourSequence> oldColours;
    if (version < 4) {
        ColourSequence old;
        if (!readOldColourTables(r, ColourSequence{}, old))
            return kErrInconsistent;
        oldColours.push_back(old);
    }
    const int last = next.ints[FracIntLastTarget];
    if (last < -1 || last >= kMaxTargets)
        return kErrInconsistent;
    next.targets.assign(static_cast<size_t>(last + 1), {});
    for (TargetRecord& t : next.targets)
        if (!decodeTarget(r, t))
            return kErrInconsistent;
    if (version >= 9) {
        if (const int e = readTargetColours(r, next.targets.size(), next.colours))
            return e;
        if (!decodeLibrary(r, next.library))
            return kErrInconsistent;
    } else {
        next.colours.assign(next.targets.size(), {});
        if (!oldColours.empty())
            for (FracTargetColours& c : next.colours)
                c.sequence = oldColours[0];
    }
    if (!readPlacement(r, next.zoomPlacement) || !readPlacement(r, next.popupPlacement))
        return kErrInconsistent;
    const bool further = next.flags[FracFlagNoFurther] == 0;
    if (const int e = readDocumentTail(r, next.flags[FracFlagNoSlides] == 0, next.flags[FracFlagNoSeeds] == 0,
                                       further, next))
        return e;
    if (!further || next.overlays) { // after our own sections: the image mark
        int16_t image = 0;
        if (!r.i16(image) || image < 0 || (image == 0 && r.remaining() > 0))
            return kErrInconsistent;
    }
    if (version < 10) {
        next.reals[FracRealMaxReps] = next.ints[FracIntOldMaxReps];
        next.ints[FracIntOldMaxReps] = 0;
        for (TargetRecord& t : next.targets)
            if (t.kind() == TargetKind::Region) {
                t.texts[0] = "0.01-xx-yy";
                t.texts[3] = "0.0";
                t.texts[4] = "0.1";
            }
    }
    next.header.version = kFileVersion;
    d = std::move(next);
    return 0;
}

} // namespace qx
