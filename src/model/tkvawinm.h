#pragma once
// Adds marks at world points (dialog MARKATT): crosses or boxes.
#include "model/tkvawint.h"

#include <string>
#include <vector>

namespace qx {

struct MarkAttributes {
    MarkKind kind = MarkKind::Cross;
    bool big = false;
    int size = 3;     // half-extent in pixels (doubled when big)
    int colour = 1;
};

class TKVAWinm : public TKVAWint {
public:
    const std::vector<WorldPoint>& marks() const { return marks_; }
    const MarkAttributes& markAttributes() const { return markAttr_; }
    // Returns 0, or 17 for a size outside 1..100.
    int setMarkAttributes(const MarkAttributes& a);
    void addMark(WorldPoint p);
    void clearMarks();
    void drawMarks(Canvas& canvas) const;

    // MARKATT as texts: kind (0 cross, 1 box), big (0 or 1), size (1..100)
    // and colour (palette index 0..60).
    static std::vector<std::string> markAttributePrompts();
    static std::vector<std::string> markAttributeTexts(const MarkAttributes& a);
    // 0, or 1 (not a number) / 17 (out of range) plus 1000 times the index
    // of the field; nothing changes on an error.
    int applyMarkAttributeTexts(const std::vector<std::string>& texts);

protected:
    std::vector<WorldPoint> marks_;
    MarkAttributes markAttr_;
};

} // namespace qx
