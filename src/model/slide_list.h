#pragma once
// The slide list every tool window keeps (per slide: maximum reps, centre,
// half-width and the parameter c), its one reader and writer for documents,
// and the slide-show file (.sli) that "Save the show" writes.
#include "base/bytes.h"
#include "base/window_placement.h"

#include <string>
#include <vector>

namespace qx {

struct Slide {
    int32_t maxReps = 100;
    Real centerX = 0, centerY = 0, halfWidth = 1;
    Complex c;
    // Values a tool keeps beyond these (the bifurcation diagram: skipped
    // points, density, half-height); every slide of a list has as many.
    std::vector<Real> extra;
    friend bool operator==(const Slide&, const Slide&) = default;
};

inline constexpr int32_t kMaxSlides = 10000;
inline constexpr int16_t kSlideShowMark = 2088;

// The count, then per slide maximum reps, five extended reals and the tool's
// `extras` further reals (missing ones written as 0).
void writeSlideList(ByteWriter& w, const std::vector<Slide>& slides, int extras = 0);
// False (and `slides` unusable) for a count above kMaxSlides or beyond the data.
bool readSlideList(ByteReader& r, std::vector<Slide>& slides, int extras = 0);

// A show file: a 20-byte header (the mark 2088, the window placement, one
// reserved byte), then the slide list.
std::vector<uint8_t> encodeSlideShow(const WindowPlacement& placement, const std::vector<Slide>& slides,
                                     int extras = 0);
// 0, or 6 for a file that is not a whole show.
int decodeSlideShow(const std::vector<uint8_t>& bytes, WindowPlacement& placement, std::vector<Slide>& slides,
                    int extras = 0);

} // namespace qx
