#pragma once
// The TARGET dialog's rules without a widget: which of the five texts a
// kind and pattern use and what they are called, the record shown as texts,
// and the texts turned back into a record.
#include "tools/maps/targets.h"

#include <array>
#include <string>

namespace qx {

struct TargetFormState {
    int kind = 0;    // 0 point, 1 region, 2 line, 3 infinity
    int pattern = 0; // 0 bands, 1 blend, 2 colour trap
    std::array<std::string, 5> texts;
    bool sectors = false;
    std::string sectorCount = "4";
};

struct TargetFieldLayout {
    std::array<std::string, 5> labels;
    std::array<bool, 5> enabled{};
    std::array<bool, 3> patterns{true, true, true}; // which patterns the kind offers
    bool sectors = false;                           // whether the sectors switch is offered
};

// The fields of a kind and pattern (with the sectors switch) in the complex
// tool or the real tools.
TargetFieldLayout targetFieldLayout(const TargetFormState& s, bool realTool);
TargetFormState targetFormState(const TargetRecord& r);
// The record of the texts: 0, or 1 for a sector count that is not a whole
// number, 17 for one outside 1..100 or a pattern the kind does not offer.
// The prepared values are left to the window.
int targetFromForm(const TargetFormState& s, bool realTool, TargetRecord& out);

} // namespace qx
