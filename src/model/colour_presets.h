#pragma once
// The built-in colour sequences (presets 0..7), random binary colours, the
// old 109-colour sequence, and the colour-table section of documents.
#include "base/bytes.h"
#include "model/colour_tables.h"

#include <random>
#include <vector>

namespace qx {

inline constexpr int kPresetCount = 7; // presets 0..6 by default; 7 only when allowed
inline constexpr int kOldPaletteLength = 109;

// Ten colours, each channel an independent random byte.
std::array<Rgb, kBinaryColours> randomBinaryColours(std::mt19937& random);

// Preset `preset`: 20 steps, 4 anchors, gray steps 4 with grays 128, 255 and
// random binary colours. Preset 7 only when `allowSeven`; any other request
// outside 0..6 gives preset 0.
ColourSequence presetSequence(int preset, std::mt19937& random, bool allowSeven = false);

// The old sequence: 109 indices into the 113-colour table, and its two binary colours.
const std::array<int, kOldPaletteLength>& oldPaletteIndices();
std::array<Rgb, 2> oldPaletteBinary();
// `s` with 1 step and the 109 old colours as anchors, binary 0 and 1 from
// the old palette; grays and the other binary colours stay.
ColourSequence ancientSequence(const ColourSequence& s);

// Document section: step counts, anchor counts, anchors; gray step counts,
// gray anchor counts, gray values; then ten binary colours per sequence.
void writeColourTables(ByteWriter& w, const std::vector<ColourSequence>& seqs);
// Reads `count` sequences; 0, or kErrInconsistent (6) for a count out of
// range or a section cut short (`seqs` is then unchanged).
int readColourTables(ByteReader& r, int count, std::vector<ColourSequence>& seqs);

// Old documents: two arrays of 113 int16 indices, colours into the
// 113-colour table, gray levels g as (7 - g) * 25 / 2 + 180 (0 above 255).
// One step each; binary colours stay as in `base`.
bool readOldColourTables(ByteReader& r, const ColourSequence& base, ColourSequence& out);
int oldGrayLevel(int g);

} // namespace qx
