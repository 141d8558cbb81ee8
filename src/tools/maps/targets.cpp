#include "tools/maps/targets.h"

#include "expr/differentiate.h"
#include "expr/evaluator.h"

#include <algorithm>
#include <cmath>

namespace qx {

namespace {

enum Text { A = 0, B = 1, C = 2, D = 3, E = 4 };

TreePtr fn(int c, TreePtr u) { return makeNode(c, nullptr, std::move(u)); }
TreePtr op(int c, TreePtr a, TreePtr b) { return makeNode(c, std::move(a), std::move(b)); }

// abs(N) / sqrt(Nx^2 + Ny^2): the distance from the curve N = 0 to first order.
int lineDistanceTree(ExprContext& cx, const std::string& text, TreePtr& out)
{
    TreePtr n;
    if (const int e = CompileExpression(cx, text, n))
        return e;
    int e = 0;
    TreePtr nx = DifferentiateTree(cx, *n, code::VarFirst + kSlotX, &e);
    if (!nx)
        return e ? e : 1;
    TreePtr ny = DifferentiateTree(cx, *n, code::VarFirst + kSlotY, &e);
    if (!ny)
        return e ? e : 1;
    TreePtr norm = fn(code::Sqrt, op(code::Add, fn(code::Square, std::move(nx)), fn(code::Square, std::move(ny))));
    out = op(code::Div, fn(code::Abs, std::move(n)), std::move(norm));
    return 0;
}

bool evaluateAt(ExprContext& cx, ExprNode* tree, Complex& out)
{
    if (!tree)
        return false;
    const bool ok = EvaluateTree(cx.env, *tree);
    out = tree->value; // the evaluator's result either way
    return ok;
}

Real realValue(ExprContext& cx, ExprNode* tree)
{
    Complex v;
    evaluateAt(cx, tree, v);
    return v.re;
}

int grayOf(const ColourTable& t, int r)
{
    const int n = t.grayLength();
    return n > 0 ? t.grays[static_cast<size_t>(r % n)] : 0;
}

Rgb dithered(int gray, int col, int row) { return ditherWhite(gray, col, row) ? kWhite : kBlack; }

double clamp01(Real f) { return static_cast<double>(std::clamp<Real>(std::isfinite(f) ? f : 0, 0, 1)); }

} // namespace

TargetRecord pointTarget(const std::string& centre, const std::string& radius, int pattern)
{
    TargetRecord r;
    r.code = static_cast<int16_t>(0 + 100 * pattern);
    r.texts[A] = centre;
    r.texts[C] = radius;
    return r;
}

TargetRecord lineTarget(const std::string& equation, const std::string& distance, int pattern)
{
    TargetRecord r;
    r.code = static_cast<int16_t>(2 + 100 * pattern);
    r.texts[A] = equation;
    r.texts[C] = distance;
    return r;
}

TargetRecord regionTarget(const std::string& inequality, int pattern)
{
    TargetRecord r;
    r.code = static_cast<int16_t>(1 + 100 * pattern);
    r.texts[A] = inequality;
    r.texts[B] = "(1-abs(x)-abs(y))sqrt(0.5)";
    r.texts[D] = "0.0";
    r.texts[E] = "0.1";
    return r;
}

TargetRecord infinityTarget(const std::string& threshold, int degree)
{
    TargetRecord r;
    r.code = 3;
    r.texts[A] = threshold;
    if (degree >= 1) {
        r.code = 103;
        r.texts[C] = std::to_string(degree);
    }
    return r;
}

TargetRecord newTarget()
{
    TargetRecord r = pointTarget("0", "0.01");
    r.texts[D] = "1";
    r.sectorCount = 4;
    return r;
}

void encodeTarget(ByteWriter& w, const TargetRecord& r)
{
    w.i16(r.code);
    w.u8(r.flag);
    for (const std::string& t : r.texts)
        w.fixedText(t, kTargetTextBytes);
    for (int i = 0; i < 5; ++i)
        w.u32(0); // tree references: rebuilt after reading
    for (Real v : r.values)
        w.real(v);
    w.u8(r.sectors ? 1 : 0);
    w.i16(r.sectorCount);
}

bool decodeTarget(ByteReader& rd, TargetRecord& r)
{
    rd.i16(r.code);
    rd.u8(r.flag);
    for (std::string& t : r.texts) {
        std::array<char, kTargetTextBytes> buf{};
        if (!rd.bytes(buf.data(), buf.size()) || std::find(buf.begin(), buf.end(), 0) == buf.end())
            return false;
        t.assign(buf.data());
    }
    rd.skip(20);
    for (Real& v : r.values)
        rd.real(v);
    uint8_t sectors = 0;
    rd.u8(sectors);
    r.sectors = sectors != 0;
    rd.i16(r.sectorCount);
    return rd.ok() && r.code >= 0 && r.code % 100 <= 3 && r.code / 100 <= 2 && r.sectorCount >= 0 &&
           r.sectorCount <= 1000;
}

int compileTarget(ExprContext& cx, const TargetRecord& r, bool realTool, TargetTrees& out)
{
    TargetTrees t;
    const TargetKind kind = r.kind();
    // An empty text other than A leaves its tree empty (its value reads as 0).
    const auto compile = [&](int text) {
        return text != A && r.texts[text].empty() ? 0 : CompileExpression(cx, r.texts[text], t.trees[text]);
    };
    if (kind == TargetKind::Line) {
        if (const int e = lineDistanceTree(cx, r.texts[A], t.trees[A]))
            return e;
    } else if (const int e = compile(A)) {
        return e;
    }
    if (kind != TargetKind::Region)
        if (const int e = compile(C))
            return e;
    if (kind == TargetKind::Point || kind == TargetKind::Infinity || r.sectors) {
        if (const int e = compile(D)) // the reference vector of the sectors
            return e;
        if (realTool)
            if (const int e = compile(E))
                return e;
    }
    if (kind == TargetKind::Point && realTool)
        if (const int e = compile(B))
            return e;
    if (r.code == 201) {
        for (int text : {B, D, E})
            if (const int e = compile(text))
                return e;
    }
    out = std::move(t);
    return 0;
}

void prepareTarget(ExprContext& cx, TargetRecord& r, TargetTrees& t, bool realTool)
{
    auto& v = r.values;
    switch (r.kind()) {
    case TargetKind::Point: {
        Complex c;
        evaluateAt(cx, t.trees[A].get(), c);
        v[0] = c.re;
        v[1] = realTool ? realValue(cx, t.trees[B].get()) : c.im;
        v[2] = realValue(cx, t.trees[C].get());
        if (r.code == 100 && v[2] > 0.5L)
            v[2] = 0.5L;
        v[3] = v[2] * v[2];
        break;
    }
    case TargetKind::Region:
        if (r.code == 201) {
            const Real low = realValue(cx, t.trees[D].get()), high = realValue(cx, t.trees[E].get());
            v[4] = low;
            v[1] = 1 / (high - low);
        }
        break;
    case TargetKind::Line: v[2] = realValue(cx, t.trees[C].get()); break;
    case TargetKind::Infinity: {
        const Real threshold = realValue(cx, t.trees[A].get());
        Real d = realValue(cx, t.trees[C].get());
        if (!(d >= 1e-16L))
            d = 2;
        Real m = std::log(threshold);
        if (!(m >= 1e-16L))
            m = std::log(4.0L);
        Real g = std::log(d);
        if (!(g >= 1e-16L))
            g = std::log(2.0L);
        v[0] = g + std::log(m);
        v[1] = 1 / g;
        break;
    }
    }
    if (r.sectors) {
        Complex ref;
        evaluateAt(cx, t.trees[D].get(), ref);
        v[4] = ref.re;
        v[5] = realTool ? realValue(cx, t.trees[E].get()) : ref.im;
    }
}

Real sectorArg(Real x, Real y)
{
    if (std::fabs(x) < 1e-16L)
        return y >= 0 ? kPi / 2 : -kPi / 2;
    Real a = std::atan(y / x);
    if (x < 0)
        a += y >= 0 ? kPi : -kPi;
    return a;
}

// ---- The engine.

TargetEngine::TargetEngine(const EvalEnv& env, const Setup& s)
    : real_(s.realTool), colours_(s.colours), maxReps_(s.maxReps), noTargetIndex_(s.noTargetIndex),
      noTargetColour_(s.noTargetColour), grayPrint_(s.grayPrint), noTargetGrayWhite_(s.noTargetGrayWhite)
{
    std::vector<const ExprNode*> entries{s.map};
    if (real_) {
        mapEntry2_ = 1;
        entries.push_back(s.map2);
    }
    for (size_t i = 0; i < s.records.size(); ++i) {
        const TargetRecord& r = s.records[i];
        const TargetTrees* trees = i < s.trees.size() ? s.trees[i] : nullptr;
        Target t;
        t.kind = r.kind();
        t.code = r.code;
        const auto& v = r.values;
        t.cx = v[0];
        t.cy = v[1];
        t.radius = v[2];
        t.r2 = v[3];
        t.threshold = v[2];
        t.blendA = v[0];
        t.blendB = v[1];
        t.trapLow = v[4];
        t.trapScale = v[1];
        t.sectors = r.sectors && r.sectorCount > 0;
        t.sectorCount = r.sectorCount;
        t.refX = v[4];
        t.refY = v[5];
        const auto entry = [&](int text) {
            if (!trees || !trees->trees[static_cast<size_t>(text)])
                return -1;
            entries.push_back(trees->trees[static_cast<size_t>(text)].get());
            return static_cast<int>(entries.size()) - 1;
        };
        if (t.kind != TargetKind::Point)
            t.entryA = entry(A);
        if (r.code == 201)
            t.entryB = entry(B);
        t.perPixel = s.parameterPlane && r.flag != 0;
        if (t.perPixel) {
            if (t.kind == TargetKind::Point) {
                t.entryCentre = entry(A);
                if (real_)
                    t.entryCentreY = entry(B);
            }
            if (t.kind != TargetKind::Region)
                t.entryC = entry(C);
            if (r.code == 201) {
                t.entryD = entry(D);
                t.entryE = entry(E);
            }
        }
        targets_.push_back(t);
    }
    for (const Target& t : targets_) {
        if (t.kind != TargetKind::Point || t.perPixel)
            break;
        points_.push_back({t.cx, t.cy, t.r2});
    }
    parameter_ = s.parameterPlane;
    if (parameter_) {
        if (s.critical) {
            entries.push_back(s.critical);
            criticalEntry_ = static_cast<int>(entries.size()) - 1;
        }
        if (real_ && s.critical2) {
            entries.push_back(s.critical2);
            criticalEntry2_ = static_cast<int>(entries.size()) - 1;
        }
    }
    program_ = Program::compile(env, entries);
    if (real_)
        program_.bindSlots(kSlotX, kSlotY);
    else
        program_.bindSlots(kSlotZ);
    if (!real_ && points_.size() == targets_.size())
        program_.prepareDiscOrbit(0, static_cast<int>(points_.size()));
    colours_.resize(targets_.size());
}

bool TargetEngine::evaluate(int entry, Complex at, Complex& out)
{
    if (entry < 0)
        return false;
    if (real_)
        return program_.evaluateBound(static_cast<size_t>(entry), {at.re, 0}, {at.im, 0}, out);
    return program_.evaluateBound(static_cast<size_t>(entry), at, {}, out);
}

Complex TargetEngine::map(Complex w)
{
    bool ok = true;
    return map(w, ok);
}

Complex TargetEngine::map(Complex w, bool& ok)
{
    lastBound_ = w;
    if (real_) {
        Complex f, g;
        ok = evaluate(0, w, f) && evaluate(mapEntry2_, w, g);
        return ok ? Complex{f.re, g.re} : Complex{0, 0};
    }
    Complex f;
    ok = evaluate(0, w, f);
    return ok ? f : Complex{0, 0};
}

bool TargetEngine::matches(Target& t, Complex w, Complex bound, Real& w2)
{
    Complex v;
    switch (t.kind) {
    case TargetKind::Point: {
        const Real dx = w.re - t.cx, dy = w.im - t.cy;
        return dx * dx + dy * dy < t.r2;
    }
    case TargetKind::Region: return evaluate(t.entryA, bound, v) && v.re > 0;
    case TargetKind::Line: return evaluate(t.entryA, bound, v) && v.re < t.threshold;
    case TargetKind::Infinity:
        w2 = w.re * w.re + w.im * w.im;
        return evaluate(t.entryA, bound, v) && v.re < w2;
    }
    return false;
}

void TargetEngine::preparePerPixel(Target& t)
{
    const auto value = [this](int entry, Real fallback) {
        Complex v;
        return entry >= 0 && evaluate(entry, {}, v) ? v : Complex{fallback, 0};
    };
    switch (t.kind) {
    case TargetKind::Point: {
        const Complex centre = value(t.entryCentre, t.cx);
        t.cx = centre.re;
        t.cy = real_ ? value(t.entryCentreY, t.cy).re : centre.im;
        if (t.entryC >= 0) {
            t.radius = value(t.entryC, t.radius).re;
            if (t.code == 100 && t.radius > 0.5L)
                t.radius = 0.5L;
            t.r2 = t.radius * t.radius;
        }
        break;
    }
    case TargetKind::Line: t.threshold = value(t.entryC, t.threshold).re; break;
    case TargetKind::Region:
        if (t.code == 201) {
            t.trapLow = value(t.entryD, t.trapLow).re;
            t.trapScale = 1 / (value(t.entryE, t.trapLow + 1).re - t.trapLow);
        }
        break;
    case TargetKind::Infinity: break; // its threshold is evaluated at every test
    }
}

OrbitEnd TargetEngine::pixelOrbit(Real x, Real y, const std::atomic<bool>* stop)
{
    bool ok = true;
    const Complex start = orbitStart(x, y, ok);
    if (!ok)
        return OrbitEnd{}; // the seed cannot be evaluated: no target
    return orbit(start, stop);
}

Complex TargetEngine::orbitStart(Real x, Real y, bool& ok)
{
    ok = true;
    if (!parameter_)
        return {x, y};
    if (real_) {
        program_.setVariable(1, {x, 0}); // A
        program_.setVariable(2, {y, 0}); // B
    } else {
        program_.setVariable(3, {x, y}); // C
    }
    for (Target& t : targets_)
        if (t.perPixel)
            preparePerPixel(t);
    Complex seed, seedY;
    if (criticalEntry_ < 0 || !evaluate(criticalEntry_, {}, seed) ||
        (real_ && (criticalEntry2_ < 0 || !evaluate(criticalEntry2_, {}, seedY)))) {
        ok = false;
        return {};
    }
    return real_ ? Complex{seed.re, seedY.re} : seed;
}

// orbit() for a complex map whose targets are all points, the commonest
// inventory (root-finding basins), where the program has the same loop in
// machine code: the same steps, tests and results.
OrbitEnd TargetEngine::pointOrbit(Complex start, const std::atomic<bool>* stop)
{
    const Program::DiscOrbit o = program_.orbitToDiscs(start, points_.data(), maxReps_, stop);
    lastBound_ = o.bound;
    OrbitEnd end;
    end.interrupted = o.interrupted;
    if (!o.interrupted) {
        end.target = o.disc < 0 ? kNoTarget : o.disc;
        end.count = o.count;
        end.w = o.w;
    }
    return end;
}

OrbitEnd TargetEngine::orbit(Complex start, const std::atomic<bool>* stop)
{
    if (program_.hasDiscOrbit())
        return pointOrbit(start, stop);
    OrbitEnd end;
    Complex w = start;
    Complex bound = start; // what the region, line and infinity trees read
    lastBound_ = start;
    const int n = static_cast<int>(targets_.size());
    const int leading = static_cast<int>(points_.size());
    int32_t count = 0;
    for (; count < maxReps_; ++count) {
        for (int i = 0; i < leading; ++i) {
            const auto& p = points_[static_cast<size_t>(i)];
            const Real dx = w.re - p[0], dy = w.im - p[1];
            if (dx * dx + dy * dy < p[2]) {
                end.target = i;
                end.count = count;
                end.w = w;
                return end;
            }
        }
        for (int i = leading; i < n; ++i) {
            Real w2 = 0;
            if (matches(targets_[static_cast<size_t>(i)], w, bound, w2)) {
                lastW2_ = w2;
                end.target = i;
                end.count = count;
                end.w = w;
                return end;
            }
        }
        if ((count & 4095) == 4095 && stop && stop->load(std::memory_order_relaxed)) {
            end.interrupted = true;
            return end;
        }
        bound = w;
        bool ok = true;
        w = map(w, ok);
        // A failed step may be a long loop of the map that the flag ended.
        if (!ok && stop && stop->load(std::memory_order_relaxed)) {
            end.interrupted = true;
            return end;
        }
    }
    end.count = count;
    end.w = w;
    return end;
}

PixelValue TargetEngine::colour(const OrbitEnd& end, int col, int row)
{
    if (end.target == kNoTarget || end.target >= static_cast<int>(targets_.size())) {
        if (grayPrint_) {
            const bool white = noTargetGrayWhite_;
            return {white ? kWhite : kBlack, white ? kCodeWhite : kCodeBlack};
        }
        return {noTargetColour_, specialColourCode(noTargetIndex_)};
    }
    const Target& t = targets_[static_cast<size_t>(end.target)];
    const TargetColours& c = colours_[static_cast<size_t>(end.target)];
    const ColourTable& table = c.table;
    const int L = std::max(table.length(), 1);
    const int32_t top = static_cast<int32_t>(static_cast<uint32_t>(end.target) << 24);
    const Complex w = end.w;
    if (t.sectors) {
        const Real vx = w.re - t.cx, vy = w.im - t.cy;
        // v = (w - centre) * conj(reference)
        const Real px = vx * t.refX + vy * t.refY, py = vy * t.refX - vx * t.refY;
        const Real theta = sectorArg(px, py) + kPi;
        int k = static_cast<int>(theta * t.sectorCount / (2 * kPi));
        const int32_t code = top | (L + k);
        if (k >= t.sectorCount)
            k = 0; // theta = 2 pi: one past the list
        const Rgb sector = c.sectors.empty() ? kWhite : c.sectors[static_cast<size_t>(k) % c.sectors.size()];
        if (grayPrint_) {
            const int g = kBinaryShades[static_cast<size_t>(k) % kBinaryShades.size()];
            return {dithered(g, col, row), code};
        }
        if (t.code >= 100 && c.sectors.size() >= 2)
            return {blend(c.sectors[0], c.sectors[1], static_cast<double>(std::cos(theta))), code};
        return {sector, code};
    }
    if (end.count == 0 && t.code < 200) {
        if (grayPrint_)
            return {dithered(grayOf(table, 0), col, row), top};
        return {table.colours.empty() ? kWhite : table.colours[0], top};
    }
    int r = end.count % L;
    const int32_t code = top | r;
    if (r == 0)
        r = L;
    if (grayPrint_)
        return {dithered(grayOf(table, r), col, row), code};
    const auto entry = [&](int i) { return table.colours.empty() ? kWhite : table.colours[static_cast<size_t>(i)]; };
    switch (t.code) {
    case 0: case 1: case 2: case 3: return {entry(r), code};
    case 100: {
        const Real dx = w.re - t.cx, dy = w.im - t.cy;
        const Real d2 = dx * dx + dy * dy;
        const Real f = std::log2(2 * std::log(t.r2) / std::log(d2));
        return {blend(entry(r - 1), entry(r), clamp01(f)), code};
    }
    case 200: {
        const Real dx = w.re - t.cx, dy = w.im - t.cy;
        const Real f = 1 - std::sqrt(dx * dx + dy * dy) / t.radius;
        return {blend(c.trap[0], c.trap[1], clamp01(f)), code};
    }
    case 101: return {kWhite, code};
    case 201: {
        Complex b;
        evaluate(t.entryB, lastBound_, b);
        return {blend(c.trap[0], c.trap[1], clamp01((b.re - t.trapLow) * t.trapScale)), code};
    }
    case 102:
    case 202: {
        Complex a;
        evaluate(t.entryA, lastBound_, a);
        const Real f = a.re / t.threshold;
        if (t.code == 102)
            return {blend(c.anchors[1], c.anchors[0], clamp01(f)), code};
        return {blend(c.trap[0], c.trap[1], clamp01(1 - f)), code};
    }
    case 103: {
        const Real f = t.blendB * (t.blendA - std::log(std::log(lastW2_)));
        return {blend(entry(r - 1), entry(r), clamp01(f)), code};
    }
    default: return {kWhite, code};
    }
}

} // namespace qx
