#include "core/tvorltwin.h"

namespace qx {

TVorlTWin::TVorlTWin() : sequences_(1) {}

int TVorlTWin::setSequence(int i, const ColourSequence& s)
{
    if (i < 0 || i > sequenceCount() || i >= kMaxSequences || checkSequence(s) != 0)
        return 17;
    if (i == sequenceCount())
        sequences_.push_back(s);
    else
        sequences_[static_cast<size_t>(i)] = s;
    return 0;
}

ColourTable TVorlTWin::colourTable(int i) const
{
    if (i < 0 || i >= sequenceCount())
        return {};
    return buildTable(sequences_[static_cast<size_t>(i)]);
}

} // namespace qx
