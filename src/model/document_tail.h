#pragma once
// The sections every tool's document ends with, each present when the
// document's flag says so: the slide list, the ten seed texts and the
// further section (grid, labels and marks; other writers' are skipped).
// One writer and one reader for all tools.
#include "model/common_header.h"
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

// The first blocks of most bodies: twenty 16-bit words, ten flag bytes and
// a run of extended reals. False when the data end first.
template <size_t R>
bool readHeadBlocks(ByteReader& r, std::array<int16_t, 20>& ints, std::array<uint8_t, 10>& flags,
                    std::array<Real, R>& reals)
{
    for (int16_t& v : ints)
        if (!r.i16(v))
            return false;
    if (!r.bytes(flags.data(), flags.size()))
        return false;
    for (Real& v : reals)
        if (!r.real(v))
            return false;
    return true;
}

// The head of a tool's body, after the common header: 0, kErrCannotOpen for
// a version this program does not read, kErrInconsistent when the data end first.
template <size_t R>
int readToolHead(ByteReader& r, const CommonHeader& h, std::array<int16_t, 20>& ints,
                 std::array<uint8_t, 10>& flags, std::array<Real, R>& reals)
{
    if (h.version <= 0 || h.version > kFileVersion)
        return kErrCannotOpen;
    return readHeadBlocks(r, ints, flags, reals) ? 0 : kErrInconsistent;
}

template <size_t R>
void writeHeadBlocks(ByteWriter& w, const std::array<int16_t, 20>& ints, const std::array<uint8_t, 10>& flags,
                     const std::array<Real, R>& reals)
{
    for (int16_t v : ints)
        w.i16(v);
    w.bytes(flags.data(), flags.size());
    for (Real v : reals)
        w.real(v);
}

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
