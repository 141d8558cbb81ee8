#pragma once
// Adds free text labels tied to world points (dialog NEWTEXT).
#include "model/tgridwin.h"

#include <string>
#include <vector>

namespace qx {

inline constexpr size_t kMaxLabelText = 255;

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


    // NEWTEXT as texts: the text, x, y, angle in degrees, size in points,
    // colour (0..60) and opaque (0 or 1); a new label starts at the centre.
    static std::vector<std::string> labelPrompts();
    std::vector<std::string> newLabelTexts() const;
    // Adds the label: 0, 24 (no text), 20 (text above 255 characters), or
    // 1 (not a number) / 17 (out of range) plus 1000 times the field index.
    int addLabelFromTexts(const std::vector<std::string>& texts);

private:
    void textCommand();

protected:
    void declareCommands(CommandSet& set) override;
    std::vector<TextLabel> labels_;
};

} // namespace qx
