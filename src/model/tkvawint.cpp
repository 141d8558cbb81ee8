#include "model/tkvawint.h"

#include "model/command_ids.h"
#include "base/real_text.h"
#include "graphics/axes.h"

#include <array>

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

// ---- NEWTEXT.

namespace {


// Field i as a real within [low, high]: 0, or 1 / 17 plus 1000 * i.
int readField(const std::vector<std::string>& t, size_t i, Real low, Real high, Real& out)
{
    if (i >= t.size() || !parseRealText(t[i], out))
        return 1 + 1000 * static_cast<int>(i);
    return out < low || out > high ? 17 + 1000 * static_cast<int>(i) : 0;
}

} // namespace

std::vector<std::string> TKVAWint::labelPrompts()
{
    return {"text", "x =", "y =", "angle (degrees)", "size (points)", "colour", "opaque (0 or 1)"};
}

std::vector<std::string> TKVAWint::newLabelTexts() const
{
    return {"", formatReal(view_.centerX, 1, 6), formatReal(view_.centerY, 1, 6), "0", "12", "1", "0"};
}

int TKVAWint::addLabelFromTexts(const std::vector<std::string>& t)
{
    if (t.empty() || t[0].empty())
        return 24;
    if (t[0].size() > kMaxLabelText)
        return 20;
    Real x, y, angle, size, colour, opaque;
    constexpr Real kFar = 1e300L;
    for (const int e : {readField(t, 1, -kFar, kFar, x), readField(t, 2, -kFar, kFar, y),
                        readField(t, 3, -360, 360, angle), readField(t, 4, 1, 500, size),
                        readField(t, 5, 0, 60, colour), readField(t, 6, 0, 1, opaque)})
        if (e)
            return e;
    TextLabel label{{x, y}, t[0], {}};
    label.style.angleTenths = roundHalfDown(angle * 10);
    label.style.size = roundHalfDown(size);
    label.style.colour = roundHalfDown(colour);
    label.style.opaque = opaque >= 0.5L;
    return addLabel(label);
}

void TKVAWint::declareCommands(CommandSet& set)
{
    TGridWin::declareCommands(set);
    set.add({CmdText, "&Text ...", "", CommandKind::Plain, kMenuEdit, "", true}, [this] { textCommand(); });
    set.add({CmdClearText, "C&lear text", "", CommandKind::Plain, kMenuEdit, ""}, [this] { clearLabels(); });
}

void TKVAWint::textCommand()
{
    if (host().showModelessDialog("NEWTEXT"))
        return;
    std::vector<std::string> values = newLabelTexts();
    if (!host().inputMany("text", labelPrompts(), values))
        return;
    if (const int e = addLabelFromTexts(values))
        host().showError(e);
}

} // namespace qx
