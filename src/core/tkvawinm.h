#pragma once
// Adds marks at world points (dialog MARKATT): crosses or boxes.
#include "core/tkvawint.h"

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

protected:
    std::vector<WorldPoint> marks_;
    MarkAttributes markAttr_;
};

} // namespace qx
