#pragma once
// The header every settings file and every document starts with: window
// kind and version, placement, print layout, the opaque font and attribute
// blocks, the special colour slots and the palette.
#include "base/bytes.h"
#include "base/window_placement.h"
#include "graphics/colour.h"

#include <array>
#include <cstdint>

namespace qx {

inline constexpr int32_t kFileVersion = 13;
inline constexpr int32_t kPaletteMark1 = 19451947;
inline constexpr int32_t kPaletteMark2 = 19471945;
inline constexpr size_t kCommonHeaderBytes = 1102;
// Stored first print-layout value 0 stands for this margin.
inline constexpr Real kDefaultFirstMargin = -0.3937L;

// File error codes shared by every reader.
inline constexpr int kErrInconsistent = 6;
inline constexpr int kErrIncompatible = 8;
inline constexpr int kErrCannotOpen = 11;
inline constexpr int kErrBadIni = 21;

struct CommonHeader {
    int32_t kind = 0;
    int32_t version = kFileVersion;
    WindowPlacement placement;
    int32_t displayFlag = 1;
    std::array<Real, 4> printLayout{kDefaultFirstMargin, 0, 0, 0};
    bool printFlag = false;
    bool colourPrinting = false;
    int32_t extraGroups = 0;
    std::array<uint8_t, 40> attributes{};
    std::array<uint8_t, 600> fonts{};
    std::array<uint8_t, 40> attributes2{};
    std::array<int16_t, 15> specialSlots{};
    Palette palette{};
    // Set by the reader: the palette marks matched and the palette was taken.
    bool paletteTaken = false;
};

// Hundredths, ties rounded toward minus infinity.
int32_t printLayoutHundredths(Real v);

void writeCommonHeader(ByteWriter& w, const CommonHeader& h);

// Reads a header into `h` (changed only on success). Returns 0, or
// kErrIncompatible for a header of another window kind, kErrInconsistent
// for a truncated header. The palette is taken only when both marks match
// (then at most 61 colours); otherwise `h.palette` keeps what it held.
int readCommonHeader(ByteReader& r, int32_t expectedKind, CommonHeader& h);

} // namespace qx
