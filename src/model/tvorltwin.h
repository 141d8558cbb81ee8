#pragma once
// Adds the colour sequences (with gray sequences and binary colours).
#include "model/colour_editor.h"
#include "model/colour_tables.h"
#include "model/tvorlpwin.h"

#include <random>

#include <vector>

namespace qx {

class TVorlTWin : public TVorlPWin {
public:
    static constexpr int kMaxSequences = 31;
    TVorlTWin();
    void copyDrawingSettings(const TKVAWing& from) override
    {
        TVorlPWin::copyDrawingSettings(from);
        if (const auto* t = dynamic_cast<const TVorlTWin*>(&from))
            sequences_ = t->sequences_;
    }

    int sequenceCount() const { return static_cast<int>(sequences_.size()); }
    const ColourSequence& sequence(int i) const { return sequences_.at(static_cast<size_t>(i)); }
    // Replace sequence i (0..30; one past the last appends). Returns 0, or
    // 17 for a bad index or a sequence checkSequence refuses; recomposes
    // nothing (the caller redraws).
    int setSequence(int i, const ColourSequence& s);
    // Built table of sequence i for a sweep.
    ColourTable colourTable(int i) const;

    // Slot i (0..30) becomes preset `preset` (presetSequence rules); false
    // for a bad slot.
    bool initSequence(int slot, int preset, bool allowSeven = false);
    // "Palette change": the next preset of 1..6, 0, ... in slot 0.
    void paletteChange();
    int currentPreset() const { return preset_; }
    // "Ancient palette": slot 0 becomes the 109-colour old sequence.
    void ancientPalette();

    // The colour editor on slot 0: begin() fills colourEdit() for the
    // dialog; keep writes the edit back (tools also take the binary count).
    void beginColourEdit(ColourEditMode mode, const std::string& title);
    const ColourEdit& colourEdit() const { return edit_; }
    virtual void keepColourEdit(const ColourEdit& e);
    virtual int binaryColourCount() const { return 2; }

protected:
    std::vector<ColourSequence> sequences_;
    std::mt19937 random_{std::random_device{}()};
    int preset_ = 0;
    ColourEdit edit_;
};

} // namespace qx
