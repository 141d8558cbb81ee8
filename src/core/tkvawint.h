#pragma once
// Adds free text labels tied to world points (dialog NEWTEXT).
#include "core/tgridwin.h"

#include <string>
#include <vector>

namespace qx {

struct TextLabel {
    WorldPoint anchor;
    std::string text;
    TextStyle style;
};

class TKVAWint : public TGridWin {
public:
    const std::vector<TextLabel>& labels() const { return labels_; }
    // Returns 0, or 24 (missing data) for an empty text.
    int addLabel(const TextLabel& label);
    void clearLabels();
    void drawLabels(Canvas& canvas) const;

protected:
    std::vector<TextLabel> labels_;
};

} // namespace qx
