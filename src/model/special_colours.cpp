#include "model/special_colours.h"

namespace qx {

namespace {

struct SlotInfo {
    const char* name;
    int16_t index;
};

constexpr SlotInfo kSlots[kLastSpecialSlot - kFirstSpecialSlot + 1] = {
    {"axis", 0},        {"IIM", 3},      {"critical orbit", 1}, {"first binary", 0},
    {"second binary", 1}, {"no target", 0}, {"tracing", 1},        {"gridline", 7},
    {"fixed point", 4}, {"ancestor", 1}, {"DEM", 8},           {"zoom rectangle", 3},
};

bool valid(int slot) { return slot >= kFirstSpecialSlot && slot <= kLastSpecialSlot; }

} // namespace

SpecialColours::SpecialColours()
{
    for (int s = kFirstSpecialSlot; s <= kLastSpecialSlot; ++s)
        index_[static_cast<std::size_t>(s)] = defaultIndex(s);
}

int16_t SpecialColours::get(int slot) const
{
    return valid(slot) ? index_[static_cast<std::size_t>(slot)] : int16_t(0);
}

int SpecialColours::set(int slot, int16_t paletteIndex)
{
    if (!valid(slot) || paletteIndex < 0 || paletteIndex > 60)
        return 17;
    index_[static_cast<std::size_t>(slot)] = paletteIndex;
    return 0;
}

int16_t SpecialColours::defaultIndex(int slot)
{
    return valid(slot) ? kSlots[slot - kFirstSpecialSlot].index : int16_t(0);
}

const char* SpecialColours::name(int slot)
{
    return valid(slot) ? kSlots[slot - kFirstSpecialSlot].name : "";
}

} // namespace qx
