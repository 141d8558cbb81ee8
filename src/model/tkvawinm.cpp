#include "model/tkvawinm.h"

#include "base/real_text.h"

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

std::vector<std::string> TKVAWinm::markAttributePrompts()
{
    return {"cross (0) or box (1)", "big (0 or 1)", "size", "colour"};
}

std::vector<std::string> TKVAWinm::markAttributeTexts(const MarkAttributes& a)
{
    return {a.kind == MarkKind::Box ? "1" : "0", a.big ? "1" : "0", std::to_string(a.size),
            std::to_string(a.colour)};
}

int TKVAWinm::applyMarkAttributeTexts(const std::vector<std::string>& texts)
{
    static constexpr int32_t kLow[4] = {0, 0, 1, 0}, kHigh[4] = {1, 1, 100, 60};
    int32_t v[4] = {};
    for (size_t i = 0; i < 4; ++i) {
        if (i >= texts.size() || !parseIntText(texts[i], v[i]))
            return 1 + 1000 * static_cast<int>(i);
        if (v[i] < kLow[i] || v[i] > kHigh[i])
            return 17 + 1000 * static_cast<int>(i);
    }
    return setMarkAttributes({v[0] ? MarkKind::Box : MarkKind::Cross, v[1] != 0, v[2], v[3]});
}

} // namespace qx
