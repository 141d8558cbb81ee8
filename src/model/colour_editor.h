#pragma once
// The state behind the colour-sequence editor (COLORTRACK): what it edits,
// the bounds of its lists, and the rules for typed colours. The dialog only
// shows it; every rule lives here.
#include "model/colour_tables.h"

#include <array>
#include <string>

namespace qx {

enum class ColourEditMode { Colours = 0, Grays = 1, Binary = 2, Single = 3 };
inline constexpr int kEditorAnchors = 129;

struct ColourEdit {
    ColourEditMode mode = ColourEditMode::Colours;
    std::string title;
    int count = 4;          // anchors (2..128) or binary colours (2..10)
    int interpolations = 19; // steps - 1, 0..63
    // Entries beyond `count` repeat the first `count` cyclically.
    std::array<Rgb, kEditorAnchors> anchors{};
};

// Bounds of the anchor-count list for a mode.
int minEditCount(ColourEditMode mode);
int maxEditCount(ColourEditMode mode);

// The editor opened on a sequence: colours, grays (shown as RGB grays) or
// the binary colours with their count.
ColourEdit beginColourEdit(const ColourSequence& s, int binaryCount, ColourEditMode mode);
// List changes: 0, or 17 for a value outside the list (nothing changes).
int setEditCount(ColourEdit& e, int count);
int setEditInterpolations(ColourEdit& e, int interpolations);
// "set": anchor i becomes `c`; 17 for an index outside the count.
int setEditAnchor(ColourEdit& e, int index, Rgb c);
// "see"/"set" fields: three texts of whole numbers 0..255. Returns 0, 1
// for a text that is not a whole number, 17 for one out of range.
int parseRgbTexts(const std::string& r, const std::string& g, const std::string& b, Rgb& out);
// "keep edits": the edit written into the sequence (and the binary count).
void keepColourEdit(const ColourEdit& e, ColourSequence& s, int& binaryCount);

} // namespace qx
