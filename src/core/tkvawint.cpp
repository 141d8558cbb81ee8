#include "core/tkvawint.h"

namespace qx {

int TKVAWint::addLabel(const TextLabel& label)
{
    if (label.text.empty())
        return 24;
    labels_.push_back(label);
    overlaysChanged();
    return 0;
}

void TKVAWint::clearLabels()
{
    labels_.clear();
    overlaysChanged();
}

void TKVAWint::drawLabels(Canvas& canvas) const
{
    for (const auto& l : labels_)
        canvas.drawText(l.anchor, l.text, l.style);
}

} // namespace qx
