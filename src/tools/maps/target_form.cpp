#include "tools/maps/target_form.h"

#include "base/real_text.h"

namespace qx {

TargetFieldLayout targetFieldLayout(const TargetFormState& s, bool realTool)
{
    TargetFieldLayout l;
    const bool trap = s.pattern == PatternTrap;
    switch (static_cast<TargetKind>(s.kind)) {
    case TargetKind::Point:
        l.labels = {realTool ? "centre x =" : "centre =", realTool ? "centre y =" : "", "radius =", "", ""};
        l.enabled = {true, realTool, true, false, false};
        l.sectors = true;
        break;
    case TargetKind::Region:
        l.labels = {"0 <", trap ? "distance =" : "", "", trap ? "from" : "", trap ? "to" : ""};
        l.enabled = {true, trap, false, trap, trap};
        l.patterns = {true, false, true}; // blend is not offered for regions
        break;
    case TargetKind::Line:
        l.labels = {"0 =", "", "distance <", "", ""};
        l.enabled = {true, false, true, false, false};
        break;
    case TargetKind::Infinity:
        l.labels = {"threshold xx + yy >", "", s.pattern == PatternBlend ? "degree =" : "", "", ""};
        l.enabled = {true, false, s.pattern == PatternBlend, false, false};
        l.sectors = true;
        break;
    }
    if (l.sectors && s.sectors) {
        l.labels[3] = realTool ? "reference x =" : "reference =";
        l.enabled[3] = true;
        if (realTool) {
            l.labels[4] = "reference y =";
            l.enabled[4] = true;
        }
    }
    return l;
}

TargetFormState targetFormState(const TargetRecord& r)
{
    TargetFormState s;
    s.kind = r.code % 100;
    s.pattern = r.code / 100;
    s.texts = r.texts;
    s.sectors = r.sectors;
    s.sectorCount = std::to_string(r.sectorCount > 0 ? r.sectorCount : 4);
    return s;
}

int targetFromForm(const TargetFormState& s, bool realTool, TargetRecord& out)
{
    if (s.kind < 0 || s.kind > 3 || s.pattern < 0 || s.pattern > 2)
        return 17;
    const TargetFieldLayout l = targetFieldLayout(s, realTool);
    if (!l.patterns[static_cast<size_t>(s.pattern)])
        return 17;
    int32_t count = 0;
    const bool sectors = l.sectors && s.sectors;
    if (sectors) {
        if (!parseIntText(s.sectorCount, count))
            return 1;
        if (count < 1 || count > 100)
            return 17;
    }
    TargetRecord r = out;
    r.code = static_cast<int16_t>(s.kind + 100 * s.pattern);
    for (size_t i = 0; i < 5; ++i)
        r.texts[i] = l.enabled[i] ? s.texts[i].substr(0, 255) : std::string();
    r.sectors = sectors;
    r.sectorCount = static_cast<int16_t>(sectors ? count : 0);
    out = r;
    return 0;
}

} // namespace qx
