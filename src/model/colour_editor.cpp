#include "model/colour_editor.h"

#include <cctype>

namespace qx {

namespace {

void fillCyclically(ColourEdit& e)
{
    for (int i = e.count; i < kEditorAnchors; ++i)
        e.anchors[static_cast<size_t>(i)] = e.anchors[static_cast<size_t>(i % e.count)];
}

Rgb grayRgb(int g) { return makeRgb(g, g, g); }

bool parseByte(const std::string& t, int& v, int& code)
{
    size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    size_t j = t.size();
    while (j > i && t[j - 1] == ' ') --j;
    if (i == j || j - i > 9) {
        code = 1;
        return false;
    }
    v = 0;
    for (size_t k = i; k < j; ++k) {
        if (!std::isdigit(static_cast<unsigned char>(t[k]))) {
            code = 1;
            return false;
        }
        v = v * 10 + (t[k] - '0');
    }
    if (v > 255) {
        code = 17;
        return false;
    }
    return true;
}

} // namespace

int minEditCount(ColourEditMode) { return 2; }

int maxEditCount(ColourEditMode mode) { return mode == ColourEditMode::Binary ? kBinaryColours : kMaxAnchors; }

ColourEdit beginColourEdit(const ColourSequence& s, int binaryCount, ColourEditMode mode)
{
    ColourEdit e;
    e.mode = mode;
    if (mode == ColourEditMode::Binary) {
        e.count = binaryCount < 2 ? 2 : (binaryCount > kBinaryColours ? kBinaryColours : binaryCount);
        for (int i = 0; i < kBinaryColours; ++i)
            e.anchors[static_cast<size_t>(i)] = s.binary[static_cast<size_t>(i)];
        e.interpolations = s.steps - 1;
    } else if (mode == ColourEditMode::Grays) {
        e.count = static_cast<int>(s.grayAnchors.size());
        e.interpolations = s.graySteps - 1;
        for (int i = 0; i < e.count; ++i)
            e.anchors[static_cast<size_t>(i)] = grayRgb(s.grayAnchors[static_cast<size_t>(i)]);
    } else {
        e.count = static_cast<int>(s.anchors.size());
        e.interpolations = s.steps - 1;
        for (int i = 0; i < e.count; ++i)
            e.anchors[static_cast<size_t>(i)] = s.anchors[static_cast<size_t>(i)];
    }
    fillCyclically(e);
    return e;
}

int setEditCount(ColourEdit& e, int count)
{
    if (count < minEditCount(e.mode) || count > maxEditCount(e.mode))
        return 17;
    e.count = count;
    return 0;
}

int setEditInterpolations(ColourEdit& e, int interpolations)
{
    if (interpolations < 0 || interpolations > kMaxSteps - 1)
        return 17;
    e.interpolations = interpolations;
    return 0;
}

int setEditAnchor(ColourEdit& e, int index, Rgb c)
{
    if (index < 0 || index >= e.count || c > 0xFFFFFFu)
        return 17;
    if (e.mode == ColourEditMode::Grays)
        c = grayRgb(redOf(c));
    e.anchors[static_cast<size_t>(index)] = c;
    fillCyclically(e);
    return 0;
}

int parseRgbTexts(const std::string& r, const std::string& g, const std::string& b, Rgb& out)
{
    int v[3] = {0, 0, 0};
    int code = 0;
    if (!parseByte(r, v[0], code) || !parseByte(g, v[1], code) || !parseByte(b, v[2], code))
        return code;
    out = makeRgb(v[0], v[1], v[2]);
    return 0;
}

void keepColourEdit(const ColourEdit& e, ColourSequence& s, int& binaryCount)
{
    const auto first = e.anchors.begin();
    switch (e.mode) {
    case ColourEditMode::Binary:
        binaryCount = e.count;
        for (int i = 0; i < kBinaryColours; ++i)
            s.binary[static_cast<size_t>(i)] = e.anchors[static_cast<size_t>(i)];
        break;
    case ColourEditMode::Grays:
        s.graySteps = e.interpolations + 1;
        s.grayAnchors.clear();
        for (int i = 0; i < e.count; ++i)
            s.grayAnchors.push_back(redOf(e.anchors[static_cast<size_t>(i)]));
        break;
    case ColourEditMode::Single: // edits one colour outside any sequence
        break;
    case ColourEditMode::Colours:
        s.steps = e.interpolations + 1;
        s.anchors.assign(first, first + e.count);
        break;
    }
}

} // namespace qx
