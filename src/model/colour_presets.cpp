#include "model/colour_presets.h"

#include "model/common_header.h"

namespace qx {

namespace {

constexpr std::array<std::array<Rgb, 4>, 8> kPresetAnchors{{
    {0x000080, 0x0080FF, 0x00FFFF, 0x005080},
    {0x008000, 0x00FF80, 0x00FFFF, 0x008050},
    {0x808050, 0xFFC87D, 0x807DE0, 0xA45080},
    {0x323296, 0x7F7FFF, 0xFFFFFF, 0x3264C8},
    {0xC00000, 0xFF8058, 0xFFFF58, 0xC0502C},
    {0x404080, 0x8080FF, 0x4040FF, 0x808080},
    {0x304290, 0x90FFFF, 0x206CFF, 0x54BDFF},
    {0x00DEDE, 0x00BCBC, 0x009090, 0x007A7A},
}};

// Every index of the 113-colour table but black and white and the two
// darkest grays, in table order.
constexpr std::array<int, kOldPaletteLength> makeOldIndices()
{
    std::array<int, kOldPaletteLength> a{};
    int n = 0;
    for (int i = 2; i < kLogicalPaletteSize && n < kOldPaletteLength; ++i)
        if (i != 22 && i != 23)
            a[static_cast<size_t>(n++)] = i;
    return a;
}
constexpr std::array<int, kOldPaletteLength> kOldIndices = makeOldIndices();

bool validCounts(int32_t steps, int32_t count, int maxCount)
{
    return steps >= 1 && steps <= kMaxSteps && count >= 2 && count <= maxCount;
}

} // namespace

std::array<Rgb, kBinaryColours> randomBinaryColours(std::mt19937& random)
{
    std::array<Rgb, kBinaryColours> b{};
    for (Rgb& c : b)
        c = makeRgb(static_cast<int>(random() & 0xFF), static_cast<int>(random() & 0xFF),
                    static_cast<int>(random() & 0xFF));
    return b;
}

ColourSequence presetSequence(int preset, std::mt19937& random, bool allowSeven)
{
    if (preset < 0 || preset > 7 || (preset == 7 && !allowSeven))
        preset = 0;
    const auto& a = kPresetAnchors[static_cast<size_t>(preset)];
    ColourSequence s;
    s.steps = 20;
    s.anchors.assign(a.begin(), a.end());
    s.graySteps = 4;
    s.grayAnchors = {128, 255};
    s.binary = randomBinaryColours(random);
    return s;
}

const std::array<int, kOldPaletteLength>& oldPaletteIndices() { return kOldIndices; }

std::array<Rgb, 2> oldPaletteBinary() { return {logicalColour(0), logicalColour(1)}; }

ColourSequence ancientSequence(const ColourSequence& s)
{
    ColourSequence out = s;
    out.steps = 1;
    out.anchors.clear();
    for (int i : kOldIndices)
        out.anchors.push_back(logicalColour(i));
    const auto b = oldPaletteBinary();
    out.binary[0] = b[0];
    out.binary[1] = b[1];
    return out;
}

void writeColourTables(ByteWriter& w, const std::vector<ColourSequence>& seqs)
{
    for (const auto& s : seqs) w.i32(s.steps);
    for (const auto& s : seqs) w.i32(static_cast<int32_t>(s.anchors.size()));
    for (const auto& s : seqs)
        for (Rgb c : s.anchors) w.u32(c);
    for (const auto& s : seqs) w.i32(s.graySteps);
    for (const auto& s : seqs) w.i32(static_cast<int32_t>(s.grayAnchors.size()));
    for (const auto& s : seqs)
        for (int g : s.grayAnchors) w.i32(g);
    for (const auto& s : seqs)
        for (Rgb c : s.binary) w.u32(c);
}

namespace {

// One half (colours or grays): counts checked before any value is read.
bool readCounts(ByteReader& r, std::vector<int32_t>& steps, std::vector<int32_t>& counts)
{
    for (int32_t& v : steps)
        if (!r.i32(v)) return false;
    for (size_t i = 0; i < counts.size(); ++i)
        if (!r.i32(counts[i]) || !validCounts(steps[i], counts[i], kMaxAnchors)) return false;
    return true;
}

bool readAnchors(ByteReader& r, std::vector<ColourSequence>& next, const std::vector<int32_t>& counts)
{
    for (size_t i = 0; i < next.size(); ++i) {
        next[i].anchors.assign(static_cast<size_t>(counts[i]), 0);
        for (Rgb& c : next[i].anchors)
            if (!r.u32(c) || c > 0xFFFFFFu) return false;
    }
    return true;
}

bool readGrays(ByteReader& r, std::vector<ColourSequence>& next, const std::vector<int32_t>& counts)
{
    for (size_t i = 0; i < next.size(); ++i) {
        next[i].grayAnchors.assign(static_cast<size_t>(counts[i]), 0);
        for (int& g : next[i].grayAnchors) {
            int32_t v = 0;
            if (!r.i32(v) || v < 0 || v > 255) return false;
            g = v;
        }
    }
    return true;
}

} // namespace

int readColourTables(ByteReader& r, int count, std::vector<ColourSequence>& seqs)
{
    if (count < 1 || count > 31)
        return kErrInconsistent;
    const size_t n = static_cast<size_t>(count);
    std::vector<ColourSequence> next(n);
    std::vector<int32_t> steps(n), counts(n);
    if (!readCounts(r, steps, counts) || !readAnchors(r, next, counts))
        return kErrInconsistent;
    for (size_t i = 0; i < n; ++i) next[i].steps = steps[i];
    if (!readCounts(r, steps, counts) || !readGrays(r, next, counts))
        return kErrInconsistent;
    for (size_t i = 0; i < n; ++i) next[i].graySteps = steps[i];
    for (auto& s : next)
        for (Rgb& c : s.binary)
            if (!r.u32(c) || c > 0xFFFFFFu) return kErrInconsistent;
    seqs = std::move(next);
    return 0;
}

int oldGrayLevel(int g)
{
    const int v = (7 - g) * 25 / 2 + 180;
    return (v > 255 || v < 0) ? 0 : v;
}

bool readOldColourTables(ByteReader& r, const ColourSequence& base, ColourSequence& out)
{
    constexpr int kOldEntries = 113;
    ColourSequence s = base;
    s.steps = 1;
    s.graySteps = 1;
    s.anchors.assign(kOldEntries, 0);
    s.grayAnchors.assign(kOldEntries, 0);
    for (Rgb& c : s.anchors) {
        int16_t i = 0;
        if (!r.i16(i)) return false;
        c = logicalColour(i);
    }
    for (int& g : s.grayAnchors) {
        int16_t v = 0;
        if (!r.i16(v)) return false;
        g = oldGrayLevel(v);
    }
    out = std::move(s);
    return true;
}

} // namespace qx
