#pragma once
// The Mandelbrot and Julia document (.man, .jul) as stored: the common
// header and the body items in file order. Fields the windows do not model
// are kept as read, so a document opened and saved again keeps them.
#include "model/colour_tables.h"
#include "model/common_header.h"
#include "model/document_tail.h"
#include "base/numeric.h"
#include "base/window_placement.h"

#include <array>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

namespace qx {

inline constexpr int32_t kMandelKind = 729;
inline constexpr int32_t kJuliaKind = 961;
inline constexpr int kVariableSlots = 27; // @, A..Z
inline constexpr int kVariableC = 3;
inline constexpr size_t kFormulaBytes = 256;
// No document is larger: header, body, the most slides and seed texts.
inline constexpr size_t kMaxDocumentBytes = 1u << 20;

// Positions in the int16 item.
enum MJDocInt : int {
    DocIntOldMaxReps = 1, DocIntDegree = 2, DocIntMouseMode = 3, DocIntMode = 8,
    DocIntSeedCount = 12, DocIntBinaryCount = 13, DocIntAntiAlias = 14,
};
// Positions in the flag bytes.
enum MJDocFlag : int {
    DocFlagAxes = 1, DocFlagGrid = 2, DocFlagNoSlides = 3, DocFlagNoSeeds = 4,
    DocFlagOverlay = 5, DocFlagNoFurther = 6,
};
// Positions in the real item.
enum MJDocReal : int {
    DocRealCentreX = 0, DocRealCentreY = 1, DocRealHalfWidth = 2, DocRealDemThickness = 3,
    DocRealThreshold = 4, DocRealZoomFactor = 7, DocRealDilation1 = 8, DocRealDilation2 = 9,
    DocRealZoomStep = 14, DocRealOrbitLength = 15, DocRealMaxReps = 16,
};


// The slide list, seed texts and overlays come from DocumentTail.
struct MJDocument : DocumentTail {
    CommonHeader header;
    std::array<int16_t, 20> ints{15, 0, 2, 0, 100, 0, 0, 10, 0, 0, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0};
    std::array<uint8_t, 10> flags{0, 1, 0, 0, 0, 0, 1, 1, 1, 1};
    std::array<Real, 20> reals{0, 0, 2, 0.6L, 4, 0, 0, 10, 0, 1, 0, 0, 1, 0, 1.1L, 1000, 400, 0, 0, 0};
    std::array<Complex, kVariableSlots> variables{};
    std::string zoomFormula = "0.5cis(t)-0.25cis(2.0t)";
    std::string secondFormula = "0.0;0.0";
    WindowPlacement zoomPlacement;
    WindowPlacement popupPlacement;
    std::vector<ColourSequence> sequences{ColourSequence{}};
};

// The body after the common header, as encodeMJDocument writes it.
void encodeMJBody(ByteWriter& w, const MJDocument& d);
// Reads the body of a document whose header is `h` (old versions take their
// binary colours from its special slots) into `d` (changed only on 0).
int decodeMJBody(ByteReader& r, const CommonHeader& h, MJDocument& d);

// Always writes the current version, one colour sequence per slot held,
// the slide list, the seed texts, and no further sections.
std::vector<uint8_t> encodeMJDocument(const MJDocument& d);

// Reads a document of window kind `kind` into `d` (changed only on 0).
// Returns 0; 11 for version 0, a negative one or one newer than ours;
// 8 for another window kind; 6 for a file cut short or too long, with
// too many slides, or with counts or colours out of range. The window's
// further sections (text objects) of other writers are skipped. Older versions are
// converted: maximum reps from the int16 item below 10; below 4 the
// display modes shift, two binary colours, dilations 0 and 1, no second
// formula and the old colour tables; anti-aliasing only from 11.
int decodeMJDocument(const std::vector<uint8_t>& bytes, int32_t kind, MJDocument& d);

} // namespace qx
