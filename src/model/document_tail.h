#pragma once
// The sections every tool's document ends with, each present when the
// document's flag says so: the slide list, the ten seed texts and the
// further section (grid, labels and marks; other writers' are skipped).
// One writer and one reader for all tools.
#include "model/overlay_section.h"
#include "model/seed_list.h"
#include "model/slide_list.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace qx {

inline constexpr int kSeedTexts = 10;
inline constexpr size_t kSeedTextBytes = 101;

struct DocumentTail {
    int slideExtras = 0; // the tool's further reals per slide (set before reading)
    std::vector<Slide> slides;
    std::array<std::string, kSeedTexts> seeds;
    std::optional<OverlayState> overlays; // written as the further section when present
};

// Slide list, seed texts and (when there are overlays) the further section.
void writeDocumentTail(ByteWriter& w, const DocumentTail& t);
// Reads the sections the flags name into `t` (slides and seeds emptied
// first). Returns 0 or 6; a further section of another writer is skipped
// (the reader stands inside it afterwards).
int readDocumentTail(ByteReader& r, bool slides, bool seeds, bool further, DocumentTail& t);

// The tail of a tool whose documents end with it: every section present,
// and nothing may follow our own further section (extra bytes: 6).
int readWholeTail(ByteReader& r, DocumentTail& t);

// The seeds a document names: its first `count` seed texts, up to the first
// that no longer reads as a number.
std::vector<Seed> tailSeeds(const DocumentTail& t, int count, const SeedReader& read);
// The seed texts of a window's seeds (the rest empty).
void setTailSeeds(DocumentTail& t, const std::vector<Seed>& seeds);

} // namespace qx
