#include "model/tvorltwin.h"

#include "model/colour_presets.h"

namespace qx {

// Slot i starts with preset i (slots 7..30 with preset 0).
TVorlTWin::TVorlTWin()
{
    for (int i = 0; i < kMaxSequences; ++i)
        sequences_.push_back(presetSequence(i, random_));
}

bool TVorlTWin::initSequence(int slot, int preset, bool allowSeven)
{
    if (slot < 0 || slot >= sequenceCount())
        return false;
    sequences_[static_cast<size_t>(slot)] = presetSequence(preset, random_, allowSeven);
    return true;
}

void TVorlTWin::paletteChange()
{
    preset_ = (preset_ + 1) % kPresetCount;
    initSequence(0, preset_);
}

void TVorlTWin::ancientPalette() { sequences_[0] = ancientSequence(sequences_[0]); }

int TVorlTWin::setSequence(int i, const ColourSequence& s)
{
    if (i < 0 || i > sequenceCount() || i >= kMaxSequences || checkSequence(s) != 0)
        return 17;
    if (i == sequenceCount())
        sequences_.push_back(s);
    else
        sequences_[static_cast<size_t>(i)] = s;
    return 0;
}

ColourTable TVorlTWin::colourTable(int i) const
{
    if (i < 0 || i >= sequenceCount())
        return {};
    return buildTable(sequences_[static_cast<size_t>(i)]);
}

void TVorlTWin::beginColourEdit(ColourEditMode mode, const std::string& title)
{
    edit_ = qx::beginColourEdit(sequences_[0], binaryColourCount(), mode);
    edit_.title = title;
}

void TVorlTWin::keepColourEdit(const ColourEdit& e)
{
    int count = binaryColourCount();
    qx::keepColourEdit(e, sequences_[0], count);
}

} // namespace qx
