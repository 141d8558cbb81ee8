#pragma once
// Adds the colour sequences (with gray sequences and binary colours).
#include "core/colour_tables.h"
#include "core/tvorlpwin.h"

#include <vector>

namespace qx {

class TVorlTWin : public TVorlPWin {
public:
    static constexpr int kMaxSequences = 31;
    TVorlTWin();

    int sequenceCount() const { return static_cast<int>(sequences_.size()); }
    const ColourSequence& sequence(int i) const { return sequences_.at(static_cast<size_t>(i)); }
    // Replace sequence i (0..30; one past the last appends). Returns 0, or
    // 17 for a bad index or a sequence checkSequence refuses; recomposes
    // nothing (the caller redraws).
    int setSequence(int i, const ColourSequence& s);
    // Built table of sequence i for a sweep.
    ColourTable colourTable(int i) const;

protected:
    std::vector<ColourSequence> sequences_;
};

} // namespace qx
