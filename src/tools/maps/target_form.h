#pragma once
// The TARGET dialog's rules without a widget: which of the five texts a
// kind and pattern use and what they are called, the record shown as texts,
// and the texts turned back into a record.
#include "model/target_editor.h"
#include "tools/maps/targets.h"

#include <array>
#include <string>

namespace qx {

// The fields of a kind and pattern (with the sectors switch) in the complex
// tool or the real tools.
TargetFieldLayout targetFieldLayout(const TargetFormState& s, bool realTool);
TargetFormState targetFormState(const TargetRecord& r);
// The record of the texts: 0, or 1 for a sector count that is not a whole
// number, 17 for one outside 1..100 or a pattern the kind does not offer.
// The prepared values are left to the window.
int targetFromForm(const TargetFormState& s, bool realTool, TargetRecord& out);

} // namespace qx
