#include "graphics/canvas.h"

#include <cmath>

namespace qx {

namespace {

// The code points of valid UTF-8 text; false on any malformed sequence.
bool decodeUtf8(const std::string& s, std::u32string& out)
{
    out.clear();
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t k = 1; k < n; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b >> 6) != 2)
                return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        out += cp;
        i += n;
    }
    return true;
}

} // namespace

std::array<std::pair<long, long>, 4> labelBox(long x, long y, size_t chars, const TextStyle& style)
{
    const Real em = style.size * 4.0L / 3, w = 0.6L * em * static_cast<Real>(chars);
    const Real rad = style.angleTenths / 10.0L * 3.14159265358979323846L / 180, cs = std::cos(rad), sn = std::sin(rad);
    std::array<std::pair<long, long>, 4> box;
    const std::pair<Real, Real> corners[] = {{0, 0.25L * em}, {w, 0.25L * em}, {w, -em}, {0, -em}};
    for (size_t k = 0; k < 4; ++k) {
        const auto [u, v] = corners[k];
        box[k] = {x + std::lround(u * cs + v * sn), y + std::lround(-u * sn + v * cs)};
    }
    return box;
}

std::u16string labelUtf16(const std::string& text, const TextStyle& style)
{
    std::u32string points;
    const bool coded = style.piCode != 0 || style.degreeCode != 0;
    if (coded || !decodeUtf8(text, points)) {
        points.clear();
        for (char ch : text) {
            const int b = static_cast<unsigned char>(ch);
            points += style.piCode != 0 && b == style.piCode           ? U'\u03C0'
                      : style.degreeCode != 0 && b == style.degreeCode ? U'\u00B0'
                                                                      : char32_t(b);
        }
    }
    std::u16string out;
    for (char32_t cp : points) {
        if (cp < 0x10000) {
            out += static_cast<char16_t>(cp);
        } else {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        }
    }
    return out;
}

void Canvas::drawArrowHead(WorldPoint from, WorldPoint tip, Real length, int colour)
{
    // In pixels, so the head keeps its shape in a view with unequal scales.
    const Real fx = view_.xToPixelF(from.x), fy = view_.yToPixelF(from.y);
    const Real tx = view_.xToPixelF(tip.x), ty = view_.yToPixelF(tip.y);
    const Real dx = tx - fx, dy = ty - fy, d = std::hypot(dx, dy);
    const Real pixels = length * view_.invDx;
    if (!(d > 0) || !(pixels > 0) || !std::isfinite(pixels))
        return;
    const Real ux = dx / d, uy = dy / d;
    const Real bx = tx - ux * pixels, by = ty - uy * pixels, half = pixels / 3;
    const auto world = [this](Real px, Real py) {
        return WorldPoint{view_.xMin + px * view_.dx, view_.yMax - py * view_.dy};
    };
    const WorldPoint head[] = {tip, world(bx - uy * half, by + ux * half), world(bx + uy * half, by - ux * half)};
    fillPolygon(head, colour, Pen{static_cast<int16_t>(colour), 1, PenSolid}, 0);
}

void Canvas::drawCircle(WorldPoint centre, Real radius, std::optional<int> fill, const Pen& outline)
{
    constexpr int kSides = 72;
    std::vector<WorldPoint> points;
    points.reserve(kSides);
    // Round on the page: the radius in y is scaled as the view's pixels are.
    const Real ratio = view_.dx > 0 && view_.dy > 0 ? view_.dy / view_.dx : 1;
    for (int k = 0; k < kSides; ++k) {
        const Real t = 2 * 3.14159265358979323846L * k / kSides;
        points.push_back({centre.x + radius * std::cos(t), centre.y + radius * std::sin(t) * ratio});
    }
    fillPolygon(points, fill, outline, 0);
}

} // namespace qx
