#pragma once
// The document of the map tools (.dyc and the other planes) as stored,
// after the common header, in this order: twenty 16-bit values, ten flag
// bytes, twenty 80-bit reals, the variable table, the 256-byte texts, the
// target records, the further target section (colours of each target and
// the user-defined functions), two
// 17-byte placements, then the slide list, seed texts and further section
// as flagged, and a final 16-bit value (above 0: an image follows).
#include "base/window_placement.h"
#include "model/colour_tables.h"
#include "model/common_header.h"
#include "model/document_tail.h"
#include "expr/library.h"
#include "tools/maps/targets.h"

#include <array>
#include <string>
#include <vector>

namespace qx {

inline constexpr int kFracVariables = 27;
inline constexpr int kFracSlideFormulas = 27;
inline constexpr size_t kFracTextBytes = 256;

// Positions in the 16-bit item.
enum FracDocInt : int {
    FracIntPlaces = 0, FracIntOldMaxReps = 1, FracIntLastTarget = 2, FracIntMouseMode = 3,
    FracIntExpected = 10, FracIntSeedCount = 12, FracIntMethod = 13,
};
// Positions in the flag bytes.
enum FracDocFlag : int {
    FracFlagComplex = 0, FracFlagAxes = 1, FracFlagGrid = 2, FracFlagOverlay = 5,
    FracFlagNoSlides = 7, FracFlagNoSeeds = 8, FracFlagNoFurther = 9,
};
// Positions in the real item.
enum FracDocReal : int {
    FracRealCentreX = 0, FracRealCentreY = 1, FracRealHalfWidth = 2, FracRealDefaultWidth = 3,
    FracRealZoomFactor = 7, FracRealZoomStep = 14, FracRealOrbitLength = 15, FracRealMaxReps = 16,
};

// One target's colours besides its record.
struct FracTargetColours {
    ColourSequence sequence;
    std::array<Rgb, 2> trap{};
    std::vector<Rgb> sectors;
};

struct FracDocument : DocumentTail {
    CommonHeader header;
    std::array<int16_t, 20> ints{5, 0, -1, 120, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::array<uint8_t, 10> flags{1, 0, 0, 0, 0, 0, 0, 1, 1, 1};
    std::array<Real, 20> reals{0, 0, 2, 2, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 1.1L, 1000, 400, 0, 0, 0};
    std::array<Complex, kFracVariables> variables{};
    std::string mapping, mapping2, critical = "2", juliaAnchor = "0", slidePath, extraText;
    std::array<std::string, kFracSlideFormulas> slideFormulas;
    std::vector<TargetRecord> targets;
    std::vector<FracTargetColours> colours; // one per target
    FunctionLibrary library;                // the user-defined functions
    WindowPlacement zoomPlacement;
    WindowPlacement popupPlacement;
};

// The body after the common header (always the current version).
void encodeFracBody(ByteWriter& w, const FracDocument& d);
// Reads the body of a document whose header is `h` into `d` (changed only
// on 0). Returns 0; 11 for version 0, a negative one or one newer than
// ours; 6 for a file cut short or damaged, a target count outside 0..31 or
// a record the inventory does not have. Older versions: the maximum reps
// from the 16-bit item below 10, fewer texts, the old colour tables below
// 4, no target colours below 9, and region targets' defaults below 10.
int decodeFracBody(ByteReader& r, const CommonHeader& h, FracDocument& d);

} // namespace qx
