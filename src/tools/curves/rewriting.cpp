#include "tools/curves/rewriting.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <numeric>

namespace qx {

void RewritingData::reset()
{
    for (size_t c = 0; c < replacement.size(); ++c)
        replacement[c] = std::string(1, static_cast<char>(c));
    lengths.fill(1);
    mode = 0;
    direction = 0;
    rotation = 0;
}

bool allowedCurveText(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= 'E' && c <= 'L') || c == 'R' || (c >= 'W' && c <= 'Z') || c == '(' || c == ')' || c == 'D' ||
               c == 'U';
    });
}

std::string upperText(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

int checkCurveData(RewritingData& d)
{
    d.initial = upperText(d.initial);
    if (d.initial.size() > kMaxInitialString || !allowedCurveText(d.initial))
        return 1;
    for (char c : kRewritable) {
        std::string& r = d.replacement[static_cast<size_t>(c)];
        r = upperText(r);
        if (r.size() > kMaxReplacement || !allowedCurveText(r))
            return 1;
    }
    for (Real l : d.lengths)
        if (!(l > 0 && l < 1e300L))
            return 6;
    if (d.degreeMode() ? (d.n < 1 || d.n > 360) : (d.n < 3 || d.n > 360))
        return 6;
    d.direction = normalisedDirection(d.direction, d.n, d.degreeMode());
    return 0;
}

int directionCount(const RewritingData& d)
{
    if (!d.degreeMode())
        return std::clamp<int>(d.n, 1, 360);
    return 360 / std::gcd(360, std::clamp<int>(d.n, 1, 360));
}

int16_t normalisedDirection(int16_t direction, int16_t n, bool degreeMode)
{
    int v = direction;
    const int step = std::max<int>(n, 1);
    while (v < 0)
        v += step;
    return static_cast<int16_t>(degreeMode ? v % 360 : v % step);
}

void DirectionTable::build(const RewritingData& d)
{
    count_ = directionCount(d);
    start_ = d.degreeMode() ? 0 : normalisedDirection(d.direction, d.n, false);
    const Real e = d.lengths[0] != 0 ? d.lengths[0] : 1;
    for (size_t letter = 0; letter < vectors_.size(); ++letter) {
        auto& v = vectors_[letter];
        v.resize(static_cast<size_t>(count_));
        for (int k = 0; k < count_; ++k) {
            const Real angle = d.degreeMode()
                                   ? (d.direction + static_cast<Real>(k) * d.n) * std::numbers::pi_v<Real> / 180
                                   : static_cast<Real>(k) * 2 * std::numbers::pi_v<Real> / count_;
            const Real length = e * (d.lengths[letter] / e);
            v[static_cast<size_t>(k)] = {length * std::cos(angle), length * std::sin(angle)};
        }
    }
}

void DirectionTable::rotate(Real angle)
{
    if (angle == 0)
        return;
    const Real c = std::cos(angle), s = std::sin(angle);
    for (auto& v : vectors_)
        for (WorldPoint& p : v)
            p = {p.x * c - p.y * s, p.x * s + p.y * c};
}

namespace {

void extend(WorldRect& box, WorldPoint p)
{
    box.left = std::min(box.left, p.x);
    box.right = std::max(box.right, p.x);
    box.down = std::min(box.down, p.y);
    box.up = std::max(box.up, p.y);
}

bool stopped(const std::atomic<bool>* stop, size_t i)
{
    return stop && (i & 4095) == 0 && stop->load(std::memory_order_relaxed);
}

} // namespace

int walkCurve(const std::string& s, const DirectionTable& t, const std::atomic<bool>* stop,
              const std::function<void(WorldPoint, WorldPoint)>& segment, WorldRect* box)
{
    struct State {
        WorldPoint p;
        int direction;
    };
    std::vector<State> stack;
    WorldPoint p{0, 0};
    int direction = t.start();
    bool down = true;
    const int n = t.count();
    if (box)
        *box = {0, 0, 0, 0};
    for (size_t i = 0; i < s.size(); ++i) {
        if (stopped(stop, i))
            return 81;
        const char c = s[i];
        if (c >= 'E' && c <= 'K') {
            const WorldPoint step = t.step(c - 'E', direction);
            const WorldPoint q{p.x + step.x, p.y + step.y};
            if (down && segment)
                segment(p, q);
            if (box)
                extend(*box, q);
            p = q;
        } else if (c == 'L') {
            direction = (direction + 1) % n;
        } else if (c == 'R') {
            direction = (direction + n - 1) % n;
        } else if (c == '(') {
            stack.push_back({p, direction});
        } else if (c == ')') {
            if (stack.empty())
                return 3;
            p = stack.back().p;
            direction = stack.back().direction;
            stack.pop_back();
        } else if (c == 'U') {
            down = false;
        } else if (c == 'D') {
            down = true;
        }
    }
    return 0;
}

namespace {

bool rewritable(char c)
{
    return std::find(kRewritable.begin(), kRewritable.end(), c) != kRewritable.end();
}

} // namespace

long long nextLength(const std::string& s, const RewritingData& d, const std::atomic<bool>* stop)
{
    std::array<long long, 256> length{};
    for (int c = 0; c < 256; ++c)
        length[static_cast<size_t>(c)] = 1;
    for (char c : kRewritable)
        length[static_cast<unsigned char>(c)] = static_cast<long long>(d.replacement[static_cast<size_t>(c)].size());
    long long total = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (stopped(stop, i))
            return -1;
        total += length[static_cast<unsigned char>(s[i])];
    }
    return total;
}

int rewrite(const std::string& s, const RewritingData& d, const std::atomic<bool>* stop, std::string& out)
{
    const long long n = nextLength(s, d, stop);
    if (n < 0)
        return 27;
    if (static_cast<unsigned long long>(n) > kMaxCurveString)
        return 4;
    out.clear();
    out.reserve(static_cast<size_t>(n));
    for (size_t i = 0; i < s.size(); ++i) {
        if (stopped(stop, i))
            return 27;
        const char c = s[i];
        if (rewritable(c))
            out += d.replacement[static_cast<size_t>(c)];
        else
            out += c;
    }
    return 0;
}

// ---- Presets.

namespace {

struct PresetRow {
    CurvePreset menu;
    const char* initial;
    std::vector<std::pair<char, const char*>> replacements;
    int16_t n, direction;
    int colour;
};

const std::vector<PresetRow>& rows()
{
    static const std::vector<PresetRow> r = {
        {{569, "Cantor-like, Arrowhead", "Arrowhead"}, "E", {{'E', "RFLELFR"}, {'F', "LERFREL"}}, 6, 0, 7},
        {{570, "Box", "Box"}, "FLFLFLF", {{'F', "FLFRFRFLF"}}, 4, 0, 7},
        {{571, "Cantor-like, Carpet", "Carpet"},
         "FLFLFLFURELEDLEEELEEELEEELEEE",
         {{'E', "EEE"}, {'F', "(UEREDFLFLFLF)EEE(UEREDFLFLFLF)"}},
         4, 0, 7},
        {{574, "Dragon", "Dragon"}, "E", {{'E', "LERRF"}, {'F', "ELLFR"}}, 8, 0, 4},
        {{578, "Fillers, Hilbert", "Hilbert"},
         "LYFRXFXRFYL",
         {{'X', "LYFRXFXRFYL"}, {'Y', "RXFLYFYLFXR"}},
         4, 0, 58},
        {{565, "Islands, Mandelbrot", "Mandelbrot island"}, "FLFLFLF", {{'F', "FLFRFRFFLFLFRF"}}, 4, 0, 8},
        {{580, "Plants, Spike", "Spike"}, "LLLLF", {{'F', "F(RF)F(LF)F"}}, 16, 0, 55},
        {{582, "Fillers, Sierpinski", "Sierpinski"},
         "ERFLLFLLFREERFLLFLLFREERFLLFLLFREERFLLFLLFRE",
         {{'E', "ERFRE"}, {'F', "ERFLLFLLFRE"}, {'L', ""}, {'R', ""}},
         8, 2, 24},
        {{584, "Cantor-like, Triangle", "Triangle"}, "FLFLF", {{'F', "F(LF)F"}}, 3, 0, 4},
        {{585, "Islands, von Koch", "von Koch island"}, "FLLFLLF", {{'F', "FRFLLFRF"}}, 6, 0, 24},
        {{586, "Plants, Weed", "Weed"}, "E", {{'E', "F(RE)F(LE)RE"}, {'F', "FF"}}, 20, 5, 55},
        {{583, "Plants, Bush", "Bush"}, "F", {{'F', "FFR(RFLFLF)L(LFRFRF)"}}, 16, 4, 55},
        {{576, "Islands, Gosper", "Gosper island"}, "FLFLFLFLFLFL", {{'F', "FLFRF"}}, 6, 0, 24},
        {{554, "Cantor-like, Squares", "Squares"}, "FRFRFRF", {{'F', "FFRFRFRFRFF"}}, 4, 0, 24},
        {{606, "Miscellany, Quarters", "Quarters"},
         "XLFLFLFLF",
         {{'E', "EE"}, {'X', "ELEELE(LELE)ELEUELEDYX"}, {'Y', "ULLELLD"}},
         4, 2, 24},
        {{607, "Miscellany, Stairs", "Stairs"}, "RELEX", {{'X', "RELEX"}}, 4, 0, 24},
        {{608, "", "Octagon"}, "ELLELLELLELLX", {{'E', "EE"}, {'X', ""}}, 8, 0, 24},
        {{609, "Miscellany, Midpoint triangles", "Midpoint triangles"},
         "ELLELLELLX",
         {{'E', "EE"}, {'X', "UELDELLELLELLX"}},
         6, 0, 24},
        {{620, "Miscellany, Middle thirds", "Middle thirds"}, "E", {{'E', "EUFDE"}, {'F', "FFF"}}, 6, 0, 24},
        {{621, "Miscellany, Middle thirds tower", "Middle thirds tower"},
         "E",
         {{'E', "(URHLDEUFDE)FFF"}, {'F', "FFF"}},
         4, 0, 24},
        {{622, "Miscellany, von Koch 72", "von Koch 72"}, "F", {{'F', "FLFRRFLF"}}, 72, 0, 24},
        {{623, "Miscellany, Cayley", "Cayley"},
         "(EW)L(EX)L(EY)LEZ",
         {{'E', "EE"},
          {'W', "(EW)L(EX)LLEZ"},
          {'X', "(EX)L(EY)LLEW"},
          {'Y', "(EY)L(EZ)LLEX"},
          {'Z', "(EZ)L(EW)LLEY"}},
         4, 0, 24},
        {{624, "Miscellany, Circles", "Circles"}, "FLX", {{'X', "FLX"}}, 200, 0, 24},
    };
    return r;
}

} // namespace

const std::vector<CurvePreset>& curvePresets()
{
    static const std::vector<CurvePreset> p = [] {
        std::vector<CurvePreset> v;
        for (const PresetRow& r : rows())
            v.push_back(r.menu);
        return v;
    }();
    return p;
}

bool presetData(int command, RewritingData& d)
{
    for (const PresetRow& r : rows()) {
        if (r.menu.command != command)
            continue;
        d.reset();
        d.initial = r.initial;
        for (const auto& [c, text] : r.replacements)
            d.replacement[static_cast<size_t>(c)] = text;
        d.n = r.n;
        d.direction = r.direction;
        d.colour = r.colour;
        if (command == 582) // Sierpinski: the diagonal steps
            d.lengths[1] = std::sqrt(Real(2));
        if (command == 576) { // Gosper: the island turns a little each generation
            d.mode = 2;
            d.rotation = -std::atan(0.2L * std::sqrt(Real(3)));
        }
        if (command == 622) // degree mode, turns of 72 degrees
            d.mode = 1;
        return true;
    }
    return false;
}

std::vector<WorldPoint> randomCurve(const std::function<double()>& uniform)
{
    std::vector<WorldPoint> p(kRandomCurvePoints);
    const int last = kRandomCurvePoints - 1;
    p[0] = {0, 0};
    p[static_cast<size_t>(last)] = {uniform(), uniform()};
    const auto gauss = [&uniform] {
        Real g = -6;
        for (int k = 0; k < 12; ++k)
            g += uniform();
        return g;
    };
    Real scale = 1;
    for (int level = 1, span = last; level <= 12; ++level, span /= 2) {
        scale /= std::sqrt(Real(2)); // s[level] = (1/sqrt 2)^level
        for (int i = 0; i + span <= last; i += span) {
            const int m = i + span / 2;
            const WorldPoint a = p[static_cast<size_t>(i)], b = p[static_cast<size_t>(i + span)];
            p[static_cast<size_t>(m)] = {(a.x + b.x) / 2 + gauss() * scale, (a.y + b.y) / 2 + gauss() * scale};
        }
    }
    return p;
}

} // namespace qx
