#pragma once
// The overlays a document keeps besides the tool's own picture: the axes and
// grid settings, the text labels and the marks with their attributes. One
// writer and one reader for every tool, stored as the document's "further
// sections": a tagged block that readers of other writers skip.
#include "base/bytes.h"
#include "graphics/grid_settings.h"
#include "model/tkvawinm.h"

#include <vector>

namespace qx {

struct OverlayState {
    GridSettings grid;
    std::vector<TextLabel> labels;
    std::vector<WorldPoint> marks;
    MarkAttributes markAttributes;
};

inline constexpr size_t kMaxStoredLabels = 1000;
inline constexpr size_t kMaxStoredMarks = 100000;

void writeOverlaySection(ByteWriter& w, const OverlayState& s);

// Reads what follows as an overlay section into `out` (changed only on 0);
// the reader then stands after it.
// Returns 0; kOverlayForeign when the bytes are no such section (another
// writer's: the caller skips them); 6 for fewer than 8 bytes, a damaged
// section or a value the window cannot take.
inline constexpr int kOverlayForeign = -1;
int readOverlaySection(ByteReader& r, OverlayState& out);

} // namespace qx
