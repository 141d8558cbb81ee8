#include "core/tkvawinm.h"

namespace qx {

int TKVAWinm::setMarkAttributes(const MarkAttributes& a)
{
    if (a.size < 1 || a.size > 100)
        return 17;
    markAttr_ = a;
    overlaysChanged();
    return 0;
}

void TKVAWinm::addMark(WorldPoint p)
{
    marks_.push_back(p);
    overlaysChanged();
}

void TKVAWinm::clearMarks()
{
    marks_.clear();
    overlaysChanged();
}

void TKVAWinm::drawMarks(Canvas& canvas) const
{
    const int size = markAttr_.big ? 2 * markAttr_.size : markAttr_.size;
    for (const auto& p : marks_)
        canvas.drawMark(p, markAttr_.kind, size, markAttr_.colour);
}

} // namespace qx
